// Undoes a room browser's wiring when the browser library destroys it.
#pragma once

#include <memory>

#include "page/client_presence.h"
#include "runtime/dispatcher.h"
#include "xloop/veq_browser.h"

namespace XLoop {

// One per room browser, on the heap. The library may delete it after
// onDestroy, through its virtual destructor, or leave it: the ones it leaves
// are deleted once the library has stopped.
class XLoopBrowserCleanupHandler final : public VEQ::DestroyNotifier {
public:
    // A new handler, known to the module until it is deleted; it marks the
    // client gone before it undoes anything, and gives up the browser's hold
    // on the UI-thread queue last.
    static XLoopBrowserCleanupHandler* create(std::shared_ptr<ClientPresence> presence,
                                              MainThreadDispatcherHold queueHold);
    ~XLoopBrowserCleanupHandler() override;

    // Stops the browser's first check, ends its worker, deletes its action
    // handlers and frees its update text, clearing every entry of the room's
    // so that a late callback finds nothing; then releases the queue hold,
    // which ends the UI-thread queue when no other room browser lives.
    void onDestroy(BrowserClient* client) override;

    // Deletes every handler the library left; only once it has stopped and
    // will call none of them again.
    static void deleteHandlersLeftByTheLibrary();

private:
    XLoopBrowserCleanupHandler(std::shared_ptr<ClientPresence> presence, MainThreadDispatcherHold queueHold);

    std::shared_ptr<ClientPresence> presence;
    MainThreadDispatcherHold queueHold;
};

}  // namespace XLoop
