#include "platform/ui_queue.h"

#include <windows.h>

#include "platform/item_message_win.h"

namespace XLoop::platform {
namespace {

constexpr wchar_t kWindowClassName[] = L"XLoopMainThreadDispatcherMessageWindow";

// Set with the first queue; every queue of the module carries the same items.
QueueItemHandler g_handler{};

LRESULT CALLBACK dispatcherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kItemMessage) g_handler.run(reinterpret_cast<void*>(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND toWindow(UiQueueHandle queue) {
    return reinterpret_cast<HWND>(queue);
}

HINSTANCE moduleInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&dispatcherWindowProc), &module);
    return module;
}

// The window class belongs to this module, so that a host which unloads the
// module and loads it again, perhaps at another address, never meets a class
// or a window whose procedure has gone with the old image. When the module
// unloads, its window goes first (its pending items dropped), then the class.
class ModuleWindow {
public:
    ~ModuleWindow() {
        if (window != nullptr) {
            if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
                dropPendingItems(window, g_handler.drop);
                DestroyWindow(window);
            } else {
                // Only its own thread may destroy it; at least keep its
                // messages away from code that is about to be unmapped.
                SetWindowLongPtrW(window, GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(&DefWindowProcW));
            }
        }
        if (instance != nullptr) UnregisterClassW(kWindowClassName, instance);
    }

    HWND create() {
        if (instance == nullptr) {
            WNDCLASSEXW windowClass = {};
            windowClass.cbSize = sizeof(WNDCLASSEXW);
            windowClass.lpfnWndProc = dispatcherWindowProc;
            windowClass.hInstance = moduleInstance();
            windowClass.lpszClassName = kWindowClassName;
            // A class left by an earlier life of this image at this very
            // address has this procedure: use it.
            if (RegisterClassExW(&windowClass) == 0 &&
                GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
                return nullptr;
            }
            instance = windowClass.hInstance;
        }
        window = CreateWindowExW(0, kWindowClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, instance, nullptr);
        return window;
    }

    void destroy(HWND destroyed) {
        dropPendingItems(destroyed, g_handler.drop);
        DestroyWindow(destroyed);
        if (destroyed == window) window = nullptr;
    }

private:
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
};

ModuleWindow g_moduleWindow;

}  // namespace

UiQueueHandle createUiQueue(QueueItemHandler handler) {
    g_handler = handler;
    return reinterpret_cast<UiQueueHandle>(g_moduleWindow.create());
}

bool postToUiQueue(UiQueueHandle queue, void* item) {
    return postItemMessage(toWindow(queue), item) != FALSE;
}

void destroyUiQueue(UiQueueHandle queue) {
    g_moduleWindow.destroy(toWindow(queue));
}

int uiQueueDescriptor() {
    return -1;
}

void runPendingUiItems(UiQueueHandle queue) {
    HWND window = toWindow(queue);
    MSG message;
    // An item that destroys the window ends the loop: peeking at a destroyed
    // window finds nothing.
    while (IsWindow(window) && PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

}  // namespace XLoop::platform
