#include "pods/webkitgtk/snapshot.h"

#include <memory>
#include <string>

namespace veqpod_webkit {
namespace {

struct SnapshotRequest {
    std::string pngPath;
    VEQPodSnapshotDone done;
    void* context;
};

// The pending snapshot holds the view, so it finishes even when the client
// has been destroyed meanwhile.
void onSnapshotTaken(GObject* view, GAsyncResult* result, gpointer data) {
    std::unique_ptr<SnapshotRequest> request(static_cast<SnapshotRequest*>(data));
    GError* error = nullptr;
    cairo_surface_t* surface =
        webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, &error);
    bool saved = false;
    if (surface != nullptr) {
        cairo_status_t written = cairo_surface_write_to_png(surface, request->pngPath.c_str());
        saved = written == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
    }
    if (error != nullptr) g_error_free(error);
    request->done(saved ? 1 : 0, request->context);
}

}  // namespace

void saveSnapshot(WebKitWebView* view, const char* pngPath, VEQPodSnapshotDone done,
                  void* context) {
    auto* request = new SnapshotRequest{pngPath, done, context};
    webkit_web_view_get_snapshot(view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE,
                                 nullptr, onSnapshotTaken, request);
}

}  // namespace veqpod_webkit
