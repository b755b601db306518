// How a platform service reports failure: which step failed and the system's
// error code, for the portable caller to log.
#pragma once

namespace XLoop::platform {

struct StepResult {
    bool ok;
    const char* step;  // a fixed text naming the failed step; "" on success
    int code;          // errno, a Windows error number or an HRESULT

    static StepResult success() { return {true, "", 0}; }
    static StepResult failure(const char* step, int code) { return {false, step, code}; }
};

}  // namespace XLoop::platform
