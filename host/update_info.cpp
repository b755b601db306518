// Hands the host's list of available updates to the room page.
#include <cstdlib>
#include <string>

#include "host/boundary.h"
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
class UpdateValue {
public:
    UpdateValue(int32_t count, const char* const* texts) : count(count), texts(texts) {}

    size_t length() const {
        size_t length = count == 1 ? 0 : 2 + (count > 1 ? static_cast<size_t>(count - 1) : 0);
        for (int32_t i = 0; i < count; ++i) length += quotedJsonLength(text(i));
        return length;
    }

    void appendTo(std::string& payload) const {
        if (count == 1) {
            quoteJsonString(text(0), payload);
            return;
        }
        payload.push_back('[');
        for (int32_t i = 0; i < count; ++i) {
            if (i > 0) payload.push_back(',');
            quoteJsonString(text(i), payload);
        }
        payload.push_back(']');
    }

private:
    std::string_view text(int32_t i) const {
        return texts != nullptr && texts[i] != nullptr ? texts[i] : "";
    }

    int32_t count;
    const char* const* texts;
};

}  // namespace

namespace XLoop {

std::mutex& updateInfoLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace XLoop

extern "C" void SetUpdateInfo(BrowserClient* client, int32_t count, const char* const* refIds,
                              const char* const* names, const char* const* descriptions) {
    guardBoundary("SetUpdateInfo", [&] {
        XLOOP_ASSERT_UI_THREAD();
        logDebug("In Update Info");
        const UpdateValue values[] = {{count, descriptions}, {count, names}, {count, refIds}};
        const char* const keys[] = {"{\"updateDescriptions\":", ",\"updateNames\":", ",\"updateRefIds\":"};
        // Sized first: a list of many megabytes is written once, never moved.
        size_t length = 1;
        for (int i = 0; i < 3; ++i) length += std::char_traits<char>::length(keys[i]) + values[i].length();
        std::string payload;
        payload.reserve(length);
        for (int i = 0; i < 3; ++i) {
            payload += keys[i];
            values[i].appendTo(payload);
        }
        payload += '}';
        // The line keeps 1015 characters anyway; a precision stops the formatter
        // from walking a payload of any length.
        logDebug("%.1015s", payload.c_str());
        if (client == nullptr) return;

        const std::string escaped = urlEscape(payload);
        std::string().swap(payload);  // the largest text goes before the next is made
        client->executeScript(scriptCallWithEscapedPayload("setUpdateInfo", escaped).c_str());
        // The client keeps one copy: the one of the latest call.
        char* copy = duplicateHeapText(escaped);
        std::lock_guard<std::mutex> guard(updateInfoLock());
        std::free(client->getUserData(kUpdateInfoKey));
        client->setUserData(kUpdateInfoKey, copy);
    });
}
