// Watching files where the system gives no notification: their times and
// sizes looked at every few tens of milliseconds (and, with `folders`, the
// names in their folders).
#if !defined(__linux__) || defined(ORRINRC_POLL_WATCH)
#include "preview/watch.h"

#include <filesystem>
#include <set>
#include <thread>

namespace orrinrc::preview {

namespace fs = std::filesystem;

struct Watcher::State {
    std::vector<std::string> files;
    bool folders = false;
    std::string seen;  // what the files looked like last time
};

namespace {

constexpr std::chrono::milliseconds kPoll{50};

// The time, size and (with folders) neighbours of every file, as one string.
std::string look_at(const std::vector<std::string>& files, bool folders) {
    std::string out;
    std::set<fs::path> seen_folders;
    for (const std::string& file : files) {
        std::error_code ec;
        const auto time = fs::last_write_time(file, ec);
        out += file + '\n' + (ec ? "-" : std::to_string(time.time_since_epoch().count()));
        const auto size = fs::file_size(file, ec);
        out += ' ' + (ec ? "-" : std::to_string(size)) + '\n';
        const fs::path folder = fs::absolute(file, ec).parent_path();
        if (!folders || !seen_folders.insert(folder).second) continue;
        for (const auto& entry : fs::directory_iterator(folder, ec)) out += entry.path().string() + '\n';
    }
    return out;
}

}  // namespace

Watcher::Watcher() : state_(std::make_unique<State>()) {}
Watcher::~Watcher() = default;

void Watcher::watch(const std::vector<std::string>& files, bool folders) {
    state_->files = files;
    state_->folders = folders;
    state_->seen = look_at(files, folders);
}

bool Watcher::wait(std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::string now = look_at(state_->files, state_->folders);
        if (now != state_->seen) {
            state_->seen = std::move(now);
            return true;
        }
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(
            kPoll, std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()) +
                       std::chrono::milliseconds(1)));
    }
}

}  // namespace orrinrc::preview
#endif
