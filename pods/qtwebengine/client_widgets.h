// What a client shows: the web view under a busy indicator, in the host's
// widget or in a window of its own.
#pragma once

#include <QWidget>

class QProgressBar;
class QWebEngineView;

namespace veqpod_qt {

// The names tests and hosts find the widgets by.
inline constexpr const char kViewName[] = "veqpod-view";
inline constexpr const char kBusyName[] = "veqpod-busy";

class ClientWidgets {
public:
    // hostWidget may be null: then a top-level window is made. Everything is
    // shown except the busy indicator.
    explicit ClientWidgets(QWidget* hostWidget);
    // Deletes the widgets unless someone else did: at once, or once control
    // is back in the event loop when later is set (a call from the page may
    // still be on its way out of them).
    void destroy(bool later);

    QWebEngineView* view() const { return webView; }
    // Sends destroyed() when the widgets go, whoever deletes them.
    QWidget* frame() const { return outer; }
    // The host or the user deleted the widgets: nothing left to delete.
    void markDeleted() { deleted = true; }
    void setBusy(bool busy);

private:
    QWidget* outer;
    QWebEngineView* webView;
    QProgressBar* busy;
    // QWidget tells of its deletion before a QPointer to it reads null.
    bool deleted = false;
};

}  // namespace veqpod_qt
