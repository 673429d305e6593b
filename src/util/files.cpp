// What every system shares of the calls on files.
#include "util/files.h"

namespace orrinrc::files {

int open_regular(const char* path, uint64_t& size) {
    const int fd = open_read(path, false);
    if (fd < 0) return -1;
    const Status st = status(fd);
    if (st.kind != Kind::Regular) {
        const int err = st.kind == Kind::Missing ? errno : EINVAL;
        close(fd);
        errno = err;
        return -1;
    }
    size = st.size;
    return fd;
}

std::string anchored(const std::string& folder) {
    if (folder.empty() || is_absolute(folder)) return folder;
    std::string resolved = absolute(folder);
    return resolved.empty() ? folder : resolved;
}

}  // namespace orrinrc::files
