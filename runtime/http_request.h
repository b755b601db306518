// HTTP exchanges as the module makes them: redirects followed, failures
// logged once in the module's words.
#pragma once

#include <atomic>
#include <chrono>

#include "platform/http_client.h"

namespace XLoop {

// Redirects are followed the way Windows' own HTTP stack follows them: at most
// this many, 301, 302, 303, 307 and 308, to http and https only, keeping the
// verb.
constexpr int kMaxRedirects = 100;

// The connect and receive time-out of every exchange; tests shorten it.
extern std::atomic<std::chrono::milliseconds> g_httpTimeout;
// How long a whole request may take, redirects included; tests shorten it.
extern std::atomic<std::chrono::milliseconds> g_httpDeadline;

// The answer of the last exchange; a redirect without a target is an answer
// too. One to another scheme, from https to http, or one too many, fails with
// kHttpErrorRedirectFailed at "HttpSendRequest"; a request past the deadline
// with kHttpErrorTimeout. Every failure is logged as "Error in <step>: <code>".
// finalURL, when given, receives the address of the last exchange.
platform::HttpAnswer requestFollowingRedirects(platform::HttpExchange exchange,
                                               platform::HttpCancellation& cancellation,
                                               std::string* finalURL = nullptr);

}  // namespace XLoop
