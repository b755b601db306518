#include "pods/qtwebengine/client_widgets.h"

#include <QGridLayout>
#include <QLayout>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace veqpod_qt {
namespace {

constexpr int kOwnWindowWidth = 1024;
constexpr int kOwnWindowHeight = 768;
constexpr int kBusyWidth = 160;

}  // namespace

ClientWidgets::ClientWidgets(QWidget* hostWidget)
    : outer(new QWidget), webView(new QWebEngineView(outer)), busy(new QProgressBar(outer)) {
    webView->setObjectName(kViewName);
    busy->setObjectName(kBusyName);
    // No range: an indicator that runs without telling how far.
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedWidth(kBusyWidth);
    // Clicks reach the page while it runs.
    busy->setAttribute(Qt::WA_TransparentForMouseEvents);
    busy->hide();
    auto* layout = new QGridLayout(outer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(webView, 0, 0);
    layout->addWidget(busy, 0, 0, Qt::AlignCenter);
    if (hostWidget == nullptr) {
        outer->resize(kOwnWindowWidth, kOwnWindowHeight);
        outer->show();
        return;
    }
    if (hostWidget->layout() == nullptr) {
        auto* hostLayout = new QVBoxLayout(hostWidget);
        hostLayout->setContentsMargins(0, 0, 0, 0);
    }
    hostWidget->layout()->addWidget(outer);
    outer->show();
}

void ClientWidgets::destroy(bool later) {
    if (deleted) return;
    if (!later) {
        delete outer;
        return;
    }
    outer->hide();
    outer->setParent(nullptr);
    outer->deleteLater();
}

void ClientWidgets::setBusy(bool isBusy) {
    busy->setVisible(isBusy);
    if (isBusy) busy->raise();
}

}  // namespace veqpod_qt
