// Prints, one case a line, a text's bytes in hex, then (tab-separated) the
// "initXLoopRoom" script a room page gets when the record and the stored
// preferences carry that text, and the reply to a "readPreference" of it.
// check_init_script.js runs them as the page does.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "page/page_load_handler.h"
#include "page/script_object.h"
#include "page/xloop_action_handler.h"
#include "prefs/preference_stores.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/hex_text.h"
#include "tests/room_support.h"
#include "tests/test_support.h"

using xloop_test::hex;

namespace {

void quiet(const char*) {}

}  // namespace

int main() {
    SetVEQLogSink(quiet);
    const std::vector<std::string> cases = {
        "plain",
        "quote \" backslash \\ slash / percent % 100%25",
        "controls \x01\x08\x0c\n\r\t\x1f\x7f",
        "Latin-1 caf\xc3\xa9 \xc3\x9f, BMP \xe2\x82\xac \xe4\xb8\xad\xe6\x96\x87",
        "astral \xf0\x9f\x98\x80 \xf0\x9d\x84\x9e",
        "apostrophe ' angle <script> and %s",
    };
    for (const std::string& text : cases) {
        xloop_test::TempFolder userData;
        xloop_test::RoomRecord record;
        record.room("https://room.test/veqtemplate/?1", userData.path())
            .set(&VEQConfiguration::product, text.c_str())
            .set(&VEQConfiguration::installationType, text.c_str());
        auto store = VEQ::getPreferenceStore(record->userDataPath, record->locale);
        store->setPreference(text.c_str(), text.c_str());
        store->setPreference("lastViewedCardID", text.c_str());

        BrowserClient* client = CreateBrowser(nullptr, nullptr, "1");
        client->setPageLoadHandler(std::make_shared<VEQ::PageLoadHandler>(client, record.get()));
        VEQ::XloopActionHandler actions(record->userDataPath, record->locale);
        client->registerActionHandler("readPreference", &actions);

        veqpodFireLoadFinished(client, "https://room.test/veqtemplate/");
        std::string reply;
        veqpod::invokeAction(client, "readPreference", XLoop::serializeJsonObject({{"key", text}}).c_str(), &reply);
        std::printf("%s\t%s\t%s\n", hex(text).c_str(), veqpod::calls(client).at(0).argument.c_str(), reply.c_str());
        veqpodDestroyClient(client);
    }
    return 0;
}
