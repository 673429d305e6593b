// Container framing of resource.bin and the bounds-checked reader.
#include "dump/container.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>

namespace orrinrc::dump {


bool read_whole_file(const std::string& path, Bytes& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    int e = 0;
    if (::fstat(fd, &st) != 0) e = errno;
    else if (!S_ISREG(st.st_mode)) e = EINVAL;  // a directory, pipe or device
    if (e != 0) {
        ::close(fd);
        errno = e;
        return false;
    }
    out.clear();
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            ::close(fd);
            errno = e;
            return false;
        }
        if (got == 0) break;
        out.insert(out.end(), chunk, chunk + got);
    }
    ::close(fd);
    return true;
}

void Reader::need(size_t n, const char* what) const {
    if (left() < n)
        throw DumpError{pos_, strf("%s needs %zu byte%s, only %zu left in its block ending at 0x%06zx",
                                   what, n, n == 1 ? "" : "s", left(), end_)};
}

uint8_t Reader::u8(const char* what) {
    need(1, what);
    return b_[pos_++];
}

uint16_t Reader::u16(const char* what) {
    need(2, what);
    const uint16_t v = static_cast<uint16_t>(b_[pos_] | b_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
}

uint32_t Reader::u32(const char* what) {
    need(4, what);
    const uint32_t v = uint32_t(b_[pos_]) | uint32_t(b_[pos_ + 1]) << 8 |
                       uint32_t(b_[pos_ + 2]) << 16 | uint32_t(b_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
}

std::string Reader::cstring(const char* what) {
    for (size_t i = pos_; i < end_; ++i) {
        if (b_[i] == 0) {
            std::string s(reinterpret_cast<const char*>(b_.data() + pos_), i - pos_);
            pos_ = i + 1;
            return s;
        }
    }
    throw DumpError{pos_, strf("%s has no terminating NUL before the end of its block at 0x%06zx", what, end_)};
}

void Reader::skip(size_t n, const char* what) {
    need(n, what);
    pos_ += n;
}

size_t check_total_length(const Bytes& bytes) {
    if (bytes.size() < 4)
        throw DumpError{0, strf("the file is %zu byte%s long, too short for the 4-byte total-length field",
                                bytes.size(), bytes.size() == 1 ? "" : "s")};
    Reader r(bytes, 0, 4);
    const uint32_t total = r.u32("total-length field");
    if (total == 0)
        throw DumpError{0, strf("total-length field is 0: the compiler stopped before it finished this file "
                                "(file size %zu)", bytes.size())};
    if (total != bytes.size())
        throw DumpError{0, strf("total-length field says %u bytes but the file is %zu bytes long", total,
                                bytes.size())};
    return bytes.size();
}

namespace {

// A block header at `at` whose block must end at or before `limit`.
Block read_block(const Bytes& bytes, size_t at, size_t limit, const std::string& name) {
    if (limit - at < 4)
        throw DumpError{at, strf("%s needs a 4-byte length field, only %zu byte%s left before 0x%06zx",
                                 name.c_str(), limit - at, limit - at == 1 ? "" : "s", limit)};
    Reader r(bytes, at, limit);
    const uint32_t length = r.u32("block length");
    if (length < 4)
        throw DumpError{at, strf("%s has length %u, less than its own 4-byte length field", name.c_str(), length)};
    if (length > limit - at)
        throw DumpError{at, strf("%s of length %u runs past its parent, which ends at 0x%06zx (%zu bytes left)",
                                 name.c_str(), length, limit, limit - at)};
    return Block{at, length};
}

}  // namespace

RawRecord read_raw_record(const Bytes& bytes, size_t offset, size_t end) {
    RawRecord rec;
    rec.offset = offset;
    if (end - offset < 2)
        throw DumpError{offset, strf("record truncated: %zu byte left, a record starts with a 2-byte identifier",
                                     end - offset)};
    Reader r(bytes, offset, end);
    rec.id = r.u16("identifier");
    rec.outer = read_block(bytes, offset + 2, end, "outer block");
    size_t at = rec.outer.content();
    while (at < rec.outer.end()) {
        const std::string name = strf("inner block %zu", rec.inner.size() + 1);
        rec.inner.push_back(read_block(bytes, at, rec.outer.end(), name));
        at = rec.inner.back().end();
    }
    if (rec.inner.empty())
        throw DumpError{rec.outer.start, "outer block is empty: a record needs at least the object type block"};
    return rec;
}

}  // namespace orrinrc::dump
