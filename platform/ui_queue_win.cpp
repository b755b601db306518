#include "platform/ui_queue.h"

#include <windows.h>

#include "platform/task_message_win.h"

namespace XLoop::platform {
namespace {

constexpr wchar_t kWindowClassName[] = L"XLoopMainThreadDispatcherMessageWindow";

LRESULT CALLBACK dispatcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTaskMessage) reinterpret_cast<Task*>(wParam)->runFromQueue();
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND toWindow(UiQueueHandle queue) {
    return reinterpret_cast<HWND>(queue);
}

}  // namespace

UiQueueHandle createUiQueue() {
    // Registered with the host executable's instance; registering a second
    // time fails harmlessly and the class already there is used.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXW);
    windowClass.lpfnWndProc = dispatcherWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, kWindowClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, instance, nullptr);
    return reinterpret_cast<UiQueueHandle>(window);
}

bool postToUiQueue(UiQueueHandle queue, Task* task, IDispatcher* poster) {
    return PostMessageW(toWindow(queue), kTaskMessage, reinterpret_cast<WPARAM>(task),
                        reinterpret_cast<LPARAM>(poster)) != FALSE;
}

void destroyUiQueue(UiQueueHandle queue) {
    HWND window = toWindow(queue);
    releasePendingTaskMessages(window);
    DestroyWindow(window);
}

int uiQueueDescriptor(UiQueueHandle) {
    return -1;
}

void runPendingUiTasks(UiQueueHandle queue) {
    HWND window = toWindow(queue);
    MSG message;
    // A task that destroys the window ends the loop: peeking at a destroyed
    // window finds nothing.
    while (IsWindow(window) && PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

}  // namespace XLoop::platform
