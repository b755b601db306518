// What every client keeps for its owner, whatever the engine: user data,
// action handlers, the page-load handler, the destroy notifier and the pages
// the owner loaded; and how a page's call of an action is served.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "pods/common/owned_pages.h"
#include "xloop/veq_browser.h"

namespace veqpod {

// What the bridge posts for window.veq.invoke.
struct Invocation {
    std::string actionName;
    std::string argumentText;  // the arguments as the page's JSON.stringify wrote them
};

// What the bridge posts for an error that no script of the page caught (in
// an event handler, a rejected promise), with where it was thrown when the
// engine says.
struct PageScriptError {
    std::string message;
    std::string sourceUri;
    unsigned line = 0;
    unsigned column = 0;
};

class ClientBase : public BrowserClient {
public:
    explicit ClientBase(OwnedPages::KeyOf keyOf) : ownedPages(keyOf) {}
    ClientBase(const ClientBase&) = delete;
    ClientBase& operator=(const ClientBase&) = delete;

    // Runs the destroy notifier, if any; the client is still whole meanwhile.
    void notifyDestroy();

    void reservedSlot1() final {}
    void reservedSlot2() final {}
    void reservedSlot3() final {}
    void reservedSlot4() final {}
    void reservedSlot5() final {}
    void reservedSlot6() final {}
    bool setUserData(const char* key, void* value) final;
    void* getUserData(const char* key) final;
    void reservedSlot9() final {}
    void reservedSlot10() final {}
    bool registerActionHandler(const char* actionName, VEQ::JSActionHandler* handler) final;
    void reservedSlot12() final {}
    bool setPageLoadHandler(std::shared_ptr<VEQ::IPageLoadHandler> handler) final;
    void reservedSlot15() final {}
    void reservedSlot17() final {}
    bool setDestroyNotifier(VEQ::DestroyNotifier* notifier) final;

protected:
    // Reads what the bridge posted into an invocation; false when it is none.
    using InvocationReader = std::function<bool(Invocation*)>;
    // Gives the page its answer: the handler's reply text (served), or why
    // the call was refused, which rejects the page's Promise.
    using Answer = std::function<void(bool served, const std::string& outcome)>;

    // Serves a call the bridge posted while the client showed the page at
    // uri: only the owner's pages, only an invocation, only a registered
    // handler. The page gets its answer before the observer hears of it. The
    // handler may destroy this client: nothing of it is touched afterwards.
    void serveAction(const std::string& uri, const InvocationReader& read, const Answer& answer);
    // Logs and reports an error the bridge posted for the page at uri, which
    // the caller found to be one of the owner's pages.
    void reportPageScriptError(const std::string& uri, const PageScriptError& error);
    // The owner's scripts carry the owner's data: no other page gets them.
    // The view may name a page it goes to before that page's commit is
    // known, so both the page shown and the one on its way must be the
    // owner's. Logs the drop when they are not.
    bool mayRunScript(const std::string& shownUri, const std::string& nextUri) const;
    std::shared_ptr<VEQ::IPageLoadHandler> loadHandler() const { return pageLoadHandler; }

    // Only these pages may call the action handlers or get the owner's scripts.
    OwnedPages ownedPages;

private:
    // Calls the handler: true with its reply in outcome, or false with why not.
    bool callHandler(const std::string& uri, const InvocationReader& read, Invocation* invocation,
                     std::string* outcome);

    std::map<std::string, void*> userData;
    std::map<std::string, VEQ::JSActionHandler*> actionHandlers;
    std::shared_ptr<VEQ::IPageLoadHandler> pageLoadHandler;
    VEQ::DestroyNotifier* destroyNotifier = nullptr;
};

}  // namespace veqpod
