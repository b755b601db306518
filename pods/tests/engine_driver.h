// What the browser tests do beneath the library's interface, in the engine
// of the library under test: one implementation per engine.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace veqpod_test {

// A shown top-level window that the library takes as a client's host
// container (the hostArg1 the library's header names).
void* makeHostContainer();
void destroyHostContainer(void* container);
// Whether the library's busy indicator in container shows; no value when the
// container holds none.
std::optional<bool> busyIndicatorShows(void* container);
// Whether the container holds no widget of a client any more.
bool holdsNoClient(void* container);

// A widget that is no container, which the library refuses as hostArg1.
void* makeNonContainer();
void releaseNonContainer(void* widget);

// The engine's message channel as a script of a page would name it, and a
// call of the action "report" through it.
extern const char kPageChannel[];
extern const char kPageChannelCall[];

// The one client's view, shown in its own window, driven from outside the
// library as the user or the engine itself would.
void goBack();
void navigateView(const std::string& address);
// Calls the action "report" from the library's own script world of the page
// shown, as a page that found its way there would: the reply's text, or the
// error's message.
std::string callFromLibraryWorld();

// The home folder the engine reads for its downloads.
std::string engineHome();

// A view of the engine's own, in a throw-away profile, with no library.
class BareView {
public:
    BareView();
    ~BareView();
    BareView(const BareView&) = delete;
    BareView& operator=(const BareView&) = delete;
    // The address at which the engine's load of address ended, loaded or
    // failed (a failure shows no error page).
    std::string loadedAddress(const std::string& address);
    // "scheme://host:port" as the engine reads address's origin, the default
    // port spelled out as the module spells it; empty for schemes other than
    // http and https.
    std::string originOf(const std::string& address);

    struct Engine;

private:
    std::unique_ptr<Engine> engine;
};

}  // namespace veqpod_test
