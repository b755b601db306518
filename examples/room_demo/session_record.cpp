#include "examples/room_demo/session_record.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "examples/room_demo/module_log.h"

namespace xloop_demo {
namespace {

constexpr size_t kLongestText = 64 * 1024;

void capTexts(nlohmann::ordered_json& value) {
    if (value.is_string()) {
        std::string& text = value.get_ref<std::string&>();
        if (text.size() > kLongestText) {
            text = text.substr(0, kLongestText) + "… (" + std::to_string(text.size()) + " bytes)";
        }
    } else if (value.is_structured()) {
        for (auto& element : value) capTexts(element);
    }
}

bool writeAll(int descriptor, const std::string& line) {
    for (size_t done = 0; done < line.size();) {
        const ssize_t written = ::write(descriptor, line.data() + done, line.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

SessionRecord::SessionRecord(const std::filesystem::path& path) {
    if (path.empty()) return;
    descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) throw std::runtime_error("cannot write " + path.string() + ": " + std::strerror(errno));
}

SessionRecord::~SessionRecord() {
    if (descriptor >= 0) ::close(descriptor);
}

void SessionRecord::write(const char* kind, nlohmann::ordered_json fields) {
    if (descriptor < 0) return;
    nlohmann::ordered_json line{{"t", static_cast<double>(millisecondsSinceStart()) / 1000}, {"kind", kind}};
    capTexts(fields);
    for (auto& field : fields.items()) line[field.key()] = std::move(field.value());
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::lock_guard<std::mutex> lock(mutex);
    if (failed || writeAll(descriptor, text)) return;
    failed = true;
    std::fprintf(stderr, "demo: the record could not be written (%s); it ends here\n", std::strerror(errno));
}

}  // namespace xloop_demo
