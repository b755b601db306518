#include "platform/open_uri.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

StepResult openUri(const std::string& uri) {
    const std::u16string wide = wideFromUtf8(uri);
    SHELLEXECUTEINFOW request = {};
    request.cbSize = sizeof request;
    // A failure comes back as a value: no shell dialog may wait for the user
    // on the host's UI thread.
    request.fMask = SEE_MASK_FLAG_NO_UI;
    request.lpVerb = L"open";
    request.lpFile = wideChars(wide);
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&request)) return StepResult::failure("ShellExecuteExW", static_cast<int>(GetLastError()));
    return StepResult::success();
}

}  // namespace XLoop::platform
