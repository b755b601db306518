#include "examples/room_demo/workbench_panel.h"

#include "examples/room_demo/plain_text.h"

namespace xloop_demo {
namespace {

constexpr int kPanelWidth = 560;
constexpr int kLinesKept = 400;

const char* const kButtonLabels[] = {"Server down", "Server up", "Enter the room", "Send updates"};
const char* const kButtonHints[] = {
    "Stop the page server and reload the room: the offline page shows",
    "Start the page server again on the same port: a retry finds the room",
    "Tell the module the user entered the room (NotifyXLoopRoomVisited)",
    "Hand the page a sample update list (SetUpdateInfo)"};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + oneShownLine(line);
    return text;
}

void pressed(GtkButton*, gpointer action) {
    auto* run = static_cast<std::function<void()>*>(action);
    if (*run) (*run)();
}

void forgetWidgets(GtkWidget*, gpointer gone) {
    *static_cast<bool*>(gone) = true;
}

}  // namespace

WorkbenchPanel::WorkbenchPanel()
    : root(GTK_WIDGET(g_object_ref_sink(gtk_box_new(GTK_ORIENTATION_VERTICAL, 6)))),
      status(gtk_label_new("")) {
    gtk_widget_set_size_request(root, kPanelWidth, -1);
    gtk_container_set_border_width(GTK_CONTAINER(root), 6);
    gtk_label_set_xalign(GTK_LABEL(status), 0);
    gtk_label_set_line_wrap(GTK_LABEL(status), TRUE);
    gtk_box_pack_start(GTK_BOX(root), status, FALSE, FALSE, 0);

    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = GTK_BUTTON(gtk_button_new_with_label(kButtonLabels[i]));
        gtk_widget_set_tooltip_text(GTK_WIDGET(buttons[i]), kButtonHints[i]);
        g_signal_connect(buttons[i], "clicked", G_CALLBACK(pressed), &actions[i]);
        gtk_box_pack_start(GTK_BOX(row), GTK_WIDGET(buttons[i]), TRUE, TRUE, 0);
    }
    gtk_box_pack_start(GTK_BOX(root), row, FALSE, FALSE, 0);

    addSection(root, Section::InitPayload, "Init payload of the last load");
    addSection(root, Section::Calls, "Calls: → into the page, ← actions with their replies");
    addSection(root, Section::Preferences, "Preferences file");
    addSection(root, Section::Log, "Module log");
    g_signal_connect(root, "destroy", G_CALLBACK(forgetWidgets), &widgetsGone);
    gtk_widget_show_all(root);
}

WorkbenchPanel::~WorkbenchPanel() {
    // The buttons call into this object: they go before it.
    if (!widgetsGone) gtk_widget_destroy(root);
    g_signal_handlers_disconnect_by_data(root, &widgetsGone);
    for (GtkTextBuffer* buffer : buffers) g_object_unref(buffer);
    g_object_unref(root);
}

void WorkbenchPanel::addSection(GtkWidget* box, Section section, const char* title) {
    GtkTextBuffer* buffer = gtk_text_buffer_new(nullptr);
    GtkWidget* view = gtk_text_view_new_with_buffer(buffer);
    gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_CHAR);
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_create_mark(buffer, "end", &end, FALSE);
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_container_add(GTK_CONTAINER(scrolled), view);
    GtkWidget* frame = gtk_frame_new(title);
    gtk_container_add(GTK_CONTAINER(frame), scrolled);
    gtk_box_pack_start(GTK_BOX(box), frame, TRUE, TRUE, 0);
    frames[index(section)] = GTK_FRAME(frame);
    views[index(section)] = GTK_TEXT_VIEW(view);
    buffers[index(section)] = buffer;
}

void WorkbenchPanel::onPress(Button button, std::function<void()> action) {
    actions[index(button)] = std::move(action);
}

bool WorkbenchPanel::canPress(Button button) const {
    return !widgetsGone && gtk_widget_get_sensitive(GTK_WIDGET(buttons[index(button)]));
}

void WorkbenchPanel::press(Button button) {
    if (canPress(button)) gtk_button_clicked(buttons[index(button)]);
}

void WorkbenchPanel::setSensitive(Button button, bool sensitive) {
    if (!widgetsGone) gtk_widget_set_sensitive(GTK_WIDGET(buttons[index(button)]), sensitive);
}

void WorkbenchPanel::setStatus(const std::vector<std::string>& lines) {
    if (!widgetsGone) gtk_label_set_text(GTK_LABEL(status), joined(lines).c_str());
}

void WorkbenchPanel::setTitle(Section section, const std::string& title) {
    if (widgetsGone) return;
    GtkFrame* frame = frames[index(section)];
    gtk_frame_set_label(frame, oneShownLine(title, 300).c_str());
    // A long address is cut in the middle rather than widening the panel.
    gtk_label_set_ellipsize(GTK_LABEL(gtk_frame_get_label_widget(frame)), PANGO_ELLIPSIZE_MIDDLE);
}

void WorkbenchPanel::replace(Section section, const std::vector<std::string>& lines) {
    gtk_text_buffer_set_text(buffers[index(section)], joined(lines).c_str(), -1);
}

void WorkbenchPanel::append(Section section, const std::string& line) {
    GtkTextBuffer* buffer = buffers[index(section)];
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    if (gtk_text_buffer_get_char_count(buffer) > 0) gtk_text_buffer_insert(buffer, &end, "\n", 1);
    gtk_text_buffer_insert(buffer, &end, oneShownLine(line).c_str(), -1);
    const int surplus = gtk_text_buffer_get_line_count(buffer) - kLinesKept;
    if (surplus > 0) {
        GtkTextIter start, cut;
        gtk_text_buffer_get_start_iter(buffer, &start);
        gtk_text_buffer_get_iter_at_line(buffer, &cut, surplus);
        gtk_text_buffer_delete(buffer, &start, &cut);
    }
    GtkTextMark* mark = gtk_text_buffer_get_mark(buffer, "end");
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_move_mark(buffer, mark, &end);
    if (!widgetsGone) gtk_text_view_scroll_mark_onscreen(views[index(section)], mark);
}

std::string WorkbenchPanel::text(Section section) const {
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffers[index(section)], &start, &end);
    gchar* text = gtk_text_buffer_get_text(buffers[index(section)], &start, &end, FALSE);
    std::string copy = text;
    g_free(text);
    return copy;
}

}  // namespace xloop_demo
