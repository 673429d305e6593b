// Container framing of resource.bin, read one record at a time, and the
// bounds-checked reader.
#include "dump/container.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/files.h"

namespace orrinrc::dump {

namespace {

// Bytes read from the file at a time; a record larger than this is read into
// its own storage directly.
constexpr size_t kBufferSize = size_t{1} << 20;

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

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
    const uint8_t* p = b_.at(pos_);
    pos_ += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Reader::u32(const char* what) {
    need(4, what);
    const uint32_t v = le32(b_.at(pos_));
    pos_ += 4;
    return v;
}

std::string Reader::cstring(const char* what) {
    const uint8_t* begin = b_.at(pos_);
    const void* nul = std::memchr(begin, 0, end_ - pos_);
    if (nul == nullptr)
        throw DumpError{pos_, strf("%s has no terminating NUL before the end of its block at 0x%06zx", what, end_)};
    const size_t n = static_cast<size_t>(static_cast<const uint8_t*>(nul) - begin);
    std::string s(reinterpret_cast<const char*>(begin), n);
    pos_ += n + 1;
    return s;
}

void Reader::skip(size_t n, const char* what) {
    need(n, what);
    pos_ += n;
}

ImageReader::~ImageReader() {
    if (fd_ >= 0) files::close(fd_);
}

bool ImageReader::open(const std::string& path) {
    // A directory, pipe or device is refused with EINVAL.
    uint64_t size = 0;
    const int fd = files::open_regular(path.c_str(), size);
    if (fd < 0) return false;
    fd_ = fd;
    size_ = static_cast<size_t>(size);
    return true;
}

void ImageReader::open_memory(const uint8_t* data, size_t size) {
    memory_ = data;
    size_ = size;
}

void ImageReader::read(size_t at, uint8_t* out, size_t n) {
    if (memory_ != nullptr || fd_ < 0) {
        if (memory_ == nullptr || at > size_ || n > size_ - at) throw DumpError{at, "the file ends early"};
        std::memcpy(out, memory_ + at, n);
        return;
    }
    while (n > 0) {
        if (at >= buffer_start_ && at < buffer_start_ + buffer_fill_) {
            const size_t take = std::min(n, buffer_start_ + buffer_fill_ - at);
            std::memcpy(out, buffer_.data() + (at - buffer_start_), take);
            out += take;
            at += take;
            n -= take;
            continue;
        }
        // A large read goes straight into its destination; a small one
        // refills the buffer from `at` on.
        const bool direct = n >= kBufferSize;
        if (!direct && buffer_.size() < kBufferSize) buffer_.resize(kBufferSize);
        uint8_t* dest = direct ? out : buffer_.data();
        const size_t want = direct ? n : kBufferSize;
        const long got = files::read_at(fd_, dest, want, at);
        if (got < 0) {
            throw DumpError{at, strf("cannot read the file: %s", std::strerror(errno))};
        }
        if (got == 0) throw DumpError{at, "the file ends early (it was shortened while it was read)"};
        if (direct) {
            out += got;
            at += static_cast<size_t>(got);
            n -= static_cast<size_t>(got);
        } else {
            buffer_start_ = at;
            buffer_fill_ = static_cast<size_t>(got);
        }
    }
}

void ImageReader::start() {
    if (size_ < 4)
        throw DumpError{0, strf("the file is %zu byte%s long, too short for the 4-byte total-length field", size_,
                                size_ == 1 ? "" : "s")};
    uint8_t field[4];
    read(0, field, 4);
    const uint32_t total = le32(field);
    unfinished_ = total == 0;
    if (total != 0 && total != size_)
        throw DumpError{0, strf("total-length field says %u bytes but the file is %zu bytes long", total, size_)};
    at_ = 4;
}

namespace {

// A block header at `at` whose block must end at or before `limit`.
Block read_block(const Window& bytes, size_t at, size_t limit, const char* name, size_t number) {
    // Only a fault needs the block's label.
    const auto label_of = [&] { return number == 0 ? std::string(name) : strf("%s %zu", name, number); };
    if (limit - at < 4) {
        const std::string label = label_of();
        throw DumpError{at, strf("%s needs a 4-byte length field, only %zu byte%s left before 0x%06zx",
                                 label.c_str(), limit - at, limit - at == 1 ? "" : "s", limit)};
    }
    const uint32_t length = le32(bytes.at(at));
    if (length < 4)
        throw DumpError{at, strf("%s has length %u, less than its own 4-byte length field", label_of().c_str(), length)};
    if (length > limit - at)
        throw DumpError{at, strf("%s of length %u runs past its parent, which ends at 0x%06zx (%zu bytes left)",
                                 label_of().c_str(), length, limit, limit - at)};
    return Block{at, length};
}

}  // namespace

bool ImageReader::next(RawRecord& raw) {
    const size_t end = size_;
    if (at_ >= end) return false;
    const size_t offset = at_;
    raw.offset = offset;
    raw.inner.clear();
    if (end - offset < 2)
        throw DumpError{offset, strf("record truncated: %zu byte left, a record starts with a 2-byte identifier",
                                     end - offset)};
    // Identifier and the outer block's length field, as far as the file has them.
    uint8_t head[6];
    const size_t head_size = std::min<size_t>(6, end - offset);
    read(offset, head, head_size);
    raw.id = static_cast<uint16_t>(head[0] | head[1] << 8);
    {
        const Window w{head, offset, head_size};
        raw.outer = read_block(w, offset + 2, end, "outer block", 0);
    }
    raw.bytes.resize(2 + raw.outer.length);
    std::memcpy(raw.bytes.data(), head, 6);
    read(offset + 6, raw.bytes.data() + 6, raw.bytes.size() - 6);

    const Window w = raw.window();
    size_t at = raw.outer.content();
    while (at < raw.outer.end()) {
        raw.inner.push_back(read_block(w, at, raw.outer.end(), "inner block", raw.inner.size() + 1));
        at = raw.inner.back().end();
    }
    if (raw.inner.empty())
        throw DumpError{raw.outer.start, "outer block is empty: a record needs at least the object type block"};
    at_ = raw.outer.end();
    return true;
}

}  // namespace orrinrc::dump
