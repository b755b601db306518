#include "pods/qtwebengine/snapshot.h"

#include <utility>

#include <QCoreApplication>
#include <QImage>
#include <QMetaObject>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QString>
#include <QThreadPool>
#include <QWebEngineView>

#include "pods/qtwebengine/page_bridge.h"

namespace veqpod_qt {
namespace {

void writePng(const QImage& image, const QString& path, VEQPodSnapshotDone done, void* context) {
    // Encoding a window-sized PNG takes longer than the UI thread may.
    QThreadPool::globalInstance()->start([image, path, done, context] {
        // All or nothing: a reader never finds half a file.
        QSaveFile file(path);
        const bool saved = !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") &&
                           file.commit();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [saved, done, context] { done(saved ? 1 : 0, context); },
            Qt::QueuedConnection);
    });
}

}  // namespace

const char FrameWatch::kDrawnMessage[] = "veqpod:drawn";

FrameWatch::FrameWatch(QWebEngineView* view) : QObject(view), view(view) {}

FrameWatch::~FrameWatch() {
    view = nullptr;
    callWaiting();
}

void FrameWatch::afterDrawn(Then then) {
    waiting.push_back(std::move(then));
    if (waiting.size() > 1) return;
    const QString ask = QStringLiteral("requestAnimationFrame(() => requestAnimationFrame(() => console.log(\"%1\")));")
                            .arg(QLatin1String(kDrawnMessage));
    view->page()->runJavaScript(ask, kBridgeWorld);
}

void FrameWatch::drawn() {
    callWaiting();
}

// From the event loop, once the drawing is done; the view may be gone by then.
void FrameWatch::callWaiting() {
    if (waiting.empty()) return;
    QPointer<QWebEngineView> shown(view);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [shown, ready = std::move(waiting)] {
            for (const Then& then : ready) then(shown.data());
        },
        Qt::QueuedConnection);
    waiting.clear();
}

void saveSnapshot(FrameWatch& frames, const char* pngPath, VEQPodSnapshotDone done, void* context) {
    const QString path = QString::fromUtf8(pngPath);
    frames.afterDrawn([path, done, context](QWebEngineView* shown) {
        if (shown == nullptr) {
            done(0, context);
            return;
        }
        writePng(shown->grab().toImage(), path, done, context);
    });
}

}  // namespace veqpod_qt
