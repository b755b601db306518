#include "pods/webkitgtk/owned_pages.h"

#include <utility>

#include <glib.h>

namespace veqpod_webkit {
namespace {

std::string lowerCase(const char* text) {
    char* lowered = g_ascii_strdown(text, -1);
    std::string result(lowered);
    g_free(lowered);
    return result;
}

std::string originKey(const std::string& scheme, GUri* uri) {
    const char* host = g_uri_get_host(uri);
    if (host == nullptr || host[0] == 0) return "";
    std::string hostText = lowerCase(host);
    // Written as the page's location writes it: an IPv6 address in brackets.
    if (hostText.find(':') != std::string::npos) hostText = "[" + hostText + "]";
    int port = g_uri_get_port(uri);
    if (port == -1) port = scheme == "http" ? 80 : 443;
    return scheme + "://" + hostText + ":" + std::to_string(port);
}

std::string fileKey(GUri* uri) {
    const char* host = g_uri_get_host(uri);
    if (host != nullptr && host[0] != 0 && g_ascii_strcasecmp(host, "localhost") != 0) return "";
    char* path = g_uri_unescape_string(g_uri_get_path(uri), nullptr);
    if (path == nullptr) return "";
    std::string key = std::string("file://") + path;
    g_free(path);
    return key;
}

}  // namespace

std::string pageKey(const char* uri) {
    if (uri == nullptr) return "";
    GUri* parsed = g_uri_parse(uri, G_URI_FLAGS_ENCODED, nullptr);
    if (parsed == nullptr) return "";
    const std::string scheme = lowerCase(g_uri_get_scheme(parsed));
    std::string key;
    if (scheme == "http" || scheme == "https") key = originKey(scheme, parsed);
    if (scheme == "file") key = fileKey(parsed);
    g_uri_unref(parsed);
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
