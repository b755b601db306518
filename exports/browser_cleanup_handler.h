// Undoes a room browser's wiring when the browser library destroys it.
#pragma once

#include <memory>

#include "page/client_presence.h"
#include "xloop/veq_browser.h"

namespace XLoop {

// One per room browser, on the heap. The library may delete it after
// onDestroy, through its virtual destructor, or leave it: the ones it leaves
// are deleted once the library has stopped.
class XLoopBrowserCleanupHandler final : public VEQ::DestroyNotifier {
public:
    // A new handler, known to the module until it is deleted; it marks the
    // client gone before it undoes anything.
    static XLoopBrowserCleanupHandler* create(std::shared_ptr<ClientPresence> presence);
    ~XLoopBrowserCleanupHandler() override;

    // Stops the browser's first check, ends its worker, deletes its action
    // handlers and frees its update text, clearing every entry of the room's
    // so that a late callback finds nothing; then ends the UI-thread queue of
    // the process.
    void onDestroy(BrowserClient* client) override;

    // Deletes every handler the library left; only once it has stopped and
    // will call none of them again.
    static void deleteHandlersLeftByTheLibrary();

private:
    explicit XLoopBrowserCleanupHandler(std::shared_ptr<ClientPresence> presence);

    std::shared_ptr<ClientPresence> presence;
};

}  // namespace XLoop
