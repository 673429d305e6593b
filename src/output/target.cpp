// Output targets: files through plain system calls, memory, nowhere.
#include "output/target.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "output/write_all.h"

namespace orrinrc {

FileTarget::~FileTarget() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileTarget::open(const char* path) {
    fd_ = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

int FileTarget::append(const void* data, size_t n, size_t& done) { return write_all(fd_, data, n, done); }

int FileTarget::write_at(uint64_t at, const void* data, size_t n) {
    const char* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pwrite(fd_, p + done, n - done, static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(got);
    }
    return 0;
}

int FileTarget::truncate(uint64_t size) { return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : errno; }

int FileTarget::close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0 ? 0 : errno;
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
