#include "pods/qtwebengine/snapshot.h"

#include <QCoreApplication>
#include <QImage>
#include <QMetaObject>
#include <QPixmap>
#include <QSaveFile>
#include <QString>
#include <QThreadPool>
#include <QWidget>

namespace veqpod_qt {

void saveSnapshot(QWidget* widget, const char* pngPath, VEQPodSnapshotDone done, void* context) {
    const QImage image = widget->grab().toImage();
    const QString path = QString::fromUtf8(pngPath);
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

}  // namespace veqpod_qt
