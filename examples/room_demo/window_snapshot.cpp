#include "examples/room_demo/window_snapshot.h"

#include <cstdio>
#include <memory>

#include "pods/webkitgtk/veqpod_webkit.h"

namespace xloop_demo {
namespace {

struct WindowSnapshot {
    GtkWidget* window;  // both held until the snapshot is written
    GtkWidget* roomArea;
    std::string pngPath;
    std::string roomPngPath;  // empty: no room to lay over the window
    std::function<void(bool)> done;
};

bool drawRoomOver(cairo_t* cr, const WindowSnapshot& snapshot) {
    cairo_surface_t* room = cairo_image_surface_create_from_png(snapshot.roomPngPath.c_str());
    std::remove(snapshot.roomPngPath.c_str());
    const bool read = cairo_surface_status(room) == CAIRO_STATUS_SUCCESS;
    int x = 0, y = 0;
    if (read && gtk_widget_translate_coordinates(snapshot.roomArea, snapshot.window, 0, 0, &x, &y)) {
        cairo_set_source_surface(cr, room, x, y);
        cairo_paint(cr);
    }
    cairo_surface_destroy(room);
    return read;
}

bool writeWindow(const WindowSnapshot& snapshot, bool roomSaved) {
    if (!gtk_widget_get_realized(snapshot.window)) return false;
    cairo_surface_t* image = cairo_image_surface_create(
        CAIRO_FORMAT_RGB24, gtk_widget_get_allocated_width(snapshot.window),
        gtk_widget_get_allocated_height(snapshot.window));
    cairo_t* cr = cairo_create(image);
    gtk_widget_draw(snapshot.window, cr);
    bool complete = true;
    if (!snapshot.roomPngPath.empty()) complete = roomSaved && drawRoomOver(cr, snapshot);
    cairo_destroy(cr);
    const bool written = cairo_surface_write_to_png(image, snapshot.pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(image);
    return complete && written;
}

void finish(int roomSaved, void* data) {
    std::unique_ptr<WindowSnapshot> snapshot(static_cast<WindowSnapshot*>(data));
    const bool saved = writeWindow(*snapshot, roomSaved != 0);
    g_object_unref(snapshot->roomArea);
    g_object_unref(snapshot->window);
    snapshot->done(saved);
}

gboolean finishWithoutRoom(gpointer data) {
    finish(0, data);
    return G_SOURCE_REMOVE;
}

}  // namespace

void saveWindowSnapshot(GtkWidget* window, GtkWidget* roomArea, BrowserClient* room,
                        const std::string& pngPath, std::function<void(bool saved)> done) {
    auto* snapshot = new WindowSnapshot{GTK_WIDGET(g_object_ref(window)), GTK_WIDGET(g_object_ref(roomArea)),
                                        pngPath, room != nullptr ? pngPath + ".room.png" : "", std::move(done)};
    if (room == nullptr) {
        g_idle_add(finishWithoutRoom, snapshot);
        return;
    }
    VEQPodSaveSnapshot(room, snapshot->roomPngPath.c_str(), finish, snapshot);
}

}  // namespace xloop_demo
