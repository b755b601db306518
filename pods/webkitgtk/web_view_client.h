// A browser client: one web view with the module's data and callbacks.
#pragma once

#include <functional>
#include <deque>
#include <map>
#include <memory>
#include <string>

#include <webkit2/webkit2.h>

#include "pods/webkitgtk/client_widgets.h"
#include "pods/webkitgtk/owned_pages.h"
#include "pods/webkitgtk/page_bridge.h"
#include "xloop/veq_browser.h"

namespace veqpod_webkit {

class WebViewClient final : public BrowserClient {
public:
    // Called when the host or the user destroyed the client's widgets; the
    // callee destroys the client.
    using WidgetsGone = std::function<void(WebViewClient*)>;

    WebViewClient(WebKitWebContext* context, GtkContainer* hostContainer, WidgetsGone widgetsGone);
    // Drops the page-load handler and destroys the widgets.
    ~WebViewClient() override;
    WebViewClient(const WebViewClient&) = delete;
    WebViewClient& operator=(const WebViewClient&) = delete;

    // Runs the destroy notifier, if any; the client is still whole meanwhile.
    void notifyDestroy();
    WebKitWebView* view() const { return widgets.view(); }

    void reservedSlot1() override {}
    void reservedSlot2() override {}
    void reservedSlot3() override {}
    void reservedSlot4() override {}
    void reservedSlot5() override {}
    void reservedSlot6() override {}
    bool setUserData(const char* key, void* value) override;
    void* getUserData(const char* key) override;
    void reservedSlot9() override {}
    void reservedSlot10() override {}
    bool registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) override;
    void reservedSlot12() override {}
    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) override;
    void executeScript(const char* script) override;
    void reservedSlot15() override {}
    void loadURL(const char* url) override;
    void reservedSlot17() override {}
    void setPageBusy(bool busy) override;
    bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) override;

private:
    static void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* failingUri,
                                 GError* error, gpointer self);
    static gboolean onScriptMessage(WebKitUserContentManager* manager, JSCValue* message,
                                    WebKitScriptMessageReply* reply, gpointer self);
    static void onUriChanged(GObject* view, GParamSpec* property, gpointer self);
    static void onWidgetsDestroyed(GtkWidget* frame, gpointer self);
    // Calls the action's handler when the page at uri may make the call:
    // true with the handler's reply in outcome, or false with why not.
    bool serveAction(const std::string& uri, JSCValue* message, Invocation* invocation,
                     std::string* outcome);

    WebKitUserContentManager* contentManager;
    ClientWidgets widgets;
    WidgetsGone widgetsGone;
    std::map<std::string, void*> userData;
    std::map<std::string, VEQ::JSActionHandler*> actionHandlers;
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler;
    VEQ::DestroyNotifier* destroyNotifier = nullptr;
    // WebKit ends a failed load with a finished event, which is not reported.
    bool finishAfterFailurePending = false;
    // The addresses asked for, in order, whose loads have not started yet:
    // when a load starts, the view still reports the page it is leaving.
    std::deque<std::string> requestedUris;
    // Only these pages may call the action handlers or get the owner's scripts.
    OwnedPages ownedPages;
    // The address of the document the view shows: the view's own address
    // names a page being loaded as soon as its load starts.
    std::string shownUri;
    bool loadPending = false;
};

}  // namespace veqpod_webkit
