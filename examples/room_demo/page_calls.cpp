#include "examples/room_demo/page_calls.h"

#include <nlohmann/json.hpp>

#include <sstream>

namespace xloop_demo {
namespace {

// In the order the module wrote them, which is the order people read.
using json = nlohmann::ordered_json;

int hexValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    return -1;
}

// The module escapes nested objects once more; they read as objects here.
json expanded(const std::string& text) {
    json object = json::parse(text, nullptr, false);
    if (!object.is_object()) return object;
    for (const char* nested : {"preferences", "updateInfo"}) {
        auto found = object.find(nested);
        if (found == object.end() || !found->is_string()) continue;
        json inner = json::parse(percentDecoded(found->get<std::string>()), nullptr, false);
        if (!inner.is_discarded()) *found = std::move(inner);
    }
    return object;
}

// Texts from the page may hold invalid UTF-8: it shows as U+FFFD.
std::string written(const json& value, int indent) {
    return value.dump(indent, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::optional<PayloadCall> readPayloadCall(const std::string& script) {
    const size_t open = script.find("(\"");
    const std::string close = "\");";
    if (open == std::string::npos || script.size() < open + 2 + close.size() ||
        script.compare(script.size() - close.size(), close.size(), close) != 0) {
        return std::nullopt;
    }
    const std::string escaped = script.substr(open + 2, script.size() - close.size() - open - 2);
    if (escaped.find('"') != std::string::npos) return std::nullopt;
    return PayloadCall{script.substr(0, open), percentDecoded(escaped)};
}

std::string percentDecoded(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low >= 0) {
            decoded.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

std::vector<std::string> initPayloadLines(const std::string& payload) {
    const json object = expanded(payload);
    if (!object.is_object()) return {payload};
    std::vector<std::string> lines;
    std::istringstream text(written(object, 2));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

nlohmann::ordered_json payloadObject(const std::string& payload) {
    json object = expanded(payload);
    return object.is_object() ? object : json(payload);
}

std::string payloadLine(const std::string& payload) {
    const json object = expanded(payload);
    return object.is_object() ? written(object, -1) : payload;
}

}  // namespace xloop_demo
