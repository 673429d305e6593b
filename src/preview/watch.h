// Waiting for files to change. The system's file notification where there
// is one (watch_inotify.cpp, Linux), a look at the files' times and sizes
// every few tens of milliseconds elsewhere (watch_poll.cpp): exactly one of
// the two files builds, and a port swaps that file.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace orrinrc::preview {

class Watcher {
public:
    Watcher();
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Watches these files from now on (replacing the previous set), and,
    // when `folders` is set, anything that appears in or leaves their
    // folders (a picture that was missing may appear under any name).
    void watch(const std::vector<std::string>& files, bool folders);

    // Waits at most `timeout` for a change; true when one came.
    bool wait(std::chrono::milliseconds timeout);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Waits for a change, then for the changes to stop for `quiet` (at most
// `longest` in all), so that a burst of saves is one change. True when a
// change came within `timeout`.
bool wait_for_burst(Watcher& watcher, std::chrono::milliseconds timeout, std::chrono::milliseconds quiet,
                    std::chrono::milliseconds longest);

}  // namespace orrinrc::preview
