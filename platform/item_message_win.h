// The window and thread message that carries a queued item on Windows.
#pragma once

#include <windows.h>

#include "platform/queue_item.h"

namespace XLoop::platform {

// WM_USER + 100; the first parameter is the item.
constexpr UINT kItemMessage = WM_USER + 100;

inline void* itemOf(const MSG& message) {
    return reinterpret_cast<void*>(message.wParam);
}

inline BOOL postItemMessage(HWND window, void* item) {
    return PostMessageW(window, kItemMessage, reinterpret_cast<WPARAM>(item), 0);
}

// Removes the calling thread's pending messages for window (null: every
// message of the thread) and drops the items they carry without running
// them, so a queue that goes away leaks nothing.
inline void dropPendingItems(HWND window, void (*drop)(void*)) {
    MSG message;
    while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        if (message.message == kItemMessage) drop(itemOf(message));
    }
}

}  // namespace XLoop::platform
