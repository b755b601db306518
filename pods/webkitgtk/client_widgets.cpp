#include "pods/webkitgtk/client_widgets.h"

namespace veqpod_webkit {
namespace {

constexpr int kOwnWindowWidth = 1024;
constexpr int kOwnWindowHeight = 768;
constexpr int kSpinnerSize = 48;

}  // namespace

ClientWidgets::ClientWidgets(WebKitWebView* view, GtkContainer* hostContainer)
    : webView(WEBKIT_WEB_VIEW(g_object_ref_sink(view))),
      overlay(GTK_WIDGET(g_object_ref_sink(gtk_overlay_new()))),
      spinner(gtk_spinner_new()) {
    gtk_container_add(GTK_CONTAINER(overlay), GTK_WIDGET(webView));
    gtk_widget_set_halign(spinner, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(spinner, GTK_ALIGN_CENTER);
    gtk_widget_set_size_request(spinner, kSpinnerSize, kSpinnerSize);
    gtk_widget_set_no_show_all(spinner, TRUE);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), spinner);
    // Clicks reach the page while the spinner turns.
    gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(overlay), spinner, TRUE);
    if (hostContainer != nullptr) {
        gtk_container_add(hostContainer, overlay);
        gtk_widget_show_all(overlay);
        return;
    }
    ownWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(ownWindow), kOwnWindowWidth, kOwnWindowHeight);
    gtk_container_add(GTK_CONTAINER(ownWindow), overlay);
    gtk_widget_show_all(ownWindow);
}

ClientWidgets::~ClientWidgets() {
    if (!destroyed) gtk_widget_destroy(ownWindow != nullptr ? ownWindow : overlay);
    g_object_unref(overlay);
    g_object_unref(webView);
}

void ClientWidgets::setBusy(bool busy) {
    if (busy) {
        gtk_widget_show(spinner);
        gtk_spinner_start(GTK_SPINNER(spinner));
    } else {
        gtk_spinner_stop(GTK_SPINNER(spinner));
        gtk_widget_hide(spinner);
    }
}

}  // namespace veqpod_webkit
