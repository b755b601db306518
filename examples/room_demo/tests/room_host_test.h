// A host in a test: the module with the WebKitGTK browser library, the sample
// pages on a 127.0.0.1 server, a fresh user-data folder, and the module's
// diagnostic lines collected.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "examples/room_demo/configuration_record.h"
#include "examples/room_demo/room_pages.h"
#include "examples/room_demo/session_folder.h"
#include "pods/tests/engine_loop.h"
#include "tests/test_support.h"
#include "xloop/xloop_client.h"

namespace xloop_demo_test {

using veqpod_test::runUntil;

// What the sample pages report through "writeLog".
inline const char kRoomShown[] = "xloop-room-demo: room shown";
inline const char kOfflinePageShown[] = "xloop-room-demo: offline page shown";
inline const char kStillOffline[] = "xloop-room-demo: still offline";

class RoomHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Resolves the configuration from the shipped file, filled in for the
    // page server, as the demo does.
    void resolveConfiguration();
    // A room browser in its own window.
    BrowserClient* openRoom();

    // How many diagnostic lines so far contain fragment.
    static int linesWith(const std::string& fragment);
    // The position of the first diagnostic line containing fragment, or -1.
    static int firstLineWith(const std::string& fragment);
    // Every pair in the preferences file that the page's actions write.
    std::map<std::string, std::string> storedPreferences() const;

    const xloop_demo::RoomSite samples = xloop_demo::sampleSite();
    xloop_demo::SessionFolder session;
    std::unique_ptr<xloop_demo::RoomPageServer> server = std::make_unique<xloop_demo::RoomPageServer>(samples);
    xloop_demo::ConfigurationRecord config;

private:
    bool started = false;
    unsigned taskSource = 0;
};

}  // namespace xloop_demo_test
