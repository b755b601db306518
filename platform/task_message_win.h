// The window and thread message that carries a task on Windows.
#pragma once

#include <windows.h>

#include "host/task.h"

namespace XLoop::platform {

// WM_USER + 100: first parameter the task, second the posting dispatcher.
constexpr UINT kTaskMessage = WM_USER + 100;

inline Task* taskOf(const MSG& message) {
    return reinterpret_cast<Task*>(message.wParam);
}

// Removes the calling thread's pending messages for window (null: every
// message of the thread) and releases the tasks they carry without running
// them, so a queue that goes away leaks nothing.
inline void releasePendingTaskMessages(HWND window) {
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        if (message.message == kTaskMessage) taskOf(message)->release();
    }
}

}  // namespace XLoop::platform
