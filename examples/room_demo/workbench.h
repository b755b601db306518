// The room workbench: the room in a window beside a panel that lists, live,
// what passes between the module and the page, with buttons that drive the
// room. It runs the sample pages or a page author's own.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <gtk/gtk.h>

#include "examples/room_demo/configuration_record.h"
#include "examples/room_demo/module_log.h"
#include "examples/room_demo/page_traffic.h"
#include "examples/room_demo/room_pages.h"
#include "examples/room_demo/session_folder.h"
#include "examples/room_demo/session_record.h"
#include "examples/room_demo/workbench_options.h"
#include "examples/room_demo/workbench_panel.h"

namespace xloop_demo {

class Workbench {
public:
    // Starts the module, resolves the configuration and shows the window
    // with the room, unless the kill switch is on. Call after gtk_init.
    // Throws std::runtime_error when the pages or the configuration cannot
    // be read, or the record cannot be written.
    explicit Workbench(const WorkbenchOptions& options);
    // Shuts the module down and destroys the window if it is still there.
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Null when the kill switch is on, the module made none, or the window
    // was closed.
    BrowserClient* room() const { return roomClient; }
    const VEQConfiguration& configuration() const { return *config; }
    WorkbenchPanel& panel() { return sidePanel; }
    SessionRecord& record() { return sessionRecord; }

    // What the panel's buttons do.
    void takeServerDown();
    void bringServerUp();
    void enterRoom();
    void sendSampleUpdates();

    void saveScreenshot(const std::string& pngPath, std::function<void(bool saved)> done);

    // Run from the main loop; set them before it runs.
    std::function<void()> onFirstPageShown;
    std::function<void()> onRoomToldEntered;
    std::function<void()> onWindowClosed;

private:
    void showWindow();
    void pageShown();
    static void windowDestroyed(GtkWidget* window, gpointer self);
    void showStatus();
    void showPreferences();
    void logLine(const std::string& line);

    WorkbenchPanel sidePanel;
    SessionRecord sessionRecord;
    ModuleLog log;
    unsigned taskSource = 0;
    SessionFolder session;
    RoomSite site;
    std::unique_ptr<RoomPageServer> server;  // null while it is down
    int serverPort;
    ConfigurationRecord config;
    PageTraffic traffic;
    GtkWidget* window = nullptr;
    GtkWidget* roomArea = nullptr;
    BrowserClient* roomClient = nullptr;
    bool firstPageShown = false;
};

}  // namespace xloop_demo
