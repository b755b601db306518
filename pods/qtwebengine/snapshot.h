// Saving what a client shows as a PNG file.
#pragma once

#include <functional>
#include <vector>

#include <QObject>

#include "pods/common/veqpod_extras.h"

class QWebEngineView;

namespace veqpod_qt {

// Chromium draws a page into the view some time after the page has loaded:
// this tells when the view has drawn since the last load started. The view
// draws through a child widget of Chromium's, made again when the page moves
// to another renderer, so every child is watched.
class FrameWatch final : public QObject {
public:
    // Given the view, or null when it went first.
    using Then = std::function<void(QWebEngineView* view)>;

    // Goes with the view.
    explicit FrameWatch(QWebEngineView* view);
    ~FrameWatch() override;
    // A load started: what was drawn so far is of the page before.
    void reset();
    // Calls then from the event loop once the view has drawn since the last
    // reset (at once when it has), or once it is gone.
    void afterDrawn(Then then);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void callWaiting();

    QWebEngineView* view;
    bool drawn = false;
    std::vector<Then> waiting;
};

// Grabs the view once it has drawn and writes the file on a pool thread;
// done is called on this thread once the file is written or failed.
void saveSnapshot(FrameWatch& frames, const char* pngPath, VEQPodSnapshotDone done, void* context);

}  // namespace veqpod_qt
