#include "encoding_check.h"

#include "base/ascii.h"
#include "base/utf.h"
#include "base/xml_markup_encoding.h"

namespace xloop_tool {
namespace {

// The encoding named by the XML declaration at offset; empty when it names
// none.
std::string declaredEncoding(const std::string& bytes, size_t offset) {
    if (bytes.compare(offset, 5, "<?xml") != 0) return {};
    const size_t end = bytes.find("?>", offset);
    const size_t name = bytes.find("encoding", offset);
    if (end == std::string::npos || name == std::string::npos || name > end) return {};
    size_t at = bytes.find_first_not_of(" \t\r\n", name + 8);
    if (at == std::string::npos || bytes[at] != '=') return {};
    at = bytes.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string::npos || (bytes[at] != '"' && bytes[at] != '\'')) return {};
    const size_t close = bytes.find(bytes[at], at + 1);
    return close != std::string::npos && close < end ? bytes.substr(at + 1, close - at - 1) : std::string();
}

}  // namespace

std::optional<EncodingFault> firstNonUtf8Byte(const std::string& bytes) {
    const XLoop::MarkupEncoding encoding = XLoop::markupEncodingOf(bytes.data(), bytes.size());
    if (encoding.kind != XLoop::MarkupEncoding::Kind::Units || encoding.layout.width != 1) return {};
    const std::string declared = XLoop::lowerAscii(declaredEncoding(bytes, encoding.layout.offset));
    if (!declared.empty() && declared != "utf-8" && declared != "utf8") return {};
    int line = 1;
    int column = 1;
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.c_str());
    for (size_t at = encoding.layout.offset; at < bytes.size();) {
        const XLoop::Utf8Step step = XLoop::nextUtf8Step(text + at);
        if (!step.valid) return EncodingFault{line, column, text[at], !declared.empty()};
        if (text[at] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        at += step.length;
    }
    return {};
}

}  // namespace xloop_tool
