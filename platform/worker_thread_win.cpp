#include "platform/worker_thread.h"

#include <windows.h>

#include "platform/item_message_win.h"

namespace XLoop::platform {

struct WorkerThread {
    HANDLE thread;
    DWORD threadId;
};

namespace {

struct Start {
    HANDLE startedEvent;
    QueueItemHandler handler;
};

DWORD WINAPI runWorkerLoop(void* parameter) {
    // Hold the module while this thread runs its code, so a host that unloads
    // the module meanwhile does not pull the code from under it.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&runWorkerLoop), &module);
    const QueueItemHandler handler = static_cast<Start*>(parameter)->handler;

    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue exist
    SetEvent(static_cast<Start*>(parameter)->startedEvent);

    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kItemMessage) handler.run(itemOf(message));
    }
    // Whatever was queued behind the quit message never runs.
    dropPendingItems(nullptr, handler.drop);
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

WorkerThread* startWorkerThread(QueueItemHandler handler) {
    Start start{CreateEventW(nullptr, TRUE, FALSE, nullptr), handler};
    if (start.startedEvent == nullptr) return nullptr;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, runWorkerLoop, &start, 0, &threadId);
    if (thread != nullptr) WaitForSingleObject(start.startedEvent, INFINITE);
    CloseHandle(start.startedEvent);
    return thread != nullptr ? new WorkerThread{thread, threadId} : nullptr;
}

bool postToWorkerThread(WorkerThread* worker, void* item) {
    return PostThreadMessageW(worker->threadId, kItemMessage, reinterpret_cast<WPARAM>(item), 0) !=
           FALSE;
}

void quitWorkerThread(WorkerThread* worker, unsigned waitMilliseconds) {
    PostThreadMessageW(worker->threadId, WM_QUIT, 0, 0);
    if (waitMilliseconds > 0) WaitForSingleObject(worker->thread, waitMilliseconds);
    CloseHandle(worker->thread);
    delete worker;
}

}  // namespace XLoop::platform
