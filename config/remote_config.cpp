#include "config/remote_config.h"

#include "base/ui_thread.h"
#include "config/config_file.h"
#include "prefs/preference_stores.h"
#include "runtime/dispatcher.h"
#include "runtime/log.h"

namespace XLoop {

std::atomic<std::chrono::milliseconds> g_configRetryInterval{std::chrono::milliseconds(60000)};

void applyConfigParameters(const char* killswitch, const char* url, const char* serverurl,
                           const char* userDataPath, const char* locale) {
    XLOOP_ASSERT_UI_THREAD();
    auto store = VEQ::getPreferenceStore(userDataPath != nullptr ? userDataPath : "",
                                         locale != nullptr ? locale : "");
    const std::string current[] = {VEQ::readPreference(store.get(), "killswitch", "on"),
                                   VEQ::readPreference(store.get(), "url", ""),
                                   VEQ::readPreference(store.get(), "serverurl", "")};
    logDebug("Updating with remote parameters: %s %s %s", killswitch, url, serverurl);
    const char* keys[] = {"killswitch", "url", "serverurl"};
    const char* values[] = {killswitch, url, serverurl};
    for (int i = 0; i < 3; ++i) {
        if (current[i] != values[i]) VEQ::writePreference(store.get(), keys[i], values[i]);
    }
}

void UpdateXLoopConfigTask::run() {
    applyConfigParameters(killswitch.c_str(), url.c_str(), serverurl.c_str(), userDataPath.c_str(),
                          storeLocale.c_str());
}

FetchXloopServerConfigTask::FetchXloopServerConfigTask(std::string configURL, std::string product,
                                                       std::string version, std::string locale,
                                                       std::string userDataPath, std::string storeLocale,
                                                       RefPtr<UpdateXLoopConfigTask> updateTask)
    : configURL(std::move(configURL)),
      product(std::move(product)),
      locale(std::move(locale)),
      version(std::move(version)),
      userDataPath(std::move(userDataPath)),
      storeLocale(std::move(storeLocale)),
      updateTask(std::move(updateTask)) {}

FetchXloopServerConfigTask::~FetchXloopServerConfigTask() {
    if (updateTask) updateTask->cancel();
}

void FetchXloopServerConfigTask::run() {
    logDebug("Starting config fetch task from url: %s", configURL.c_str());
    while (!isCancelled()) {
        // A failed attempt's values never reach the next attempt's result.
        std::string killswitch, url, serverurl;
        const bool read = readConfigFile(configURL.c_str(), product.c_str(), version.c_str(), locale.c_str(),
                                         killswitch, url, serverurl, transfer);
        if (isCancelled()) {
            logDebug("Reading remote parameters task was canceled");
            continue;
        }
        if (!read) {
            logDebug("Reading remote parameters is failed. Waiting...");
            if (!waitBeforeRetrying()) {
                logDebug("Reading remote parameters task was canceled");
                break;
            }
            logDebug("Retrying reading remote parameters");
            continue;
        }
        logDebug("Reading remote parameters is complete successfully");
        updateTask->killswitch = killswitch;
        updateTask->url = url;
        updateTask->serverurl = serverurl;
        updateTask->userDataPath = userDataPath;
        updateTask->storeLocale = storeLocale;
        MainThreadDispatcher().post(updateTask.get());
        break;
    }
    logDebug("Reading remote parameters task finished executing");
}

// A predicate wait: a spurious wake never shortens the pause into a busy loop.
bool FetchXloopServerConfigTask::waitBeforeRetrying() {
    std::unique_lock<std::mutex> lock(cancelMutex);
    return !cancelSignal.wait_for(lock, g_configRetryInterval.load(), [this] { return cancelSignalled; });
}

void FetchXloopServerConfigTask::onCancel() {
    logDebug("Got cancel request for remote parameters update task");
    {
        std::lock_guard<std::mutex> lock(cancelMutex);
        cancelSignalled = true;
    }
    cancelSignal.notify_all();
    transfer.cancel();
    updateTask->cancel();
}

}  // namespace XLoop
