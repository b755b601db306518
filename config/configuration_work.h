// The background work of the latest configuration call: a fetch from the
// server and the update that follows it, on a worker of their own.
#pragma once

#include "base/ref_ptr.h"
#include "runtime/task.h"

namespace XLoop {

// Starts a worker and posts fetch to it; update is kept so that a stop can
// cancel it too, wherever it is queued by then. UI thread only.
void startConfigurationWork(RefPtr<Task> fetch, RefPtr<Task> update);

// Cancels and releases both tasks, then ends their worker, waiting the few
// milliseconds a cancelled fetch needs, so none of it runs on while the host
// goes on (or exits). A second call finds nothing to stop. UI thread only.
void stopConfigurationWork();

}  // namespace XLoop
