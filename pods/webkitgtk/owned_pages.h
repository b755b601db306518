// The pages a client's owner asked for: only they get the page bridge.
#pragma once

#include <set>
#include <string>

namespace veqpod_webkit {

// What makes two addresses the same page for the bridge, as WebKit reads the
// address when it loads it (its security origin, its writing of the URL): for
// http and https the origin, written "scheme://host:port" with the port always
// given; for a file on this machine its unescaped path, written
// "file:///path", query and fragment aside. Empty for any other address,
// which never gets the bridge.
std::string pageKey(const char* uri);

class OwnedPages {
public:
    // Notes an address the owner loaded; true when it adds a page.
    bool add(const char* uri);
    bool contains(const char* uri) const;
    const std::set<std::string>& keys() const { return pageKeys; }

private:
    std::set<std::string> pageKeys;
};

}  // namespace veqpod_webkit
