// What a client shows: the web view under a busy spinner, in the host's
// container or in a window of its own.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace veqpod_webkit {

class ClientWidgets {
public:
    // hostContainer may be null: then a top-level window is made. Everything
    // is shown except the spinner.
    ClientWidgets(WebKitWebView* view, GtkContainer* hostContainer);
    // Destroys the widgets unless they were destroyed from outside.
    ~ClientWidgets();
    ClientWidgets(const ClientWidgets&) = delete;
    ClientWidgets& operator=(const ClientWidgets&) = delete;

    WebKitWebView* view() const { return webView; }
    // Emits "destroy" when the widgets are destroyed by anyone else.
    GtkWidget* frame() const { return overlay; }
    // The host or the user destroyed the widgets: nothing left to destroy.
    void markDestroyed() { destroyed = true; }
    void setBusy(bool busy);

private:
    WebKitWebView* webView;
    GtkWidget* overlay;
    GtkWidget* spinner;
    GtkWidget* ownWindow = nullptr;
    bool destroyed = false;
};

}  // namespace veqpod_webkit
