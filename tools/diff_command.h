// "diff": what the module resolves, in two versions of a configuration file,
// for every product, version and locale combination either names, listed
// where they differ; "diff --matrix": the resolution of every combination
// one file names.
#pragma once

#include <string>

namespace xloop_tool {

// Returns 0 when no combination differs, 1 when some do, 2 when the module
// refuses a file (unreadable, too large, unparsed or with a DOCTYPE) or the
// files name too many combinations for their size to read them for each.
int runDiff(const std::string& oldSource, const std::string& newSource);

// Returns 0, or 2 as diff does.
int runMatrix(const std::string& source);

}  // namespace xloop_tool
