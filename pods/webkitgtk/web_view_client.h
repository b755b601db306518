// A browser client: one web view with the module's data and callbacks.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include <webkit2/webkit2.h>

#include "pods/common/client_base.h"
#include "pods/webkitgtk/client_widgets.h"

namespace veqpod_webkit {

class WebViewClient final : public veqpod::ClientBase {
public:
    // Called when the host or the user destroyed the client's widgets; the
    // callee destroys the client.
    using WidgetsGone = std::function<void(WebViewClient*)>;

    WebViewClient(WebKitWebContext* context, GtkContainer* hostContainer, WidgetsGone widgetsGone);
    // Destroys the widgets; the page-load handler goes with the client.
    ~WebViewClient() override;

    WebKitWebView* view() const { return widgets.view(); }

    void executeScript(const char* script) override;
    void loadURL(const char* url) override;
    void setPageBusy(bool busy) override;

private:
    static void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* failingUri,
                                 GError* error, gpointer self);
    static gboolean onScriptMessage(WebKitUserContentManager* manager, JSCValue* message,
                                    WebKitScriptMessageReply* reply, gpointer self);
    static void onUriChanged(GObject* view, GParamSpec* property, gpointer self);
    static gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static void onWidgetsDestroyed(GtkWidget* frame, gpointer self);

    WebKitUserContentManager* contentManager;
    ClientWidgets widgets;
    WidgetsGone widgetsGone;
    // WebKit ends a failed load with a finished event, which is not reported.
    bool finishAfterFailurePending = false;
    // The addresses asked for, in order, whose loads have not started yet:
    // when a load starts, the view still reports the page it is leaving.
    std::deque<std::string> requestedUris;
    // The address of the top frame's last navigation let go, which the page
    // or the history started: its load starts naming the page it leaves too.
    std::string navigatingUri;
    // The address of the document the view shows: the view's own address
    // names a page being loaded as soon as its load starts.
    std::string shownUri;
    bool loadPending = false;
};

}  // namespace veqpod_webkit
