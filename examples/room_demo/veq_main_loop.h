// Runs the module's UI-thread tasks from the GLib main loop.
#pragma once

#include <glib.h>

namespace xloop_demo {

// Watches the module's dispatch descriptor on the default main context and
// runs every pending task when it turns readable. Call after InitializeVEQ;
// returns the source id for g_source_remove, or 0 when there is no descriptor.
guint attachVEQTasksToMainLoop();

}  // namespace xloop_demo
