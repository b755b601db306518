// The workbench's side panel: what passed between the module and the room
// page, the preferences file and the module's log, with buttons that drive
// the room. Every text shows as plain text, line by line: much of it comes
// from the page.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

namespace xloop_demo {

class WorkbenchPanel {
public:
    enum class Section { InitPayload, Calls, Preferences, Log };
    enum class Button { ServerDown, ServerUp, EnterRoom, SendUpdates };

    WorkbenchPanel();
    ~WorkbenchPanel();
    WorkbenchPanel(const WorkbenchPanel&) = delete;
    WorkbenchPanel& operator=(const WorkbenchPanel&) = delete;

    // The panel's top widget, for the host window to lay out.
    GtkWidget* widget() const { return root; }
    // Runs action whenever the button is pressed.
    void onPress(Button button, std::function<void()> action);
    GtkButton* button(Button button) const { return buttons[index(button)]; }
    // Whether a person could press the button now: it is not greyed out and
    // the window is still there.
    bool canPress(Button button) const;
    // Presses the button as a person would, when one could.
    void press(Button button);
    void setSensitive(Button button, bool sensitive);

    void setStatus(const std::vector<std::string>& lines);
    void setTitle(Section section, const std::string& title);
    void replace(Section section, const std::vector<std::string>& lines);
    // Keeps the newest lines only, so a chatty page cannot grow it forever.
    void append(Section section, const std::string& line);
    // What the section shows, one line each.
    std::string text(Section section) const;

private:
    template <class Enum>
    static size_t index(Enum value) { return static_cast<size_t>(value); }
    void addSection(GtkWidget* box, Section section, const char* title);

    GtkWidget* root;
    GtkWidget* status;
    std::array<GtkButton*, 4> buttons{};
    std::array<std::function<void()>, 4> actions;
    std::array<GtkFrame*, 4> frames{};
    std::array<GtkTextView*, 4> views{};
    std::array<GtkTextBuffer*, 4> buffers{};  // also kept after the window is gone
    bool widgetsGone = false;
};

}  // namespace xloop_demo
