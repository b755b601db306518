// What the room does not need, refused for every frame of every page a view
// shows: downloads, printing, HTTP authentication, permission requests,
// script dialogs, new windows, file choosers, full screen and certificate
// errors. Each refusal writes one line.
#pragma once

#include <webkit2/webkit2.h>

namespace veqpod_webkit {

// Cancels every download of the context as it starts, before it writes.
void refuseDownloads(WebKitWebContext* context);
// Connects the view's refusals; they go with the view.
void refuseNativeRequests(WebKitWebView* view);

}  // namespace veqpod_webkit
