#include "pods/webkitgtk/log_line.h"

#include <cstdio>

#include <glib.h>

namespace veqpod_webkit {

void logEscaped(const char* what, const std::string& text) {
    gchar* escaped = g_strescape(text.c_str(), nullptr);
    std::fprintf(stderr, "VEQPod: %s %s\n", what, escaped);
    g_free(escaped);
}

}  // namespace veqpod_webkit
