// Writing a buffer to a file descriptor, all of it or up to a failure.
#pragma once

#include <cerrno>
#include <cstddef>
#include <unistd.h>

namespace orrinrc {

// Writes n bytes, retrying after interruptions and short writes. Sets `done`
// to the bytes that reached the file; returns 0, or the errno of the failure
// (ENOSPC for a write that took nothing).
inline int write_all(int fd, const void* data, size_t n, size_t& done) {
    const char* p = static_cast<const char*>(data);
    done = 0;
    while (done < n) {
        const ssize_t got = ::write(fd, p + done, n - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(got);
    }
    return 0;
}

}  // namespace orrinrc
