// Prints texts as the module escapes them for script calls, one case a line:
// the input bytes in hex, a tab, the escaped text, a tab, and the script the
// module runs for an update list naming that text. check_script_text.js then
// decodes them as the page does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "page/script_call.h"
#include "testing/veqpod/veqpod_control.h"
#include "tests/hex_text.h"
#include "tests/room_support.h"
#include "xloop/xloop_client.h"

using xloop_test::hex;

namespace {

void quiet(const char*) {}

}  // namespace

int main() {
    SetVEQLogSink(quiet);
    const std::vector<std::string> cases = {
        "plain ASCII text",
        "quote \" backslash \\ percent % 100%25",
        "apostrophe ' angle <script>&amp;",
        "Latin-1: caf\xc3\xa9 \xc3\xbc \xc3\x9f \xc2\xa0",
        "BMP: \xe2\x82\xac \xe4\xb8\xad\xe6\x96\x87 \xef\xbf\xbd",
        "astral: \xf0\x9f\x98\x80 \xf0\x9d\x84\x9e",
        "controls: \x01\x1f\n\r\t\b\f\x7f",
        std::string(3000, 'x') + "\xe2\x82\xac\"",
    };
    xloop_test::RoomRecord record;
    record.set(&VEQConfiguration::offlinePageURL, "file:///app/xLoop_Offline.html");
    for (const std::string& text : cases) {
        BrowserClient* client = CreateBrowser(nullptr, nullptr, "1");
        xloop_test::showPage(client, record.get(), record->offlinePageURL);
        const char* names[] = {text.c_str(), "second"};
        const char* ids[] = {"a1", "b2"};
        const char* descriptions[] = {"D1", text.c_str()};
        SetUpdateInfo(client, 2, ids, names, descriptions);
        const std::string script = veqpod::calls(client).back().argument;
        std::printf("%s\t%s\t%s\n", hex(text).c_str(), XLoop::urlEscape(text).c_str(),
                    script.c_str());
        std::free(client->getUserData("eXloopUpdateInfo"));  // no destroy notifier on a plain client
        veqpodDestroyClient(client);
    }
    return 0;
}
