#include "platform/error_text.h"

#include <windows.h>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

namespace {

// From the module's message table, or the system's when it is null.
std::string messageText(HMODULE module, int code) {
    const DWORD source = module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
    wchar_t text[512];
    DWORD length = FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS, module, static_cast<DWORD>(code), 0, text,
                                  sizeof text / sizeof text[0], nullptr);
    // The system's messages end in a full stop and a line end.
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L'.' ||
                          text[length - 1] == L' ')) {
        --length;
    }
    text[length] = L'\0';
    return utf8FromWide(text);
}

}  // namespace

std::string systemErrorText(int code) {
    return messageText(nullptr, code);
}

std::string httpErrorText(int code) {
    // WinINet keeps its messages in its own table; the system's covers the rest.
    const HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    std::string text = wininet != nullptr ? messageText(wininet, code) : std::string();
    return text.empty() ? messageText(nullptr, code) : text;
}

}  // namespace XLoop::platform
