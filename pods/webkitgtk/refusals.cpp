#include "pods/webkitgtk/refusals.h"

#include <string>

#include <libsoup/soup.h>

#include "pods/common/refusals.h"

namespace veqpod_webkit {
namespace {

std::string shownUri(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    return uri != nullptr ? uri : "";
}

bool isAttachment(WebKitURIResponse* response) {
    SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
    char* disposition = nullptr;
    if (headers == nullptr || !soup_message_headers_get_content_disposition(headers, &disposition, nullptr)) {
        return false;
    }
    const bool attachment = g_ascii_strcasecmp(disposition, "attachment") == 0;
    g_free(disposition);
    return attachment;
}

// A response the view would not show is one WebKit would save: it is
// ignored instead, in whichever frame it comes.
gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    auto* responseDecision = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    if (webkit_response_policy_decision_is_mime_type_supported(responseDecision) &&
        !isAttachment(webkit_response_policy_decision_get_response(responseDecision))) {
        return FALSE;
    }
    WebKitURIRequest* request = webkit_response_policy_decision_get_request(responseDecision);
    veqpod::refuseDownload(webkit_uri_request_get_uri(request));
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

// Whatever becomes a download anyway (a link's download attribute, the
// context menu) ends here.
void onDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
    WebKitURIRequest* request = webkit_download_get_request(download);
    veqpod::refuseDownload(request != nullptr ? webkit_uri_request_get_uri(request) : "");
    webkit_download_cancel(download);
}

gboolean onPrint(WebKitWebView* view, WebKitPrintOperation*, gpointer) {
    veqpod::refusePrinting(shownUri(view));
    return TRUE;
}

gboolean onAuthenticate(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer) {
    const char* host = webkit_authentication_request_get_host(request);
    veqpod::refuseAuthentication(host != nullptr ? host : "", webkit_authentication_request_get_port(request));
    webkit_authentication_request_cancel(request);
    return TRUE;
}

// Geolocation, notifications, media, the clipboard and whatever else asks.
gboolean onPermissionRequest(WebKitWebView* view, WebKitPermissionRequest* request, gpointer) {
    veqpod::refusePermission(G_OBJECT_TYPE_NAME(request), shownUri(view));
    webkit_permission_request_deny(request);
    return TRUE;
}

// A window.open, a link to a new window: no window is made.
GtkWidget* onCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    veqpod::refuseNewWindow(request != nullptr ? webkit_uri_request_get_uri(request) : "", shownUri(view));
    return nullptr;
}

// WebKit would show the user's files in a dialog of its own.
gboolean onFileChooser(WebKitWebView* view, WebKitFileChooserRequest* request, gpointer) {
    veqpod::refuseFileChooser(shownUri(view));
    webkit_file_chooser_request_cancel(request);
    return TRUE;
}

gboolean onEnterFullScreen(WebKitWebView* view, gpointer) {
    veqpod::refuseFullScreen(shownUri(view));
    return TRUE;
}

// Not handled: the load fails, as it would anyway.
gboolean onTlsErrors(WebKitWebView*, gchar* failingUri, GTlsCertificate*, GTlsCertificateFlags, gpointer) {
    veqpod::refuseCertificateError(failingUri != nullptr ? failingUri : "");
    return FALSE;
}

// WebKitGTK does not say which frame opened a dialog, so none can be told
// to come from the top frame of an owned page.
veqpod::ScriptDialog kindOf(WebKitScriptDialog* dialog) {
    switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM: return veqpod::ScriptDialog::Confirm;
        case WEBKIT_SCRIPT_DIALOG_PROMPT: return veqpod::ScriptDialog::Prompt;
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM: return veqpod::ScriptDialog::LeavePage;
        default: return veqpod::ScriptDialog::Alert;
    }
}

// A prompt left alone answers as cancelled.
gboolean onScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer) {
    const veqpod::ScriptDialog kind = kindOf(dialog);
    const bool yes = veqpod::answerScriptDialog(kind, shownUri(view));
    if (kind == veqpod::ScriptDialog::Confirm || kind == veqpod::ScriptDialog::LeavePage) {
        webkit_script_dialog_confirm_set_confirmed(dialog, yes);
    }
    return TRUE;
}

}  // namespace

void refuseDownloads(WebKitWebContext* context) {
    g_signal_connect(context, "download-started", G_CALLBACK(onDownloadStarted), nullptr);
}

void refuseNativeRequests(WebKitWebView* view) {
    // Asked for, rather than blocked without a word, so that it is refused
    // with a line.
    webkit_settings_set_javascript_can_open_windows_automatically(webkit_web_view_get_settings(view), TRUE);
    g_signal_connect(view, "decide-policy", G_CALLBACK(onDecidePolicy), nullptr);
    g_signal_connect(view, "print", G_CALLBACK(onPrint), nullptr);
    g_signal_connect(view, "authenticate", G_CALLBACK(onAuthenticate), nullptr);
    g_signal_connect(view, "permission-request", G_CALLBACK(onPermissionRequest), nullptr);
    g_signal_connect(view, "script-dialog", G_CALLBACK(onScriptDialog), nullptr);
    g_signal_connect(view, "create", G_CALLBACK(onCreate), nullptr);
    g_signal_connect(view, "run-file-chooser", G_CALLBACK(onFileChooser), nullptr);
    g_signal_connect(view, "enter-fullscreen", G_CALLBACK(onEnterFullScreen), nullptr);
    g_signal_connect(view, "load-failed-with-tls-errors", G_CALLBACK(onTlsErrors), nullptr);
}

}  // namespace veqpod_webkit
