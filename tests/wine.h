// Telling wine from Windows, for the few assertions that meet one of wine's
// deviations.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif

namespace xloop_test {

// Wine's ntdll exports wine_get_version; Windows' does not.
inline bool runningUnderWine() {
#if defined(_WIN32)
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

}  // namespace xloop_test
