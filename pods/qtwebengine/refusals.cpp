#include "pods/qtwebengine/refusals.h"

#include <QAuthenticator>
#include <QMetaEnum>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>

#include "pods/common/refusals.h"
#include "pods/qtwebengine/web_page.h"

namespace veqpod_qt {
namespace {

std::string text(const QUrl& url) {
    return url.toString(QUrl::FullyEncoded).toStdString();
}

// The realm is the server's own text: no prompt shows it. An empty
// authenticator gives the server no answer.
void refuseAuthentication(const QUrl& url, QAuthenticator* authenticator) {
    veqpod::refuseAuthentication(url.host(QUrl::FullyEncoded).toStdString(),
                                 url.port(url.scheme() == "https" ? 443 : 80));
    *authenticator = QAuthenticator();
}

}  // namespace

void refuseDownloads(QWebEngineProfile* profile) {
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, [](QWebEngineDownloadRequest* download) {
        veqpod::refuseDownload(text(download->url()));
        download->cancel();
    });
}

void refuseNativeRequests(QWebEnginePage* page) {
    // Geolocation, notifications, media and the rest: denied.
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, page,
                     [page](const QUrl& origin, QWebEnginePage::Feature feature) {
                         veqpod::refusePermission(QMetaEnum::fromType<QWebEnginePage::Feature>().valueToKey(feature),
                                                  shownAddress(page));
                         page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(page, &QWebEnginePage::fileSystemAccessRequested, page,
                     [page](QWebEngineFileSystemAccessRequest request) {
                         veqpod::refusePermission("FileSystemAccess", shownAddress(page));
                         request.reject();
                     });
    QObject::connect(page, &QWebEnginePage::registerProtocolHandlerRequested, page,
                     [page](QWebEngineRegisterProtocolHandlerRequest request) {
                         veqpod::refusePermission("ProtocolHandler", shownAddress(page));
                         request.reject();
                     });
    QObject::connect(page, &QWebEnginePage::selectClientCertificate, page,
                     [page](QWebEngineClientCertificateSelection selection) {
                         veqpod::refusePermission("ClientCertificate", shownAddress(page));
                         selection.selectNone();
                     });
    // Nothing prints unless someone answers this.
    QObject::connect(page, &QWebEnginePage::printRequested, page,
                     [page] { veqpod::refusePrinting(shownAddress(page)); });
    QObject::connect(page, &QWebEnginePage::authenticationRequired, page, refuseAuthentication);
    QObject::connect(page, &QWebEnginePage::proxyAuthenticationRequired, page,
                     [](const QUrl& url, QAuthenticator* authenticator, const QString&) {
                         refuseAuthentication(url, authenticator);
                     });
    // Not accepted: no window opens.
    QObject::connect(page, &QWebEnginePage::newWindowRequested, page,
                     [page](QWebEngineNewWindowRequest& request) {
                         veqpod::refuseNewWindow(text(request.requestedUrl()), shownAddress(page));
                     });
    QObject::connect(page, &QWebEnginePage::fullScreenRequested, page,
                     [page](QWebEngineFullScreenRequest request) {
                         if (!request.toggleOn()) {
                             request.accept();
                             return;
                         }
                         veqpod::refuseFullScreen(shownAddress(page));
                         request.reject();
                     });
    QObject::connect(page, &QWebEnginePage::certificateError, page, [](QWebEngineCertificateError error) {
        veqpod::refuseCertificateError(text(error.url()));
        error.rejectCertificate();
    });
}

}  // namespace veqpod_qt
