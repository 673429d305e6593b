// Import of a BMP file into the packed grey-level data of a BitmapRecord.
//
// Accepted files: information headers of 40, 52, 56, 108 or 124 bytes, and
// the 12-byte OS/2 1.x header (16-bit width and height, colour table entries
// of three bytes, 1, 4, 8 or 24 bits per pixel); palette images of 1, 2, 4
// or 8 bits per pixel (colour table of 2^bpp entries right after the
// information header), uncompressed or run-length compressed (RLE8: 8 bits,
// compression 1; RLE4: 4 bits, compression 2); uncompressed 16-bit (5-5-5),
// 24-bit and 32-bit images, and 16- or 32-bit images with colour masks;
// rows bottom-up (positive image height) or top-down (negative; not with
// RLE). Bytes beyond the end of an uncompressed file read as 0xFF. A
// compressed image is decoded into the rows an uncompressed file would hold:
// pixels no run sets are palette index 0, and rows past the image read as
// 0xFF bytes. With an alpha mask (colour masks in a header of 56 bytes or
// more), pixels are laid over white, unless the alpha is 0 in every pixel of
// the image: then it is opaque. The record's width, height and depth decide
// the output: height rows of W = (width * depth + 31) / 32 words, top row
// first, leftmost pixel in the most significant bits.
//
// Every failure is one message line, the file name exactly as given (the run
// prints it on standard output and ends with exit code 1):
//   "error: can't open file %s\n"        missing, unreadable, or not a regular
//                                        file (a directory, a pipe, a device)
//   "error: no mem for R file %s\n"      colour tables cannot be allocated,
//   "error: no mem for G file %s\n"      tested in this order
//   "error: no mem for B file %s\n"
//   "error: no mem for file %s\n"        the packed data cannot be allocated
//   "error: %s: read error\n"            the system failed to read the file
// A file that is refused for what it holds gets the first of these that
// applies:
//   "error: %s: empty file\n"
//   "error: %s: not a BMP file (starts with 89 50 4E 47)\n"
//                                        no "BM" signature; up to four bytes
//   "error: %s: file ends inside its header\n"
//   then the particular reason:
//   "error: %s: header size %u not supported\n"
//   "error: %s: %d bits per pixel not supported\n"
//   "error: %s: compression %u not supported\n"
//   "error: %s: compression %u not supported with %d bits per pixel\n"
//   "error: %s: compression %u not supported with top-down rows\n"
//   "error: %s: image width %d is negative\n"
//   "error: %s: pixel data offset %u is past the end of the file\n"
//   "error: %s: compressed data of %u bytes runs past the end of the file\n"
//   "error: %s: run at byte %llu passes the end of its row\n"
//   "error: %s: delta at byte %llu moves past the end of the picture\n"
//   "error: %s: compressed data ends early, at byte %llu\n"
// A file that converts is never refused for its signature. Errors of the
// declared size:
//   "error: %s: depth %d not supported\n" output depth other than 2 or 4
//   "error: %s: width %d and height %d give a negative size\n"
//   "error: %s: size of %lld bytes is over 65532\n"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/values.h"

namespace orrinrc {

// Converts the file into bm. On success sets bm.size, bm.words (height * W
// words) and bm.loaded and returns "". On failure returns the complete
// message line (with its "\n") and leaves bm untouched.
std::string bmp_convert(BitmapRecord& bm, const char* path);
// Makes `bm` a picture of its declared size and depth with every pixel 0,
// in place of one that could not be read; a size that no picture can have
// leaves it without an image.
void blank_picture(BitmapRecord& bm);

// bmp_convert of the file at `path`, named `name` in messages.
std::string bmp_convert_named(BitmapRecord& bm, const char* path, const char* name);

// bmp_convert of a file's bytes in memory; `path` names it in messages.
std::string bmp_convert(BitmapRecord& bm, const char* path, std::string_view bytes);

// The pictures a run has converted: within one run a file name stands for
// one picture, read once (the last 16 pictures are kept).
class PictureCache {
public:
    static constexpr size_t kCachedPictures = 16;

    // Copies the picture converted before from `path` at bm's width, height
    // and depth into bm; false when there is none.
    bool find(BitmapRecord& bm, const std::string& path) const;
    // Keeps the picture just converted from `path`.
    void keep(const BitmapRecord& bm, const std::string& path);
    // bmp_convert through the cache; messages name the file `name` (by
    // default its path).
    std::string convert(BitmapRecord& bm, const std::string& path, const std::string& name = {});

private:
    struct CachedPicture {
        std::string path;
        int16_t width = 0;
        int16_t height = 0;
        uint8_t depth = 0;
        uint16_t size = 0;
        std::vector<uint32_t> words;
    };
    std::vector<CachedPicture> pictures_;
    size_t next_replaced_ = 0;
};

// What a BMP file says of itself, for checks that compare it with the
// picture lines: its size in pixels (height as a positive number) and
// whether an uncompressed file ends before its last row.
struct BmpFacts {
    int32_t width = 0;
    int32_t height = 0;
    bool cut_short = false;
};

// Reads the headers of a BMP file; false when it is none that can be read.
bool bmp_facts(const char* path, BmpFacts& facts);

}  // namespace orrinrc
