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
// since: by then the page has been drawn, and the drawing is on its way to
// the view. It has arrived when the view paints next (a paint of the child
// widget Chromium draws through, made again when the page moves to another
// renderer, so every child is watched), or, when it arrived before the
// page's word, no paint comes: a short wait ends then.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage { Idle, AwaitingFrames, AwaitingPaint };
    void callWaiting();

    QWebEngineView* view;
    Stage stage = Stage::Idle;
    std::vector<Then> waiting;
};

// Grabs the view once it has drawn and writes the file on a pool thread;
// done is called on this thread once the file is written or failed.
void saveSnapshot(FrameWatch& frames, const char* pngPath, VEQPodSnapshotDone done, void* context);

}  // namespace veqpod_qt
