// Whether the room was entered in a browser, for that browser's life.
#pragma once

#include "xloop/veq_browser.h"

namespace XLoop {

// Whether the host has reported the room as entered in this browser.
bool roomVisited(BrowserClient* client);

// Reports the room as entered: the first time, the last-viewed card values
// the page wrote before are stored; a trusted page shown hears
// "xloopRoomVisited()", and every later trusted load "isXloopViewForced". A
// browser without the room's action handlers is left alone.
void enterRoom(BrowserClient* client);

}  // namespace XLoop
