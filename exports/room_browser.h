// A room browser: a browser client wired to the room's configuration, with its
// page-load handler, its first check, its script actions and the handler
// that undoes all of it when the library destroys the browser.
#pragma once

#include "xloop/xloop_client.h"

namespace XLoop {

// Null when the library makes no client. The browser reads config for as long
// as it lives: the record must outlive it.
BrowserClient* createRoomBrowser(void* hostArg1, const VEQConfiguration& config, void* hostArg2);

}  // namespace XLoop
