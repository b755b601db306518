// What a frame of another origin inside an owned page asks for and does not get.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "pods/tests/pod_test_support.h"

namespace veqpod_test {
namespace {

class RefusalTest : public PodTest {
protected:
    // Shows an owned page holding one frame of another origin per path, each
    // allowed to ask for the position.
    std::string openRoomWithFrames(std::initializer_list<std::string> framePaths) {
        std::string frames;
        for (const std::string& path : framePaths) {
            frames += "<iframe allow=\"geolocation\" src=\"" + otherOrigin.url(path) + "\"></iframe>";
        }
        server.setRoute("/room", htmlPage(frames));
        const std::string room = server.url("/room");
        EXPECT_NE(createClient(room), nullptr);
        return room;
    }

    CapturedStderr log;
    xloop_test::HttpTestServer server;
    xloop_test::HttpTestServer otherOrigin;
};

// The engine would save into the user's download folder or home: here the test's own.
class DownloadRefusalTest : public RefusalTest {
protected:
    DownloadRefusalTest() : savedHome(std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/") {
        setenv("HOME", home.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);
    }
    ~DownloadRefusalTest() override { setenv("HOME", savedHome.c_str(), 1); }

    TempFolder home;
    std::string savedHome;
};

TEST_F(DownloadRefusalTest, NoFrameSavesAFile) {
    ASSERT_EQ(engineHome(), home.path()) << "the engine read another home first: run this test alone";
    xloop_test::HttpRoute script = htmlPage("#!/bin/sh");
    script.headers = {{"Content-Type", "text/plain"}, {"Content-Disposition", "attachment; filename=\"evil.sh\""}};
    otherOrigin.setRoute("/evil.sh", script);
    otherOrigin.setRoute("/x.desktop", htmlPage("[Desktop Entry]"));
    otherOrigin.setRoute("/navigates", htmlPage("<script>location.href = '/evil.sh';</script>"));
    otherOrigin.setRoute("/links", htmlPage(R"(<a download="x.desktop" href="/x.desktop">x</a>
        <script>document.querySelector("a").click();</script>)"));

    openRoomWithFrames({"/navigates", "/links"});

    EXPECT_TRUE(log.awaitLine("VEQPod: refused a download of " + otherOrigin.url("/evil.sh")));
    EXPECT_TRUE(log.awaitLine("VEQPod: refused a download of " + otherOrigin.url("/x.desktop")));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.find("evil") == std::string::npos && name.find("x.desktop") == std::string::npos) << name;
    }
}

TEST_F(RefusalTest, NoFrameOpensADialog) {
    xloop_test::HttpRoute locked = htmlPage("locked");
    locked.status = 401;
    locked.headers.emplace_back("WWW-Authenticate", "Basic realm=\"Sign in to your bank\"");
    otherOrigin.setRoute("/locked", locked);
    otherOrigin.setRoute("/asks", htmlPage(R"(<iframe src="/locked"></iframe><script>
        navigator.geolocation.getCurrentPosition(() => {}, () => {});
        window.print();
        alert("from the frame");
    </script>)"));

    const std::string room = openRoomWithFrames({"/asks"});

    EXPECT_TRUE(log.awaitLineWith({"VEQPod: refused a permission request (", ") on " + room}));
    EXPECT_TRUE(log.awaitLine("VEQPod: refused to print on " + room));
    EXPECT_TRUE(log.awaitLine("VEQPod: refused a script dialog on " + room));
    EXPECT_TRUE(log.awaitLine("VEQPod: refused an authentication request from 127.0.0.1:" +
                              std::to_string(otherOrigin.port())));
}

}  // namespace
}  // namespace veqpod_test
