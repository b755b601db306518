// The module's diagnostic lines: printed, timed, as they come, and handed to
// the GTK main thread for whoever watches them there.
#pragma once

#include <functional>
#include <string>

namespace xloop_demo {

class ModuleLog {
public:
    using Watcher = std::function<void(const std::string& line)>;

    // Becomes the module's log sink; one at a time. watcher runs on the GTK
    // main thread, from the default main context.
    explicit ModuleLog(Watcher watcher);
    // Gives the module back its default sink; lines not yet handed over are
    // dropped.
    ~ModuleLog();
    ModuleLog(const ModuleLog&) = delete;
    ModuleLog& operator=(const ModuleLog&) = delete;
};

// Prints a line of the host's own, timed like the module's.
void announce(const std::string& text);

}  // namespace xloop_demo
