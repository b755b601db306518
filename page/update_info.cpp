#include "page/update_info.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include "page/host_calls.h"
#include "page/room_user_data.h"
#include "page/script_call.h"
#include "runtime/text_copies.h"

namespace XLoop {
namespace {

std::mutex& updateInfoLock() {
    static std::mutex lock;
    return lock;
}

// One of the three lists. Each text is measured once: the sum sizes the
// payload, and each length sizes its own quoted copy.
class UpdateValue {
public:
    UpdateValue(int32_t count, const char* const* texts) : texts(texts) {
        quotedLengths.reserve(count > 0 ? static_cast<size_t>(count) : 0);
        for (int32_t i = 0; i < count; ++i) quotedLengths.push_back(quotedJsonLength(text(i)));
    }

    size_t length() const {
        const size_t count = quotedLengths.size();
        size_t length = count == 1 ? 0 : 2 + (count > 1 ? count - 1 : 0);  // brackets and commas
        for (size_t quoted : quotedLengths) length += quoted;
        return length;
    }

    void appendTo(std::string& payload) const {
        if (quotedLengths.size() == 1) {
            quoteJsonString(text(0), quotedLengths[0], payload);
            return;
        }
        payload.push_back('[');
        for (size_t i = 0; i < quotedLengths.size(); ++i) {
            if (i > 0) payload.push_back(',');
            quoteJsonString(text(i), quotedLengths[i], payload);
        }
        payload.push_back(']');
    }

private:
    std::string_view text(size_t i) const {
        return texts != nullptr && texts[i] != nullptr ? texts[i] : "";
    }

    const char* const* texts;
    std::vector<size_t> quotedLengths;
};

}  // namespace

std::string updateInfoPayload(int32_t count, const char* const* refIds, const char* const* names,
                              const char* const* descriptions) {
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
    return payload;
}

void sendUpdateInfo(BrowserClient* client, std::string payload) {
    const std::string escaped = urlEscape(payload);
    std::string().swap(payload);  // the largest text goes before the next is made
    callTrustedPage(client, scriptCallWithEscapedPayload("setUpdateInfo", escaped), "setUpdateInfo");
    // The client keeps one copy: the one of the latest call.
    char* copy = copyFreedWithFree(escaped);
    std::lock_guard<std::mutex> guard(updateInfoLock());
    std::free(client->getUserData(kUpdateInfoKey));
    client->setUserData(kUpdateInfoKey, copy);
}

bool addKeptUpdateInfo(BrowserClient* client, ScriptObject& payload) {
    std::lock_guard<std::mutex> guard(updateInfoLock());
    auto* text = static_cast<const char*>(client->getUserData(kUpdateInfoKey));
    if (text == nullptr) return false;
    payload["updateInfo"] = text;
    return true;
}

void dropUpdateInfo(BrowserClient* client) {
    std::lock_guard<std::mutex> guard(updateInfoLock());
    void* text = client->getUserData(kUpdateInfoKey);
    if (text == nullptr) return;
    client->setUserData(kUpdateInfoKey, nullptr);
    std::free(text);
}

}  // namespace XLoop
