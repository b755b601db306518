// The module's diagnostic lines: printed, timed, as they come, and handed to
// the GTK main thread for whoever watches them there.
#pragma once

#include <functional>
#include <string>

#include "examples/room_demo/session_record.h"

namespace xloop_demo {

class ModuleLog {
public:
    using Watcher = std::function<void(const std::string& line)>;

    // Becomes the module's log sink; one at a time. Each line goes into
    // record at once; watcher runs on the GTK main thread, from the default
    // main context. record must outlive this.
    ModuleLog(Watcher watcher, SessionRecord& record);
    // Gives the module back its default sink; lines not yet handed over are
    // dropped.
    ~ModuleLog();
    ModuleLog(const ModuleLog&) = delete;
    ModuleLog& operator=(const ModuleLog&) = delete;
};

// Prints a line of the host's own, timed like the module's.
void announce(const std::string& text);

// The clock of the printed lines: milliseconds since the program started.
long long millisecondsSinceStart();

}  // namespace xloop_demo
