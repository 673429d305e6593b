// The resource.h stream: buffered whole lines, cut back to a line end when
// a run ends in an error.
#include "driver/header_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "driver/write_all.h"

namespace orrinrc {

bool header_open(HeaderFile& h, const char* path) {
    h.fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (h.fd < 0) return false;
    h.path = path;
    h.buf.clear();
    h.base = 0;
    h.whole = 0;
    h.failed = false;
    return true;
}

int header_flush(HeaderFile& h, uint64_t end) {
    if (h.fd < 0 || h.failed || end <= h.base) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(end, h.pos()) - h.base);
    size_t done = 0;
    const int err = write_all(h.fd, h.buf.data(), n, done);
    if (err != 0) {
        // The part that reached the file may end inside a line.
        const void* nl = done == 0 ? nullptr : ::memrchr(h.buf.data(), '\n', done);
        h.whole = h.base + (nl == nullptr ? 0 : static_cast<size_t>(static_cast<const char*>(nl) - h.buf.data()) + 1);
        h.failed = true;
    }
    h.buf.erase(0, done);
    h.base += done;
    return err;
}

int header_close_at(HeaderFile& h, uint64_t end) {
    if (h.fd < 0) return 0;
    const bool failed_before = h.failed;
    int err = header_flush(h, end);
    const uint64_t keep = h.failed ? std::min(end, h.whole) : end;
    int late = 0;
    if (h.base > keep && ::ftruncate(h.fd, static_cast<off_t>(keep)) != 0) late = errno;
    if (::close(h.fd) != 0 && late == 0) late = errno;
    h.fd = -1;
    h.buf.clear();
    if (failed_before || err != 0) return err;
    if (late != 0) h.failed = true;
    return late;
}

}  // namespace orrinrc
