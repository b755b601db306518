#include "platform/error_text.h"

#include <curl/curl.h>

#include <system_error>

namespace XLoop::platform {

std::string systemErrorText(int code) {
    // The standard library's wording is strerror's, made safely on any thread.
    return std::generic_category().message(code);
}

std::string httpErrorText(int code) {
    // The libcurl failure each WinINet number stands for in http_client_posix.cpp.
    static constexpr struct {
        int wininet;
        CURLcode curl;
    } kCauses[] = {
        {12002, CURLE_OPERATION_TIMEDOUT},  {12005, CURLE_URL_MALFORMAT},
        {12006, CURLE_UNSUPPORTED_PROTOCOL}, {12007, CURLE_COULDNT_RESOLVE_HOST},
        {12017, CURLE_ABORTED_BY_CALLBACK}, {12029, CURLE_COULDNT_CONNECT},
        {12030, CURLE_RECV_ERROR},          {12031, CURLE_RECV_ERROR},
        {12037, CURLE_PEER_FAILED_VERIFICATION}, {12038, CURLE_PEER_FAILED_VERIFICATION},
        {12045, CURLE_PEER_FAILED_VERIFICATION}, {12150, CURLE_GOT_NOTHING},
        {12152, CURLE_WEIRD_SERVER_REPLY},  {12157, CURLE_SSL_CONNECT_ERROR},
    };
    for (const auto& cause : kCauses) {
        if (cause.wininet == code) return curl_easy_strerror(cause.curl);
    }
    return {};
}

}  // namespace XLoop::platform
