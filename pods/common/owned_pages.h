// The pages a client's owner asked for: only they get the page bridge.
#pragma once

#include <set>
#include <string>

namespace veqpod {

// What makes two addresses the same page for the bridge is the engine's own
// reading of them, as it loads them: one idea of an origin, taken from the
// engine, with no second parser that might find another host in the same
// text. Each engine reads the address and writes its key with these rules:
//  - http and https: the origin, "scheme://host:port", the port always
//    given (port 0 stands for the scheme's default);
//  - a file on this machine: "file://" and its unescaped path, as the engine
//    writes the address ("file:///path"), query and fragment aside;
//  - anything else: empty, a page that never gets the bridge.
std::string originKey(const std::string& scheme, const std::string& host, int port);
// writtenUri is the address as the engine writes it; empty when it is no
// file address or its path has a bad or a NUL escape.
std::string fileKey(const std::string& writtenUri);

// Percent escapes replaced by their bytes; false for a bad or a NUL escape.
bool unescapeUri(const std::string& text, std::string* unescaped);

class OwnedPages {
public:
    // The engine's key of an address, written as above.
    using KeyOf = std::string (*)(const char* uri);

    explicit OwnedPages(KeyOf keyOf) : keyOf(keyOf) {}
    // Notes an address the owner loaded; true when it adds a page.
    bool add(const char* uri);
    bool contains(const char* uri) const;
    const std::set<std::string>& keys() const { return pageKeys; }

private:
    KeyOf keyOf;
    std::set<std::string> pageKeys;
};

}  // namespace veqpod
