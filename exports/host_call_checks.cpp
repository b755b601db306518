#include "exports/host_call_checks.h"

#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "base/ui_thread.h"
#include "runtime/log.h"

namespace XLoop {
namespace {

enum class ModuleLife { NotStarted, Running, ShutDown };
enum class Finding { OutsideLife, WrongThread };

std::mutex g_checksMutex;
ModuleLife g_life = ModuleLife::NotStarted;
std::set<std::pair<std::string, Finding>> g_reported;

// True the first time since the last reset; the caller logs then.
bool firstReport(const char* exportName, Finding finding) {
    return g_reported.emplace(exportName, finding).second;
}

}  // namespace

void checkHostCall(const char* exportName, NeedsRunningModule needs) {
    ModuleLife life;
    bool outsideLife;
    bool wrongThread;
    {
        // Decided under the lock, logged outside it: a log sink may call back.
        std::lock_guard<std::mutex> lock(g_checksMutex);
        life = g_life;
        outsideLife = needs == NeedsRunningModule::Yes && life != ModuleLife::Running &&
                      firstReport(exportName, Finding::OutsideLife);
        wrongThread = !onUiThread() && firstReport(exportName, Finding::WrongThread);
    }
    if (outsideLife && life == ModuleLife::NotStarted) {
        logDebug("%s called before InitializeVEQ: the browser library is not started", exportName);
    } else if (outsideLife) {
        logDebug("%s called after ShutDownVEQ: the browser library is stopped", exportName);
    }
    if (wrongThread) logDebug("%s called on a thread other than the one that called InitializeVEQ", exportName);
}

void markModuleStarted() {
    bindUiThread();
    std::lock_guard<std::mutex> lock(g_checksMutex);
    g_life = ModuleLife::Running;
    g_reported.clear();
}

void markModuleShutDown() {
    std::lock_guard<std::mutex> lock(g_checksMutex);
    if (g_life != ModuleLife::Running) return;
    g_life = ModuleLife::ShutDown;
    g_reported.clear();
}

}  // namespace XLoop
