// Records, in order, what a host can see of the room: the module's log lines
// and the calls it made into the page, as the browser library's observers
// report them, with the host's own steps between them.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace room_transcript {

class Recorder {
public:
    // Becomes the module's log sink and the library's observers; one at a
    // time. Make it on the thread that will call InitializeVEQ.
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // A step the host takes, written before what it causes.
    void step(const std::string& what);
    // How many log lines so far, of any thread, contain fragment.
    int linesWith(const std::string& fragment) const;
    // How many entries so far start with prefix ("action writeLog ", "script error ").
    int entriesStartingWith(const std::string& prefix) const;
    // The UI thread's record, then the worker threads' lines in their order:
    // the two interleave as the threads happen to run, each alone does not.
    std::string text() const;

    void logLine(const std::string& line);
    void add(const std::string& entry);

private:
    const std::thread::id uiThread = std::this_thread::get_id();
    mutable std::mutex lock;
    std::vector<std::string> entries;
    std::vector<std::string> workerLines;
    std::vector<std::string> allLines;
};

}  // namespace room_transcript
