// Room browsers in tests: configuration records as the host holds them, and
// the page's side of the script calls the module makes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "config/configuration_record.h"
#include "page/page_load_handler.h"
#include "page/room_user_data.h"
#include "page/script_object.h"
#include "testing/veqpod/veqpod_api.h"
#include "xloop/xloop_client.h"

namespace xloop_test {

// A record a host builds itself, its texts made as the module makes a
// record's texts, so that ModifyVEQConfiguration may replace them.
class RoomRecord {
public:
    RoomRecord() : record{} {}
    RoomRecord(const RoomRecord&) = delete;
    RoomRecord& operator=(const RoomRecord&) = delete;
    ~RoomRecord() {
        for (char* VEQConfiguration::*field : kTextFields) XLoop::releaseRecordText(record.*field);
    }

    // A null text leaves the field null.
    RoomRecord& set(char* VEQConfiguration::*field, const char* text) {
        XLoop::releaseRecordText(record.*field);
        record.*field = XLoop::recordText(text);
        return *this;
    }

    // A room browser's record: the room at url, the preferences under userData.
    RoomRecord& room(const std::string& url, const std::filesystem::path& userData) {
        return set(&VEQConfiguration::url, url.c_str())
            .set(&VEQConfiguration::product, "Studio")
            .set(&VEQConfiguration::version, "17")
            .set(&VEQConfiguration::locale, "en_us")
            .set(&VEQConfiguration::userDataPath, userData.u8string().c_str())
            .set(&VEQConfiguration::installationType, "retail")
            .set(&VEQConfiguration::offlinePageURL, "file:///app/xLoop_Offline.html");
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

// Gives a plain client the page-load handler of a room browser, where the
// host's calls into the page look for it, and has it finish loading url: the
// host's calls reach the page only while a trusted one is shown. The record
// must outlive the client.
inline void showPage(BrowserClient* client, const VEQConfiguration* config, const char* url) {
    auto handler = std::make_shared<VEQ::PageLoadHandler>(client, config);
    client->setPageLoadHandler(handler);
    client->setUserData(XLoop::kPageLoadHandlerKey, handler.get());
    veqpodFireLoadFinished(client, url);
}

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
