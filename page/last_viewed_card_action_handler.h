// "writeLastViewedCardID": what the page last showed, kept until the user
// has entered the room.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "xloop/veq_browser.h"

namespace VEQ {

// Collects the pairs the page reports and writes them to the preferences
// once the host reports the room as entered, all in one save; from then on
// each pair is written as it comes. The pairs held obey the store's key and
// value limits and the page's share of it: more could never be stored.
class XLoopWriteLastViewedCardIDActionHandler final : public JSActionHandler {
public:
    XLoopWriteLastViewedCardIDActionHandler(std::string userDataPath, std::string locale);
    ~XLoopWriteLastViewedCardIDActionHandler() override = default;

    void handleAction(const char* actionName, const char* argumentsJson, char** result) override;

    // Called when the host reports the room as entered; false the second time.
    bool markRoomVisited();
    // Writes the pairs collected so far, in key order, and forgets them, so
    // that an old value is never written again over a newer one.
    void flushPendingValues();

private:
    // The page's calls may come on the browser library's own threads, the
    // host's on its UI thread; a flush holds it while it writes, so an older
    // value never lands over a newer one.
    void flushPendingValuesOnceVisited();
    void writePendingValues();  // with pendingLock held
    // Holds the pair, replacing an earlier value of its key, or logs why it
    // cannot be held; with pendingLock held.
    void keepPending(const std::string& key, const std::string& value);

    std::mutex pendingLock;
    std::map<std::string, std::string> pendingValues;
    size_t pendingBytes = 0;  // of the keys and values in pendingValues
    bool roomVisited = false;
    std::string userDataPath;
    std::string locale;
};

}  // namespace VEQ
