#include "platform/open_uri.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace XLoop::platform {
namespace {

void waitFor(pid_t child) {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// xdg-open may wait for the application it starts, so it is waited for on
// a thread of its own: the caller goes on, and the child never lingers as a
// zombie in the host. Without a thread the caller waits.
void reapWhenDone(pid_t child) {
    try {
        std::thread(waitFor, child).detach();
    } catch (const std::system_error&) {
        waitFor(child);
    }
}

}  // namespace

StepResult openUri(const std::string& uri) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The host may block signals on its UI thread; the opener starts clean.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

    char program[] = "xdg-open";
    std::string argument = uri;
    char* arguments[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    const int failure = posix_spawnp(&child, program, nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (failure != 0) return StepResult::failure("posix_spawnp", failure);
    reapWhenDone(child);
    return StepResult::success();
}

}  // namespace XLoop::platform
