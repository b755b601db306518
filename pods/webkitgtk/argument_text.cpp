#include "pods/webkitgtk/argument_text.h"

namespace veqpod_webkit {
namespace {

void appendQuoted(const std::string& text, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (unsigned char byte : text) {
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out.push_back(kHex[byte >> 4]);
                    out.push_back(kHex[byte & 0x0F]);
                } else {
                    out.push_back(static_cast<char>(byte));
                }
        }
    }
    out.push_back('"');
}

}  // namespace

// std::map orders std::string keys bytewise as unsigned char, as required.
std::string writeArgumentText(const std::map<std::string, std::string>& pairs) {
    std::string text = "{";
    for (const auto& [key, value] : pairs) {
        if (text.size() > 1) text += ", ";
        appendQuoted(key, text);
        text.push_back(':');
        appendQuoted(value, text);
    }
    text.push_back('}');
    return text;
}

}  // namespace veqpod_webkit
