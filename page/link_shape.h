// Links the system's opener must not be handed, whatever their scheme.
#pragma once

#include <string>

namespace XLoop {

constexpr size_t kMaxLinkBytes = 2048;

// Why the link is refused, or null: shells crashed on, or hung over, longer
// links, and expand "%NAME%" in them, so a link is at most kMaxLinkBytes
// bytes and each "%" in it starts a two-digit hexadecimal escape.
const char* linkShapeRefusal(const std::string& uri);

}  // namespace XLoop
