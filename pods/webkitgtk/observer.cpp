#include "pods/webkitgtk/observer.h"

namespace veqpod_webkit {
namespace {

// Read and written on the GTK main thread only, like everything here.
VEQPodObserver g_observer{};

}  // namespace

void setObserver(const VEQPodObserver* observer) {
    g_observer = observer != nullptr ? *observer : VEQPodObserver{};
}

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

}  // namespace veqpod_webkit
