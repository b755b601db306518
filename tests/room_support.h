// Room browsers in tests: configuration records as the host holds them, and
// the page's side of the script calls the module makes.
#pragma once

#include <cstdlib>
#include <string>

#include "host/heap_text.h"
#include "page/script_object.h"
#include "xloop/xloop_client.h"

namespace xloop_test {

// A record whose texts are separate malloc'd copies, freed with it, as a
// host frees the record GetVEQConfiguration gave it.
class RoomRecord {
public:
    RoomRecord() : record{} {}
    RoomRecord(const RoomRecord&) = delete;
    RoomRecord& operator=(const RoomRecord&) = delete;
    ~RoomRecord() {
        for (char* VEQConfiguration::*field : kTextFields) std::free(record.*field);
    }

    // A null text leaves the field null.
    RoomRecord& set(char* VEQConfiguration::*field, const char* text) {
        std::free(record.*field);
        record.*field = text != nullptr ? XLoop::duplicateHeapText(text) : nullptr;
        return *this;
    }

    VEQConfiguration* get() { return &record; }
    VEQConfiguration* operator->() { return &record; }

    static constexpr char* VEQConfiguration::*kTextFields[] = {
        &VEQConfiguration::configURL,    &VEQConfiguration::url,
        &VEQConfiguration::serverURL,    &VEQConfiguration::product,
        &VEQConfiguration::version,      &VEQConfiguration::locale,
        &VEQConfiguration::userDataPath, &VEQConfiguration::hostValue,
        &VEQConfiguration::installationType, &VEQConfiguration::offlinePageURL};

private:
    VEQConfiguration record;
};

// What the page's decodeURIComponent gives for valid escapes.
inline std::string percentDecode(const std::string& escaped) {
    std::string decoded;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size()) {
            decoded.push_back(static_cast<char>(std::stoi(escaped.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            decoded.push_back(escaped[i]);
        }
    }
    return decoded;
}

// The object that a call `function("<escaped object>");` hands the page;
// empty when the script is not such a call.
inline XLoop::ScriptObject payloadOfCall(const std::string& function, const std::string& script) {
    const std::string head = function + "(\"";
    const std::string tail = "\");";
    if (script.compare(0, head.size(), head) != 0 || script.size() < head.size() + tail.size() ||
        script.compare(script.size() - tail.size(), tail.size(), tail) != 0)
        return {};
    return XLoop::parseActionArguments(
        percentDecode(script.substr(head.size(), script.size() - head.size() - tail.size())));
}

}  // namespace xloop_test
