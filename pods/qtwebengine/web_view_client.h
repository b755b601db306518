// A browser client: one web view with the module's data and callbacks.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include <QJsonObject>
#include <QPointer>
#include <QString>

#include "pods/common/client_base.h"
#include "pods/common/veqpod_extras.h"
#include "pods/qtwebengine/client_widgets.h"
#include "pods/qtwebengine/script_runs.h"

class QWebEngineLoadingInfo;
class QWebEngineNavigationRequest;
class QWebEngineProfile;

namespace veqpod_qt {

class BridgeEndpoint;
class FrameWatch;
class WebPage;

class WebViewClient final : public veqpod::ClientBase {
public:
    // Called when the host or the user deleted the client's widgets; the
    // callee destroys the client.
    using WidgetsGone = std::function<void(WebViewClient*)>;

    WebViewClient(QWebEngineProfile* profile, QWidget* hostWidget, WidgetsGone widgetsGone);
    // Deletes the widgets (later, when a call from the page is still being
    // served); the page-load handler goes with the client.
    ~WebViewClient() override;

    QWebEngineView* view() const { return widgets.view(); }
    // As VEQPodSaveSnapshot describes, once the page has been drawn.
    void saveSnapshot(const char* pngPath, VEQPodSnapshotDone done, void* context);

    void executeScript(const char* script) override;
    void loadURL(const char* url) override;
    void setPageBusy(bool busy) override;

private:
    void onNavigationRequested(const QWebEngineNavigationRequest& request);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    // Tells the handler that a load of uri started, named as it was asked
    // for when it was.
    void reportStarted(const std::string& uri);
    // The handler hears of loads once control is back in the event loop, in
    // the order they came: a start that Qt's navigation request tells comes
    // before whatever ends that load.
    void tellHandler(std::function<void(VEQ::IPageLoadHandler&)> event);
    void onConsoleError(const QString& message, int line, const QString& sourceId);
    void reportScriptFailure(const ScriptRuns::Run& run, const ScriptRuns::Failure& failure);
    void reportUnheardRejection(const QString& message, int line, const QString& sourceId);
    QString onBridgeMessage(const QJsonObject& message);

    ClientWidgets widgets;
    WidgetsGone widgetsGone;
    WebPage* page;
    FrameWatch* frames = nullptr;
    // Goes with the page, which the host may delete first with its widget.
    QPointer<BridgeEndpoint> endpoint;
    // Connections and callbacks of this client end with it.
    std::unique_ptr<QObject> lifetime;
    // The addresses asked for, in order, whose loads have not started yet.
    std::deque<std::string> requestedUris;
    // A navigation's start was reported as it was asked for: Qt's word that
    // a load started (which it gives only when none was under way) is then
    // not reported again.
    bool startReported = false;
    // The address of the document the page shows, as of its commit or its
    // last move within itself.
    std::string shownUri;
    // The address of the load under way, whose document may commit before
    // we hear of it; empty when none is.
    std::string pendingUri;
    // The load under way turned into a download, which was refused: its stop
    // is a failure. Chromium stops a load cut short by a newer one as well,
    // before it tells of the newer one; that stop is no failure.
    bool downloadRefused = false;
    ScriptRuns scriptRuns;
};

// How many calls from pages are being served right now: a client destroyed
// meanwhile leaves its widgets for the event loop to delete.
int servingDepth();

}  // namespace veqpod_qt
