#include "examples/room_demo/workbench.h"

#include <stdexcept>

#include "examples/room_demo/preferences_listing.h"
#include "examples/room_demo/room_choice.h"
#include "examples/room_demo/veq_main_loop.h"
#include "examples/room_demo/window_snapshot.h"

namespace xloop_demo {
namespace {

using Button = WorkbenchPanel::Button;
using Section = WorkbenchPanel::Section;

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 800;
constexpr int kRoomWidth = 720;

std::string textOf(const char* text) {
    return text != nullptr ? text : "";
}

// The module tells only a page whose address carries this who the host is.
bool namesRoomPage(const std::string& url) {
    return url.find("veqtemplate") != std::string::npos;
}

}  // namespace

Workbench::Workbench(const WorkbenchOptions& options)
    : sessionRecord(options.recordPath),
      log([this](const std::string& line) { logLine(line); }, sessionRecord),
      session(options.keepFolder),
      site(chosenSite(options)),
      server(std::make_unique<RoomPageServer>(site)),
      serverPort(server->port()),
      traffic(sidePanel, sessionRecord, {[this](const std::string&) { pageShown(); },
                          [this] {
                              if (onRoomToldEntered) onRoomToldEntered();
                          }}) {
    InitializeVEQ(nullptr);
    taskSource = attachVEQTasksToMainLoop();
    const std::filesystem::path shipped = writeShippedConfiguration(server->configuration(), session.shippedFolder());
    announce((site.pagesFolder.empty() ? "configuration on " : "pages on ") + server->address() +
             ", user data in " + session.userDataFolder().string());
    config.reset(GetVEQConfiguration(shipped.c_str(), serverConfigurationURL(options, *server).c_str(),
                                     options.product.c_str(), options.version.c_str(), options.locale.c_str(),
                                     session.userDataFolder().c_str(), "xloop-room-demo", "trial",
                                     offlinePagePath(site.pagesFolder).c_str(), false, false));
    sessionRecord.write("session", {{"room", textOf(config->url)},
                                    {"product", options.product},
                                    {"version", options.version},
                                    {"locale", textOf(config->locale)},
                                    {"userData", session.userDataFolder().string()},
                                    {"killSwitch", config->killSwitch}});
    showWindow();
    if (!config->killSwitch) {
        roomClient = CreateBrowserClientWithConfig(roomArea, config.get(), nullptr);
        traffic.watch(roomClient);
    }
    showStatus();
    showPreferences();
}

Workbench::~Workbench() {
    ShutDownVEQ();
    if (window != nullptr) {
        g_signal_handlers_disconnect_by_data(window, this);
        gtk_widget_destroy(window);
    }
    if (taskSource != 0) g_source_remove(taskSource);
}

void Workbench::showWindow() {
    window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "XLoop room workbench");
    gtk_window_set_default_size(GTK_WINDOW(window), kWindowWidth, kWindowHeight);
    GtkWidget* sides = gtk_paned_new(GTK_ORIENTATION_HORIZONTAL);
    roomArea = gtk_event_box_new();
    gtk_paned_pack1(GTK_PANED(sides), roomArea, TRUE, FALSE);
    gtk_paned_pack2(GTK_PANED(sides), sidePanel.widget(), FALSE, FALSE);
    gtk_paned_set_position(GTK_PANED(sides), kRoomWidth);
    gtk_container_add(GTK_CONTAINER(window), sides);
    g_signal_connect(window, "destroy", G_CALLBACK(windowDestroyed), this);
    gtk_widget_show_all(window);
    sidePanel.onPress(Button::ServerDown, [this] { takeServerDown(); });
    sidePanel.onPress(Button::ServerUp, [this] { bringServerUp(); });
    sidePanel.onPress(Button::EnterRoom, [this] { enterRoom(); });
    sidePanel.onPress(Button::SendUpdates, [this] { sendSampleUpdates(); });
}

void Workbench::pageShown() {
    if (firstPageShown) return;
    firstPageShown = true;
    if (onFirstPageShown) onFirstPageShown();
}

void Workbench::windowDestroyed(GtkWidget*, gpointer self) {
    auto* bench = static_cast<Workbench*>(self);
    bench->window = nullptr;
    bench->roomClient = nullptr;  // the browser library destroys it with its container
    if (bench->onWindowClosed) bench->onWindowClosed();
}

void Workbench::takeServerDown() {
    server.reset();
    showStatus();
    // Reloading the room against the stopped server shows the offline page.
    if (roomClient != nullptr) roomClient->loadURL(config->url);
}

void Workbench::bringServerUp() {
    try {
        server = std::make_unique<RoomPageServer>(site, serverPort);
    } catch (const std::runtime_error& error) {
        sidePanel.append(Section::Log, std::string("workbench: the server did not start: ") + error.what());
    }
    showStatus();
}

void Workbench::enterRoom() {
    if (roomClient != nullptr) NotifyXLoopRoomVisited(roomClient);
}

void Workbench::sendSampleUpdates() {
    const char* const refIds[] = {"upd-1701", "upd-1702", "upd-1703"};
    const char* const names[] = {"Colour profiles 17.0.1", "Brush pack Autumn", "Sync service 3.2"};
    const char* const descriptions[] = {"Fixes printing on wide-gamut displays.",
                                        "Forty new brushes, 100% hand-made.",
                                        "Faster uploads & smaller downloads."};
    if (roomClient != nullptr) SetUpdateInfo(roomClient, 3, refIds, names, descriptions);
}

void Workbench::saveScreenshot(const std::string& pngPath, std::function<void(bool saved)> done) {
    if (window == nullptr) {
        done(false);
        return;
    }
    saveWindowSnapshot(window, roomArea, roomClient, pngPath, std::move(done));
}

void Workbench::showStatus() {
    const std::string url = textOf(config->url);
    std::vector<std::string> lines{"Room: " + url};
    if (site.pagesFolder.empty()) {
        lines.push_back("Pages: served elsewhere; the server here holds only the configuration");
    } else {
        lines.push_back("Pages: " + site.pagesFolder.string() + " on http://127.0.0.1:" +
                        std::to_string(serverPort) + (server ? " (server up)" : " (server down)"));
    }
    if (config->killSwitch) lines.push_back("The kill switch is on: a host shows no room.");
    if (!config->killSwitch && !namesRoomPage(url)) {
        lines.push_back("The room's address has no \"veqtemplate\": its page is not told product, version or locale.");
    }
    sidePanel.setStatus(lines);
    const bool serves = !site.pagesFolder.empty();
    sidePanel.setSensitive(Button::ServerDown, serves && server != nullptr);
    sidePanel.setSensitive(Button::ServerUp, serves && server == nullptr);
    sidePanel.setSensitive(Button::EnterRoom, roomClient != nullptr);
    sidePanel.setSensitive(Button::SendUpdates, roomClient != nullptr);
}

void Workbench::showPreferences() {
    // The module keeps the preferences of each user-data folder and (lower-cased) locale.
    const std::filesystem::path file =
        session.userDataFolder() / "VEQ" / textOf(config->locale) / "VEQPrefs.xml";
    sidePanel.setTitle(Section::Preferences, "Preferences file: " + file.string());
    sidePanel.replace(Section::Preferences, preferencesListing(file));
}

// Every change to the preferences comes with a line of the module's: the
// file is read again with each.
void Workbench::logLine(const std::string& line) {
    sidePanel.append(Section::Log, line);
    if (config) showPreferences();
}

}  // namespace xloop_demo
