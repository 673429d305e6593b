// What the watchers of every system share.
#include "preview/watch.h"

namespace orrinrc::preview {

bool wait_for_burst(Watcher& watcher, std::chrono::milliseconds timeout, std::chrono::milliseconds quiet,
                    std::chrono::milliseconds longest) {
    if (!watcher.wait(timeout)) return false;
    const auto until = std::chrono::steady_clock::now() + longest;
    while (std::chrono::steady_clock::now() < until && watcher.wait(quiet)) {
    }
    return true;
}

}  // namespace orrinrc::preview
