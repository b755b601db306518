#include "pods/common/client_base.h"

#include <new>
#include <utility>

#include "pods/common/log_line.h"
#include "pods/common/observer.h"

namespace veqpod {

void ClientBase::notifyDestroy() {
    if (destroyNotifier != nullptr) destroyNotifier->onDestroy(this);
}

bool ClientBase::setUserData(const char* key, void* value) {
    if (key == nullptr) return false;
    userData[key] = value;
    return true;
}

void* ClientBase::getUserData(const char* key) {
    if (key == nullptr) return nullptr;
    auto found = userData.find(key);
    return found != userData.end() ? found->second : nullptr;
}

bool ClientBase::registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) {
    if (actionName == nullptr || handler == nullptr) return false;
    actionHandlers[actionName] = handler;
    return true;
}

bool ClientBase::setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) {
    pageLoadHandler = std::move(handler);
    return true;
}

bool ClientBase::setDestroyNotifier(VEQ::DestroyNotifier* notifier) {
    destroyNotifier = notifier;
    return true;
}

void ClientBase::serveAction(const std::string& uri, const InvocationReader& read, const Answer& answer) {
    BrowserClient* const self = this;
    Invocation invocation;
    std::string outcome;
    const bool served = callHandler(uri, read, &invocation, &outcome);
    answer(served, outcome);
    reportAction(self, uri, invocation.actionName, invocation.argumentText, outcome, served);
}

bool ClientBase::callHandler(const std::string& uri, const InvocationReader& read, Invocation* invocation,
                             std::string* outcome) {
    // The bridge only reaches the owner's pages; this holds even if a page
    // found its way into the library's script world.
    if (!ownedPages.contains(uri.c_str())) {
        logEscaped("refused an action call from", uri);
        *outcome = "refused: this page was not loaded by the browser's owner";
        return false;
    }
    if (!read(invocation)) {
        *outcome = "not an action invocation";
        return false;
    }
    auto found = actionHandlers.find(invocation->actionName);
    if (found == actionHandlers.end()) {
        *outcome = "no handler for action " + invocation->actionName;
        return false;
    }
    char* result = nullptr;
    found->second->handleAction(invocation->actionName.c_str(), invocation->argumentText.c_str(), &result);
    if (result == nullptr) {
        *outcome = "the action gave no reply";
        return false;
    }
    *outcome = result;
    ::operator delete(result);
    return true;
}

void ClientBase::reportPageScriptError(const std::string& uri, const PageScriptError& error) {
    const std::string place = error.sourceUri.empty() ? "" : error.sourceUri + ":" + std::to_string(error.line) +
                                                              ":" + std::to_string(error.column) + ": ";
    logEscaped("script failed:", place + error.message);
    reportScriptError(this, uri, "", error.message, error.sourceUri, error.line, error.column);
}

bool ClientBase::mayRunScript(const std::string& shownUri, const std::string& nextUri) const {
    if (!ownedPages.contains(shownUri.c_str())) {
        logEscaped("dropped a script for", shownUri);
        return false;
    }
    if (!ownedPages.contains(nextUri.c_str())) {
        logEscaped("dropped a script for", nextUri);
        return false;
    }
    return true;
}

}  // namespace veqpod
