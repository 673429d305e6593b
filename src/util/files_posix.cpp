// Files on POSIX systems: plain system calls.
#include "util/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace orrinrc::files {

namespace {

Status status_of(const struct stat& st) {
    const Kind kind = S_ISREG(st.st_mode) ? Kind::Regular : S_ISDIR(st.st_mode) ? Kind::Folder : Kind::Other;
    return Status{kind, static_cast<uint64_t>(st.st_size)};
}

}  // namespace

int open_read(const char* path, bool wait_for_writer) {
    return ::open(path, wait_for_writer ? O_RDONLY | O_CLOEXEC : O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

int open_write(const char* path) { return ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666); }

int close(int fd) { return ::close(fd); }

long read(int fd, void* to, size_t n) {
    ssize_t got;
    do got = ::read(fd, to, n);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

long write(int fd, const void* from, size_t n) {
    ssize_t put;
    do put = ::write(fd, from, n);
    while (put < 0 && errno == EINTR);
    return static_cast<long>(put);
}

long read_at(int fd, void* to, size_t n, uint64_t at) {
    ssize_t got;
    do got = ::pread(fd, to, n, static_cast<off_t>(at));
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

long write_at(int fd, const void* from, size_t n, uint64_t at) {
    ssize_t put;
    do put = ::pwrite(fd, from, n, static_cast<off_t>(at));
    while (put < 0 && errno == EINTR);
    return static_cast<long>(put);
}

long get_line(char** buffer, size_t* capacity, FILE* stream) {
    return static_cast<long>(::getline(buffer, capacity, stream));
}

bool rewind(int fd) { return ::lseek(fd, 0, SEEK_SET) == 0; }

int truncate(int fd, uint64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno; }

Status status(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return Status{};
    return status_of(st);
}

Status status(const char* path) {
    struct stat st;
    if (::stat(path, &st) != 0) return Status{};
    return status_of(st);
}

bool readable(const char* path) { return ::access(path, R_OK) == 0; }

uint64_t modified(const char* path) {
    struct stat st;
    if (::stat(path, &st) != 0) return 0;
    return static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec);
}

int replace(const char* from, const char* to) { return std::rename(from, to) == 0 ? 0 : errno; }

void remove(const char* path) { ::unlink(path); }

bool is_absolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

}  // namespace orrinrc::files
