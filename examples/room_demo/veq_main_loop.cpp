#include "examples/room_demo/veq_main_loop.h"

#include <glib-unix.h>

#include "xloop/xloop_client.h"

namespace xloop_demo {
namespace {

gboolean runPendingTasks(gint, GIOCondition, gpointer) {
    DispatchVEQTasks();
    return G_SOURCE_CONTINUE;
}

}  // namespace

guint attachVEQTasksToMainLoop() {
    const int descriptor = GetVEQDispatchFd();
    if (descriptor < 0) return 0;
    return g_unix_fd_add(descriptor, G_IO_IN, runPendingTasks, nullptr);
}

}  // namespace xloop_demo
