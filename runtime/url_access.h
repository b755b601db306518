// Whether the room's URL answers, decided on a worker thread and acted on
// back on the UI thread.
#pragma once

#include <memory>
#include <string>

#include "base/ref_ptr.h"
#include "platform/http_client.h"
#include "runtime/task.h"
#include "xloop/veq_browser.h"

namespace XLoop {

// True for a file URL (no network use), or when the server answers a HEAD
// request with 200, redirects followed. A server that does not implement HEAD
// (405, 501) is asked once more with GET. Blocks; worker threads only. A
// cancellation makes it return false at once.
bool IsURLAccessible(const char* url);
bool IsURLAccessible(const char* url, platform::HttpCancellation& cancellation);

// Base of every task that acts on a check's answer.
class URLAccessResultTask : public Task {
public:
    // Written by the check on its worker before the task is posted to the
    // UI thread, read there after.
    bool accessible = false;
};

class URLAccessCheckTask : public Task {
public:
    URLAccessCheckTask(std::string url, RefPtr<URLAccessResultTask> resultTask);

    void run() override;
    // Aborts a request in progress, so the worker is free at once.
    void onCancel() override;

private:
    RefPtr<URLAccessResultTask> resultTask;
    std::string url;
    platform::HttpCancellation cancellation;
};

// Loads the room page when the check says it answers, else the offline page.
class URLAccessResultTaskForInitialLoad : public URLAccessResultTask {
public:
    URLAccessResultTaskForInitialLoad(BrowserClient* client, std::string onlineURL,
                                      std::string offlineURL,
                                      std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler);

    void run() override;

private:
    std::string onlineURL;
    std::string offlineURL;
    BrowserClient* client;
    // Keeps the page-load handler alive as long as this task.
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler;
};

}  // namespace XLoop
