// Saving what a web view shows as a PNG file.
#pragma once

#include <webkit2/webkit2.h>

#include "pods/webkitgtk/veqpod_webkit.h"

namespace veqpod_webkit {

void saveSnapshot(WebKitWebView* view, const char* pngPath, VEQPodSnapshotDone done,
                  void* context);

}  // namespace veqpod_webkit
