#include "page/uri_opening.h"

#include <algorithm>

#include "base/ascii.h"
#include "base/percent_encoding.h"
#include "page/link_shape.h"
#include "platform/open_uri.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

// Lower-cased scheme, empty when the text does not start with one.
std::string schemeOf(const std::string& uri) {
    const size_t colon = uri.find(':');
    if (colon == std::string::npos || colon == 0) return "";
    std::string scheme = uri.substr(0, colon);
    const bool wellFormed = isAsciiLetter(static_cast<unsigned char>(scheme[0])) &&
                            std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
                                return isAsciiLetter(c) || isAsciiDigit(c) || c == '+' || c == '-' || c == '.';
                            });
    return wellFormed ? lowerAscii(scheme) : "";
}

bool splitsArguments(unsigned char byte) {
    return byte <= 0x20 || byte == 0x7F || byte == '"';
}

bool equalsIgnoringAsciiCase(const std::string& text, const char* lowerCase) {
    return lowerAscii(text) == lowerCase;
}

// Mail programs take more from a mailto link than a message: some attach
// local files named in it. Only the fields of a message are let through.
// Some mail programs also split fields at ";", so it separates them here too.
bool carriesOnlyMessageFields(const std::string& uri) {
    const size_t query = uri.find('?');
    if (query == std::string::npos) return true;
    size_t start = query + 1;
    while (start <= uri.size()) {
        size_t end = uri.find_first_of("&;", start);
        if (end == std::string::npos) end = uri.size();
        const std::string field = uri.substr(start, end - start);
        if (!field.empty()) {
            const std::string name = percentDecode(field.substr(0, field.find('=')));
            const bool messageField = equalsIgnoringAsciiCase(name, "to") || equalsIgnoringAsciiCase(name, "cc") ||
                                      equalsIgnoringAsciiCase(name, "bcc") ||
                                      equalsIgnoringAsciiCase(name, "subject") ||
                                      equalsIgnoringAsciiCase(name, "body");
            if (!messageField) return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

const char* refusalOfURI(const std::string& uri) {
    if (std::any_of(uri.begin(), uri.end(), [](char c) { return splitsArguments(static_cast<unsigned char>(c)); }))
        return "it holds a blank, a control byte or a double quote";
    const std::string scheme = schemeOf(uri);
    const bool allowed = scheme == "http" || scheme == "https" || (scheme == "mailto" && carriesOnlyMessageFields(uri));
    return allowed ? nullptr : "only http, https and mailto links with the fields of a message are opened";
}

bool mayOpenURI(const std::string& uri) {
    return refusalOfURI(uri) == nullptr;
}

void openURIFromPage(const std::string& uri, LinkBudget& budget) {
    if (const char* reason = linkShapeRefusal(uri)) {
        logDebug("Refused to open %s: %s", LoggedText(uri).c_str(), reason);
        return;
    }
    if (const char* refusal = refusalOfURI(uri)) {
        logDebug("Refused to open %s: %s", uri.c_str(), refusal);
        return;
    }
    if (!budget.take()) {
        logDebug("Refused to open %s: the page asked for too many links in a row", uri.c_str());
        return;
    }
    const platform::StepResult opened = platform::openUri(uri);
    if (!opened.ok) logDebug("Could not open %s: %s failed with %d", uri.c_str(), opened.step, opened.code);
}

}  // namespace XLoop
