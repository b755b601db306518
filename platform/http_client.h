// One HTTP exchange: a request whose status, redirect target and (when asked)
// body come back, cancellable from another thread. Redirects are reported,
// not followed: the caller follows them, the same way on every platform.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/step_result.h"

namespace XLoop::platform {

// WinINet's numbers for the failures the caller tells apart; every platform
// reports its failures in WinINet's numbers, so logs read alike.
constexpr int kHttpErrorTimeout = 12002;         // ERROR_INTERNET_TIMEOUT
constexpr int kHttpErrorCancelled = 12017;       // ERROR_INTERNET_OPERATION_CANCELLED
constexpr int kHttpErrorRedirectFailed = 12156;  // ERROR_HTTP_REDIRECT_FAILED

enum class HttpVerb { Head, Get };

struct HttpExchange {
    std::string url;
    HttpVerb verb = HttpVerb::Head;
    // GET only: read the body, at most this many bytes; 0 stops at the status.
    size_t bodyLimit = 0;
    // How long connecting may take, and how long the server may stay silent.
    unsigned timeoutMilliseconds = 60000;
    // How long the whole exchange may take, however steadily data arrives;
    // past it the exchange fails with kHttpErrorTimeout.
    unsigned deadlineMilliseconds = 300000;
    // Accepts an https certificate made out for another host name or outside
    // its dates (libcurl: another host name only). Only for asking whether a
    // server answers, never for reading what it says.
    bool ignoreCertificateNameAndDate = false;
};

struct HttpAnswer {
    // Where the exchange failed, the step named after the Windows call
    // ("HttpSendRequest" and so on), with WinINet's error number.
    StepResult outcome = StepResult::success();
    int status = 0;
    // The absolute URL of a redirect's Location; empty when there is none or
    // it cannot be made absolute.
    std::string location;
    std::string body;
    // The body went past the limit; nothing of it is kept.
    bool bodyTooLarge = false;
};

// Lets one thread cancel the exchanges another runs under it: an exchange
// running at the time, or started later, returns within milliseconds with
// kHttpErrorCancelled. Owned by whatever owns the work (a task), so it
// outlives both threads' use of it.
class HttpCancellation {
public:
    HttpCancellation();
    ~HttpCancellation();
    HttpCancellation(const HttpCancellation&) = delete;
    HttpCancellation& operator=(const HttpCancellation&) = delete;

    // From any thread, any number of times.
    void cancel();

    struct State;  // the platform's own

private:
    friend HttpAnswer exchangeHttp(const HttpExchange&, HttpCancellation&);
    std::shared_ptr<State> state;
};

// Sends the request with the agent "XLoopRoom", the exchange's connect and
// receive time-outs and its deadline; secure for https, where the certificate
// must be trusted, made out for the host and within its dates (failures in
// WinINet's numbers: 12045 untrusted, 12038 another name, 12037 dates).
// Blocks the calling thread.
HttpAnswer exchangeHttp(const HttpExchange& exchange, HttpCancellation& cancellation);

// Readies the HTTP library on the calling thread, as libraries with global
// state want it done before other threads use them. Exchanges do it anyway
// if it was not done.
void prepareHttp();

// True for URLs with the file scheme.
bool isFileURL(const std::string& url);

}  // namespace XLoop::platform
