#include "platform/open_uri.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

StepResult openUri(const std::string& uri) {
    const std::u16string wide = wideFromUtf8(uri);
    auto instance = reinterpret_cast<intptr_t>(
        ShellExecuteW(nullptr, L"open", wideChars(wide), nullptr, nullptr, SW_SHOWNORMAL));
    // Values above 32 mean success; the others are the error.
    if (instance <= 32) return StepResult::failure("ShellExecuteW", static_cast<int>(instance));
    return StepResult::success();
}

}  // namespace XLoop::platform
