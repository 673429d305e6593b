// The calls on files that differ between systems, in one place. Every file
// is opened in binary mode, so that no byte is translated on its way in or
// out; names are UTF-8. Failures return -1 (or an errno value where said) and
// leave the reason in errno. files_posix.cpp and files_windows.cpp implement
// this; the build takes the one for its target.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace orrinrc::files {

// Opens an existing file for reading. Without `wait_for_writer`, opening a
// pipe does not wait until something writes to it.
int open_read(const char* path, bool wait_for_writer = true);
// Opens a regular file for reading and gives its size. The open does not
// wait for a pipe's writer, and anything but a regular file is refused
// (errno EINVAL).
int open_regular(const char* path, uint64_t& size);
// Creates or truncates a file for writing.
int open_write(const char* path);
int close(int fd);

// One read or write, retried after an interruption: the bytes moved, 0 at the
// end of the file, or -1.
long read(int fd, void* to, size_t n);
long write(int fd, const void* from, size_t n);
// The same at an offset, leaving the file's position where it was.
long read_at(int fd, void* to, size_t n, uint64_t at);
long write_at(int fd, const void* from, size_t n, uint64_t at);
// Moves the file's position back to its start; false when it cannot (a
// pipe).
bool rewind(int fd);
// Cuts the file to `size` bytes; 0 or the errno value.
int truncate(int fd, uint64_t size);

// Writes n bytes, through short writes. Sets `done` to the bytes that
// reached the file; returns 0, or the errno value of the failure (ENOSPC for
// a write that took nothing).
inline int write_all(int fd, const void* data, size_t n, size_t& done) {
    const char* p = static_cast<const char*>(data);
    done = 0;
    while (done < n) {
        const long put = write(fd, p + done, n - done);
        if (put <= 0) return put < 0 ? errno : ENOSPC;
        done += static_cast<size_t>(put);
    }
    return 0;
}

// Reads a line of a stream up to its '\n' (kept) or the end, NUL bytes
// included, into *buffer (grown with realloc as needed): its length, or -1 at
// the end of the stream or on an error.
long get_line(char** buffer, size_t* capacity, FILE* stream);

enum class Kind { Missing, Regular, Folder, Other };
struct Status {
    Kind kind = Kind::Missing;
    uint64_t size = 0;
};
// What an open file is; Missing (errno set) when the system cannot say.
Status status(int fd);
// What a path names; Missing (errno set) when it names nothing or cannot be
// looked at.
Status status(const char* path);
// Whether the file at `path` may be read by this process.
bool readable(const char* path);
// When the file or folder at `path` last changed, in the finest steps the
// system keeps (a folder changes as names in it come and go); 0 when it
// cannot be looked at. Good only for telling whether it changed.
uint64_t modified(const char* path);

// Puts `from` in the place of `to` in one step: a reader of `to` sees the old
// file or the new one, never neither, and an existing `to` is replaced. 0 or
// the errno value; `from` stays where it was on failure.
int replace(const char* from, const char* to);
// Removes a file; failures are ignored (it is cleaning up).
void remove(const char* path);

// Whether the path starts at a root of the file system (or a drive) rather
// than at the current folder.
bool is_absolute(const std::string& path);
// The path with the current folder put in front and links resolved; empty
// when it cannot be worked out (the path does not exist).
std::string absolute(const std::string& path);
// A folder named on the command line, made absolute so that it names the
// same folder from any other; as given when it cannot be resolved.
std::string anchored(const std::string& folder);
// The folder part of a path, without the separator after it: "" for a bare
// name.
std::string folder_of(const std::string& path);

}  // namespace orrinrc::files
