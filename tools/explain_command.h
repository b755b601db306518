// "explain": every section of a configuration file in document order, with
// why it applies to one product, version and locale or is skipped, and
// which of its values later sections override; then what resolve prints.
#pragma once

#include "resolve_command.h"

namespace xloop_tool {

// Prints to standard output; returns what runResolve returns.
int runExplain(const ResolveRequest& request);

}  // namespace xloop_tool
