// The resource.bin stream: buffered writes, block framing and length patches.
#include "output/resource_bin.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/error.h"
#include "util/strf.h"

namespace orrinrc {

namespace {

// Complete records are handed to the file once this much has gathered; a
// single record larger than the hard limit is flushed while it is written.
// Fuzz builds flush after a few bytes, so that small inputs reach the
// flushes, the length patches in the file and write failures in the middle
// of the outputs.
#ifdef ORRINRC_SMALL_BUFFERS
constexpr size_t kFlushAt = 64;
constexpr size_t kHardLimit = 256;
#else
constexpr size_t kFlushAt = 256 * 1024;
constexpr size_t kHardLimit = 4 * 1024 * 1024;
#endif

// Writes the first n buffered bytes and moves the buffer's base past them.
// After a failure the base still counts exactly the bytes that reached the
// file; returns 0 or the errno.
int flush_bytes(BinWriter& w, size_t n) {
    size_t done = 0;
    const int err = w.out->append(w.buf.data(), n, done);
    w.buf.drop_front(done);
    w.base += done;
    if (err != 0) w.failed = true;
    return err;
}

[[noreturn]] void write_failed(BinWriter& w, int err) {
    w.failed = true;
    raise(output_write_error(3, w.path.c_str(), err));
}

void flush_or_fail(BinWriter& w, size_t n) {
    if (int err = flush_bytes(w, n)) write_failed(w, err);
}

void put_le32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// Overwrites four bytes at file offset `at`, in the buffer when they are
// still there and in the file otherwise.
void patch_u32(BinWriter& w, uint64_t at, uint32_t v) {
    if (at >= w.base) {
        put_le32(w.buf.data() + (at - w.base), v);
        return;
    }
    uint8_t bytes[4];
    put_le32(bytes, v);
    if (int err = w.out->write_at(at, bytes, 4)) write_failed(w, err);
}

void maybe_flush_inside_record(BinWriter& w) {
    if (w.buf.size() >= kHardLimit) flush_or_fail(w, w.buf.size());
}

}  // namespace

Error output_write_error(int code, const char* path, int err) {
    Error e;
    e.kind = ErrorKind::OutputWrite;
    e.exit_code = code;
    e.message = strf("error: can't write %s: %s\n", path, std::strerror(err));
    return e;
}

void bin_open(BinWriter& w, OutputTarget* out, const char* path) {
    w.out = out;
    w.path = path;
    w.base = 0;
    w.buf.clear();
    w.buf.reserve(kFlushAt + 64 * 1024);
    w.committed = 0;
    w.failed = false;
}

void bin_commit_record(BinWriter& w) {
    w.committed = w.pos();
    if (w.buf.size() >= kFlushAt) flush_or_fail(w, w.buf.size());
}

void bin_flush(BinWriter& w) {
    uint64_t total = w.pos();
    if (total > UINT32_MAX) {
        Error e;
        e.kind = ErrorKind::TooLarge;
        e.message = strf("error: resource.bin would be %llu bytes, more than its 32-bit length field can hold\n",
                         static_cast<unsigned long long>(total));
        raise(std::move(e));
    }
    flush_or_fail(w, w.buf.size());
}

void bin_finish(BinWriter& w) {
    // Everything else reaches the file first: if a write fails, the
    // total-length field still reads 0, the mark of an incomplete file.
    bin_flush(w);
    patch_u32(w, 0, static_cast<uint32_t>(w.pos()));
    w.committed = w.pos();
    OutputTarget* out = w.out;
    w.out = nullptr;
    if (int err = out->close()) write_failed(w, err);
}

int bin_flush_complete(BinWriter& w) {
    if (w.out == nullptr || w.failed || w.committed <= w.base) return 0;
    return flush_bytes(w, static_cast<size_t>(w.committed - w.base));
}

int bin_close_at(BinWriter& w, uint64_t end) {
    if (w.out == nullptr) return 0;
    int err = 0;
    if (w.base > end) err = w.out->truncate(end);
    w.buf.clear();
    if (int late = w.out->close(); late != 0 && err == 0) err = late;
    w.out = nullptr;
    if (w.failed) return 0;
    if (err != 0) w.failed = true;
    return err;
}

// The small writes stay out of line: every kind's writer is a run of calls
// to them, and inlined they would make each writer several times larger.
void write_u8(BinWriter& w, uint32_t v) {
    *w.buf.grow(1) = static_cast<uint8_t>(v);
}

void write_u16(BinWriter& w, uint32_t v) {
    uint8_t* p = w.buf.grow(2);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void write_u32(BinWriter& w, uint32_t v) {
    put_le32(w.buf.grow(4), v);
}

void write_bytes(BinWriter& w, const void* data, size_t n) {
    w.buf.append(data, n);
    maybe_flush_inside_record(w);
}

void write_cstring(BinWriter& w, const Text& text) {
    if (!text) return;
    // The stored text ends at its first NUL, as a C string would.
    size_t n = std::strlen(text->c_str());
    write_bytes(w, text->data(), n);
    write_u8(w, 0);
}

void write_bounds(BinWriter& w, const Bounds& b) {
    write_u16(w, static_cast<uint16_t>(b.x));
    write_u16(w, static_cast<uint16_t>(b.y));
    write_u16(w, static_cast<uint16_t>(b.width));
    write_u16(w, static_cast<uint16_t>(b.height));
}

void write_bitmap_block(BinWriter& w, const BitmapRecord& bm) {
    if (!bm.loaded) return;
    uint64_t start = w.pos();
    write_u16(w, static_cast<uint16_t>(bm.x));
    write_u16(w, static_cast<uint16_t>(bm.y));
    write_u16(w, static_cast<uint16_t>(bm.width));
    write_u16(w, static_cast<uint16_t>(bm.height));
    write_u8(w, bm.reserved);
    write_u8(w, bm.depth);
    write_u16(w, bm.size);
    // The data words start at a file offset that is a multiple of 4.
    for (uint64_t pad = (4 - start % 4) % 4; pad > 0; --pad) write_u8(w, 0);
    size_t count = std::min<size_t>(bm.size / 4, bm.words.size());
    uint8_t* at = w.buf.grow(4 * count);
    for (size_t i = 0; i < count; ++i) put_le32(at + 4 * i, bm.words[i]);
    maybe_flush_inside_record(w);
}

void check_block_length(uint64_t start, uint64_t length) {
    if (length <= UINT32_MAX) return;
    Error e;
    e.kind = ErrorKind::TooLarge;
    e.message = strf("error: a block starting at offset %llu would be %llu bytes long, more than its 32-bit length "
                     "field can hold\n",
                     static_cast<unsigned long long>(start), static_cast<unsigned long long>(length));
    raise(std::move(e));
}

uint64_t open_block(BinWriter& w) {
    uint64_t at = w.pos();
    write_u32(w, 0);
    return at;
}

void close_block(BinWriter& w, uint64_t start) {
    uint64_t length = w.pos() - start;
    check_block_length(start, length);
    patch_u32(w, start, static_cast<uint32_t>(length));
}

uint64_t next_block(BinWriter& w, uint64_t start) {
    close_block(w, start);
    return open_block(w);
}

RecordFrame begin_record(BinWriter& w, uint16_t id, uint8_t type) {
    write_u16(w, id);
    RecordFrame frame;
    frame.outer = open_block(w);
    frame.inner = open_block(w);
    write_u8(w, type);
    return frame;
}

}  // namespace orrinrc
