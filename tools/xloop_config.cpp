// xloop-config: checks a VEQConfig.xml before it is published, with the
// module's own reader and rules.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/utf.h"
#include "diff_command.h"
#include "explain_command.h"
#include "lint_command.h"
#include "resolve_command.h"

namespace {

// sysexits' EX_USAGE: a pipeline tells a mistaken call from a finding.
constexpr int kUsageError = 64;

const char kUsage[] =
    "usage: xloop-config resolve FILE|URL --product P --version V --locale L [--json]\n"
    "       xloop-config lint [--format text|json|sarif] FILE|URL...\n"
    "       xloop-config explain FILE|URL --product P --version V --locale L\n"
    "       xloop-config diff OLD NEW | diff --matrix FILE\n"
    "resolve: the killswitch, url and serverurl the module takes from the file, each with the line of the\n"
    "  section that gave it; exit 0 when the module's read succeeds, 1 when it fails (the file refused\n"
    "  included), 2 when the file cannot be fetched.\n"
    "lint: what the module would silently ignore or refuse, as text (one \"FILE:LINE: warning|error: text\"\n"
    "  a line), one JSON object, or a SARIF 2.1.0 log; exit 0 clean, 1 warnings, 2 errors.\n"
    "explain: every section in document order, applied, overridden or skipped and why, then what resolve\n"
    "  prints, with a warning for a product, version or locale the file only nearly names; exit as resolve.\n"
    "diff: for every product/version/locale combination either file names (* for one it does not), the\n"
    "  values the module resolves where they differ; exit 0 none, 1 some, 2 a file the module refuses.\n"
    "  --matrix: the resolution of every combination the file names; exit 0, or 2 when refused.\n"
    "A usage mistake exits 64.\n";

int usageError(const std::string& why) {
    std::fprintf(stderr, "xloop-config: %s\n%s", why.c_str(), kUsage);
    return kUsageError;
}

// "--name value" or "--name=value" at args[i]; moves i past the value.
bool takeOption(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value) {
    const std::string& arg = args[i];
    if (arg.compare(0, name.size() + 1, name + "=") == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (arg != name || i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
}

// A word that starts with "-" is an option, known or mistaken, never a file
// name: a file so named is given as ./-name.
bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

int help() {
    std::fputs(kUsage, stdout);
    return 0;
}

// The arguments of resolve and explain; false after a usage mistake, told.
bool takeRequest(const std::vector<std::string>& args, bool jsonAllowed, xloop_tool::ResolveRequest& request) {
    bool product = false, version = false, locale = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (jsonAllowed && args[i] == "--json") {
            request.json = true;
        } else if (takeOption(args, i, "--product", request.product)) {
            product = true;
        } else if (takeOption(args, i, "--version", request.version)) {
            version = true;
        } else if (takeOption(args, i, "--locale", request.locale)) {
            locale = true;
        } else if (isOption(args[i]) || !request.source.empty()) {
            usageError(args[0] + " does not take " + args[i]);
            return false;
        } else {
            request.source = args[i];
        }
    }
    if (request.source.empty() || !product || !version || !locale) {
        usageError(args[0] + " needs a file or URL, --product, --version and --locale");
        return false;
    }
    return true;
}

int diff(const std::vector<std::string>& args) {
    if (std::any_of(args.begin() + 1, args.end(), isHelp)) return help();
    if (args.size() == 3 && args[1] == "--matrix") return xloop_tool::runMatrix(args[2]);
    if (args.size() == 3 && !isOption(args[1]) && !isOption(args[2])) {
        return xloop_tool::runDiff(args[1], args[2]);
    }
    return usageError("diff needs OLD and NEW, or --matrix and one file");
}

int lint(const std::vector<std::string>& args) {
    xloop_tool::LintRequest request;
    std::string format;
    for (size_t i = 1; i < args.size(); ++i) {
        if (isHelp(args[i])) return help();
        if (takeOption(args, i, "--format", format)) {
            if (!xloop_tool::lintFormatOf(format, request.format)) {
                return usageError("lint --format takes text, json or sarif, not " + format);
            }
        } else if (isOption(args[i])) {
            return usageError("lint does not take " + args[i]);
        } else {
            request.sources.push_back(args[i]);
        }
    }
    if (request.sources.empty()) return usageError("lint needs a file or URL");
    return xloop_tool::runLint(request);
}

int run(const std::vector<std::string>& args) {
    if (args.empty()) return usageError("no command");
    if (isHelp(args[0])) return help();
    xloop_tool::ResolveRequest request;
    if (args[0] == "resolve" || args[0] == "explain") {
        if (std::any_of(args.begin() + 1, args.end(), isHelp)) return help();
        if (!takeRequest(args, args[0] == "resolve", request)) return kUsageError;
        return args[0] == "resolve" ? xloop_tool::runResolve(request) : xloop_tool::runExplain(request);
    }
    if (args[0] == "diff") return diff(args);
    if (args[0] == "lint") return lint(args);
    return usageError("unknown command " + args[0]);
}

}  // namespace

#if defined(_WIN32)
// The arguments as UTF-8, whatever the console's code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(XLoop::toUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return run(args);
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
