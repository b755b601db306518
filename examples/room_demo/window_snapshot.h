// Saving the whole workbench window, panel included, as a PNG.
#pragma once

#include <functional>
#include <string>

#include <gtk/gtk.h>

#include "xloop/veq_browser.h"

namespace xloop_demo {

// GTK draws the window; the room's own snapshot is laid over roomArea, the
// room's place in it, since the view GTK draws may lag the page's latest
// frame. room may be null: then the window is saved as drawn. done runs
// once, with whether the whole window was written.
void saveWindowSnapshot(GtkWidget* window, GtkWidget* roomArea, BrowserClient* room,
                        const std::string& pngPath, std::function<void(bool saved)> done);

}  // namespace xloop_demo
