// Hands the host's list of available updates to the room page.
#include <cstdlib>
#include <string>

#include "host/heap_text.h"
#include "host/log.h"
#include "host/room_user_data.h"
#include "host/ui_thread.h"
#include "page/script_call.h"
#include "page/script_object.h"
#include "xloop/xloop_client.h"

using namespace XLoop;

namespace {

// One update gives a bare string (pages rely on it), several a list, none an
// empty list. Missing arrays or entries count as empty texts.
std::string updateValue(int32_t count, const char* const* texts) {
    auto text = [texts](int32_t i) {
        return texts != nullptr && texts[i] != nullptr ? texts[i] : "";
    };
    std::string value;
    if (count == 1) {
        quoteJsonString(text(0), value);
        return value;
    }
    value.push_back('[');
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0) value.push_back(',');
        quoteJsonString(text(i), value);
    }
    value.push_back(']');
    return value;
}

}  // namespace

extern "C" void SetUpdateInfo(BrowserClient* client, int32_t count, const char* const* refIds,
                              const char* const* names, const char* const* descriptions) {
    XLOOP_ASSERT_UI_THREAD();
    logDebug("In Update Info");
    std::string payload = "{\"updateDescriptions\":" + updateValue(count, descriptions) +
                          ",\"updateNames\":" + updateValue(count, names) +
                          ",\"updateRefIds\":" + updateValue(count, refIds) + "}";
    logDebug("%s", payload.c_str());
    if (client == nullptr) return;

    const std::string escaped = urlEscape(payload);
    client->executeScript(scriptCallWithEscapedPayload("setUpdateInfo", escaped).c_str());
    // The client keeps one copy: the one of the latest call.
    std::free(client->getUserData(kUpdateInfoKey));
    client->setUserData(kUpdateInfoKey, duplicateHeapText(escaped));
}
