#include "pods/webkitgtk/observer.h"

namespace veqpod_webkit {
namespace {

// Read and written on the GTK main thread only, like everything here.
VEQPodObserver g_observer{};
VEQPodScriptErrorObserver g_scriptErrorObserver{};

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

void setObserver(const VEQPodObserver* observer) {
    g_observer = observer != nullptr ? *observer : VEQPodObserver{};
}

void setScriptErrorObserver(const VEQPodScriptErrorObserver* observer) {
    g_scriptErrorObserver = observer != nullptr ? *observer : VEQPodScriptErrorObserver{};
}

void reportScript(BrowserClient* client, const std::string& pageUri, const char* script) {
    // A copy: an observer that installs another one meanwhile is still called whole.
    const VEQPodObserver observer = g_observer;
    if (observer.scriptRun != nullptr) observer.scriptRun(observer.context, client, pageUri.c_str(), script);
}

void reportAction(BrowserClient* client, const std::string& pageUri, const std::string& actionName,
                  const std::string& argumentText, const std::string& outcome, bool served) {
    const VEQPodObserver observer = g_observer;
    if (observer.actionCalled == nullptr) return;
    observer.actionCalled(observer.context, client, pageUri.c_str(), actionName.c_str(), argumentText.c_str(),
                          outcome.c_str(), served ? 1 : 0);
}

void reportScriptFailure(BrowserClient* client, const std::string& pageUri, const std::string& script,
                         const std::string& failure) {
    const ScriptFailure read = readFailure(failure);
    reportScriptError(client, pageUri, script, read.message, read.sourceUri, read.line, read.column);
}

void reportScriptError(BrowserClient* client, const std::string& pageUri, const std::string& script,
                       const std::string& message, const std::string& sourceUri, unsigned line, unsigned column) {
    const VEQPodScriptErrorObserver observer = g_scriptErrorObserver;
    if (observer.scriptFailed == nullptr) return;
    observer.scriptFailed(observer.context, client, pageUri.c_str(), script.c_str(), message.c_str(),
                          sourceUri.c_str(), line, column);
}

}  // namespace veqpod_webkit
