#include "pods/webkitgtk/page_key.h"

#include <glib.h>
#include <webkit2/webkit2.h>

#include "pods/common/owned_pages.h"

namespace veqpod_webkit {

std::string pageKey(const char* uri) {
    if (uri == nullptr) return "";
    WebKitSecurityOrigin* origin = webkit_security_origin_new_for_uri(uri);
    const char* protocol = webkit_security_origin_get_protocol(origin);
    const char* host = webkit_security_origin_get_host(origin);
    const std::string scheme = protocol != nullptr ? protocol : "";
    const std::string hostName = host != nullptr ? host : "";
    std::string key;
    if (!hostName.empty()) {
        // Port 0 is the scheme's default, as in the key's rules.
        key = veqpod::originKey(scheme, hostName, webkit_security_origin_get_port(origin));
    } else if (scheme == "file") {
        WebKitURIRequest* request = webkit_uri_request_new(uri);
        key = veqpod::fileKey(webkit_uri_request_get_uri(request));
        g_object_unref(request);
    }
    webkit_security_origin_unref(origin);
    return key;
}

}  // namespace veqpod_webkit
