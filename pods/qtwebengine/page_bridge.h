// The page's way to the action handlers in Qt WebEngine: the scripts of
// pods/common/bridge_script.h over a web channel in the library's own world.
#pragma once

#include <functional>
#include <set>
#include <string>

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QWebEngineScript>

#include "pods/common/client_base.h"

class QWebEnginePage;

namespace veqpod_qt {

// The script world of the bridge's half and of the channel: the page's
// scripts and its frames never see it.
inline constexpr quint32 kBridgeWorld = QWebEngineScript::ApplicationWorld;

// The one object the channel shows the bridge's half: post(message) hands
// the message text to the receiver and gives the page its reply text.
class BridgeEndpoint final : public QObject {
    Q_OBJECT

public:
    using Receiver = std::function<QString(const QJsonObject& message)>;

    BridgeEndpoint(Receiver receiver, QObject* parent);
    // From now on every message is refused: the client is gone.
    void detach();

    Q_INVOKABLE QString post(const QString& message);

private:
    Receiver receiver;
};

// Opens the channel to endpoint in the bridge's world of page.
void openBridgeChannel(QWebEnginePage* page, BridgeEndpoint* endpoint);

// From the next page on, gives window.veq to the top frame of every page
// whose pageKey is one of ownedPages, and to no other.
void offerPageBridge(QWebEnginePage* page, const std::set<std::string>& ownedPages);

// Read what the bridge posted; false when the message is not one.
bool readInvocation(const QJsonObject& message, veqpod::Invocation* invocation);
bool readPageScriptError(const QJsonObject& message, veqpod::PageScriptError* error);

// What post gives the page: the reply text, or why the call was refused.
QString replyText(bool served, const std::string& outcome);

}  // namespace veqpod_qt
