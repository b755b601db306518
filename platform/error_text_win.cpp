#include "platform/error_text.h"

#include <windows.h>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

std::string systemErrorText(int code) {
    wchar_t text[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), 0, text, sizeof text / sizeof text[0], nullptr);
    // The system's messages end in a full stop and a line end.
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L'.' ||
                          text[length - 1] == L' ')) {
        --length;
    }
    text[length] = L'\0';
    return utf8FromWide(text);
}

}  // namespace XLoop::platform
