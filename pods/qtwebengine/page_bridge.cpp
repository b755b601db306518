#include "pods/qtwebengine/page_bridge.h"

#include <utility>

#include <QFile>
#include <QJsonDocument>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScriptCollection>

#include "pods/common/bridge_script.h"

namespace veqpod_qt {
namespace {

const char kPageHalfName[] = "veq-page-half";
const char kBridgeHalfName[] = "veq-bridge-half";
const char kEndpointName[] = "veq";

// The channel's endpoint as the bridge's world found it when its script
// started; the reply text says whether the call was served.
const char kPost[] = R"js(((transport) => {
    const endpoint = new Promise((resolve) =>
      new QWebChannel(transport, (channel) => resolve(channel.objects.veq)));
    return (message) => endpoint.then((veq) => new Promise((resolve, reject) =>
      veq.post(JSON.stringify(message), (replyText) => {
        const reply = JSON.parse(replyText);
        if (typeof reply.error === "string") reject(new Error(reply.error));
        else resolve(reply.value);
      })));
  })(qt.webChannelTransport))js";

// Qt's client side of the channel, shipped in Qt's own resources.
QString webChannelScript() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript topFrameScript(const char* name, const QString& source, quint32 world) {
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    script.setRunsOnSubFrames(false);
    return script;
}

void replaceScript(QWebEngineScriptCollection& scripts, const QWebEngineScript& script) {
    for (const QWebEngineScript& old : scripts.find(script.name())) scripts.remove(old);
    scripts.insert(script);
}

bool readText(const QJsonObject& message, const char* name, std::string* text) {
    const QJsonValue value = message.value(QLatin1String(name));
    if (!value.isString()) return false;
    *text = value.toString().toStdString();
    return true;
}

unsigned readCount(const QJsonObject& message, const char* name) {
    const int value = message.value(QLatin1String(name)).toInt(0);
    return value > 0 ? static_cast<unsigned>(value) : 0;
}

}  // namespace

BridgeEndpoint::BridgeEndpoint(Receiver receiver, QObject* parent)
    : QObject(parent), receiver(std::move(receiver)) {}

void BridgeEndpoint::detach() {
    receiver = nullptr;
}

QString BridgeEndpoint::post(const QString& message) {
    if (!receiver) return replyText(false, "refused: the browser client is gone");
    const QJsonDocument document = QJsonDocument::fromJson(message.toUtf8());
    return receiver(document.isObject() ? document.object() : QJsonObject());
}

void openBridgeChannel(QWebEnginePage* page, BridgeEndpoint* endpoint) {
    auto* channel = new QWebChannel(page);
    channel->registerObject(QString::fromLatin1(kEndpointName), endpoint);
    page->setWebChannel(channel, kBridgeWorld);
}

void offerPageBridge(QWebEnginePage* page, const std::set<std::string>& ownedPages) {
    const QString pageHalf = QString::fromStdString(veqpod::pageHalfScript(ownedPages));
    const QString bridgeHalf =
        webChannelScript() + "\n" + QString::fromStdString(veqpod::bridgeHalfScript(ownedPages, kPost));
    QWebEngineScriptCollection& scripts = page->scripts();
    replaceScript(scripts, topFrameScript(kPageHalfName, pageHalf, QWebEngineScript::MainWorld));
    replaceScript(scripts, topFrameScript(kBridgeHalfName, bridgeHalf, kBridgeWorld));
}

bool readInvocation(const QJsonObject& message, veqpod::Invocation* invocation) {
    return readText(message, "name", &invocation->actionName) && readText(message, "args", &invocation->argumentText);
}

bool readPageScriptError(const QJsonObject& message, veqpod::PageScriptError* error) {
    if (!readText(message, "scriptError", &error->message)) return false;
    readText(message, "file", &error->sourceUri);
    error->line = readCount(message, "line");
    error->column = readCount(message, "column");
    return true;
}

QString replyText(bool served, const std::string& outcome) {
    const QJsonObject reply{{served ? "value" : "error", QString::fromStdString(outcome)}};
    return QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact));
}

}  // namespace veqpod_qt
