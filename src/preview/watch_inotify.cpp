// Watching files with inotify: the folders that hold them are watched, so
// that a file an editor saves by writing a new one and renaming it over the
// old is seen as well as one written in place.
#if defined(__linux__) && !defined(ORRINRC_POLL_WATCH)
#include "preview/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

namespace orrinrc::preview {

struct Watcher::State {
    int fd = -1;
    std::map<int, std::string> folders;  // watch descriptor -> folder
    std::set<std::string> files;         // absolute, normalized
    bool any = false;                    // every name in the folders counts
};

namespace {

std::string absolute(const std::string& file) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(file, ec);
    return (ec ? std::filesystem::path(file) : p).lexically_normal().string();
}

}  // namespace

Watcher::Watcher() : state_(std::make_unique<State>()) { state_->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC); }

Watcher::~Watcher() {
    if (state_->fd >= 0) ::close(state_->fd);
}

void Watcher::watch(const std::vector<std::string>& files, bool folders) {
    State& s = *state_;
    s.files.clear();
    s.any = folders;
    std::set<std::string> wanted;
    for (const std::string& file : files) {
        const std::string path = absolute(file);
        s.files.insert(path);
        wanted.insert(std::filesystem::path(path).parent_path().string());
    }
    // Folders watched already keep their watch (and the events waiting on
    // it): only those no longer wanted are let go.
    for (auto it = s.folders.begin(); it != s.folders.end();) {
        if (wanted.count(it->second) != 0) {
            ++it;
            continue;
        }
        inotify_rm_watch(s.fd, it->first);
        it = s.folders.erase(it);
    }
    constexpr uint32_t kEvents =
        IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB;
    for (const std::string& folder : wanted) {
        const int wd = inotify_add_watch(s.fd, folder.c_str(), kEvents);
        if (wd >= 0) s.folders[wd] = folder;
    }
}

bool Watcher::wait(std::chrono::milliseconds timeout) {
    State& s = *state_;
    pollfd p{s.fd, POLLIN, 0};
    if (s.fd < 0 || ::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
    alignas(inotify_event) char buffer[16384];
    bool changed = false;
    for (;;) {
        const ssize_t n = ::read(s.fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            const auto folder = s.folders.find(e->wd);
            if (folder == s.folders.end() || e->len == 0) continue;
            const std::string path = (std::filesystem::path(folder->second) / e->name).lexically_normal().string();
            if (s.any || s.files.count(path) != 0) changed = true;
        }
    }
    return changed;
}

}  // namespace orrinrc::preview
#endif
