// Files on Windows: the C runtime's descriptors, opened in binary mode by
// UTF-16 names, and MoveFileExW for the replacement in one step.
#include "util/files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orrinrc::files {

namespace {

// A UTF-8 name as the wide calls take it; empty (EINVAL) when it is not
// UTF-8.
std::wstring wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (n <= 0) {
        errno = EINVAL;
        return {};
    }
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out.data(), n);
    out.pop_back();  // the terminating NUL that n counts
    return out;
}

// The errno value closest to a Windows error code.
int errno_of(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return EINVAL;
    default: return EIO;
    }
}

Status status_of(const struct _stat64& st) {
    const Kind kind = (st.st_mode & _S_IFMT) == _S_IFREG   ? Kind::Regular
                      : (st.st_mode & _S_IFMT) == _S_IFDIR ? Kind::Folder
                                                           : Kind::Other;
    return Status{kind, static_cast<uint64_t>(st.st_size)};
}

// The C runtime takes counts as unsigned int.
unsigned int count(size_t n) { return static_cast<unsigned int>(std::min<size_t>(n, INT_MAX)); }

// Runs `step` with the file's position at `at`, then puts the position back.
template <typename Step>
long at_offset(int fd, uint64_t at, Step step) {
    const __int64 was = _telli64(fd);
    if (was < 0 || _lseeki64(fd, static_cast<__int64>(at), SEEK_SET) < 0) return -1;
    const long moved = step();
    const int err = errno;
    _lseeki64(fd, was, SEEK_SET);
    errno = err;
    return moved;
}

}  // namespace

int open_read(const char* path, bool) {
    const std::wstring name = wide(path);
    if (name.empty()) return -1;
    const int fd = _wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd >= 0 || errno != EACCES) return fd;
    // A folder. POSIX systems open it and fail its reads, and callers count
    // on that (a folder named as the input is a read error, and its status
    // says Folder): a handle to the folder itself gives the same here.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = EACCES;
        return -1;
    }
    const int folder = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (folder < 0) CloseHandle(h);
    return folder;
}

int open_write(const char* path) {
    const std::wstring name = wide(path);
    if (name.empty()) return -1;
    return _wopen(name.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int close(int fd) { return _close(fd); }

long read(int fd, void* to, size_t n) { return _read(fd, to, count(n)); }

long write(int fd, const void* from, size_t n) { return _write(fd, from, count(n)); }

long read_at(int fd, void* to, size_t n, uint64_t at) {
    return at_offset(fd, at, [&] { return read(fd, to, n); });
}

long write_at(int fd, const void* from, size_t n, uint64_t at) {
    return at_offset(fd, at, [&] { return write(fd, from, n); });
}

long get_line(char** buffer, size_t* capacity, FILE* stream) {
    size_t n = 0;
    for (int c; (c = std::getc(stream)) != EOF;) {
        if (n + 2 > *capacity) {
            const size_t grown = std::max<size_t>(128, *capacity * 2);
            char* more = static_cast<char*>(std::realloc(*buffer, grown));
            if (more == nullptr) return -1;
            *buffer = more;
            *capacity = grown;
        }
        (*buffer)[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (n == 0) return -1;
    (*buffer)[n] = '\0';
    return static_cast<long>(n);
}

bool rewind(int fd) { return _lseeki64(fd, 0, SEEK_SET) == 0; }

int truncate(int fd, uint64_t size) { return _chsize_s(fd, static_cast<__int64>(size)); }

Status status(int fd) {
    struct _stat64 st;
    if (_fstat64(fd, &st) != 0) return Status{};
    Status s = status_of(st);
    // The C runtime may take any file on a disk for a regular one.
    BY_HANDLE_FILE_INFORMATION info;
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (s.kind == Kind::Regular && GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        s.kind = Kind::Folder;
    return s;
}

Status status(const char* path) {
    const std::wstring name = wide(path);
    struct _stat64 st;
    if (name.empty() || _wstat64(name.c_str(), &st) != 0) return Status{};
    return status_of(st);
}

uint64_t modified(const char* path) {
    const std::wstring name = wide(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (name.empty() || !GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

bool readable(const char* path) {
    const std::wstring name = wide(path);
    return !name.empty() && _waccess(name.c_str(), 4) == 0;
}

int replace(const char* from, const char* to) {
    const std::wstring source = wide(from), target = wide(to);
    if (source.empty() || target.empty()) return EINVAL;
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return errno_of(GetLastError());
}

void remove(const char* path) {
    const std::wstring name = wide(path);
    if (!name.empty()) _wunlink(name.c_str());
}

bool is_absolute(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '/' || path[2] == '\\');
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string absolute(const std::string& path) {
    const std::wstring name = wide(path.c_str());
    struct _stat64 st;
    if (name.empty() || _wstat64(name.c_str(), &st) != 0) return {};
    wchar_t* full = _wfullpath(nullptr, name.c_str(), 0);
    if (full == nullptr) return {};
    std::string out;
    const int n = WideCharToMultiByte(CP_UTF8, 0, full, -1, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        WideCharToMultiByte(CP_UTF8, 0, full, -1, out.data(), n, nullptr, nullptr);
        out.pop_back();  // the terminating NUL that n counts
    }
    std::free(full);
    return out;
}

}  // namespace orrinrc::files
