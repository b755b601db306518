// The host's calls into the page: the update list, the room visit and the
// end of a retry. They carry the host's data, so they go only to a page the
// module trusts, as "initXLoopRoom" does.
#pragma once

#include <string>

#include "xloop/veq_browser.h"

namespace XLoop {

// Runs script in the browser while its view shows a trusted page; otherwise
// logs that the call named function was held back and runs nothing. A
// browser without the room's page-load handler shows nothing trusted.
// Returns whether the script ran.
bool callTrustedPage(BrowserClient* client, const std::string& script, const char* function);

}  // namespace XLoop
