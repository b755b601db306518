#include "pods/common/script_lines.h"

#include <cstddef>

#include "pods/common/log_line.h"

namespace veqpod {
namespace {

constexpr size_t kQuotedScriptBytes = 64;

}  // namespace

std::string scriptHead(const std::string& script) {
    std::string head = script.substr(0, kQuotedScriptBytes + 1);
    if (head.size() > kQuotedScriptBytes) head.replace(kQuotedScriptBytes, std::string::npos, "...");
    return head;
}

void logScriptFailure(const std::string& failure, const std::string& script) {
    logEscaped("script failed:", failure + " (running " + scriptHead(script) + ")");
}

}  // namespace veqpod
