// Reading the calls the module makes into the room page, for people: the
// percent-escaped payloads decoded, nested objects laid out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace xloop_demo {

// A script of the form `name("escaped");`, the form of every call with a
// payload.
struct PayloadCall {
    std::string function;
    std::string payload;  // decoded
};
std::optional<PayloadCall> readPayloadCall(const std::string& script);

// Undoes percent-encoding; anything else stays as it is.
std::string percentDecoded(const std::string& text);

// The init payload as indented JSON lines, with its "preferences" and
// "updateInfo" decoded into objects in place; the text as it came, on one
// line, when it is no JSON object.
std::vector<std::string> initPayloadLines(const std::string& payload);

// The payload as an object, nested objects decoded; the text as it came
// when it is no JSON object.
nlohmann::ordered_json payloadObject(const std::string& payload);

// A payload on one line, decoded once more where it holds escaped JSON.
std::string payloadLine(const std::string& payload);

}  // namespace xloop_demo
