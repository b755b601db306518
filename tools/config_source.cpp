#include "config_source.h"

#include <string_view>

#include "base/ascii.h"
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

// "scheme:" of two or more characters: one letter before the colon is a
// Windows drive.
bool isURL(const std::string& name) {
    const size_t colon = name.find(':');
    if (colon == std::string::npos || colon < 2 || !XLoop::isAsciiLetter(name[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = name[i];
        if (!XLoop::isAsciiLetter(c) && !XLoop::isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

}  // namespace

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
    if (fetch.tooLarge) {
        source.problem = "larger than " + std::to_string(XLoop::kMaxRemoteConfigBytes) +
                         " bytes: the module refuses the whole file";
    } else if (!fetch.ok) {
        source.problem = g_lastLogLine.empty() ? "cannot be read" : "cannot be read: " + g_lastLogLine;
    } else if (source.bytes.empty()) {
        source.problem = "the file is empty: the module reads no XML from it";
    }
    return source;
}

DocumentProblem problemOf(const XLoop::SectionsRead& read) {
    if (read.prescan != XLoop::AttributeScan::Within) {
        return {0, std::string(XLoop::attributeScanProblem(read.prescan)) + ": the module refuses the whole file"};
    }
    if (read.stop.documentType) return {read.stop.line, "a DOCTYPE makes the module refuse the whole file"};
    if (!read.parse.ok) return {read.stop.line, "the XML breaks here: the module reads only the sections before it"};
    return {};
}

}  // namespace xloop_tool
