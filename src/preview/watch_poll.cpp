// Watching files where the system gives no notification: when each file and
// (with `folders`) each of their folders last changed, looked at every few
// tens of milliseconds. A folder changes as names in it come and go.
#if !defined(__linux__) || defined(ORRINRC_POLL_WATCH)
#include "preview/watch.h"

#include <algorithm>
#include <set>
#include <thread>

#include "util/files.h"

namespace orrinrc::preview {

struct Watcher::State {
    std::vector<std::string> paths;  // the files, then the folders
    std::vector<uint64_t> seen;      // what they looked like last time
};

namespace {

constexpr std::chrono::milliseconds kPoll{50};

// Each path's time of change and size, two numbers a path.
std::vector<uint64_t> look_at(const std::vector<std::string>& paths) {
    std::vector<uint64_t> out;
    out.reserve(paths.size() * 2);
    for (const std::string& path : paths) {
        out.push_back(files::modified(path.c_str()));
        out.push_back(files::status(path.c_str()).size);
    }
    return out;
}

}  // namespace

Watcher::Watcher() : state_(std::make_unique<State>()) {}
Watcher::~Watcher() = default;

void Watcher::watch(const std::vector<std::string>& files, bool folders) {
    state_->paths = files;
    if (folders) {
        std::set<std::string> seen_folders;
        for (const std::string& file : files) {
            const std::string folder = files::folder_of(file);
            if (seen_folders.insert(folder).second) state_->paths.push_back(folder.empty() ? "." : folder);
        }
    }
    state_->seen = look_at(state_->paths);
}

bool Watcher::wait(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::vector<uint64_t> now = look_at(state_->paths);
        if (now != state_->seen) {
            state_->seen = std::move(now);
            return true;
        }
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPoll, left));
    }
}

}  // namespace orrinrc::preview
#endif
