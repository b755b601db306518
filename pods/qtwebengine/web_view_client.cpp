#include "pods/qtwebengine/web_view_client.h"

#include <utility>

#include <QMetaObject>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNavigationRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "pods/common/observer.h"
#include "pods/common/refusals.h"
#include "pods/common/script_lines.h"
#include "pods/qtwebengine/page_bridge.h"
#include "pods/qtwebengine/page_key.h"
#include "pods/qtwebengine/refusals.h"
#include "pods/qtwebengine/snapshot.h"
#include "pods/qtwebengine/web_page.h"

namespace veqpod_qt {
namespace {

int g_servingDepth = 0;

// The value a run of executeScript gives when its text did not throw.
const char kRanValue[] = "veqpod:ran";

std::string text(const QUrl& url) {
    return url.toString(QUrl::FullyEncoded).toStdString();
}

// Chromium names an exception no script caught "Uncaught <error>"; a promise
// that failed unheard is the page half's to report.
bool isUncaughtException(const QString& message) {
    return message.startsWith(QLatin1String("Uncaught ")) &&
           !message.startsWith(QLatin1String("Uncaught (in promise)"));
}

void configure(QWebEngineSettings* settings) {
    // A failed load shows nothing of Chromium's own: the module shows its page.
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    // Asked for, so that it can be refused with a line.
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

}  // namespace

int servingDepth() {
    return g_servingDepth;
}

WebViewClient::WebViewClient(QWebEngineProfile* profile, QWidget* hostWidget, WidgetsGone widgetsGone)
    : ClientBase(pageKey),
      widgets(hostWidget),
      widgetsGone(std::move(widgetsGone)),
      lifetime(std::make_unique<QObject>()),
      scriptRuns([this](const ScriptRuns::Run& run, const ScriptRuns::Failure& failure) {
          reportScriptFailure(run, failure);
      }) {
    page = new WebPage(profile, widgets.view(),
                       [this](bool error, const QString& message, int line, const QString& sourceId) {
                           if (error) {
                               onConsoleError(message, line, sourceId);
                           } else if (message == QLatin1String(FrameWatch::kDrawnMessage)) {
                               frames->drawn();
                           }
                       });
    configure(page->settings());
    frames = new FrameWatch(widgets.view());
    endpoint = new BridgeEndpoint([this](const QJsonObject& message) { return onBridgeMessage(message); }, page);
    openBridgeChannel(page, endpoint);
    refuseNativeRequests(page);
    widgets.view()->setPage(page);
    QObject::connect(page, &QWebEnginePage::navigationRequested, lifetime.get(),
                     [this](QWebEngineNavigationRequest& request) { onNavigationRequested(request); });
    // After the profile's refusal, which cancels every download.
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, lifetime.get(),
                     [this](QWebEngineDownloadRequest* download) {
                         if (download->page() == page && !pendingUri.empty()) downloadRefused = true;
                     });
    QObject::connect(page, &QWebEnginePage::loadingChanged, lifetime.get(),
                     [this](const QWebEngineLoadingInfo& info) { onLoadingChanged(info); });
    // At a commit, and at a move within the page (a fragment, the history
    // API), which never leads to another page.
    QObject::connect(page, &QWebEnginePage::urlChanged, lifetime.get(),
                     [this](const QUrl& url) { shownUri = text(url); });
    QObject::connect(widgets.frame(), &QObject::destroyed, lifetime.get(), [this] {
        widgets.markDeleted();
        this->widgetsGone(this);
    });
}

WebViewClient::~WebViewClient() {
    lifetime.reset();
    if (endpoint) endpoint->detach();
    widgets.destroy(g_servingDepth > 0);
}

void WebViewClient::executeScript(const char* script) {
    if (script == nullptr) return;
    if (mayRunScript(shownUri, pendingUri.empty() ? shownUri : pendingUri)) {
        scriptRuns.started({script, shownUri});
        // The text's value is ours: were it the script's own and a promise,
        // Chromium would wait for it and take its failure as heard. A run
        // that throws has none. The last line names the text where Chromium
        // reports an exception.
        const QString source = QString::fromUtf8(script) + "\n;\"" + kRanValue + "\";\n//# sourceURL=" +
                               QString::fromLatin1(veqpod::kExecutedScriptUri);
        QPointer<QObject> alive(lifetime.get());
        page->runJavaScript(source, QWebEngineScript::MainWorld, [this, alive](const QVariant& value) {
            if (alive) scriptRuns.ended(value.toString() != QLatin1String(kRanValue));
        });
    }
    veqpod::reportScript(this, shownUri, script);
}

void WebViewClient::loadURL(const char* url) {
    if (url == nullptr) return;
    const QUrl address = engineUrl(url);
    if (!engineLoads(address)) {
        // Such a load would never end, or end in another page.
        veqpod::refuseAddress(url);
        const std::string asked = url;
        tellHandler([asked](VEQ::IPageLoadHandler& handler) { handler.onLoadStarted(asked.c_str()); });
        tellHandler([asked](VEQ::IPageLoadHandler& handler) { handler.onLoadFailed(asked.c_str()); });
        return;
    }
    requestedUris.emplace_back(url);
    pendingUri = text(address);
    if (ownedPages.add(url)) offerPageBridge(page, ownedPages.keys());
    page->load(address);
}

void WebViewClient::saveSnapshot(const char* pngPath, VEQPodSnapshotDone done, void* context) {
    veqpod_qt::saveSnapshot(*frames, pngPath, done, context);
}

void WebViewClient::setPageBusy(bool busy) {
    widgets.setBusy(busy);
}

// Asked for every navigation of the top frame but a load of about:blank,
// before it starts: a load that replaces one under way starts without
// Qt's word. A redirect goes on with the load it belongs to.
void WebViewClient::onNavigationRequested(const QWebEngineNavigationRequest& request) {
    if (!request.isMainFrame()) return;
    pendingUri = text(request.url());
    downloadRefused = false;
    scriptRuns.forget();
    if (request.navigationType() == QWebEngineNavigationRequest::RedirectNavigation) return;
    startReported = true;
    reportStarted(pendingUri);
}

// A load asked for that never started (replaced before it did, as a load of
// about:blank may be without a word) is passed over.
void WebViewClient::reportStarted(const std::string& uri) {
    std::string started = uri;
    for (auto asked = requestedUris.begin(); asked != requestedUris.end(); ++asked) {
        if (text(engineUrl(asked->c_str())) != uri) continue;
        started = std::move(*asked);
        requestedUris.erase(requestedUris.begin(), asked + 1);
        break;
    }
    tellHandler([started](VEQ::IPageLoadHandler& handler) { handler.onLoadStarted(started.c_str()); });
}

// The handler may destroy this client: it holds its own handler reference.
void WebViewClient::tellHandler(std::function<void(VEQ::IPageLoadHandler&)> event) {
    QMetaObject::invokeMethod(
        lifetime.get(),
        [this, event = std::move(event)] {
            std::shared_ptr<VEQ::IPageLoadHandler> handler = loadHandler();
            if (handler) event(*handler);
        },
        Qt::QueuedConnection);
}

void WebViewClient::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    const std::string uri = text(info.url());
    switch (info.status()) {
        case QWebEngineLoadingInfo::LoadStartedStatus:
            pendingUri = uri;
            if (!startReported) reportStarted(uri);
            startReported = false;
            return;
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            pendingUri.clear();
            startReported = false;
            tellHandler([uri](VEQ::IPageLoadHandler& handler) { handler.onLoadFinished(uri.c_str()); });
            return;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            pendingUri.clear();
            startReported = false;
            // The server answered with an error status and its own page,
            // which shows: a document loaded.
            if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
                tellHandler([uri](VEQ::IPageLoadHandler& handler) { handler.onLoadFinished(uri.c_str()); });
            } else {
                tellHandler([uri](VEQ::IPageLoadHandler& handler) { handler.onLoadFailed(uri.c_str()); });
            }
            return;
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            if (uri != pendingUri) return;
            pendingUri.clear();
            startReported = false;
            if (!std::exchange(downloadRefused, false)) return;
            tellHandler([uri](VEQ::IPageLoadHandler& handler) { handler.onLoadFailed(uri.c_str()); });
            return;
    }
}

void WebViewClient::onConsoleError(const QString& message, int line, const QString& sourceId) {
    reportUnheardRejection(message, line, sourceId);
    if (!isUncaughtException(message)) return;
    scriptRuns.uncaught({message.mid(int(sizeof "Uncaught " - 1)).toStdString(), sourceId.toStdString(),
                         line > 0 ? unsigned(line) : 0});
}

void WebViewClient::reportScriptFailure(const ScriptRuns::Run& run, const ScriptRuns::Failure& failure) {
    const std::string place =
        failure.sourceUri.empty() ? "" : failure.sourceUri + ":" + std::to_string(failure.line) + ": ";
    veqpod::logScriptFailure(place + failure.message, run.script);
    veqpod::reportScriptError(this, run.pageUri, run.script, failure.message, failure.sourceUri, failure.line, 0);
}

// A promise that the text given to executeScript itself let fail unheard
// never reaches the page's listeners in Chromium, only its console.
void WebViewClient::reportUnheardRejection(const QString& message, int line, const QString& sourceId) {
    const QLatin1String unheard("Uncaught (in promise) ");
    if (!message.startsWith(unheard) || sourceId != QLatin1String(veqpod::kExecutedScriptUri)) return;
    if (!ownedPages.contains(shownUri.c_str())) return;
    const unsigned place = line > 0 ? unsigned(line) : 0;
    reportPageScriptError(shownUri, {"Unhandled rejection: " + message.mid(unheard.size()).toStdString(),
                                     sourceId.toStdString(), place, 0});
}

QString WebViewClient::onBridgeMessage(const QJsonObject& message) {
    const std::string uri = shownUri;
    veqpod::PageScriptError error;
    if (ownedPages.contains(uri.c_str()) && readPageScriptError(message, &error)) {
        reportPageScriptError(uri, error);
        return replyText(true, "null");
    }
    QString reply;
    ++g_servingDepth;
    serveAction(
        uri, [&message](veqpod::Invocation* invocation) { return readInvocation(message, invocation); },
        [&reply](bool served, const std::string& outcome) { reply = replyText(served, outcome); });
    --g_servingDepth;
    return reply;
}

}  // namespace veqpod_qt
