#include "pods/tests/engine_driver.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QWidget>

#include "pods/qtwebengine/page_bridge.h"
#include "pods/tests/engine_loop.h"

namespace veqpod_test {
namespace {

QWebEngineView* onlyView() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* view = window->findChild<QWebEngineView*>(QStringLiteral("veqpod-view"));
        if (view != nullptr) return view;
    }
    return nullptr;
}

// The script's result as text, once the engine has run it in world.
std::string evaluate(QWebEnginePage* page, const QString& script, quint32 world) {
    std::optional<std::string> result;
    page->runJavaScript(script, world,
                        [&result](const QVariant& value) { result = value.toString().toStdString(); });
    runUntil([&] { return result.has_value(); });
    return result.value_or("");
}

// text as a script's string literal.
QString literal(const std::string& text) {
    const QByteArray array = QJsonDocument(QJsonArray{QString::fromStdString(text)}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

}  // namespace

void* makeHostContainer() {
    auto* window = new QWidget;
    window->resize(1024, 768);
    window->show();
    return window;
}

void destroyHostContainer(void* container) {
    delete static_cast<QWidget*>(container);
}

std::optional<bool> busyIndicatorShows(void* container) {
    auto* busy = static_cast<QWidget*>(container)->findChild<QWidget*>(QStringLiteral("veqpod-busy"));
    if (busy == nullptr) return std::nullopt;
    return busy->isVisible();
}

bool holdsNoClient(void* container) {
    return static_cast<QWidget*>(container)->findChild<QWidget*>(QStringLiteral("veqpod-view")) == nullptr;
}

void* makeNonContainer() {
    return new QObject;
}

void releaseNonContainer(void* widget) {
    delete static_cast<QObject*>(widget);
}

const char kPageChannel[] = "window.qt && window.qt.webChannelTransport";
const char kPageChannelCall[] = "window.qt.webChannelTransport.send('{}')";

void goBack() {
    // To the entry before, as WebKit goes back: Chromium's own back skips a
    // page that left by a script without the user's gesture, as the room here.
    QWebEngineHistory* history = onlyView()->history();
    history->goToItem(history->backItem());
}

void navigateView(const std::string& address) {
    onlyView()->load(QUrl(QString::fromStdString(address)));
}

std::string callFromLibraryWorld() {
    QWebEngineView* view = onlyView();
    if (view == nullptr) return "no view";
    // The reply is kept in that world until the test reads it.
    evaluate(view->page(), QStringLiteral(R"js(new QWebChannel(qt.webChannelTransport, (channel) =>
        channel.objects.veq.post(JSON.stringify({name: "report", args: "{}"}),
                                 (reply) => { self.veqTestReply = reply; })); "")js"),
             veqpod_qt::kBridgeWorld);
    std::string reply;
    runUntil([&] {
        reply = evaluate(view->page(), QStringLiteral("self.veqTestReply || ''"), veqpod_qt::kBridgeWorld);
        return !reply.empty();
    });
    return reply;
}

std::string engineHome() {
    return QDir::homePath().toStdString();
}

struct BareView::Engine {
    // A profile without a storage name keeps nothing on disk.
    QWebEngineProfile profile;
    QWebEngineView view;
    QWebEnginePage* page = new QWebEnginePage(&profile, &view);
    bool ended = false;
    std::string endedAt;
};

BareView::BareView() : engine(std::make_unique<Engine>()) {
    engine->page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    engine->view.setPage(engine->page);
    QObject::connect(engine->page, &QWebEnginePage::loadingChanged, [this](const QWebEngineLoadingInfo& info) {
        if (engine->ended || info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
        engine->endedAt = info.url().toString().toStdString();
        engine->ended = true;
    });
}

BareView::~BareView() {
    // The page goes before the profile it uses.
    delete engine->page;
}

std::string BareView::loadedAddress(const std::string& address) {
    const QUrl url(QString::fromStdString(address));
    // Qt passes on addresses Chromium drops without a word (no http or https
    // origin): no load would end.
    if (!url.isValid() || originOf(url.toEncoded().toStdString()).empty()) return "";
    engine->ended = false;
    engine->endedAt.clear();
    engine->page->load(url);
    runUntil([&] { return engine->ended; });
    return engine->endedAt;
}

std::string BareView::originOf(const std::string& address) {
    const QString script = QStringLiteral(R"js((() => {
        try {
          const url = new URL(%1);
          if (url.protocol !== "http:" && url.protocol !== "https:") return "";
          return url.protocol + "//" + url.hostname + ":" + (url.port || (url.protocol === "https:" ? "443" : "80"));
        } catch (error) {
          return "";
        }
      })())js").arg(literal(address));
    return evaluate(engine->page, script, QWebEngineScript::MainWorld);
}

}  // namespace veqpod_test
