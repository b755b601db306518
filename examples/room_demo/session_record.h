// The workbench's record of a session: every crossing between the module and
// the page as JSON Lines, one object a line with its "t" (seconds since the
// start, as on the console) and its "kind", then the fields. Each line is
// written whole as it happens, so a crash loses at most the line under way.
#pragma once

#include <filesystem>
#include <mutex>

#include <nlohmann/json.hpp>

namespace xloop_demo {

class SessionRecord {
public:
    // Records nothing when path is empty; otherwise makes the file, empty.
    // Throws std::runtime_error when it cannot be made.
    explicit SessionRecord(const std::filesystem::path& path);
    ~SessionRecord();
    SessionRecord(const SessionRecord&) = delete;
    SessionRecord& operator=(const SessionRecord&) = delete;

    // Writes one line; callable from any thread. Texts (many come from the
    // page) are cut at 64 KiB each and written as valid JSON, invalid UTF-8
    // as U+FFFD.
    void write(const char* kind, nlohmann::ordered_json fields);

private:
    std::mutex mutex;
    int descriptor = -1;
    bool failed = false;  // said once; then the record stays as it was
};

}  // namespace xloop_demo
