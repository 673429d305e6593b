// The resource.h stream: buffered whole lines, cut back to a line end when
// a run ends in an error.
#include "output/header_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace orrinrc {

void header_open(HeaderFile& h, OutputTarget* out, const char* path) {
    h.out = out;
    h.path = path;
    h.buf.clear();
    h.base = 0;
    h.whole = 0;
    h.failed = false;
}

int header_flush(HeaderFile& h, uint64_t end) {
    if (h.out == nullptr || h.failed || end <= h.base) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(end, h.pos()) - h.base);
    size_t done = 0;
    const int err = h.out->append(h.buf.data(), n, done);
    if (err != 0) {
        // The part that reached the file may end inside a line.
        const size_t nl = std::string_view(h.buf.data(), done).rfind('\n');
        h.whole = h.base + (nl == std::string_view::npos ? 0 : nl + 1);
        h.failed = true;
    }
    h.buf.erase(0, done);
    h.base += done;
    return err;
}

int header_close_at(HeaderFile& h, uint64_t end) {
    if (h.out == nullptr) return 0;
    const bool failed_before = h.failed;
    int err = header_flush(h, end);
    const uint64_t keep = h.failed ? std::min(end, h.whole) : end;
    int late = 0;
    if (h.base > keep) late = h.out->truncate(keep);
    if (int closed = h.out->close(); closed != 0 && late == 0) late = closed;
    h.out = nullptr;
    h.buf.clear();
    if (failed_before || err != 0) return err;
    if (late != 0) h.failed = true;
    return late;
}

}  // namespace orrinrc
