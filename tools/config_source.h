// A configuration file named on the command line, read as the module reads
// it, and the faults that make the module refuse it or cut it short.
#pragma once

#include <string>

#include "config/config_file.h"

namespace xloop_tool {

struct ConfigSource {
    std::string bytes;
    // Why the module cannot use the file at all; empty when it was read.
    std::string problem;
};

// A path, or an http, https or file URL, fetched by the module's own reader:
// its size cap, certificate checks, redirects and time-outs.
ConfigSource loadConfigSource(const std::string& name);

// What stopped the module short of reading the whole document, with the
// line it happened at (0 for the whole file); no text when nothing did.
struct DocumentProblem {
    int line = 0;
    std::string text;
};
DocumentProblem problemOf(const XLoop::SectionsRead& read);

}  // namespace xloop_tool
