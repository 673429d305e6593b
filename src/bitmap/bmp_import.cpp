// BMP import: reads the header, the colour table or colour masks and the
// pixel rows of a BMP file and packs grey levels into 32-bit words.
//
// Run-length compressed files are first decoded into the rows an
// uncompressed file would hold, and those rows are converted like any
// stored rows; only the rows and columns that the output takes are kept.
//
// A small file is read whole with one read; a larger one with positioned
// reads of whole spans (the header, the colour table, the part of each
// stored row that the output uses), so that stored row bytes that the
// conversion drops are never read. Work and memory are bounded by the
// output, which is at most 65532 bytes.
//
// Resource texts name the same few pictures again and again (every check
// box names its two), so the last pictures converted are kept: within one
// run a file name stands for one picture, read once.
#include "bitmap/bmp_import.h"

#include "util/files.h"
#include "util/strf.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "format/grey_levels.h"
#include "format/pixels.h"
#include "util/strf.h"

namespace orrinrc {

namespace {

constexpr int64_t kMaxDataSize = 65532;  // the record's size field is 16 bits
constexpr uint64_t kFarAway = std::numeric_limits<uint64_t>::max();


// An open BMP file. Reads are positioned, and every byte beyond the end of
// the file reads as 0xFF.
class BmpFile {
public:
    // Files up to this size are read whole at the first read.
    static constexpr uint64_t kWhole = 64 * 1024;

    ~BmpFile() {
        if (fd_ >= 0) files::close(fd_);
    }

    // Opens a regular file for reading. Directories, pipes and devices are
    // refused (opening does not wait on a pipe).
    bool open(const char* path) {
        fd_ = files::open_regular(path, size_);
        return fd_ >= 0;
    }

    // Reads from bytes in memory, which must outlive the file.
    void open_memory(std::string_view bytes) {
        memory_ = bytes.data();
        size_ = bytes.size();
    }

    uint64_t size() const { return size_; }

    // Fills dst[0, n) from file offset `offset`; false on a read error.
    bool read_at(uint64_t offset, uint8_t* dst, size_t n) {
        if (n == 0) return true;
        if (memory_ != nullptr) {
            const size_t from = static_cast<size_t>(std::min<uint64_t>(offset, size_));
            const size_t got = std::min<size_t>(n, static_cast<size_t>(size_) - from);
            std::memcpy(dst, memory_ + from, got);
            std::memset(dst + got, 0xFF, n - got);
            return true;
        }
        if (size_ <= kWhole) {
            if (!whole_ && !read_whole()) return false;
            const size_t from = static_cast<size_t>(std::min<uint64_t>(offset, whole_size_));
            const size_t got = std::min(n, whole_size_ - from);
            std::memcpy(dst, whole_.get() + from, got);
            std::memset(dst + got, 0xFF, n - got);
            return true;
        }
        return pread_all(offset, dst, n);
    }

private:
    // Reads dst[0, n) at `offset` as far as the file reaches, the rest 0xFF.
    bool pread_all(uint64_t offset, uint8_t* dst, size_t n, size_t* got_out = nullptr) {
        size_t got = 0;
        if (offset < size_) {
            const size_t avail = static_cast<size_t>(std::min<uint64_t>(n, size_ - offset));
            while (got < avail) {
                const long r = files::read_at(fd_, dst + got, avail - got, offset + got);
                if (r < 0) return false;
                if (r == 0) break;  // the file shrank under us: the rest is past its end
                got += static_cast<size_t>(r);
            }
        }
        std::memset(dst + got, 0xFF, n - got);
        if (got_out) *got_out = got;
        return true;
    }

    bool read_whole() {
        whole_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size_) + 1]);
        if (!whole_) return false;
        return pread_all(0, whole_.get(), static_cast<size_t>(size_), &whole_size_);
    }

    int fd_ = -1;
    const char* memory_ = nullptr;
    uint64_t size_ = 0;
    std::unique_ptr<uint8_t[]> whole_;
    size_t whole_size_ = 0;  // bytes of whole_ that came from the file
};

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The fields of a BMP file's headers that conversion and the checker's facts
// use, from its first 54 bytes. OS/2 bitmaps have a 12-byte header of
// unsigned 16-bit fields and no compression; their rows are always stored
// bottom-up.
struct BmpHeader {
    uint32_t pixel_offset;
    uint32_t header_size;
    bool os2;
    int32_t width;
    int32_t height;  // negative: rows stored top-down
    int bpp;
    uint32_t compression;
    uint32_t image_size;
};

BmpHeader read_header(const uint8_t* h) {
    BmpHeader b;
    b.pixel_offset = le32(h + 10);
    b.header_size = le32(h + 14);
    b.os2 = b.header_size == 12;
    b.width = b.os2 ? le16(h + 18) : static_cast<int32_t>(le32(h + 18));
    b.height = b.os2 ? le16(h + 20) : static_cast<int32_t>(le32(h + 22));
    b.bpp = b.os2 ? le16(h + 24) : static_cast<int16_t>(le16(h + 28));
    b.compression = b.os2 ? 0 : le32(h + 30);
    b.image_size = b.os2 ? 0 : le32(h + 34);
    return b;
}

bool header_size_supported(uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool bit_count_supported(int bpp, bool os2) {
    if (os2) return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24;
    return bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// Why a file is refused, in the plainest terms that hold: an empty file, a
// file that is no BMP file at all, or one that ends inside its own header
// come before the particular field found wrong. Only refused files are
// judged so: a file that converts is never turned away for its signature.
std::string refusal(const BmpFile& file, const uint8_t* h, uint32_t header_size,
                    const std::string& reason) {
    if (file.size() == 0) return "empty file";
    if (h[0] != 'B' || h[1] != 'M') {
        std::string start;
        for (uint64_t i = 0; i < std::min<uint64_t>(file.size(), 4); ++i)
            start += strf(i == 0 ? "%02X" : " %02X", h[i]);
        return "not a BMP file (starts with " + start + ")";
    }
    const bool header_cut = file.size() < 18 || (header_size_supported(header_size) &&
                                                 file.size() < 14 + uint64_t{header_size});
    if (header_cut) return "file ends inside its header";
    return reason;
}

// base + index * stride, or kFarAway (beyond any file) when that overflows.
uint64_t row_offset(uint64_t base, uint64_t index, uint64_t stride) {
    if (index != 0 && stride > (kFarAway - base) / index) return kFarAway;
    return base + index * stride;
}

// One colour channel of a direct-colour pixel, selected by its mask and
// scaled to 0..255 with rounding (a 5-bit 31 and a 6-bit 63 both give 255).
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (m == 0) return;
        while (((m >> shift) & 1u) == 0) ++shift;
        max = m >> shift;
    }

    int value(uint32_t pixel) const {
        if (max == 0) return 0;
        const uint64_t c = (pixel & mask) >> shift;
        return static_cast<int>((c * 255 + max / 2) / max);
    }
};

// Whether any pixel of the picture has a non-zero value under the alpha
// mask. Pixels past the end of the file read as 0xFF bytes, so they count
// as opaque: the scan never reads beyond the file. Sets `failed` on a read
// error.
bool any_alpha(BmpFile& file, uint64_t offset, uint64_t stride, int64_t width, int64_t rows,
               int bytes_per_pixel, uint32_t mask, bool& failed) {
    if (width == 0) return false;
    uint8_t buf[4096];  // a whole number of 2- and 4-byte pixels
    for (int64_t r = 0; r < rows; ++r) {
        uint64_t at = row_offset(offset, uint64_t(r), stride);
        uint64_t left = uint64_t(width) * uint64_t(bytes_per_pixel);
        while (left > 0) {
            if (at >= file.size()) return true;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(left, sizeof buf));
            if (!file.read_at(at, buf, n)) {
                failed = true;
                return false;
            }
            for (size_t p = 0; p < n; p += bytes_per_pixel) {
                uint32_t v = 0;
                for (int i = bytes_per_pixel - 1; i >= 0; --i) v = v << 8 | buf[p + i];
                if (v & mask) return true;
            }
            at += n;
            left -= n;
        }
    }
    return false;
}

// The colour of a direct-colour pixel as the sum of its red, green and blue
// components. With an alpha channel that the picture uses, a pixel is first
// laid over white, the background a screen without transparency shows.
struct DirectColour {
    Channel red{0x7C00}, green{0x03E0}, blue{0x001F};  // 16 bits: 5-5-5
    Channel alpha{0};
    bool composite = false;

    int rgb_sum(uint32_t pixel) const {
        const int r = red.value(pixel), g = green.value(pixel), b = blue.value(pixel);
        if (!composite) return r + g + b;
        const int a = alpha.value(pixel);
        auto over_white = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
        return over_white(r) + over_white(g) + over_white(b);
    }
};

// Reads the bytes [begin, end) of a file in order, a block at a time.
class ByteStream {
public:
    ByteStream(BmpFile& file, uint64_t begin, uint64_t end) : file_(file), pos_(begin), end_(end) {}

    // The next byte, or -1 at the end of the stream or after a read error.
    int next() {
        if (at_ == have_) {
            if (pos_ >= end_ || failed_) return -1;
            const size_t n = static_cast<size_t>(std::min<uint64_t>(sizeof buf_, end_ - pos_));
            if (!file_.read_at(pos_, buf_, n)) {
                failed_ = true;
                return -1;
            }
            pos_ += n;
            have_ = n;
            at_ = 0;
        }
        return buf_[at_++];
    }

    // File offset of the next byte.
    uint64_t offset() const { return pos_ - (have_ - at_); }
    bool failed() const { return failed_; }

private:
    BmpFile& file_;
    uint64_t pos_, end_;
    uint8_t buf_[4096];
    size_t have_ = 0, at_ = 0;
    bool failed_ = false;
};

// The stored rows that the conversion reads, counted from the first stored
// row: straight from the file, or decoded from a run-length compressed
// pixel stream. Rows of a compressed picture are kept from the first one
// (the bottom of the picture) up to the last one the output takes, each
// only as far as the output takes it.
class StoredRows {
public:
    StoredRows(BmpFile& file, uint64_t offset, uint64_t stride)
        : file_(file), offset_(offset), stride_(stride) {}

    // Decodes the pixel stream [begin, end) of a picture of `height` stored
    // rows of `width` pixels of 8 bits (RLE8) or 4 bits (RLE4). The width is
    // that of a stored row, its padding included: writers encode the
    // padding as pixels too. Keeps `rows` rows of `row_bytes` bytes; pixels
    // that no run sets are palette index 0. Returns "" or the reason the
    // stream is refused.
    std::string decode(uint64_t begin, uint64_t end, bool four_bits, int64_t width, int64_t height,
                       size_t rows, size_t row_bytes);

    // Fills dst[0, n) with the first n bytes of stored row `index`; false on a
    // read error. Rows past the end of a compressed picture read as 0xFF
    // bytes, as they would in an uncompressed file that ends after its rows.
    bool read(uint64_t index, uint8_t* dst, size_t n) {
        if (n == 0) return true;
        if (!compressed_) return file_.read_at(row_offset(offset_, index, stride_), dst, n);
        if (index < rows_) {
            const uint8_t* src = &decoded_[static_cast<size_t>(index) * row_bytes_];
            std::memcpy(dst, src, std::min(n, row_bytes_));
            if (n > row_bytes_) std::memset(dst + row_bytes_, 0, n - row_bytes_);
        } else {
            std::memset(dst, 0xFF, n);
        }
        return true;
    }

    // Whether decode stopped on a read error.
    bool read_failed() const { return read_failed_; }

private:
    BmpFile& file_;
    uint64_t offset_, stride_;
    bool compressed_ = false;
    bool read_failed_ = false;
    size_t rows_ = 0, row_bytes_ = 0;
    std::vector<uint8_t> decoded_;
};

std::string StoredRows::decode(uint64_t begin, uint64_t end, bool four_bits, int64_t width,
                               int64_t height, size_t rows, size_t row_bytes) {
    compressed_ = true;
    rows_ = rows;
    row_bytes_ = row_bytes;
    decoded_.assign(rows * row_bytes, 0);
    const int64_t kept = int64_t(row_bytes) * (four_bits ? 2 : 1);  // pixels kept of a row

    ByteStream in(file_, begin, end);
    int64_t x = 0, y = 0;
    // Row y of the kept rows; none when the rows keep no byte.
    auto kept_row = [&](int64_t r) {
        return r < int64_t(rows) && row_bytes > 0 ? &decoded_[size_t(r) * row_bytes] : nullptr;
    };
    uint8_t* row = kept_row(0);
    auto put = [&](int64_t at, int index) {
        if (at >= kept) return;
        if (!four_bits) {
            row[at] = static_cast<uint8_t>(index);
        } else {
            uint8_t& b = row[at / 2];
            b = static_cast<uint8_t>(at % 2 ? (b & 0xF0) | index : (b & 0x0F) | index << 4);
        }
    };
    auto run_too_long = [](uint64_t at) {
        return strf("run at byte %llu passes the end of its row",
                    static_cast<unsigned long long>(at));
    };
    auto ends_early = [&] {
        read_failed_ = in.failed();
        return strf("compressed data ends early, at byte %llu",
                    static_cast<unsigned long long>(in.offset()));
    };

    // Stops once every kept row is complete; what follows is never read,
    // as the rows that the output drops are never read in an uncompressed
    // file.
    while (y < int64_t(rows)) {
        const uint64_t at = in.offset();
        const int count = in.next();
        const int code = in.next();
        if (code < 0) return ends_early();
        if (count > 0) {  // a run of `count` pixels of one byte
            if (x + count > width) return run_too_long(at);
            for (int i = 0; i < count && x + i < kept; ++i)
                put(x + i, four_bits ? (i % 2 ? code & 0x0F : code >> 4) : code);
            x += count;
        } else if (code == 0) {  // end of line
            x = 0;
            ++y;
            row = kept_row(y);
        } else if (code == 1) {  // end of picture: the rest stays index 0
            break;
        } else if (code == 2) {  // delta: right and up
            const int dx = in.next();
            const int dy = in.next();
            if (dy < 0) return ends_early();
            if (x + dx > width || y + dy > height)
                return strf("delta at byte %llu moves past the end of the picture",
                            static_cast<unsigned long long>(at));
            x += dx;
            y += dy;
            row = kept_row(y);
        } else {  // `code` pixels given one by one, padded to an even byte count
            if (x + code > width) return run_too_long(at);
            const int bytes = four_bits ? (code + 1) / 2 : code;
            for (int i = 0; i < bytes + bytes % 2; ++i) {
                const int b = in.next();
                if (b < 0) return ends_early();
                if (i >= bytes) continue;
                if (!four_bits) {
                    put(x + i, b);
                } else {
                    put(x + 2 * i, b >> 4);
                    if (2 * i + 1 < code) put(x + 2 * i + 1, b & 0x0F);
                }
            }
            x += code;
        }
    }
    return "";
}

// Converts an open file; `path` names it in messages.
std::string convert(BmpFile& file, BitmapRecord& bm, const char* path) {
    // File header (14 bytes) and the leading 40 bytes of the information
    // header; the longer headers only add fields that are not used.
    uint8_t h[54];
    if (!file.read_at(0, h, sizeof h)) return strf("error: %s: read error\n", path);
    const BmpHeader header = read_header(h);
    const uint32_t pixel_offset = header.pixel_offset;
    const uint32_t header_size = header.header_size;
    const bool os2 = header.os2;
    const int32_t image_width = header.width;
    const int32_t image_height = header.height;
    const int bpp = header.bpp;
    const uint32_t compression = header.compression;
    const uint32_t image_size = header.image_size;

    auto refuse = [&](const std::string& reason) {
        return strf("error: %s: %s\n", path, refusal(file, h, header_size, reason).c_str());
    };
    if (!header_size_supported(header_size))
        return refuse(strf("header size %u not supported", header_size));
    if (!bit_count_supported(bpp, os2)) return refuse(strf("%d bits per pixel not supported", bpp));
    const bool masked = compression == 3 && (bpp == 16 || bpp == 32);
    // Run-length compression: 8-bit pixels with compression 1, 4-bit with 2.
    const bool rle = (compression == 1 && bpp == 8) || (compression == 2 && bpp == 4);
    if ((compression == 1 || compression == 2) && !rle)
        return refuse(
            strf("compression %u not supported with %d bits per pixel", compression, bpp));
    if (compression != 0 && !masked && !rle)
        return refuse(strf("compression %u not supported", compression));
    if (image_width < 0) return refuse(strf("image width %d is negative", image_width));
    // The compressed stream runs from the pixel data offset for the image
    // size field's bytes, or to the end of the file when that field is 0.
    uint64_t rle_end = 0;
    if (rle) {
        if (image_height < 0)
            return refuse(strf("compression %u not supported with top-down rows", compression));
        if (pixel_offset > file.size())
            return refuse(strf("pixel data offset %u is past the end of the file", pixel_offset));
        if (image_size > file.size() - pixel_offset)
            return refuse(
                strf("compressed data of %u bytes runs past the end of the file", image_size));
        rle_end = image_size != 0 ? uint64_t{pixel_offset} + image_size : file.size();
    }

    // Level of every palette index; or the channels of direct colour.
    const bool palette = bpp <= 8;
    int levels[256] = {};
    DirectColour colour;
    if (palette) {
        const size_t n = size_t{1} << bpp;
        std::unique_ptr<uint8_t[]> r(new (std::nothrow) uint8_t[n]);
        std::unique_ptr<uint8_t[]> g(new (std::nothrow) uint8_t[n]);
        std::unique_ptr<uint8_t[]> b(new (std::nothrow) uint8_t[n]);
        if (!r) return strf("error: no mem for R file %s\n", path);
        if (!g) return strf("error: no mem for G file %s\n", path);
        if (!b) return strf("error: no mem for B file %s\n", path);
        // Entries of four bytes; of three in an OS/2 bitmap.
        const size_t entry = os2 ? 3 : 4;
        uint8_t table[256 * 4];
        if (!file.read_at(14 + uint64_t{header_size}, table, entry * n))
            return strf("error: %s: read error\n", path);
        for (size_t i = 0; i < n; ++i) {
            r[i] = table[entry * i];
            g[i] = table[entry * i + 1];
            b[i] = table[entry * i + 2];
            levels[i] = grey_level(r[i] + g[i] + b[i]);
        }
    } else if (masked) {
        // The masks follow a 40-byte header and are part of the longer ones;
        // either way they start at offset 54. Headers of 56 bytes and more
        // also hold an alpha mask.
        uint8_t m[16];
        if (!file.read_at(54, m, sizeof m)) return strf("error: %s: read error\n", path);
        colour.red = Channel(le32(m));
        colour.green = Channel(le32(m + 4));
        colour.blue = Channel(le32(m + 8));
        if (header_size >= 56) colour.alpha = Channel(le32(m + 12));
    } else if (bpp != 16) {
        colour.red = Channel(0xFF0000);
        colour.green = Channel(0x00FF00);
        colour.blue = Channel(0x0000FF);
    }

    const int depth = bm.depth;
    if (depth != 2 && depth != 4) return strf("error: %s: depth %d not supported\n", path, depth);
    const int height = bm.height;
    const int words_per_row = static_cast<int>(format::words_per_row(bm.width, static_cast<unsigned>(depth)));
    const int64_t size = int64_t{height} * words_per_row * 4;
    if (size < 0)
        return strf("error: %s: width %d and height %d give a negative size\n", path, bm.width,
                      height);
    if (size > kMaxDataSize)
        return strf("error: %s: size of %lld bytes is over %lld\n", path,
                      static_cast<long long>(size), static_cast<long long>(kMaxDataSize));

    std::vector<uint32_t> words;
    try {
        words.assign(static_cast<size_t>(size / 4), 0);
    } catch (const std::bad_alloc&) {
        return strf("error: no mem for file %s\n", path);
    }

    // A negative height (and with it a negative W) converts no rows: the
    // data stays zero.
    if (height > 0 && words_per_row > 0) {
        // Stored row: S bytes, the row padding included. All of its whole
        // pixels are converted, padding pixels too; zeros follow once they
        // run out. Only the pixels that the W words take are read.
        const uint64_t stride = (uint64_t(bpp) * uint64_t(image_width) + 31) / 32 * 4;
        const uint64_t pixels_per_word = format::pixels_per_word(static_cast<unsigned>(depth));  // 16 or 8
        const int word_shift = depth == 2 ? 4 : 3;      // p / pixels_per_word = p >> word_shift
        const uint64_t out_pixels = uint64_t(words_per_row) * pixels_per_word;
        const uint64_t stored_pixels = stride * 8 / bpp;
        const uint64_t used = std::min(stored_pixels, out_pixels);
        std::vector<uint8_t> row((used * bpp + 7) / 8);

        // Top-down files hold the picture's top row first; map row r of the
        // bottom-up order onto them so both layouts give the same output.
        const bool top_down = image_height < 0;
        const int64_t stored_rows = top_down ? -int64_t{image_height} : image_height;
        const int bytes_per_pixel = bpp / 8;
        const uint32_t index_mask = (1u << (palette ? bpp : 1)) - 1;

        StoredRows rows(file, pixel_offset, stride);
        if (rle) {
            const size_t kept = static_cast<size_t>(std::min<int64_t>(height, stored_rows));
            const std::string reason = rows.decode(pixel_offset, rle_end, bpp == 4,
                                                   int64_t(stored_pixels), stored_rows, kept,
                                                   row.size());
            if (rows.read_failed()) return strf("error: %s: read error\n", path);
            if (!reason.empty()) return refuse(reason);
        }
        if (colour.alpha.mask != 0) {
            bool failed = false;
            colour.composite = any_alpha(file, pixel_offset, stride, image_width, stored_rows,
                                         bytes_per_pixel, colour.alpha.mask, failed);
            if (failed) return strf("error: %s: read error\n", path);
        }

        for (int r = 0; r < height; ++r) {
            const uint64_t index =
                top_down && r < stored_rows ? uint64_t(stored_rows - 1 - r) : uint64_t(r);
            if (!rows.read(index, row.data(), row.size()))
                return strf("error: %s: read error\n", path);

            uint32_t* out = &words[size_t(height - 1 - r) * size_t(words_per_row)];
            for (uint64_t p = 0; p < used; ++p) {
                int level;
                if (palette) {
                    const uint64_t bit = p * bpp;
                    const int shift = 8 - int(bit % 8) - bpp;
                    level = levels[(row[bit / 8] >> shift) & index_mask];
                } else {
                    const uint8_t* px = &row[p * bytes_per_pixel];
                    uint32_t v = 0;
                    for (int i = bytes_per_pixel - 1; i >= 0; --i) v = v << 8 | px[i];
                    level = grey_level(colour.rgb_sum(v));
                }
                out[p >> word_shift] |= format::pixel_bits(depth_value(level, depth), p, static_cast<unsigned>(depth));
            }
        }
    }

    bm.size = static_cast<uint16_t>(size);
    bm.words.swap(words);
    bm.loaded = true;
    return "";
}

}  // namespace

std::string bmp_convert(BitmapRecord& bm, const char* path) { return bmp_convert_named(bm, path, path); }

std::string bmp_convert_named(BitmapRecord& bm, const char* path, const char* name) {
    BmpFile file;
    if (!file.open(path)) return strf("error: can't open file %s\n", name);
    return convert(file, bm, name);
}

std::string bmp_convert(BitmapRecord& bm, const char* path, std::string_view bytes) {
    BmpFile file;
    file.open_memory(bytes);
    return convert(file, bm, path);
}

bool PictureCache::find(BitmapRecord& bm, const std::string& path) const {
    for (const CachedPicture& c : pictures_) {
        if (c.width == bm.width && c.height == bm.height && c.depth == bm.depth && c.path == path) {
            bm.size = c.size;
            bm.words.assign(c.words.begin(), c.words.end());
            bm.loaded = true;
            return true;
        }
    }
    return false;
}

void PictureCache::keep(const BitmapRecord& bm, const std::string& path) {
    if (pictures_.size() < kCachedPictures) pictures_.emplace_back();
    CachedPicture& c = pictures_[next_replaced_];
    next_replaced_ = (next_replaced_ + 1) % kCachedPictures;
    c.path = path;
    c.width = bm.width;
    c.height = bm.height;
    c.depth = bm.depth;
    c.size = bm.size;
    c.words.assign(bm.words.begin(), bm.words.end());
}

std::string PictureCache::convert(BitmapRecord& bm, const std::string& path, const std::string& name) {
    if (find(bm, path)) return "";
    std::string message = bmp_convert_named(bm, path.c_str(), name.empty() ? path.c_str() : name.c_str());
    if (message.empty()) keep(bm, path);
    return message;
}

bool bmp_facts(const char* path, BmpFacts& facts) {
    BmpFile file;
    uint8_t h[54];
    // The fields up to the compression must be in the file itself.
    if (!file.open(path) || file.size() < 34 || !file.read_at(0, h, sizeof h) || h[0] != 'B' || h[1] != 'M')
        return false;
    const BmpHeader header = read_header(h);
    const int64_t width = header.width;
    const int64_t height = header.height;
    const int64_t rows = height < 0 ? -height : height;
    facts.width = header.width;
    facts.height = static_cast<int32_t>(std::min<int64_t>(rows, INT32_MAX));
    const bool uncompressed = header.compression == 0 || header.compression == 3;
    const int64_t bpp = header.bpp < 0 ? 0 : header.bpp;
    const int64_t stride = (bpp * (width < 0 ? 0 : width) + 31) / 32 * 4;
    facts.cut_short = uncompressed && int64_t{header.pixel_offset} + rows * stride > static_cast<int64_t>(file.size());
    return true;
}

void blank_picture(BitmapRecord& bm) {
    bm.clear_image();
    if (bm.depth != 2 && bm.depth != 4) return;
    const int64_t size = int64_t{bm.height} * format::words_per_row(bm.width, bm.depth) * 4;
    if (size < 0 || size > kMaxDataSize) return;
    bm.words.assign(static_cast<size_t>(size / 4), 0);
    bm.size = static_cast<uint16_t>(size);
    bm.loaded = true;
}

}  // namespace orrinrc
