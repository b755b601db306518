// The window and thread message that carries a task on Windows.
#pragma once

#include <windows.h>

namespace XLoop::platform {

// WM_USER + 100: first parameter the task, second the posting dispatcher.
constexpr UINT kTaskMessage = WM_USER + 100;

}  // namespace XLoop::platform
