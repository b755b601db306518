#include "platform/http_client.h"

#include <windows.h>

#include <shlwapi.h>
#include <wininet.h>

#include <cwchar>

#include "host/log.h"
#include "platform/wide_text_win.h"

namespace XLoop::platform {
namespace {

constexpr DWORD kConnectTimeoutMs = 60000;
constexpr DWORD kPlainFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                              INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kSecureFlags = kPlainFlags | INTERNET_FLAG_SECURE |
                               INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
                               INTERNET_FLAG_IGNORE_CERT_CN_INVALID;

void setConnectTimeout(HINTERNET handle) {
    DWORD timeout = kConnectTimeoutMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
}

int lastError() {
    return static_cast<int>(GetLastError());
}

// Closes the handles it holds, innermost first, however the exchange ends.
struct Handles {
    HINTERNET internet = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;
    ~Handles() {
        for (HINTERNET handle : {request, connection, internet}) {
            if (handle != nullptr) InternetCloseHandle(handle);
        }
    }
};

}  // namespace

bool isFileURL(const std::string& url) {
    return UrlIsW(wideChars(wideFromUtf8(url)), URLIS_FILEURL) != FALSE;
}

bool requestHttpStatus(const std::string& url, const char* verb, int* status) {
    std::u16string wideUrl = wideFromUtf8(url);
    Handles handles;
    handles.internet = InternetOpenW(L"XLoopRoom", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);

    // Only the host name and the path are asked for; the path then carries
    // the query too. They point into wideUrl, so no length limit applies.
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    if (handles.internet == nullptr ||
        !InternetCrackUrlW(wideChars(wideUrl), static_cast<DWORD>(wideUrl.size()), 0, &parts)) {
        logDebug("Error in InternetOpen or InternetCrackUrl: %d\n", lastError());
        return false;
    }
    setConnectTimeout(handles.internet);
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath != nullptr ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (path.empty()) path = L"/";

    handles.connection = InternetConnectW(handles.internet, host.c_str(), parts.nPort, nullptr,
                                          nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (handles.connection == nullptr) {
        logDebug("Error in InternetConnect: %d\n", lastError());
        return false;
    }
    setConnectTimeout(handles.connection);

    const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? kSecureFlags : kPlainFlags;
    std::u16string wideVerb = wideFromUtf8(verb);
    handles.request = HttpOpenRequestW(handles.connection, wideChars(wideVerb), path.c_str(),
                                       L"HTTP/1.1", nullptr, nullptr, flags, 0);
    if (handles.request == nullptr) {
        logDebug("Error in HttpOpenRequest: %d\n", lastError());
        return false;
    }
    setConnectTimeout(handles.request);

    if (!HttpSendRequestW(handles.request, nullptr, 0, nullptr, 0)) {
        logDebug("Error in HttpSendRequest: %d\n", lastError());
        return false;
    }
    wchar_t statusText[32] = {};
    DWORD statusSize = sizeof statusText;
    if (!HttpQueryInfoW(handles.request, HTTP_QUERY_STATUS_CODE, statusText, &statusSize, nullptr)) {
        logDebug("Error in HttpQueryInfo: %d\n", lastError());
        return false;
    }
    *status = _wtoi(statusText);
    return true;
}

}  // namespace XLoop::platform
