#include "pods/tests/engine_driver.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "pods/tests/engine_loop.h"
#include "pods/webkitgtk/page_bridge.h"

namespace veqpod_test {
namespace {

GtkWidget* findSpinner(GtkWidget* window) {
    GtkWidget* frame = gtk_bin_get_child(GTK_BIN(window));
    GtkWidget* spinner = nullptr;
    if (frame == nullptr || !GTK_IS_CONTAINER(frame)) return nullptr;
    gtk_container_foreach(
        GTK_CONTAINER(frame),
        [](GtkWidget* child, gpointer found) {
            if (GTK_IS_SPINNER(child)) *static_cast<GtkWidget**>(found) = child;
        },
        &spinner);
    return spinner;
}

WebKitWebView* findView(GtkWidget* widget) {
    if (WEBKIT_IS_WEB_VIEW(widget)) return WEBKIT_WEB_VIEW(widget);
    if (!GTK_IS_CONTAINER(widget)) return nullptr;
    WebKitWebView* found = nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
        found = findView(GTK_WIDGET(child->data));
    }
    g_list_free(children);
    return found;
}

WebKitWebView* onlyView() {
    WebKitWebView* view = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* window = windows; window != nullptr && view == nullptr; window = window->next) {
        view = findView(GTK_WIDGET(window->data));
    }
    g_list_free(windows);
    return view;
}

}  // namespace

void* makeHostContainer() {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_show(window);
    return window;
}

void destroyHostContainer(void* container) {
    gtk_widget_destroy(static_cast<GtkWidget*>(container));
}

std::optional<bool> busyIndicatorShows(void* container) {
    GtkWidget* spinner = findSpinner(static_cast<GtkWidget*>(container));
    if (spinner == nullptr) return std::nullopt;
    gboolean active = FALSE;
    g_object_get(spinner, "active", &active, nullptr);
    return gtk_widget_get_visible(spinner) && active;
}

bool holdsNoClient(void* container) {
    return gtk_bin_get_child(GTK_BIN(container)) == nullptr;
}

void* makeNonContainer() {
    return g_object_ref_sink(gtk_label_new("not a container"));
}

void releaseNonContainer(void* widget) {
    g_object_unref(widget);
}

const char kPageChannel[] = "window.webkit && window.webkit.messageHandlers.veq";
const char kPageChannelCall[] = "window.webkit.messageHandlers.veq.postMessage({name: 'report', args: '{}'})";

void goBack() {
    webkit_web_view_go_back(onlyView());
    // WebKit may still tell the end of the page being left after going back
    // named the room as the view's address: make it do so here.
    g_signal_emit_by_name(onlyView(), "load-changed", WEBKIT_LOAD_FINISHED);
}

void navigateView(const std::string& address) {
    webkit_web_view_load_uri(onlyView(), address.c_str());
}

std::string callFromLibraryWorld() {
    WebKitWebView* view = onlyView();
    if (view == nullptr) return "no view";
    std::string outcome;
    const std::string body = std::string("return await ") + kPageChannelCall + ";";
    webkit_web_view_call_async_javascript_function(
        view, body.c_str(), -1, nullptr, veqpod_webkit::kBridgeWorld, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            GError* error = nullptr;
            JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, &error);
            auto* text = static_cast<std::string*>(data);
            if (value != nullptr) {
                char* valueText = jsc_value_to_string(value);
                *text = valueText;
                g_free(valueText);
                g_object_unref(value);
            } else {
                *text = error->message;
                g_error_free(error);
            }
        },
        &outcome);
    runUntil([&] { return !outcome.empty(); });
    return outcome;
}

std::string engineHome() {
    return g_get_home_dir();
}

struct BareView::Engine {
    WebKitWebContext* context = webkit_web_context_new_ephemeral();
    WebKitWebView* view = WEBKIT_WEB_VIEW(g_object_ref_sink(webkit_web_view_new_with_context(context)));
    bool ended = false;
    std::string endedAt;

    static void noteLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer engine) {
        auto* self = static_cast<Engine*>(engine);
        if (event != WEBKIT_LOAD_FINISHED || self->ended) return;
        const gchar* uri = webkit_web_view_get_uri(view);
        self->endedAt = uri != nullptr ? uri : "";
        self->ended = true;
    }

    // A failed load shows the page before it again: the URI it failed at is
    // the one it read. No error page, whose own load would end later.
    static gboolean noteLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* failingURI, GError*, gpointer engine) {
        auto* self = static_cast<Engine*>(engine);
        self->endedAt = failingURI != nullptr ? failingURI : "";
        self->ended = true;
        return TRUE;
    }
};

BareView::BareView() : engine(std::make_unique<Engine>()) {
    g_signal_connect(engine->view, "load-changed", G_CALLBACK(Engine::noteLoadChanged), engine.get());
    g_signal_connect(engine->view, "load-failed", G_CALLBACK(Engine::noteLoadFailed), engine.get());
}

BareView::~BareView() {
    gtk_widget_destroy(GTK_WIDGET(engine->view));
    g_object_unref(engine->view);
    g_object_unref(engine->context);
}

std::string BareView::loadedAddress(const std::string& address) {
    engine->ended = false;
    engine->endedAt.clear();
    webkit_web_view_load_uri(engine->view, address.c_str());
    runUntil([&] { return engine->ended; });
    return engine->endedAt;
}

std::string BareView::originOf(const std::string& address) {
    WebKitSecurityOrigin* origin = webkit_security_origin_new_for_uri(address.c_str());
    const gchar* protocolText = webkit_security_origin_get_protocol(origin);
    const gchar* hostText = webkit_security_origin_get_host(origin);
    const std::string protocol = protocolText != nullptr ? protocolText : "";
    std::string host = hostText != nullptr ? hostText : "";
    guint16 port = webkit_security_origin_get_port(origin);
    webkit_security_origin_unref(origin);
    if (protocol != "http" && protocol != "https") return "";
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    if (port == 0) port = protocol == "https" ? 443 : 80;
    return protocol + "://" + host + ":" + std::to_string(port);
}

}  // namespace veqpod_test
