// Saving what a client shows as a PNG file.
#pragma once

#include <functional>
#include <vector>

#include <QObject>

#include "pods/common/veqpod_extras.h"

class QWebEngineView;

namespace veqpod_qt {

// Chromium draws a page into the view some time after the page has loaded,
// and the view shows the page's background colour meanwhile. This asks the
// page, in the library's own script world, to say when two frames have begun
// since: by then the frame that drew it has reached the view.
class FrameWatch final : public QObject {
public:
    // Given the view, or null when it went first.
    using Then = std::function<void(QWebEngineView* view)>;

    // What the page writes to its console when two frames have begun.
    static const char kDrawnMessage[];

    // Goes with the view.
    explicit FrameWatch(QWebEngineView* view);
    ~FrameWatch() override;
    // Calls then from the event loop once the page has been drawn, or once
    // the view is gone.
    void afterDrawn(Then then);
    // The page wrote kDrawnMessage (a page could write it too: the snapshot
    // is then only taken early).
    void drawn();

private:
    void callWaiting();

    QWebEngineView* view;
    std::vector<Then> waiting;
};

// Grabs the view once it has drawn and writes the file on a pool thread;
// done is called on this thread once the file is written or failed.
void saveSnapshot(FrameWatch& frames, const char* pngPath, VEQPodSnapshotDone done, void* context);

}  // namespace veqpod_qt
