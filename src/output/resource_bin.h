// Shared types of resource.bin and the write operations that every resource
// writer uses to emit its record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "format/values.h"
#include "output/target.h"
#include "util/error.h"

namespace orrinrc {

// Bytes gathered for a file. Room is handed out at the end and filled by the
// caller, so that a field of a record costs a few stores, not a call into
// the container.
class ByteBuffer {
public:
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    uint8_t* data() { return data_.get(); }
    void clear() { size_ = 0; }
    void reserve(size_t n) {
        if (n > capacity_) reallocate(n);
    }
    // `n` more bytes at the end, for the caller to fill.
    uint8_t* grow(size_t n) {
        if (capacity_ - size_ < n) reallocate(size_ + n > 2 * capacity_ ? size_ + n : 2 * capacity_);
        uint8_t* at = data_.get() + size_;
        size_ += n;
        return at;
    }
    void append(const void* bytes, size_t n) {
        if (n > 0) std::memcpy(grow(n), bytes, n);
    }
    // Drops the first `n` bytes.
    void drop_front(size_t n) {
        if (n < size_) std::memmove(data_.get(), data_.get() + n, size_ - n);
        size_ = n < size_ ? size_ - n : 0;
    }

private:
    void reallocate(size_t capacity) {
        std::unique_ptr<uint8_t[]> bigger(new uint8_t[capacity]);
        if (size_ > 0) std::memcpy(bigger.get(), data_.get(), size_);
        data_ = std::move(bigger);
        capacity_ = capacity;
    }

    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// The resource.bin stream. Bytes are collected in a buffer whose first byte
// sits at file offset `base`, so every position handed out stays an absolute
// file offset. A block length is patched in the buffer while its placeholder
// is still there; only a record larger than the flush threshold ever patches
// the file itself. Every byte before `base` has reached the file, also after
// a write that failed half-way.
struct BinWriter {
    OutputTarget* out = nullptr;  // none: closed
    std::string path;
    uint64_t base = 0;
    ByteBuffer buf;
    uint64_t committed = 0;  // file offset just past the last complete record
    bool failed = false;     // a write failed: nothing more is written to the file

    uint64_t pos() const { return base + buf.size(); }
};

// The error of an output that cannot be written: "error: can't write PATH:
// REASON", exit code `code` (3 for resource.bin, 4 for resource.h).
Error output_write_error(int code, const char* path, int err);

// Starts writing to `out`; `path` names the output in messages.
void bin_open(BinWriter& w, OutputTarget* out, const char* path);
// Marks everything written so far as complete records; may flush.
void bin_commit_record(BinWriter& w);
// Puts everything written so far on disk. A total length that its 32-bit
// field cannot hold raises an error (exit code 1).
void bin_flush(BinWriter& w);
// bin_flush, then writes the total length over the placeholder at offset 0
// and closes. Write failures of these and all the writes above raise an
// error (exit code 3).
void bin_finish(BinWriter& w);

// For saving the outputs after an error, which must not raise again: these
// return 0 or the errno of a write that failed (and set `failed`); a writer
// that has failed before is not written to and reports nothing more.
//
// Puts the complete records that are still buffered on disk.
int bin_flush_complete(BinWriter& w);
// Cuts the file back to `end` when it holds more (a partial record, or
// records whose lines resource.h cannot have), drops the buffer and closes.
int bin_close_at(BinWriter& w, uint64_t end);

void write_u8(BinWriter& w, uint32_t v);
void write_u16(BinWriter& w, uint32_t v);
void write_u32(BinWriter& w, uint32_t v);
void write_bytes(BinWriter& w, const void* data, size_t n);
void write_cstring(BinWriter& w, const Text& text);
void write_bounds(BinWriter& w, const Bounds& b);
void write_bitmap_block(BinWriter& w, const BitmapRecord& bm);

uint64_t open_block(BinWriter& w);
// Raises an error when a block would be too long for its 32-bit length
// field, rather than writing a wrapped length.
void check_block_length(uint64_t start, uint64_t length);
void close_block(BinWriter& w, uint64_t start);
uint64_t next_block(BinWriter& w, uint64_t start);

// One resource record being written: its identifier, then the outer block,
// whose first inner block holds the object type code. begin_record writes
// them with both blocks open; the writer closes the type block, writes the
// other inner blocks and closes the outer block.
struct RecordFrame {
    uint64_t outer;
    uint64_t inner;
};
RecordFrame begin_record(BinWriter& w, uint16_t id, uint8_t type);

}  // namespace orrinrc
