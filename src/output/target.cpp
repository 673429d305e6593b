// Output targets: files, memory, nowhere.
#include "output/target.h"

#include <cerrno>
#include <cstring>

#include "util/files.h"

namespace orrinrc {

FileTarget::~FileTarget() {
    if (fd_ >= 0) files::close(fd_);
}

bool FileTarget::open(const char* path) {
    fd_ = files::open_write(path);
    return fd_ >= 0;
}

int FileTarget::append(const void* data, size_t n, size_t& done) { return files::write_all(fd_, data, n, done); }

int FileTarget::write_at(uint64_t at, const void* data, size_t n) {
    const char* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < n) {
        const long got = files::write_at(fd_, p + done, n - done, at + done);
        if (got <= 0) return got < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(got);
    }
    return 0;
}

int FileTarget::truncate(uint64_t size) { return files::truncate(fd_, size); }

int FileTarget::close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || files::close(fd) == 0 ? 0 : errno;
}

int MemoryTarget::append(const void* data, size_t n, size_t& done) {
    bytes_.append(static_cast<const char*>(data), n);
    done = n;
    return 0;
}

int MemoryTarget::write_at(uint64_t at, const void* data, size_t n) {
    if (at > bytes_.size() || n > bytes_.size() - at) return EINVAL;
    std::memcpy(bytes_.data() + at, data, n);
    return 0;
}

int MemoryTarget::truncate(uint64_t size) {
    if (size < bytes_.size()) bytes_.resize(static_cast<size_t>(size));
    return 0;
}

void Console::put(const char* text) { write(text, std::strlen(text)); }

}  // namespace orrinrc
