#include "pods/common/observer.h"

namespace veqpod {
namespace {

// Read and written on the library's thread only, like everything here.
VEQPodObserver g_observer{};
VEQPodScriptErrorObserver g_scriptErrorObserver{};

}  // namespace

void reportScript(BrowserClient* client, const std::string& pageUri, const char* script) {
    // A copy: an observer that installs another one meanwhile is still called whole.
    const VEQPodObserver observer = g_observer;
    if (observer.scriptRun != nullptr) observer.scriptRun(observer.context, client, pageUri.c_str(), script);
}

void reportAction(BrowserClient* client, const std::string& pageUri, const std::string& actionName,
                  const std::string& argumentText, const std::string& outcome, bool served) {
    const VEQPodObserver observer = g_observer;
    if (observer.actionCalled == nullptr) return;
    observer.actionCalled(observer.context, client, pageUri.c_str(), actionName.c_str(), argumentText.c_str(),
                          outcome.c_str(), served ? 1 : 0);
}

void reportScriptError(BrowserClient* client, const std::string& pageUri, const std::string& script,
                       const std::string& message, const std::string& sourceUri, unsigned line, unsigned column) {
    const VEQPodScriptErrorObserver observer = g_scriptErrorObserver;
    if (observer.scriptFailed == nullptr) return;
    observer.scriptFailed(observer.context, client, pageUri.c_str(), script.c_str(), message.c_str(),
                          sourceUri.c_str(), line, column);
}

}  // namespace veqpod

extern "C" {

void VEQPodSetObserver(const VEQPodObserver* observer) {
    veqpod::g_observer = observer != nullptr ? *observer : VEQPodObserver{};
}

void VEQPodSetScriptErrorObserver(const VEQPodScriptErrorObserver* observer) {
    veqpod::g_scriptErrorObserver = observer != nullptr ? *observer : VEQPodScriptErrorObserver{};
}

}  // extern "C"
