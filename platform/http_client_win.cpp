#include "platform/http_client.h"

#include <windows.h>

#include <shlwapi.h>
#include <wininet.h>

#include <cwchar>
#include <mutex>

#include "platform/wide_text_win.h"

namespace XLoop::platform {
namespace {

constexpr char kCrackStep[] = "InternetOpen or InternetCrackUrl";
constexpr DWORD kPlainFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                              INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT;
constexpr DWORD kLenientCertificateFlags =
    INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID;
constexpr char kSendStep[] = "HttpSendRequest";
constexpr char kReadStep[] = "InternetReadFile";
constexpr DWORD kReadChunk = 2048;

void setTimeout(HINTERNET handle, DWORD option, DWORD timeout) {
    InternetSetOptionW(handle, option, &timeout, sizeof timeout);
}

// One exchange, run on a thread of its own: a WinINet call blocked on the
// network does not always return when its handles are closed (wine's never
// do), so a cancelled caller walks away and the thread ends on its own once
// WinINet lets go, at the latest at the time-outs.
struct Transfer {
    explicit Transfer(HttpExchange exchange)
        : exchange(std::move(exchange)), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Transfer() {
        closeHandles();
        if (done != nullptr) CloseHandle(done);
    }

    // Remembers a handle so that abandon() can close it; false, with the
    // handle closed, when the transfer was abandoned meanwhile.
    bool keep(HINTERNET& slot, HINTERNET handle) {
        std::lock_guard<std::mutex> lock(mutex);
        if (abandoned) {
            if (handle != nullptr) InternetCloseHandle(handle);
            return false;
        }
        slot = handle;
        return true;
    }

    // Innermost first, each once, whichever thread gets there.
    void closeHandles() {
        std::lock_guard<std::mutex> lock(mutex);
        for (HINTERNET* handle : {&request, &connection, &internet}) {
            if (*handle != nullptr) InternetCloseHandle(*handle);
            *handle = nullptr;
        }
    }

    // The step the transfer is at, for a caller that stops waiting.
    void enter(const char* step) {
        std::lock_guard<std::mutex> lock(mutex);
        stage = step;
    }
    const char* currentStep() {
        std::lock_guard<std::mutex> lock(mutex);
        return stage;
    }

    void abandon() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            abandoned = true;
        }
        closeHandles();
    }

    const HttpExchange exchange;
    HttpAnswer answer;
    HANDLE done;  // set once answer is complete

    std::mutex mutex;
    bool abandoned = false;
    const char* stage = kSendStep;  // nothing before the send waits on the network
    HINTERNET internet = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;
};

void fail(HttpAnswer& answer, const char* step) {
    answer.outcome = StepResult::failure(step, static_cast<int>(GetLastError()));
}

// The redirect target made absolute against the URL that answered.
std::string redirectTarget(HINTERNET request, const std::u16string& base) {
    DWORD size = 0;
    HttpQueryInfoW(request, HTTP_QUERY_LOCATION, nullptr, &size, nullptr);
    if (size == 0) return {};
    std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
    if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, &location[0], &size, nullptr)) return {};
    wchar_t absolute[INTERNET_MAX_URL_LENGTH];
    DWORD length = INTERNET_MAX_URL_LENGTH;
    if (FAILED(UrlCombineW(wideChars(base), location.c_str(), absolute, &length, 0))) return {};
    return utf8FromWide(absolute);
}

// Reads the body up to its limit; a body shorter than announced is a broken
// transfer.
void readBody(HINTERNET request, size_t limit, HttpAnswer& answer) {
    char chunk[kReadChunk];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, chunk, kReadChunk, &read)) return fail(answer, kReadStep);
        if (read == 0) break;
        if (answer.body.size() + read > limit) {
            answer.bodyTooLarge = true;
            answer.body.clear();
            return;
        }
        answer.body.append(chunk, read);
    }
    DWORD announced = 0;
    DWORD size = sizeof announced;
    if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size,
                       nullptr) &&
        answer.body.size() < announced) {
        answer.outcome = StepResult::failure(kReadStep, ERROR_INTERNET_CONNECTION_ABORTED);
    }
}

void perform(Transfer& transfer) {
    const HttpExchange& exchange = transfer.exchange;
    HttpAnswer& answer = transfer.answer;
    const std::u16string url = wideFromUtf8(exchange.url);

    // Only the host name and the path are asked for; the path then carries
    // the query too. They point into url, so no length limit applies.
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    HINTERNET internet = InternetOpenW(L"XLoopRoom", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!transfer.keep(transfer.internet, internet)) return;
    if (internet == nullptr ||
        !InternetCrackUrlW(wideChars(url), static_cast<DWORD>(url.size()), 0, &parts)) {
        return fail(answer, kCrackStep);
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        answer.outcome = StepResult::failure(kCrackStep, ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return;
    }
    setTimeout(internet, INTERNET_OPTION_CONNECT_TIMEOUT, exchange.timeoutMilliseconds);
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath != nullptr ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (path.empty()) path = L"/";

    HINTERNET connection = InternetConnectW(internet, host.c_str(), parts.nPort, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    if (!transfer.keep(transfer.connection, connection)) return;
    if (connection == nullptr) return fail(answer, "InternetConnect");
    setTimeout(connection, INTERNET_OPTION_CONNECT_TIMEOUT, exchange.timeoutMilliseconds);

    DWORD flags = kPlainFlags;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
        flags |= INTERNET_FLAG_SECURE;
        if (exchange.ignoreCertificateNameAndDate) flags |= kLenientCertificateFlags;
    }
    const wchar_t* verb = exchange.verb == HttpVerb::Head ? L"HEAD" : L"GET";
    HINTERNET request =
        HttpOpenRequestW(connection, verb, path.c_str(), L"HTTP/1.1", nullptr, nullptr, flags, 0);
    if (!transfer.keep(transfer.request, request)) return;
    if (request == nullptr) return fail(answer, "HttpOpenRequest");
    setTimeout(request, INTERNET_OPTION_CONNECT_TIMEOUT, exchange.timeoutMilliseconds);
    // Without it a server that accepts and never answers holds the request forever.
    setTimeout(request, INTERNET_OPTION_RECEIVE_TIMEOUT, exchange.timeoutMilliseconds);

    if (!HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return fail(answer, kSendStep);
    wchar_t statusText[32] = {};
    DWORD statusSize = sizeof statusText;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, statusText, &statusSize, nullptr)) {
        return fail(answer, "HttpQueryInfo");
    }
    answer.status = _wtoi(statusText);
    if (answer.status >= 300 && answer.status < 400) answer.location = redirectTarget(request, url);
    if (exchange.verb == HttpVerb::Get && exchange.bodyLimit > 0) {
        transfer.enter(kReadStep);
        readBody(request, exchange.bodyLimit, answer);
    }
}

DWORD WINAPI runTransfer(void* parameter) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&runTransfer), &module);
    {
        std::unique_ptr<std::shared_ptr<Transfer>> transfer(static_cast<std::shared_ptr<Transfer>*>(parameter));
        perform(**transfer);
        (*transfer)->closeHandles();
        SetEvent((*transfer)->done);
    }
    // Drops the module reference its starter took for it.
    FreeLibraryAndExitThread(module, 0);
}

HttpAnswer failedAnswer(const char* step, int code) {
    HttpAnswer answer;
    answer.outcome = StepResult::failure(step, code);
    return answer;
}

}  // namespace

struct HttpCancellation::State {
    State() : cancelled(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~State() {
        if (cancelled != nullptr) CloseHandle(cancelled);
    }
    HANDLE cancelled;  // manual reset: stays set
};

HttpCancellation::HttpCancellation() : state(std::make_shared<State>()) {}

HttpCancellation::~HttpCancellation() = default;

void HttpCancellation::cancel() {
    SetEvent(state->cancelled);
}

// WinINet needs no global start.
void prepareHttp() {}

bool isFileURL(const std::string& url) {
    return UrlIsW(wideChars(wideFromUtf8(url)), URLIS_FILEURL) != FALSE;
}

HttpAnswer exchangeHttp(const HttpExchange& exchange, HttpCancellation& cancellation) {
    if (WaitForSingleObject(cancellation.state->cancelled, 0) == WAIT_OBJECT_0) {
        return failedAnswer(kSendStep, kHttpErrorCancelled);
    }
    auto transfer = std::make_shared<Transfer>(exchange);
    // The thread holds the module until it ends, even after its caller left.
    HMODULE module = nullptr;
    if (transfer->done == nullptr ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&runTransfer), &module)) {
        HttpAnswer answer;
        fail(answer, kCrackStep);
        return answer;
    }
    auto* threadShare = new std::shared_ptr<Transfer>(transfer);
    HANDLE thread = CreateThread(nullptr, 0, runTransfer, threadShare, 0, nullptr);
    if (thread == nullptr) {
        HttpAnswer answer;
        fail(answer, kCrackStep);
        delete threadShare;
        FreeLibrary(module);
        return answer;
    }
    CloseHandle(thread);

    // Past the deadline the transfer is left behind as a cancelled one is.
    HANDLE events[] = {transfer->done, cancellation.state->cancelled};
    const DWORD woken = WaitForMultipleObjects(2, events, FALSE, exchange.deadlineMilliseconds);
    if (woken == WAIT_OBJECT_0) return transfer->answer;
    transfer->abandon();
    if (woken == WAIT_TIMEOUT) return failedAnswer(transfer->currentStep(), kHttpErrorTimeout);
    return failedAnswer(kSendStep, kHttpErrorCancelled);
}

}  // namespace XLoop::platform
