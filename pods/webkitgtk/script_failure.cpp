#include "pods/webkitgtk/script_failure.h"

#include "pods/common/observer.h"
#include "pods/common/script_lines.h"

namespace veqpod_webkit {
namespace {

struct ScriptFailure {
    std::string sourceUri;
    unsigned line = 0;
    unsigned column = 0;
    std::string message;
};

bool allDigits(const std::string& text) {
    return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

// Takes ":<digits>" off the end of lead into number; false when it ends otherwise.
bool takeNumber(std::string& lead, unsigned& number) {
    const size_t colon = lead.rfind(':');
    if (colon == std::string::npos || !allDigits(lead.substr(colon + 1))) return false;
    number = static_cast<unsigned>(std::stoul(lead.substr(colon + 1)));
    lead.erase(colon);
    return true;
}

// The place is the message's first word, "<uri>:<line>:" or
// "<uri>:<line>:<column>:": an address escapes its blanks, while the
// message after it may hold anything.
ScriptFailure readFailure(const std::string& failure) {
    const size_t blank = failure.find(' ');
    if (blank == std::string::npos || blank < 2 || failure[blank - 1] != ':') return {"", 0, 0, failure};
    ScriptFailure read{failure.substr(0, blank - 1), 0, 0, failure.substr(blank + 1)};
    unsigned last = 0;
    if (!takeNumber(read.sourceUri, last)) return {"", 0, 0, failure};
    if (takeNumber(read.sourceUri, read.line)) {
        read.column = last;
    } else {
        read.line = last;
    }
    if (read.sourceUri.empty()) return {"", 0, 0, failure};
    return read;
}

}  // namespace

void reportScriptFailure(BrowserClient* client, const std::string& pageUri, const std::string& script,
                         const std::string& failure) {
    veqpod::logScriptFailure(failure, script);
    const ScriptFailure read = readFailure(failure);
    veqpod::reportScriptError(client, pageUri, script, read.message, read.sourceUri, read.line, read.column);
}

}  // namespace veqpod_webkit
