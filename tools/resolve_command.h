// "resolve": the values the module takes from a configuration file for one
// product, version and locale, each with the section that gave it.
#pragma once

#include <string>
#include <vector>

#include "config_source.h"
#include "file_sections.h"

namespace xloop_tool {

struct ResolveRequest {
    std::string source;
    std::string product;
    std::string version;
    std::string locale;  // as a host passes it; lower-cased as the module does
    bool json = false;
};

// What the module takes from a file for a request.
struct Resolution {
    XLoop::ConfigValues values;
    bool fetched = false;
    DocumentProblem problem;
    std::vector<FileSection> sections;  // every section of the file the module reads
    std::string warning;                // a product, version or locale the file only nearly names
};

// Resolves with the module's own reader, told to trace when one is given.
Resolution resolveSource(const ConfigSource& source, const ResolveRequest& request,
                         XLoop::SectionTrace* trace = nullptr);

// The values, each with its section, any problem and near miss, and the result, as lines.
void printResolution(const Resolution& resolution, const ResolveRequest& request);

// The exit status of runResolve.
int resolutionStatus(const Resolution& resolution);

// Prints the values to standard output. Returns 0 when the module's read
// succeeds, 1 when it fails (no kill switch for this product, version and
// locale, or a file the module refuses: too large, empty, not readable as
// XML), 2 when the file cannot be fetched.
int runResolve(const ResolveRequest& request);

}  // namespace xloop_tool
