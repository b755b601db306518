// Saving what a client shows as a PNG file.
#pragma once

#include "pods/common/veqpod_extras.h"

class QWidget;

namespace veqpod_qt {

// Grabs the widget now and writes the file on a pool thread; done is called
// on this thread once the file is written or failed.
void saveSnapshot(QWidget* widget, const char* pngPath, VEQPodSnapshotDone done, void* context);

}  // namespace veqpod_qt
