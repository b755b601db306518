#include "examples/room_demo/plain_text.h"

#include <cstdio>

#include <glib.h>

namespace xloop_demo {

std::string oneShownLine(const std::string& text, size_t maxBytes) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string shown;
    for (const gchar* at = valid; *at != 0; at = g_utf8_next_char(at)) {
        const gunichar character = g_utf8_get_char(at);
        if (shown.size() >= maxBytes) {
            shown += " … (" + std::to_string(text.size()) + " bytes)";
            break;
        }
        if (character < 0x20 || character == 0x7F || (character >= 0x80 && character < 0xA0)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(character));
            shown += escape;
        } else {
            shown.append(at, g_utf8_next_char(at) - at);
        }
    }
    g_free(valid);
    return shown;
}

}  // namespace xloop_demo
