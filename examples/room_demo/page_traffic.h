// Lists in the panel, and writes to the session's record, what passes
// between the module and the room's page, as the browser library reports it:
// the init payload of the last load, every call in either direction, the
// refusals and the page's script errors.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "examples/room_demo/session_record.h"
#include "examples/room_demo/workbench_panel.h"
#include "xloop/veq_browser.h"

namespace xloop_demo {

class PageTraffic {
public:
    struct Events {
        // A page other than about:blank was initialised.
        std::function<void(const std::string& page)> pageInitialised;
        // The page was told that the room is entered.
        std::function<void()> roomEntered;
    };

    // Watches the browser library's clients from now until destroyed. The
    // events run from the main loop, never inside the library's report.
    PageTraffic(WorkbenchPanel& panel, SessionRecord& record, Events events);
    ~PageTraffic();
    PageTraffic(const PageTraffic&) = delete;
    PageTraffic& operator=(const PageTraffic&) = delete;

    // Only this client's traffic is listed.
    void watch(BrowserClient* client) { room = client; }

private:
    static void onScript(void* self, BrowserClient* client, const char* page, const char* script);
    static void onAction(void* self, BrowserClient* client, const char* page, const char* name,
                         const char* arguments, const char* outcome, int served);
    static void onScriptFailed(void* self, BrowserClient* client, const char* page, const char* script,
                               const char* message, const char* source, unsigned line, unsigned column);
    void later(std::function<void()> event);

    WorkbenchPanel& panel;
    SessionRecord& record;
    Events events;
    BrowserClient* room = nullptr;
    // Events still waiting for the main loop find it false once this is gone.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

}  // namespace xloop_demo
