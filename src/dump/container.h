// Reading a resource.bin image one record at a time: the total-length field,
// bounds-checked reads inside a record, and the container framing (records,
// length-prefixed blocks). Only the record being read is held in memory, so
// the memory a run needs does not grow with the file. Every fault is a
// DumpError naming the file offset where it lies.
#pragma once

#include "util/strf.h"

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

// Bytes of the image held in memory, addressed by their offsets in the file.
struct Window {
    const uint8_t* data = nullptr;
    size_t base = 0;  // file offset of data[0]
    size_t size = 0;

    uint8_t operator[](size_t offset) const { return data[offset - base]; }
    const uint8_t* at(size_t offset) const { return data + (offset - base); }
    size_t end() const { return base + size; }
};

// A cursor over [pos, end) of a window. Every read checks that its bytes lie
// inside that range and throws a DumpError otherwise, so no read ever leaves
// the range it was given.
class Reader {
public:
    Reader(const Window& bytes, size_t begin, size_t end) : b_(bytes), pos_(begin), end_(end) {}

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

    const Window& b_;
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

// One record as framed in the file: identifier, outer block, inner blocks,
// and its bytes (from the identifier to the end of the outer block).
struct RawRecord {
    size_t offset = 0;
    uint16_t id = 0;
    Block outer;
    std::vector<Block> inner;
    Bytes bytes;

    Window window() const { return Window{bytes.data(), offset, bytes.size()}; }
};

// The image being read: a file, read sequentially through a fixed buffer, or
// bytes in memory.
class ImageReader {
public:
    ImageReader() = default;
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;
    ~ImageReader();

    // Opens a regular file; false (with errno set) when it cannot.
    bool open(const std::string& path);
    // Reads bytes in memory, which must outlive the reader.
    void open_memory(const uint8_t* data, size_t size);

    // Reads the total-length field. Throws when the file is too short for it
    // or when it is neither the file size nor 0. A field of 0 marks a file
    // the compiler did not finish (it stopped at an error); its records are
    // then read up to the end of the file.
    void start();
    bool unfinished() const { return unfinished_; }
    size_t size() const { return size_; }

    // Reads the next record into `raw`, reusing its storage: identifier,
    // outer block inside the file, and its content split into inner blocks
    // that fill it exactly. Returns false after the last record.
    bool next(RawRecord& raw);
    // Back to the first record, for another pass over the file.
    void rewind() { at_ = 4; }

private:
    // Copies n bytes at offset `at` (inside the file size); throws when the
    // file ends early or cannot be read.
    void read(size_t at, uint8_t* out, size_t n);

    int fd_ = -1;
    const uint8_t* memory_ = nullptr;
    size_t size_ = 0;
    size_t at_ = 4;  // the next record
    bool unfinished_ = false;
    Bytes buffer_;        // file bytes from buffer_start_ on
    size_t buffer_start_ = 0;
    size_t buffer_fill_ = 0;
};

}  // namespace orrinrc::dump
