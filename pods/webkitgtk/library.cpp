// The library's entry points and the clients it keeps alive.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "pods/common/client_list.h"
#include "pods/webkitgtk/refusals.h"
#include "pods/webkitgtk/snapshot.h"
#include "pods/webkitgtk/veqpod_webkit.h"
#include "pods/webkitgtk/web_view_client.h"

namespace veqpod_webkit {
namespace {

struct Library {
    // Shared by all clients; ephemeral, so nothing of a run stays on disk.
    WebKitWebContext* context = nullptr;
};

Library g_library;

WebViewClient* findClient(BrowserClient* client) {
    return static_cast<WebViewClient*>(veqpod::liveClients().find(client));
}

}  // namespace
}  // namespace veqpod_webkit

using veqpod_webkit::g_library;

extern "C" {

int InitializeBrowser(void*) {
    if (g_library.context != nullptr) return 1;
    if (!gtk_init_check(nullptr, nullptr)) return 0;
    g_library.context = webkit_web_context_new_ephemeral();
    veqpod_webkit::refuseDownloads(g_library.context);
    return 1;
}

int ShutdownBrowser(void) {
    veqpod::liveClients().destroyAll();
    if (g_library.context != nullptr) g_object_unref(g_library.context);
    g_library.context = nullptr;
    return 1;
}

BrowserClient* CreateBrowserClientWithInitData(void* hostArg1, void*, int32_t,
                                               BrowserInitData* initData) {
    if (g_library.context == nullptr) return nullptr;
    GtkContainer* hostContainer = nullptr;
    if (hostArg1 != nullptr) {
        if (!GTK_IS_CONTAINER(hostArg1)) return nullptr;
        hostContainer = GTK_CONTAINER(hostArg1);
    }
    auto* client = new veqpod_webkit::WebViewClient(g_library.context, hostContainer,
                                                    [](BrowserClient* gone) { veqpod::liveClients().destroy(gone); });
    veqpod::liveClients().add(client);
    client->loadURL(veqpod::initialUrl(initData));
    return client;
}

int UpdateBrowserClientZoomScale(BrowserClient* client, double zoomScale) {
    veqpod_webkit::WebViewClient* found = veqpod_webkit::findClient(client);
    if (found == nullptr || !(zoomScale > 0)) return 0;
    webkit_web_view_set_zoom_level(found->view(), zoomScale);
    return 1;
}

void VEQPodSaveSnapshot(BrowserClient* client, const char* pngPath, VEQPodSnapshotDone done,
                        void* context) {
    veqpod_webkit::WebViewClient* found = veqpod_webkit::findClient(client);
    if (found == nullptr || pngPath == nullptr) {
        done(0, context);
        return;
    }
    veqpod_webkit::saveSnapshot(found->view(), pngPath, done, context);
}

}  // extern "C"
