#include "pods/webkitgtk/web_view_client.h"

#include <memory>
#include <utility>

#include "pods/common/observer.h"
#include "pods/common/script_lines.h"
#include "pods/webkitgtk/page_bridge.h"
#include "pods/webkitgtk/page_key.h"
#include "pods/webkitgtk/refusals.h"
#include "pods/webkitgtk/script_failure.h"

namespace veqpod_webkit {
namespace {

WebKitWebView* makeView(WebKitWebContext* context, WebKitUserContentManager* manager) {
    return WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                        "user-content-manager", manager, nullptr));
}

std::string currentUri(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    return uri != nullptr ? uri : "";
}

// What a script's failure is reported with; the client is only compared.
struct ScriptRun {
    BrowserClient* client;
    std::string pageUri;
    std::string script;
};

// A script's own result is of no interest (an async function's Promise even
// fails to convert); a script that threw is worth a line, with WebKit's place
// of the fault and the start of the script, which names the function that
// the page may lack.
void onScriptEvaluated(GObject* view, GAsyncResult* result, gpointer data) {
    std::unique_ptr<ScriptRun> run(static_cast<ScriptRun*>(data));
    GError* error = nullptr;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
    if (value != nullptr) g_object_unref(value);
    if (error == nullptr) return;
    if (g_error_matches(error, WEBKIT_JAVASCRIPT_ERROR, WEBKIT_JAVASCRIPT_ERROR_SCRIPT_FAILED)) {
        reportScriptFailure(run->client, run->pageUri, run->script, error->message);
    }
    g_error_free(error);
}

}  // namespace

WebViewClient::WebViewClient(WebKitWebContext* context, GtkContainer* hostContainer,
                             WidgetsGone widgetsGone)
    : ClientBase(pageKey),
      contentManager(webkit_user_content_manager_new()),
      widgets(makeView(context, contentManager), hostContainer),
      widgetsGone(std::move(widgetsGone)) {
    openBridgeChannel(contentManager);
    g_signal_connect(contentManager,
                     (std::string("script-message-with-reply-received::") + kBridgeChannel).c_str(),
                     G_CALLBACK(onScriptMessage), this);
    refuseNativeRequests(view());
    g_signal_connect(view(), "decide-policy", G_CALLBACK(onDecidePolicy), this);
    g_signal_connect(view(), "load-changed", G_CALLBACK(onLoadChanged), this);
    g_signal_connect(view(), "notify::uri", G_CALLBACK(onUriChanged), this);
    g_signal_connect(view(), "load-failed", G_CALLBACK(onLoadFailed), this);
    g_signal_connect(widgets.frame(), "destroy", G_CALLBACK(onWidgetsDestroyed), this);
}

WebViewClient::~WebViewClient() {
    g_signal_handlers_disconnect_by_data(widgets.frame(), this);
    g_signal_handlers_disconnect_by_data(view(), this);
    g_signal_handlers_disconnect_by_data(contentManager, this);
    closeBridgeChannel(contentManager);
    g_object_unref(contentManager);
}

void WebViewClient::executeScript(const char* script) {
    if (script == nullptr) return;
    // The view names a page it goes to before that page's commit reaches us.
    if (mayRunScript(shownUri, currentUri(view()))) {
        webkit_web_view_evaluate_javascript(view(), script, -1, nullptr, veqpod::kExecutedScriptUri, nullptr,
                                            onScriptEvaluated, new ScriptRun{this, shownUri, script});
    }
    veqpod::reportScript(this, shownUri, script);
}

void WebViewClient::loadURL(const char* url) {
    if (url == nullptr) return;
    requestedUris.emplace_back(url);
    if (ownedPages.add(url)) offerPageBridge(contentManager, ownedPages.keys());
    webkit_web_view_load_uri(view(), url);
}

void WebViewClient::setPageBusy(bool busy) {
    widgets.setBusy(busy);
}

// The handler may destroy this client: each callback below touches the
// client only before it calls out, and holds its own handler reference.
void WebViewClient::onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    auto* client = static_cast<WebViewClient*>(self);
    client->loadPending = event == WEBKIT_LOAD_STARTED || event == WEBKIT_LOAD_REDIRECTED;
    if (event == WEBKIT_LOAD_COMMITTED) client->shownUri = currentUri(view);
    std::string navigatingUri = std::move(client->navigatingUri);
    client->navigatingUri.clear();
    if (event == WEBKIT_LOAD_FINISHED && client->finishAfterFailurePending) {
        client->finishAfterFailurePending = false;
        return;
    }
    if (event != WEBKIT_LOAD_STARTED && event != WEBKIT_LOAD_FINISHED) return;
    std::shared_ptr<VEQ::IPageLoadHandler> handler = client->loadHandler();
    if (!handler) return;
    // A load finishes in the document it committed; the view's address may
    // already name the next navigation (going back names its page first).
    std::string uri = event == WEBKIT_LOAD_FINISHED ? client->shownUri : currentUri(view);
    if (event == WEBKIT_LOAD_STARTED && !client->requestedUris.empty()) {
        uri = std::move(client->requestedUris.front());
        client->requestedUris.pop_front();
    } else if (event == WEBKIT_LOAD_STARTED && !navigatingUri.empty()) {
        uri = std::move(navigatingUri);
    }
    if (event == WEBKIT_LOAD_STARTED) {
        handler->onLoadStarted(uri.c_str());
    } else {
        handler->onLoadFinished(uri.c_str());
    }
}

gboolean WebViewClient::onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* failingUri,
                                     GError* error, gpointer self) {
    auto* client = static_cast<WebViewClient*>(self);
    client->finishAfterFailurePending = true;
    client->loadPending = false;
    // A load replaced by a newer navigation did not fail: the newer one goes on.
    if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)) return TRUE;
    std::shared_ptr<VEQ::IPageLoadHandler> handler = client->loadHandler();
    if (handler) handler->onLoadFailed(failingUri != nullptr ? failingUri : "");
    // Handled: WebKit shows no error page.
    return TRUE;
}

gboolean WebViewClient::onScriptMessage(WebKitUserContentManager*, JSCValue* message,
                                        WebKitScriptMessageReply* reply, gpointer self) {
    auto* client = static_cast<WebViewClient*>(self);
    const std::string uri = client->shownUri;
    veqpod::PageScriptError error;
    if (client->ownedPages.contains(uri.c_str()) && readPageScriptError(message, &error)) {
        JSCValue* nothing = jsc_value_new_undefined(jsc_value_get_context(message));
        webkit_script_message_reply_return_value(reply, nothing);
        g_object_unref(nothing);
        client->reportPageScriptError(uri, error);
        return TRUE;
    }
    client->serveAction(
        uri, [message](veqpod::Invocation* invocation) { return readInvocation(message, invocation); },
        [message, reply](bool served, const std::string& outcome) {
            if (!served) {
                webkit_script_message_reply_return_error_message(reply, outcome.c_str());
                return;
            }
            JSCValue* replyText = jsc_value_new_string(jsc_value_get_context(message), outcome.c_str());
            webkit_script_message_reply_return_value(reply, replyText);
            g_object_unref(replyText);
        });
    return TRUE;
}

// A move within the page (a fragment, the history API) changes the address
// without a load, and never to another page. During a load, or before one
// that goes back or forward starts, the address is the one asked for, not
// yet shown.
void WebViewClient::onUriChanged(GObject* view, GParamSpec*, gpointer self) {
    auto* client = static_cast<WebViewClient*>(self);
    std::string uri = currentUri(WEBKIT_WEB_VIEW(view));
    if (!client->loadPending && pageKey(uri.c_str()) == pageKey(client->shownUri.c_str())) {
        client->shownUri = std::move(uri);
    }
}

// Runs after the refusals, which let every navigation go on.
gboolean WebViewClient::onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                       WebKitPolicyDecisionType type, gpointer self) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    static_cast<WebViewClient*>(self)->navigatingUri =
        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    return FALSE;
}

void WebViewClient::onWidgetsDestroyed(GtkWidget*, gpointer self) {
    auto* client = static_cast<WebViewClient*>(self);
    client->widgets.markDestroyed();
    client->widgetsGone(client);
}

}  // namespace veqpod_webkit
