// The host's UI thread: the one that called InitializeVEQ. Exports, browser
// callbacks and UI-queue tasks run there, and code that relies on it says so.
#pragma once

#include <cassert>

namespace XLoop {

// Remembers the calling thread as the UI thread.
void bindUiThread();
// True on the UI thread, and before any thread was bound.
bool onUiThread();

}  // namespace XLoop

// Checked in debug builds only.
#define XLOOP_ASSERT_UI_THREAD() assert(::XLoop::onUiThread())
