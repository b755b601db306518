// Undoes a room browser's wiring when the browser library destroys it.
#pragma once

#include "xloop/veq_browser.h"

namespace XLoop {

// Stateless: one instance serves every room browser.
class XLoopBrowserCleanupHandler final : public VEQ::DestroyNotifier {
public:
    ~XLoopBrowserCleanupHandler() override = default;

    // Stops the browser's first check, ends its worker, deletes its action
    // handlers and frees its update text, clearing every entry of the room's
    // so that a late callback finds nothing; then ends the UI-thread queue of
    // the process.
    void onDestroy(BrowserClient* client) override;

    static XLoopBrowserCleanupHandler& instance();
};

}  // namespace XLoop
