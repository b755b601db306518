// Preference keys that belong to the host, not to the page.
#pragma once

#include <string>

namespace XLoop {

// The configuration cached for the next start and the host's "view forced"
// flag share the page's store. A page that could write them would choose the
// room of the next start, switch it off, or force the view. Compared byte by
// byte, as the store compares keys. The rest of the store is the page's.
inline constexpr const char* kHostKeys[] = {"forcexloopview", "killswitch", "serverurl", "url"};

inline bool isHostKey(const std::string& key) {
    for (const char* hostKey : kHostKeys) {
        if (key == hostKey) return true;
    }
    return false;
}

}  // namespace XLoop
