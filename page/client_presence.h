// Whether a browser client still exists.
#pragma once

#include <atomic>

namespace XLoop {

// The library may destroy a client inside a call the module makes to it
// while it reports an event about it (a page's window.close(), say). The
// client's destroy notifier marks it gone; whoever made the call learns it on
// return and touches the client no more.
class ClientPresence {
public:
    bool gone() const { return isGone.load(); }
    void markGone() { isGone.store(true); }

private:
    std::atomic<bool> isGone{false};
};

}  // namespace XLoop
