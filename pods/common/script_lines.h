// How a failed script is named on standard error and to the observer.
#pragma once

#include <string>

namespace veqpod {

// Where a failure in the text given to executeScript shows: the page's
// address would name a line of the page's own.
inline constexpr const char kExecutedScriptUri[] = "veqpod:executeScript";

// The script's first 64 bytes, "..." after them when there is more: enough
// to name the page function it called, not the payload after it.
std::string scriptHead(const std::string& script);

// "script failed: <failure> (running <script head>)", escaped: both may
// quote the page.
void logScriptFailure(const std::string& failure, const std::string& script);

}  // namespace veqpod
