// How the module tells the room page and the offline page by their URLs.
#pragma once

#include <string>

namespace XLoop {

// A byte-exact search anywhere in the URL, query and fragment included.
inline bool isRoomPage(const std::string& url) {
    return url.find("veqtemplate") != std::string::npos;
}

inline bool isOfflinePage(const std::string& url) {
    return url.find("xLoop_Offline") != std::string::npos;
}

}  // namespace XLoop
