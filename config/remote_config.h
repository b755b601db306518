// The server's configuration file, fetched in the background and retried
// until it is read or cancelled; its values reach the preference store on
// the UI thread and take effect at the next resolution.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "base/ref_ptr.h"
#include "platform/http_client.h"
#include "runtime/task.h"

namespace XLoop {

// The pause between failed attempts; tests shorten it.
extern std::atomic<std::chrono::milliseconds> g_configRetryInterval;

// Writes killswitch, url and serverurl into the store of (userDataPath,
// locale), each only when it differs from the stored value. UI thread only.
void applyConfigParameters(const char* killswitch, const char* url, const char* serverurl,
                           const char* userDataPath, const char* locale);

// Stores fetched values; posted to the UI thread by the fetch.
class UpdateXLoopConfigTask : public Task {
public:
    using Task::Task;
    void run() override;

    std::string killswitch;
    std::string url;
    std::string serverurl;
    std::string userDataPath;
    std::string storeLocale;
};

class FetchXloopServerConfigTask : public Task {
public:
    // locale chooses the file's section (lower-cased); storeLocale, as the
    // host passed it, chooses the preference store.
    FetchXloopServerConfigTask(std::string configURL, std::string product, std::string version,
                               std::string locale, std::string userDataPath, std::string storeLocale,
                               RefPtr<UpdateXLoopConfigTask> updateTask);
    ~FetchXloopServerConfigTask() override;

    void run() override;
    // Wakes a waiting fetch, aborts a transfer in progress, and cancels the
    // update.
    void onCancel() override;

private:
    // False when cancelled during the wait.
    bool waitBeforeRetrying();

    const std::string configURL;
    const std::string product;
    const std::string locale;
    const std::string version;
    const std::string userDataPath;
    const std::string storeLocale;
    RefPtr<UpdateXLoopConfigTask> updateTask;

    std::mutex cancelMutex;
    std::condition_variable cancelSignal;
    bool cancelSignalled = false;
    platform::HttpCancellation transfer;
};

}  // namespace XLoop
