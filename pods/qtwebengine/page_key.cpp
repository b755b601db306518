#include "pods/qtwebengine/page_key.h"

#include "pods/common/owned_pages.h"

namespace veqpod_qt {

QUrl engineUrl(const char* uri) {
    return QUrl(QString::fromUtf8(uri != nullptr ? uri : ""));
}

bool engineLoads(const QUrl& url) {
    if (!url.isValid() || url.isRelative() || url.scheme() == QLatin1String("javascript")) return false;
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return !web || !url.host().isEmpty();
}

std::string pageKey(const char* uri) {
    const QUrl url = engineUrl(uri);
    if (!url.isValid()) return "";
    const std::string scheme = url.scheme().toStdString();
    const std::string host = url.host(QUrl::FullyEncoded).toStdString();
    if (!host.empty()) {
        // An IPv6 host is written in brackets, as in an address and in location.hostname.
        const bool bracketed = host.find(':') != std::string::npos;
        return veqpod::originKey(scheme, bracketed ? "[" + host + "]" : host, url.port(0));
    }
    if (scheme != "file") return "";
    return veqpod::fileKey(url.toString(QUrl::FullyEncoded | QUrl::RemoveQuery | QUrl::RemoveFragment).toStdString());
}

}  // namespace veqpod_qt
