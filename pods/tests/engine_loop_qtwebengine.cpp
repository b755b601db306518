#include "pods/tests/engine_loop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

namespace veqpod_test {
namespace {

// Far beyond any page load here; reached only by a hung build.
constexpr qint64 kDeadlineMilliseconds = 60 * 1000;
// How often the loop wakes to look at the deadline and at done().
constexpr int kWakeMilliseconds = 50;

}  // namespace

bool runUntil(const std::function<bool()>& done) {
    // Before the library made its application there is no loop to run.
    if (QCoreApplication::instance() == nullptr) return done();
    const QDeadlineTimer deadline(kDeadlineMilliseconds);
    QTimer waker;
    waker.start(kWakeMilliseconds);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // Outside exec() Qt leaves deleteLater() to a loop that never returns here.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

}  // namespace veqpod_test
