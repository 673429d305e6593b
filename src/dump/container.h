// Reading a resource.bin image: the whole file in memory, bounds-checked
// reads, and the container framing (total length, records, length-prefixed
// blocks). Every fault is a DumpError naming the file offset where it lies.
#pragma once

#include "driver/strf.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orrinrc::dump {

// One fault of the input: where it is and what is wrong.
struct DumpError {
    size_t offset;
    std::string what;
};

using Bytes = std::vector<uint8_t>;

// Reads a whole file; returns false (with errno set) when it cannot.
bool read_whole_file(const std::string& path, Bytes& out);

// A cursor over [pos, end) of the image. Every read checks that its bytes lie
// inside that range and throws a DumpError otherwise, so no read ever leaves
// the range it was given.
class Reader {
public:
    Reader(const Bytes& bytes, size_t begin, size_t end) : b_(bytes), pos_(begin), end_(end) {}

    size_t pos() const { return pos_; }
    size_t end() const { return end_; }
    size_t left() const { return end_ - pos_; }
    bool at_end() const { return pos_ == end_; }

    uint8_t u8(const char* what);
    uint16_t u16(const char* what);
    uint32_t u32(const char* what);
    // Bytes up to the next NUL (which is consumed). Throws when no NUL lies
    // before the end of the range.
    std::string cstring(const char* what);
    void skip(size_t n, const char* what);

private:
    void need(size_t n, const char* what) const;

    const Bytes& b_;
    size_t pos_;
    size_t end_;
};

// A length-prefixed block: its length field starts at `start`, its content
// runs from start + 4 to start + length.
struct Block {
    size_t start = 0;
    size_t length = 0;

    size_t content() const { return start + 4; }
    size_t end() const { return start + length; }
    size_t content_size() const { return length - 4; }
};

// One record as framed in the file: identifier, outer block, inner blocks.
struct RawRecord {
    size_t offset = 0;
    uint16_t id = 0;
    Block outer;
    std::vector<Block> inner;
};

// Checks the total-length field against the file size; returns the end of
// the records (the file size).
size_t check_total_length(const Bytes& bytes);

// Reads the record that starts at `offset` (before `end`): identifier, outer
// block inside the file, and its content split into inner blocks that fill it
// exactly, each inside it.
RawRecord read_raw_record(const Bytes& bytes, size_t offset, size_t end);

}  // namespace orrinrc::dump
