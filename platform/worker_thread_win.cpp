#include "platform/worker_thread.h"

#include <windows.h>

#include "platform/task_message_win.h"

namespace XLoop::platform {

struct WorkerThread {
    HANDLE thread;
    HANDLE startEvent;
    DWORD threadId;
};

namespace {

DWORD WINAPI runWorkerLoop(void* startEvent) {
    // Hold the module while this thread runs its code, so a host that unloads
    // the module meanwhile does not pull the code from under it.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&runWorkerLoop), &module);

    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue exist
    SetEvent(static_cast<HANDLE>(startEvent));

    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kTaskMessage) taskOf(message)->runFromQueue();
    }
    // Whatever was queued behind the quit message never runs.
    releasePendingTaskMessages(nullptr);
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

WorkerThread* startWorkerThread() {
    HANDLE startEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (startEvent == nullptr) return nullptr;
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, runWorkerLoop, startEvent, 0, &threadId);
    if (thread == nullptr) {
        CloseHandle(startEvent);
        return nullptr;
    }
    WaitForSingleObject(startEvent, INFINITE);
    return new WorkerThread{thread, startEvent, threadId};
}

bool postToWorkerThread(WorkerThread* worker, Task* task, IDispatcher* poster) {
    return PostThreadMessageW(worker->threadId, kTaskMessage, reinterpret_cast<WPARAM>(task),
                              reinterpret_cast<LPARAM>(poster)) != FALSE;
}

void quitWorkerThread(WorkerThread* worker) {
    PostThreadMessageW(worker->threadId, WM_QUIT, 0, 0);
    CloseHandle(worker->thread);
    CloseHandle(worker->startEvent);
    delete worker;
}

}  // namespace XLoop::platform
