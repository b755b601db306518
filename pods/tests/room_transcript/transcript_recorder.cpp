#include "pods/tests/room_transcript/transcript_recorder.h"

#include <algorithm>

#include "xloop/veqpod_extras.h"
#include "xloop/xloop_client.h"

namespace room_transcript {
namespace {

Recorder* current = nullptr;

// One entry a line: line breaks inside a text are written as \n.
std::string oneLine(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.replace(at, 1, "\\n");
    }
    return text;
}

void onLogLine(const char* line) {
    current->logLine(line);
}

void onScript(void* self, BrowserClient*, const char* page, const char* script) {
    static_cast<Recorder*>(self)->add(std::string("script on ") + page + ": " + script);
}

void onAction(void* self, BrowserClient*, const char* page, const char* name, const char* arguments,
              const char* outcome, int served) {
    static_cast<Recorder*>(self)->add(std::string("action ") + name + " on " + page + ": " + arguments +
                                      (served ? " -> " : " refused: ") + outcome);
}

// The error's text and place are the engine's own words ("ReferenceError:
// x is not defined", "TypeError: undefined is not a function"), not the
// module's: which call failed, on which page, is what must agree.
void onScriptFailed(void* self, BrowserClient*, const char* page, const char* script, const char*, const char*,
                    unsigned, unsigned) {
    static_cast<Recorder*>(self)->add(std::string("script error on ") + page + " running " + script);
}

}  // namespace

Recorder::Recorder() {
    current = this;
    SetVEQLogSink(onLogLine);
    const VEQPodObserver observer{onScript, onAction, this};
    VEQPodSetObserver(&observer);
    const VEQPodScriptErrorObserver errors{onScriptFailed, this};
    VEQPodSetScriptErrorObserver(&errors);
}

Recorder::~Recorder() {
    VEQPodSetScriptErrorObserver(nullptr);
    VEQPodSetObserver(nullptr);
    SetVEQLogSink(nullptr);
    current = nullptr;
}

void Recorder::step(const std::string& what) {
    add("host: " + what);
}

void Recorder::logLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(lock);
    allLines.push_back(oneLine(line));
    if (std::this_thread::get_id() == uiThread) {
        entries.push_back("log: " + allLines.back());
    } else {
        workerLines.push_back("log: " + allLines.back());
    }
}

void Recorder::add(const std::string& entry) {
    std::lock_guard<std::mutex> guard(lock);
    entries.push_back(oneLine(entry));
}

int Recorder::linesWith(const std::string& fragment) const {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(std::count_if(allLines.begin(), allLines.end(), [&](const std::string& line) {
        return line.find(fragment) != std::string::npos;
    }));
}

int Recorder::entriesStartingWith(const std::string& prefix) const {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [&](const std::string& entry) {
        return entry.rfind(prefix, 0) == 0;
    }));
}

std::string Recorder::text() const {
    std::lock_guard<std::mutex> guard(lock);
    std::string all;
    for (const std::string& entry : entries) all += entry + "\n";
    all += "worker threads:\n";
    for (const std::string& line : workerLines) all += line + "\n";
    return all;
}

}  // namespace room_transcript
