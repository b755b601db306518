// The list of available updates the host hands to the room page. A trusted
// page shown gets it at once, and the browser keeps it so that every later
// load of a trusted page gets it with its init payload.
#pragma once

#include <cstdint>
#include <string>

#include "page/script_object.h"
#include "xloop/veq_browser.h"

namespace XLoop {

// The JSON object the page's "setUpdateInfo" takes: the descriptions, names
// and reference ids, each a list, or a bare string when there is exactly one
// update (pages rely on it). Missing arrays or entries count as empty texts.
std::string updateInfoPayload(int32_t count, const char* const* refIds, const char* const* names,
                              const char* const* descriptions);

// Hands the payload to the page's "setUpdateInfo" when the view shows a
// trusted page, and keeps it, escaped, as
// the browser's update text, freeing the one it replaces. The host calls this
// on its thread while a load may read the text on the library's: every access
// holds one lock.
void sendUpdateInfo(BrowserClient* client, std::string payload);

// Sets the init payload's "updateInfo" to the browser's update text; false
// when it has none.
bool addKeptUpdateInfo(BrowserClient* client, ScriptObject& payload);

// Frees the browser's update text and clears its entry.
void dropUpdateInfo(BrowserClient* client);

}  // namespace XLoop
