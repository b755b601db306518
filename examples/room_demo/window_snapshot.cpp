#include "examples/room_demo/window_snapshot.h"

#include <cstdio>
#include <memory>

#include "xloop/veqpod_extras.h"

namespace xloop_demo {
namespace {

struct WindowSnapshot {
    ~WindowSnapshot() {
        if (clock != nullptr) {
            g_signal_handler_disconnect(clock, afterPaint);
            g_signal_handler_disconnect(window, unrealized);
            g_object_unref(clock);
        }
        if (!roomPngPath.empty()) std::remove(roomPngPath.c_str());
        g_object_unref(roomArea);
        g_object_unref(window);
    }

    GtkWidget* window;  // both held until the snapshot is written
    GtkWidget* roomArea;
    std::string pngPath;
    std::string roomPngPath;  // empty: no room to lay over the window
    std::function<void(bool)> done;
    bool roomSaved = false;
    GdkFrameClock* clock = nullptr;  // while waiting for a paint
    gulong afterPaint = 0;
    gulong unrealized = 0;
};

bool drawRoomOver(cairo_t* cr, const WindowSnapshot& snapshot) {
    cairo_surface_t* room = cairo_image_surface_create_from_png(snapshot.roomPngPath.c_str());
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

void finish(WindowSnapshot* waiting, bool drawable) {
    std::unique_ptr<WindowSnapshot> snapshot(waiting);
    const bool saved = drawable && writeWindow(*snapshot, snapshot->roomSaved);
    std::function<void(bool)> done = std::move(snapshot->done);
    snapshot.reset();
    done(saved);
}

void painted(GdkFrameClock*, gpointer snapshot) {
    finish(static_cast<WindowSnapshot*>(snapshot), true);
}

void windowGone(GtkWidget*, gpointer snapshot) {
    finish(static_cast<WindowSnapshot*>(snapshot), false);
}

// Drawing the window needs every widget laid out, and a line added to the
// panel since the last layout would leave the drawing all black. GTK lays
// the window out before it paints a frame: the end of the next frame is the
// moment.
void drawAfterNextFrame(WindowSnapshot* snapshot) {
    GdkFrameClock* clock = gtk_widget_get_frame_clock(snapshot->window);
    if (clock == nullptr) {
        finish(snapshot, false);
        return;
    }
    snapshot->clock = GDK_FRAME_CLOCK(g_object_ref(clock));
    snapshot->afterPaint = g_signal_connect(clock, "after-paint", G_CALLBACK(painted), snapshot);
    snapshot->unrealized = g_signal_connect(snapshot->window, "unrealize", G_CALLBACK(windowGone), snapshot);
    gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_AFTER_PAINT);
}

void roomTaken(int roomSaved, void* snapshot) {
    static_cast<WindowSnapshot*>(snapshot)->roomSaved = roomSaved != 0;
    drawAfterNextFrame(static_cast<WindowSnapshot*>(snapshot));
}

}  // namespace

void saveWindowSnapshot(GtkWidget* window, GtkWidget* roomArea, BrowserClient* room,
                        const std::string& pngPath, std::function<void(bool saved)> done) {
    auto* snapshot = new WindowSnapshot{GTK_WIDGET(g_object_ref(window)), GTK_WIDGET(g_object_ref(roomArea)),
                                        pngPath, room != nullptr ? pngPath + ".room.png" : "", std::move(done)};
    if (room == nullptr) {
        drawAfterNextFrame(snapshot);
        return;
    }
    VEQPodSaveSnapshot(room, snapshot->roomPngPath.c_str(), roomTaken, snapshot);
}

}  // namespace xloop_demo
