// The library's entry points and the clients it keeps alive.
#include <cstdlib>

#include <QApplication>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWidget>

#include "pods/common/client_list.h"
#include "pods/qtwebengine/refusals.h"
#include "pods/qtwebengine/veqpod_qtwebengine.h"
#include "pods/qtwebengine/web_view_client.h"

namespace veqpod_qt {
namespace {

struct Library {
    // Shared by all clients; off the record, so nothing of a run stays on disk.
    QWebEngineProfile* profile = nullptr;
};

Library g_library;

WebViewClient* findClient(BrowserClient* client) {
    return static_cast<WebViewClient*>(veqpod::liveClients().find(client));
}

bool hasDisplay() {
    return std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr ||
           std::getenv("WAYLAND_DISPLAY") != nullptr;
}

// Qt WebEngine cannot start twice in a process: the application made here
// lives as long as the process, through every ShutdownBrowser.
QApplication* g_ownApplication = nullptr;

bool ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!hasDisplay()) return false;
    // What Qt WebEngine needs set before the application is made.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int argc = 1;
    static char name[] = "veqpod";
    static char* argv[] = {name, nullptr};
    g_ownApplication = new QApplication(argc, argv);
    return true;
}

// Chromium's threads must end before the process's exit handlers take away
// what they use (the GL driver's, among them): deleting the application
// ends Qt WebEngine. Run first at exit, being registered after the engine
// and its driver started.
void endOwnApplication() {
    veqpod::liveClients().destroyAll();
    delete g_library.profile;
    g_library.profile = nullptr;
    delete g_ownApplication;
    g_ownApplication = nullptr;
}

// Only a widget alive in this application can hold a client.
bool isLiveWidget(void* candidate) {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget == candidate) return true;
    }
    return false;
}

}  // namespace
}  // namespace veqpod_qt

using veqpod_qt::g_library;

extern "C" {

int InitializeBrowser(void*) {
    if (g_library.profile != nullptr) return 1;
    if (!veqpod_qt::ensureApplication()) return 0;
    // No storage name: off the record.
    g_library.profile = new QWebEngineProfile(QCoreApplication::instance());
    veqpod_qt::refuseDownloads(g_library.profile);
    return 1;
}

int ShutdownBrowser(void) {
    veqpod::liveClients().destroyAll();
    // After the pages, whose deletion a call from a page may have put off.
    if (veqpod_qt::servingDepth() > 0 && g_library.profile != nullptr) {
        g_library.profile->deleteLater();
    } else {
        delete g_library.profile;
    }
    g_library.profile = nullptr;
    static bool endsAtExit = false;
    if (veqpod_qt::g_ownApplication != nullptr && !endsAtExit) {
        endsAtExit = std::atexit(veqpod_qt::endOwnApplication) == 0;
    }
    return 1;
}

BrowserClient* CreateBrowserClientWithInitData(void* hostArg1, void*, int32_t, BrowserInitData* initData) {
    if (g_library.profile == nullptr) return nullptr;
    if (hostArg1 != nullptr && !veqpod_qt::isLiveWidget(hostArg1)) return nullptr;
    auto* client = new veqpod_qt::WebViewClient(g_library.profile, static_cast<QWidget*>(hostArg1),
                                                [](BrowserClient* gone) { veqpod::liveClients().destroy(gone); });
    veqpod::liveClients().add(client);
    client->loadURL(veqpod::initialUrl(initData));
    return client;
}

int UpdateBrowserClientZoomScale(BrowserClient* client, double zoomScale) {
    veqpod_qt::WebViewClient* found = veqpod_qt::findClient(client);
    if (found == nullptr || !(zoomScale > 0)) return 0;
    found->view()->setZoomFactor(zoomScale);
    return 1;
}

void VEQPodSaveSnapshot(BrowserClient* client, const char* pngPath, VEQPodSnapshotDone done, void* context) {
    veqpod_qt::WebViewClient* found = veqpod_qt::findClient(client);
    if (found == nullptr || pngPath == nullptr) {
        done(0, context);
        return;
    }
    found->saveSnapshot(pngPath, done, context);
}

}  // extern "C"
