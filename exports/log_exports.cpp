// The export through which the host takes the module's diagnostic lines.
#include "runtime/log.h"
#include "xloop/xloop_client.h"

extern "C" void SetVEQLogSink(VEQLogSink sink) {
    XLoop::setLogSink(sink);
}
