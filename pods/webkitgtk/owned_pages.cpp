#include "pods/webkitgtk/owned_pages.h"

#include <utility>

#include <glib.h>
#include <webkit2/webkit2.h>

namespace veqpod_webkit {
namespace {

// WebKit writes a file address with no host as "file:///path"; the key is
// that path unescaped, query and fragment aside.
std::string fileKey(const char* uri) {
    WebKitURIRequest* request = webkit_uri_request_new(uri);
    const std::string written = webkit_uri_request_get_uri(request);
    g_object_unref(request);
    const std::string prefix = "file://";
    if (written.compare(0, prefix.size(), prefix) != 0) return "";
    const std::string path = written.substr(prefix.size(), written.find_first_of("?#") - prefix.size());
    char* unescaped = g_uri_unescape_string(path.c_str(), nullptr);
    if (unescaped == nullptr) return "";
    std::string key = prefix + unescaped;
    g_free(unescaped);
    return key;
}

}  // namespace

std::string pageKey(const char* uri) {
    if (uri == nullptr) return "";
    // The origin as WebKit itself reads the address, so the key names the
    // page WebKit loads: no second parser that might find another host in
    // the same text.
    WebKitSecurityOrigin* origin = webkit_security_origin_new_for_uri(uri);
    const char* protocol = webkit_security_origin_get_protocol(origin);
    const char* host = webkit_security_origin_get_host(origin);
    const std::string scheme = protocol != nullptr ? protocol : "";
    const bool hasHost = host != nullptr && host[0] != 0;
    std::string key;
    if (hasHost && (scheme == "http" || scheme == "https")) {
        guint16 port = webkit_security_origin_get_port(origin);
        if (port == 0) port = scheme == "http" ? 80 : 443;  // 0: the scheme's default
        key = scheme + "://" + host + ":" + std::to_string(port);
    }
    if (!hasHost && scheme == "file") key = fileKey(uri);
    webkit_security_origin_unref(origin);
    return key;
}

bool OwnedPages::add(const char* uri) {
    std::string key = pageKey(uri);
    return !key.empty() && pageKeys.insert(std::move(key)).second;
}

bool OwnedPages::contains(const char* uri) const {
    std::string key = pageKey(uri);
    return !key.empty() && pageKeys.count(key) != 0;
}

}  // namespace veqpod_webkit
