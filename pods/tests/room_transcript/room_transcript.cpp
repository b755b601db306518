// The room in a real browser engine, driven through the module's exports as a
// host drives it: the room down and the offline page, retries, every action,
// the update list, the visit, a failed load and the room back, then the page's
// own moves, where engines tell loads their own ways. Each step waits
// until its effect shows, so the record is the same from run to run; the
// record is written with what differs between runs (port, temporary folder,
// cache-busting number) replaced, for scripts/test to compare between engines.
//
// usage: xloop_room_transcript_<engine> TRANSCRIPT_FILE
// Exits 1 when a step never takes effect, after writing what was recorded.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

#include "pods/tests/engine_loop.h"
#include "pods/tests/room_transcript/transcript_recorder.h"
#include "testing/http_test_server.h"
#include "xloop/xloop_client.h"

namespace {

using room_transcript::Recorder;
using xloop_test::HttpRoute;
using xloop_test::HttpTestServer;

const std::filesystem::path kPages = XLOOP_ROOM_PAGES_DIR;

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The sample pages under /veqtemplate/ and the configuration, with the room
// page answering 503 while the room is down.
void serveSite(HttpTestServer& server, bool roomUp) {
    for (const auto& entry : std::filesystem::directory_iterator(kPages)) {
        const std::string extension = entry.path().extension().string();
        HttpRoute route;
        route.body = fileText(entry.path());
        route.headers = {{"Content-Type", extension == ".html"  ? "text/html; charset=utf-8"
                                          : extension == ".js"  ? "text/javascript; charset=utf-8"
                                          : extension == ".css" ? "text/css; charset=utf-8"
                                                                : "application/xml"}};
        replaceAll(route.body, "{server}", server.url(""));
        if (entry.path().filename() == "room.html" && !roomUp) {
            route.status = 503;
            // The first check's answer comes after the blank page the room
            // browser starts on has loaded, whatever the engine's pace.
            route.delayMilliseconds = 1000;
        }
        server.setRoute("/veqtemplate/" + entry.path().filename().string(), route);
        if (entry.path().filename() == "VEQConfig.xml") server.setRoute("/VEQConfig.xml", route);
    }
}

class Flow {
public:
    Flow(Recorder& record, const std::filesystem::path& folder) : record(record), folder(folder) {}

    // Runs every step; false at the first whose effect never shows.
    bool run();
    std::string normalized(std::string text) const;

private:
    // Runs the engine's loop, and the module's tasks as a host's loop would,
    // until done() holds.
    bool until(const std::function<bool()>& done, const std::string& what);
    // Takes a step, then waits for one more log line containing fragment.
    bool stepUntilLine(const std::string& step, const std::function<void()>& act, const std::string& fragment);
    // Runs script in the page the room browser shows, as a user's click would.
    std::function<void()> inPage(const std::string& script) {
        return [this, script] { room->executeScript(script.c_str()); };
    }
    bool openRoom();
    bool useEveryAction();
    bool visitAndReload();
    bool moveAround();
    bool loseAndRegainTheServer();

    Recorder& record;
    const std::filesystem::path folder;
    std::unique_ptr<HttpTestServer> server = std::make_unique<HttpTestServer>();
    const int port = server->port();
    VEQConfiguration* config = nullptr;
    BrowserClient* room = nullptr;
};

bool Flow::until(const std::function<bool()>& done, const std::string& what) {
    if (veqpod_test::runUntil([&] {
            DispatchVEQTasks();
            return done();
        })) {
        return true;
    }
    std::fprintf(stderr, "room transcript: never saw %s\n", what.c_str());
    return false;
}

bool Flow::stepUntilLine(const std::string& step, const std::function<void()>& act, const std::string& fragment) {
    const int before = record.linesWith(fragment);
    record.step(step);
    act();
    return until([&] { return record.linesWith(fragment) > before; }, "\"" + fragment + "\" after " + step);
}

bool Flow::run() {
    if (InitializeVEQ(nullptr) != 1) {
        std::fprintf(stderr, "room transcript: the browser library did not start (no display?)\n");
        return false;
    }
    serveSite(*server, false);
    const bool done = openRoom() && useEveryAction() && visitAndReload() && loseAndRegainTheServer() && moveAround();
    record.step("ShutDownVEQ");
    ShutDownVEQ();
    FreeVEQConfiguration(config);
    return done;
}

bool Flow::openRoom() {
    const std::filesystem::path shipped = folder / "VEQConfig.xml";
    std::string configuration = fileText(kPages / "VEQConfig.xml");
    replaceAll(configuration, "{server}", server->url(""));
    std::ofstream(shipped, std::ios::binary) << configuration;
    const std::filesystem::path userData = folder / "user";
    std::filesystem::create_directories(userData);
    record.step("GetVEQConfiguration");
    const std::string remoteValues = "Updating with remote parameters";
    config = GetVEQConfiguration(shipped.c_str(), server->url("/VEQConfig.xml").c_str(), "XLoopDemo", "17.0",
                                 "en_US", userData.c_str(), "room-transcript", "trial",
                                 (kPages / "xLoop_Offline.html").c_str(), false, false);
    // The server's copy is read in the background; the room waits until its
    // values are taken on this thread, so that the two threads' lines never race.
    const int takenBefore = record.linesWith(remoteValues);
    if (!until([&] { return record.linesWith(remoteValues) > takenBefore; }, "the server's copy taken")) return false;
    const bool offline = stepUntilLine(
        "CreateBrowserClientWithConfig, the room down",
        [&] { room = CreateBrowserClientWithConfig(nullptr, config, nullptr); },
        "xloop-room-demo: offline page shown");
    if (!offline) return false;
    const char* ids[] = {"brushes-2", "templates-5"};
    const char* names[] = {"Brushes", "Templates"};
    const char* descriptions[] = {"Twelve new brushes", "Fresh templates, 100% \"new\" é"};
    record.step("SetUpdateInfo with two updates");
    SetUpdateInfo(room, 2, ids, names, descriptions);
    const std::function<void()> pressRetry = inPage("document.getElementById(\"retry\").click();");
    if (!stepUntilLine("the user presses retry, the room still down", pressRetry, "xloop-room-demo: still offline")) {
        return false;
    }
    serveSite(*server, true);
    return stepUntilLine("the user presses retry, the room up", pressRetry, "xloop-room-demo: room shown");
}

bool Flow::useEveryAction() {
    auto calledOnce = [&](const std::string& step, const std::string& script, const std::string& action) {
        const std::string called = "action " + action + " ";
        const int before = record.entriesStartingWith(called);
        record.step(step);
        room->executeScript(script.c_str());
        return until([&] { return record.entriesStartingWith(called) > before; }, action + " after " + step);
    };
    const bool used =
        calledOnce("the user saves a preference",
                   "document.getElementById(\"preference-key\").value = \"theme\";"
                   "document.getElementById(\"preference-value\").value = \"dark \\\"blue\\\" \u00e9 \U0001F600\";"
                   "document.getElementById(\"write-preference\").click();",
                   "writePreference") &&
        calledOnce("the user reads it back", "document.getElementById(\"read-preference\").click();",
                   "readPreference") &&
        calledOnce("the user opens the room in the web browser", "document.getElementById(\"open-uri\").click();",
                   "openURI") &&
        calledOnce("the user picks an update", "document.querySelector(\"#updates li\").click();",
                   "writeLastViewedCardID");
    if (!used) return false;
    // What the sample room never sends: refusals, defaults, an unknown action.
    const std::string script =
        "(async () => { const veq = window.veq;"
        " await veq.invoke(\"readPreference\", {key: \"missing\", defaultValue: \"none\"});"
        " await veq.invoke(\"readPreference\", {key: \"url\", Default: \"x\"});"
        " await veq.invoke(\"writePreference\", {key: \"url\", value: \"https://elsewhere.example/\"});"
        " await veq.invoke(\"writePreference\", {name: \"theme\"});"
        " await veq.invoke(\"writeLog\", {msg: \"page says %s and 100%\\n(VEQ): forged \\u202e\"});"
        " await veq.invoke(\"openURI\", {uri: \"file:///etc/passwd\"});"
        " await veq.invoke(\"openURI\", {uri: \"\"});"
        " await veq.invoke(\"writeLastViewedCardID\", {key: \"killswitch\", value: \"on\"});"
        " await veq.invoke(\"noSuchAction\", {}).catch((e) => veq.invoke(\"writeLog\", {msg: `rejected: ${e.message}`}));"
        " await veq.invoke(\"writeLog\", {msg: \"scripted actions done\"}); })();";
    const char* oneUpdate[] = {"layers-1"};
    const char* oneName[] = {"Layers"};
    const char* oneDescription[] = {"Layer groups"};
    return stepUntilLine("the page calls what the sample room does not", inPage(script), "scripted actions done") &&
           stepUntilLine("SetUpdateInfo with one update",
                         [&] { SetUpdateInfo(room, 1, oneUpdate, oneName, oneDescription); },
                         "xloop-room-demo: 1 updates shown");
}

bool Flow::visitAndReload() {
    const std::string userData = (folder / "user").string();
    const std::function<void()> pressRetry = inPage("document.getElementById(\"retry\").click();");
    if (!stepUntilLine("NotifyXLoopRoomVisited", [&] { NotifyXLoopRoomVisited(room); },
                       "xloop-room-demo: room entered")) {
        return false;
    }
    record.step("SetXloopViewForced");
    SetXloopViewForced(true, userData.c_str(), "en_us");
    // A room that answers is loaded again, the second time with a warning.
    return stepUntilLine("the user presses retry in the room", pressRetry, "xloop-room-demo: room shown") &&
           stepUntilLine("the user presses retry in the room again", pressRetry, "xloop-room-demo: room shown");
}

// Where engines tell loads their own ways: moves within the page, a page the
// server has not, going back, a redirect, a download, a load cut short by a
// newer one.
bool Flow::moveAround() {
    const std::string roomShown = "xloop-room-demo: room shown";
    const std::string within =
        "addEventListener(\"hashchange\", () => { history.pushState({}, \"\", \"?moved\");"
        " window.veq.invoke(\"writeLog\", {msg: \"moved within the page\"}); }, {once: true});"
        " location.hash = \"#updates\";";
    if (!stepUntilLine("the page moves within itself", inPage(within), "moved within the page")) return false;
    const int errors = record.entriesStartingWith("script error ");
    record.step("the page goes to a page the server has not");
    room->executeScript("location.href = \"/veqtemplate/missing.html\";");
    if (!until([&] { return record.entriesStartingWith("script error ") > errors; }, "the missing page initialised")) {
        return false;
    }
    HttpRoute moved;
    moved.status = 302;
    moved.headers = {{"Location", "/veqtemplate/room.html?lang=en_us"}};
    server->setRoute("/veqtemplate/old.html", moved);
    HttpRoute download;
    download.body = "PK";
    download.headers = {{"Content-Type", "application/zip"}, {"Content-Disposition", "attachment; filename=a.zip"}};
    server->setRoute("/veqtemplate/a.zip", download);
    HttpRoute slow;
    slow.delayMilliseconds = 60 * 1000;
    server->setRoute("/veqtemplate/slow.html", slow);
    const std::string cutShort =
        "location.href = \"/veqtemplate/slow.html\";"
        " setTimeout(() => { location.href = \"/veqtemplate/room.html?lang=en_us\"; }, 500);";
    return stepUntilLine("the page goes back", inPage("history.back();"), roomShown) &&
           stepUntilLine("the page follows a redirect", inPage("location.href = \"/veqtemplate/old.html\";"),
                         roomShown) &&
           stepUntilLine("the page goes to a download", inPage("location.href = \"/veqtemplate/a.zip\";"),
                         "xloop-room-demo: offline page shown") &&
           stepUntilLine("the user presses retry", inPage("document.getElementById(\"retry\").click();"),
                         roomShown) &&
           stepUntilLine("the page goes to a slow page, then to the room", inPage(cutShort), roomShown);
}

bool Flow::loseAndRegainTheServer() {
    record.step("the server stops");
    server.reset();
    if (!stepUntilLine("the page reloads without a server", inPage("location.reload();"),
                       "xloop-room-demo: offline page shown")) {
        return false;
    }
    record.step("the server comes back");
    server = std::make_unique<HttpTestServer>(port);
    serveSite(*server, true);
    return stepUntilLine("the user presses retry", inPage("document.getElementById(\"retry\").click();"),
                         "xloop-room-demo: room shown");
}

// What differs between runs: the temporary folder, the sources' folder, the
// server's port (also inside escaped payloads) and the cache-busting number.
std::string Flow::normalized(std::string text) const {
    replaceAll(text, folder.string(), "<folder>");
    replaceAll(text, kPages.string(), "<pages>");
    for (const char* colon : {":", "%3A", "%253A"}) {
        replaceAll(text, std::string("127.0.0.1") + colon + std::to_string(port),
                   std::string("127.0.0.1") + colon + "<port>");
    }
    return std::regex_replace(text, std::regex("([?&]|%3F|%26|%253F|%2526)[0-9]{6,}"), "$1<time>");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TRANSCRIPT_FILE\n", argv[0]);
        return 2;
    }
    char folderName[] = "/tmp/xloop-room-transcript-XXXXXX";
    if (mkdtemp(folderName) == nullptr) return 1;
    bool done = false;
    std::string transcript;
    {
        Recorder record;
        Flow flow(record, folderName);
        done = flow.run();
        transcript = record.text();
        const std::filesystem::path preferences = std::filesystem::path(folderName) / "user/VEQ/en_us/VEQPrefs.xml";
        transcript = flow.normalized(transcript + "preferences file:\n" + fileText(preferences) + "\n");
    }
    std::filesystem::remove_all(folderName);
    std::ofstream(argv[1], std::ios::binary) << transcript;
    if (!done) std::fprintf(stderr, "room transcript: the flow did not complete; see %s\n", argv[1]);
    return done ? 0 : 1;
}
