#include "config_source.h"

#include <string_view>

#include "base/ascii.h"
#include "platform/error_text.h"
#include "runtime/log.h"
#include "runtime/paths.h"

namespace xloop_tool {
namespace {

// The module logs why a read failed; the tool runs on one thread, so the
// last line is the one that tells.
std::string g_lastLogLine;

void keepLastLine(const char* line) {
    constexpr std::string_view prefix = "(VEQ): ";
    std::string_view text = line;
    if (text.substr(0, prefix.size()) == prefix) text.remove_prefix(prefix.size());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    g_lastLogLine.assign(text);
}

// A failed exchange in WinINet's words and number, with the HTTP library's
// words for it where it has them.
std::string exchangeProblem(const XLoop::platform::StepResult& exchange) {
    std::string text = "Error in " + std::string(exchange.step) + ": " + std::to_string(exchange.code);
    const std::string words = XLoop::platform::httpErrorText(exchange.code);
    return words.empty() ? text : text + " (" + words + ")";
}

}  // namespace

bool isURL(const std::string& name) {
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon < 2 || !XLoop::isAsciiLetter(name[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = name[i];
        if (!XLoop::isAsciiLetter(c) && !XLoop::isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

ConfigSource loadConfigSource(const std::string& name) {
    ConfigSource source;
    const std::string url = isURL(name) ? name : XLoop::fileURLFromPath(name.c_str());
    if (url.empty()) {
        source.problem = "cannot be read: no such file";
        return source;
    }
    g_lastLogLine.clear();
    XLoop::setLogSink(keepLastLine);
    XLoop::platform::HttpCancellation never;
    const XLoop::ConfigFetch fetch = XLoop::fetchConfigBytes(url.c_str(), source.bytes, never);
    XLoop::setLogSink(nullptr);
    if (!fetch.finalURL.empty() && fetch.finalURL != url) source.redirectedTo = fetch.finalURL;
    source.fetched = fetch.ok || fetch.tooLarge;
    if (fetch.tooLarge) {
        source.problem = "larger than " + std::to_string(XLoop::kMaxRemoteConfigBytes) +
                         " bytes: the module refuses the whole file";
    } else if (!fetch.exchange.ok) {
        source.problem = "cannot be read: " + exchangeProblem(fetch.exchange);
    } else if (!fetch.ok) {
        source.problem = g_lastLogLine.empty() ? "cannot be read" : "cannot be read: " + g_lastLogLine;
    } else if (source.bytes.empty()) {
        source.problem = "the file is empty: the module reads no XML from it";
    }
    return source;
}

DocumentProblem problemOf(const XLoop::SectionsRead& read) {
    if (read.prescan != XLoop::AttributeScan::Within) {
        return {0, std::string(XLoop::attributeScanProblem(read.prescan)) + ": the module refuses the whole file",
                true};
    }
    if (read.stop.documentType) return {read.stop.line, "a DOCTYPE makes the module refuse the whole file", true};
    if (!read.parse.ok) return {read.stop.line, "the XML breaks here: the module reads only the sections before it"};
    return {};
}

}  // namespace xloop_tool
