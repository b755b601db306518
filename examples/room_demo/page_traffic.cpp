#include "examples/room_demo/page_traffic.h"

#include "examples/room_demo/page_calls.h"
#include "xloop/veqpod_extras.h"

namespace xloop_demo {
namespace {

using Section = WorkbenchPanel::Section;

const char kInitFunction[] = "initXLoopRoom";
const char kRoomEnteredScript[] = "xloopRoomVisited();";

// A call with a payload is recorded with the payload read back into an
// object, nested objects too; any other script as its text.
nlohmann::ordered_json callFields(const char* page, const char* script, const std::optional<PayloadCall>& call) {
    if (!call) return {{"page", page}, {"script", script}};
    return {{"page", page}, {"function", call->function}, {"payload", payloadObject(call->payload)}};
}

gboolean runLater(gpointer event) {
    (*static_cast<std::function<void()>*>(event))();
    return G_SOURCE_REMOVE;
}

void dropLater(gpointer event) {
    delete static_cast<std::function<void()>*>(event);
}

}  // namespace

PageTraffic::PageTraffic(WorkbenchPanel& panel, SessionRecord& record, Events events)
    : panel(panel), record(record), events(std::move(events)) {
    const VEQPodObserver observer{onScript, onAction, this};
    VEQPodSetObserver(&observer);
    const VEQPodScriptErrorObserver errorObserver{onScriptFailed, this};
    VEQPodSetScriptErrorObserver(&errorObserver);
}

PageTraffic::~PageTraffic() {
    VEQPodSetScriptErrorObserver(nullptr);
    VEQPodSetObserver(nullptr);
    *alive = false;
}

// The library reports from inside the module's calls: whatever may call the
// module back waits for the main loop.
void PageTraffic::later(std::function<void()> event) {
    if (!event) return;
    auto* waiting = new std::function<void()>([alive = alive, event = std::move(event)] {
        if (*alive) event();
    });
    g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, runLater, waiting, dropLater);
}

void PageTraffic::onScript(void* self, BrowserClient* client, const char* page, const char* script) {
    auto* traffic = static_cast<PageTraffic*>(self);
    if (client != traffic->room) return;
    const std::optional<PayloadCall> call = readPayloadCall(script);
    traffic->record.write(call && call->function == kInitFunction ? "init" : "call", callFields(page, script, call));
    if (call && call->function == kInitFunction) {
        traffic->panel.setTitle(Section::InitPayload, std::string("Init payload of the last load: ") + page);
        traffic->panel.replace(Section::InitPayload, initPayloadLines(call->payload));
        traffic->panel.append(Section::Calls, std::string("→ initXLoopRoom(…) on ") + page);
        const std::string shown = page;
        if (shown != "about:blank") {
            std::function<void(const std::string&)> event = traffic->events.pageInitialised;
            if (event) traffic->later([event, shown] { event(shown); });
        }
    } else if (call) {
        traffic->panel.append(Section::Calls, "→ " + call->function + "(" + payloadLine(call->payload) + ")");
    } else {
        traffic->panel.append(Section::Calls, std::string("→ ") + script);
    }
    if (std::string(script) == kRoomEnteredScript) traffic->later(traffic->events.roomEntered);
}

void PageTraffic::onAction(void* self, BrowserClient* client, const char* page, const char* name,
                           const char* arguments, const char* outcome, int served) {
    auto* traffic = static_cast<PageTraffic*>(self);
    if (client != traffic->room) return;
    std::string line = std::string("← ") + name + " " + arguments;
    line += served ? std::string(" ⇒ ") + outcome : std::string(" refused (") + outcome + ") on " + page;
    traffic->panel.append(Section::Calls, line);
    traffic->record.write(served ? "action" : "refusal", {{"page", page},
                                                          {"name", name},
                                                          {"arguments", arguments},
                                                          {served ? "reply" : "reason", outcome}});
}

void PageTraffic::onScriptFailed(void* self, BrowserClient* client, const char* page, const char* script,
                                 const char* message, const char* source, unsigned line, unsigned column) {
    auto* traffic = static_cast<PageTraffic*>(self);
    if (client != traffic->room) return;
    // An empty script: the page's own code let the error go uncaught.
    const std::optional<PayloadCall> call = readPayloadCall(script);
    const std::string during = call ? call->function : script;
    std::string shown = std::string("✗ ") + message;
    if (*source != 0) shown += " at " + std::string(source) + ":" + std::to_string(line) + ":" + std::to_string(column);
    traffic->panel.append(Section::Calls, shown + (during.empty() ? "" : " in " + during));
    nlohmann::ordered_json fields{{"page", page}, {"message", message}};
    if (*source != 0) fields.update({{"file", source}, {"line", line}, {"column", column}});
    if (!during.empty()) fields["during"] = during;
    traffic->record.write("script-error", std::move(fields));
}

}  // namespace xloop_demo
