#include "examples/room_demo/workbench_steps.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace xloop_demo {
namespace {

// A day: a longer wait is a typing mistake, not a flow.
constexpr long kLatestStep = 24L * 60 * 60 * 1000;
// A steps file is written by hand; anything larger is not one.
constexpr std::uintmax_t kLargestFile = 1024 * 1024;

struct ActionSpelling {
    StepAction action;
    const char* name;
    bool takesArgument;
};

constexpr std::array<ActionSpelling, 7> kActions{{{StepAction::ServerDown, "server-down", false},
                                                  {StepAction::ServerUp, "server-up", false},
                                                  {StepAction::EnterRoom, "enter", false},
                                                  {StepAction::SendUpdates, "send-updates", false},
                                                  {StepAction::Script, "script", true},
                                                  {StepAction::Screenshot, "screenshot", true},
                                                  {StepAction::Quit, "quit", false}}};

const ActionSpelling* spellingOf(const std::string& name) {
    for (const ActionSpelling& spelling : kActions) {
        if (name == spelling.name) return &spelling;
    }
    return nullptr;
}

std::string knownActions() {
    std::string list;
    for (const ActionSpelling& spelling : kActions) list += (list.empty() ? "" : ", ") + std::string(spelling.name);
    return list;
}

// The next word of line from at, moving at past it and the blanks after it.
std::string nextWord(const std::string& line, size_t& at) {
    const size_t end = std::min(line.find_first_of(" \t", at), line.size());
    std::string word = line.substr(at, end - at);
    at = std::min(line.find_first_not_of(" \t", end), line.size());
    return word;
}

// One line's step, or why it is none.
std::variant<Step, std::string> readStep(const std::string& line, long earliest) {
    size_t at = line.find_first_not_of(" \t");
    const std::string time = nextWord(line, at);
    char* end = nullptr;
    errno = 0;
    const long milliseconds = std::strtol(time.c_str(), &end, 10);
    if (time.empty() || *end != 0 || time[0] == '-' || time[0] == '+' || errno != 0 || milliseconds > kLatestStep) {
        return "\"" + time + "\" is not a time in milliseconds (0 to " + std::to_string(kLatestStep) + ")";
    }
    if (milliseconds < earliest) {
        return "the time " + time + " comes before the step above (" + std::to_string(earliest) +
               "): steps go in order";
    }
    const std::string name = nextWord(line, at);
    const ActionSpelling* spelling = spellingOf(name);
    if (spelling == nullptr) {
        return (name.empty() ? std::string("no action") : "unknown action \"" + name + "\"") + "; the actions are " +
               knownActions();
    }
    std::string argument = line.substr(at);
    argument.erase(argument.find_last_not_of(" \t") + 1);
    if (spelling->takesArgument && argument.empty()) return name + " needs an argument";
    if (!spelling->takesArgument && !argument.empty()) return name + " takes no argument";
    return Step{0, milliseconds, spelling->action, argument};
}

}  // namespace

const char* stepActionName(StepAction action) {
    for (const ActionSpelling& spelling : kActions) {
        if (spelling.action == action) return spelling.name;
    }
    return "";
}

std::variant<std::vector<Step>, std::string> readSteps(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error) return file.string() + ": cannot be read (" + error.message() + ")";
    if (size > kLargestFile) return file.string() + ": larger than " + std::to_string(kLargestFile) + " bytes";
    std::ifstream in(file, std::ios::binary);
    if (!in) return file.string() + ": cannot be read";
    std::vector<Step> steps;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = file.string() + ":" + std::to_string(number) + ": ";
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        auto step = readStep(line, steps.empty() ? 0 : steps.back().milliseconds);
        if (auto* why = std::get_if<std::string>(&step)) return where + *why;
        steps.push_back(std::get<Step>(std::move(step)));
        steps.back().lineNumber = number;
    }
    if (in.bad()) return file.string() + ": cannot be read";
    return steps;
}

}  // namespace xloop_demo
