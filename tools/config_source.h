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
    // Whether it arrived, even if the module then refuses it (too large, empty).
    bool fetched = false;
    // Over http(s): the address that answered, when redirects led away from
    // the one given; empty otherwise.
    std::string redirectedTo;
};

// A path, or an http, https or file URL, fetched by the module's own reader:
// its size cap, certificate checks, redirects and time-outs.
ConfigSource loadConfigSource(const std::string& name);

// "scheme:" of two or more characters: one letter before the colon is a
// Windows drive.
bool isURL(const std::string& name);

// What stopped the module short of reading the whole document, with the
// line it happened at (0 for the whole file); no text when nothing did.
struct DocumentProblem {
    int line = 0;
    std::string text;
    bool wholeFile = false;  // refused unread, rather than read up to a fault
};
DocumentProblem problemOf(const XLoop::SectionsRead& read);

}  // namespace xloop_tool
