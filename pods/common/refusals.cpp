#include "pods/common/refusals.h"

#include "pods/common/log_line.h"

namespace veqpod {

void refuseAddress(const std::string& uri) {
    logEscaped("refused to load", uri);
}

void refuseDownload(const std::string& uri) {
    logEscaped("refused a download of", uri);
}

void refusePrinting(const std::string& pageUri) {
    logEscaped("refused to print on", pageUri);
}

// The server's realm text is its own: no line or prompt shows it.
void refuseAuthentication(const std::string& host, int port) {
    logEscaped("refused an authentication request from", host + ":" + std::to_string(port));
}

void refusePermission(const std::string& kind, const std::string& pageUri) {
    logEscaped(("refused a permission request (" + kind + ") on").c_str(), pageUri);
}

void refuseNewWindow(const std::string& uri, const std::string& pageUri) {
    logEscaped("refused a new window on", pageUri + " for " + uri);
}

void refuseFileChooser(const std::string& pageUri) {
    logEscaped("refused a file chooser on", pageUri);
}

void refuseFullScreen(const std::string& pageUri) {
    logEscaped("refused full screen on", pageUri);
}

void refuseCertificateError(const std::string& uri) {
    logEscaped("refused a certificate error of", uri);
}

bool answerScriptDialog(ScriptDialog dialog, const std::string& pageUri) {
    logEscaped("refused a script dialog on", pageUri);
    return dialog == ScriptDialog::LeavePage;
}

}  // namespace veqpod
