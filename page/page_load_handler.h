// What a room browser does as its pages start, finish and fail to load.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "page/client_presence.h"
#include "xloop/veq_browser.h"
#include "xloop/xloop_client.h"

namespace VEQ {

// Initialises every page of the room's origin, and the offline page, that
// finishes loading with "initXLoopRoom", keeps the browser's busy state while
// the room or the offline page loads, and falls back to the offline page when
// the room page fails. Between callbacks it keeps only what the view shows,
// for the host's calls into the page. Called on any thread.
// Made with shared ownership: it keeps itself alive while it serves a
// callback, whatever the library does with its own reference meanwhile.
class PageLoadHandler final : public IPageLoadHandler, public std::enable_shared_from_this<PageLoadHandler> {
public:
    // The record must outlive the handler; the handler owns neither. The
    // client's presence is shared with its destroy notifier.
    PageLoadHandler(BrowserClient* client, const VEQConfiguration* config,
                    std::shared_ptr<XLoop::ClientPresence> presence = std::make_shared<XLoop::ClientPresence>());
    ~PageLoadHandler() override = default;

    void onLoadFinished(const char* url) override;
    void onLoadStarted(const char* url) override;
    void onLoadFailed(const char* url) override;

    // Whether the view shows a trusted page: one whose load finished and was
    // trusted, with no load started or failed since. Otherwise gives the
    // address last reported (empty before the first). Safe on any thread.
    bool showsTrustedPage(std::string& otherwise) const;
    // Whether that trusted page is the room page itself, not the offline page.
    bool showsRoomPage() const;

private:
    void noteShownPage(const std::string& url, bool trusted);

    BrowserClient* client;
    const VEQConfiguration* config;
    std::shared_ptr<XLoop::ClientPresence> presence;
    // The load callbacks write, the host's calls read, on any threads.
    mutable std::mutex shownLock;
    std::string shownPage;
    bool shownPageTrusted = false;
};

}  // namespace VEQ
