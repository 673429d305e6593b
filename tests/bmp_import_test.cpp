// BMP import: files are built here byte by byte and converted.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/bmp_import.h"
#include "format/grey_levels.h"
#include "util/process.h"
#include "util/strf.h"

using namespace orrinrc;

namespace {

using Words = std::vector<uint32_t>;
using Bytes = std::vector<uint8_t>;
using Pixels = std::vector<uint32_t>;

struct Bmp {
    uint32_t header_size = 40;
    int32_t width = 0, height = 0;
    int16_t bpp = 8;
    uint32_t compression = 0;
    Pixels palette = {};  // 0xRRGGBB
    Pixels masks = {};    // red, green, blue, at offset 54
    Bytes pixels = {};    // stored rows, padding included
    uint32_t image_size = 0;
};

void put(Bytes& f, size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
}

Bytes encode(const Bmp& b) {
    Bytes f(std::max<size_t>(14 + b.header_size, b.masks.empty() ? 54 : 66), 0);
    put(f, 0, 'B' | 'M' << 8, 2);
    put(f, 14, b.header_size, 4);
    put(f, 18, uint32_t(b.width), 4);
    put(f, 22, uint32_t(b.height), 4);
    put(f, 26, 1, 2);
    put(f, 28, uint16_t(b.bpp), 2);
    put(f, 30, b.compression, 4);
    put(f, 34, b.image_size, 4);
    for (size_t i = 0; i < b.masks.size(); ++i) put(f, 54 + 4 * i, b.masks[i], 4);
    for (uint32_t c : b.palette) f.insert(f.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0});
    put(f, 10, uint32_t(f.size()), 4);
    f.insert(f.end(), b.pixels.begin(), b.pixels.end());
    return f;
}

// One stored row: palette indices packed leftmost-first, or little-endian
// pixel values of bpp / 8 bytes; padded to 4 bytes with `pad`.
Bytes row(const Pixels& px, int bpp, uint8_t pad = 0) {
    Bytes r((px.size() * bpp + 31) / 32 * 4, pad);
    std::fill_n(r.begin(), (px.size() * bpp + 7) / 8, 0);
    for (size_t p = 0; p < px.size(); ++p)
        for (int bit = 0; bit < bpp; ++bit)
            if (px[p] >> (bpp - 1 - bit) & 1) r[(p * bpp + bit) / 8] |= uint8_t(0x80 >> (p * bpp + bit) % 8);
    if (bpp > 8)  // byte-sized pixels are stored little-endian
        for (size_t p = 0; p < px.size(); ++p) std::reverse(&r[p * bpp / 8], &r[(p + 1) * bpp / 8]);
    return r;
}

uint32_t grey(int g) { return uint32_t(255 - g) * 0x010101u; }

// Entry i has level i % 16: the grey at the upper bound of that level.
Pixels level_palette(int n) {
    Pixels pal;
    for (int i = 0; i < n; ++i) pal.push_back(grey(i % 16 == 15 ? 255 : kGreyThresholds[i % 16]));
    return pal;
}

// An 8 x 3 picture, pixel i = row * 8 + column from the top, stored in rows
// of b.bpp bits either bottom-up or top-down.
Bytes picture(Bmp b, const std::function<uint32_t(int)>& px, bool top_down = false) {
    b.width = 8;
    b.height = top_down ? -3 : 3;
    for (int k = 0; k < 3; ++k) {
        const int r = top_down ? k : 2 - k;
        Pixels line;
        for (int x = 0; x < 8; ++x) line.push_back(px(8 * r + x));
        const Bytes stored = row(line, b.bpp);
        b.pixels.insert(b.pixels.end(), stored.begin(), stored.end());
    }
    return encode(b);
}

class BmpImport : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (std::filesystem::temp_directory_path() /
               ("bmp_import_test_" + std::to_string(process::id()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                  .string();
        std::filesystem::remove_all(dir);
        ASSERT_TRUE(std::filesystem::create_directories(dir));
        path = dir + "/a b.bmp ";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Converts with a declared size and depth; the message, or "" on success.
    std::string run(const Bytes& file, int width, int height, int depth, BitmapRecord& bm) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
        bm.width = int16_t(width);
        bm.height = int16_t(height);
        bm.depth = uint8_t(depth);
        return bmp_convert(bm, path.c_str());
    }
    Words convert(const Bytes& file, int width, int height, int depth) {
        BitmapRecord bm;
        EXPECT_EQ(run(file, width, height, depth, bm), "");
        EXPECT_TRUE(bm.loaded);
        EXPECT_EQ(bm.size, bm.words.size() * 4);
        return bm.words;
    }
    std::string fails(const Bytes& file, int width = 8, int height = 1, int depth = 4) {
        BitmapRecord bm;
        std::string msg = run(file, width, height, depth, bm);
        EXPECT_FALSE(bm.loaded);
        EXPECT_TRUE(bm.words.empty());
        const size_t at = msg.find(path);
        if (at == std::string::npos) return msg;
        std::string named(msg, 0, at);
        named += 'F';
        return named.append(msg, at + path.size());
    }
    // Same words as the reference for several declared sizes and both depths.
    void expect_same(const Bytes& reference, const Bytes& other) {
        for (auto [w, h, d] : {std::tuple{8, 3, 4}, {8, 2, 2}, {5, 3, 4}, {16, 3, 2}}) {
            const Words want = convert(reference, w, h, d);
            EXPECT_NE(want, Words(want.size(), 0));
            EXPECT_EQ(convert(other, w, h, d), want) << w << "x" << h << " depth " << d;
        }
    }

    std::string dir, path;
};

TEST_F(BmpImport, ThresholdsThroughThePalette) {
    Bmp b{.width = 9, .height = 1, .bpp = 8,
          .palette = {grey(1), grey(2), grey(62), grey(63), grey(180), grey(181), 0xFFFFFF, 0, 0x808080}};
    b.pixels = row({0, 1, 2, 3, 4, 5, 6, 7, 8}, 8);
    EXPECT_EQ(convert(encode(b), 9, 1, 4), (Words{0x0145EF0F, 0xB0000000}));
    EXPECT_EQ(convert(encode(b), 9, 1, 2), (Words{0x05F38000}));
}

TEST_F(BmpImport, EachBitCount) {
    const Bmp one{.width = 32, .height = 1, .bpp = 1, .palette = {0xFFFFFF, 0}, .pixels = {0xA5, 0x0F, 0xFF, 0x80}};
    EXPECT_EQ(convert(encode(one), 32, 1, 4), (Words{0xF0F00F0F, 0x0000FFFF, 0xFFFFFFFF, 0xF0000000}));
    EXPECT_EQ(convert(encode(one), 32, 1, 2), (Words{0xCC3300FF, 0xFFFFC000}));
    const Bmp two{.width = 4, .height = 1, .bpp = 2, .palette = level_palette(4), .pixels = {0x1B, 0, 0, 0}};
    EXPECT_EQ(convert(encode(two), 4, 1, 4), (Words{0x01230000}));
    const Bmp four{.width = 8, .height = 1, .bpp = 4, .palette = level_palette(16), .pixels = {0x1F, 0x23, 0x45, 0x67}};
    EXPECT_EQ(convert(encode(four), 8, 1, 4), (Words{0x1F234567}));
    EXPECT_EQ(convert(encode(four), 8, 1, 2), (Words{0x30550000}));
    const Bmp eight{.width = 4, .height = 1, .bpp = 8, .palette = level_palette(256), .pixels = {0x0F, 0x1E, 0xFD, 0x80}};
    EXPECT_EQ(convert(encode(eight), 4, 1, 4), (Words{0xFED00000}));
}

TEST_F(BmpImport, RowOrderAndDeclaredSize) {
    const Pixels up = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const Pixels down(up.rbegin(), up.rend());
    const Bytes f = picture({.bpp = 8, .palette = level_palette(256)}, [](int i) { return uint32_t(i / 2); });
    EXPECT_EQ(convert(f, 8, 3, 4), (Words{0x00112233, 0x44556677, 0x8899AABB}));
    EXPECT_EQ(convert(f, 8, 2, 4), (Words{0x44556677, 0x8899AABB}));  // the bottom rows
    EXPECT_EQ(convert(f, 16, 2, 4), (Words{0x44556677, 0, 0x8899AABB, 0}));

    // Wider image: the left part of every row; the next row one stride on.
    Bmp wide{.width = 16, .height = 2, .bpp = 8, .palette = level_palette(256)};
    wide.pixels = row(up, 8);
    const Bytes second = row(down, 8);
    wide.pixels.insert(wide.pixels.end(), second.begin(), second.end());
    EXPECT_EQ(convert(encode(wide), 8, 2, 4), (Words{0xFEDCBA98, 0x01234567}));
    EXPECT_EQ(convert(encode(wide), 8, 2, 2), (Words{0xFFAA5500, 0x0055AAFF}));
}

TEST_F(BmpImport, RowPaddingIsConvertedThenZeros) {
    const Bmp b{.width = 10, .height = 1, .bpp = 8, .palette = level_palette(256),
                .pixels = row({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 8, 0x0C)};
    EXPECT_EQ(convert(encode(b), 10, 1, 4), (Words{0x01234567, 0x89CC0000}));
}

TEST_F(BmpImport, BytesPastTheEndReadAsFF) {
    const Bmp b{.width = 4, .height = 2, .bpp = 8, .palette = level_palette(256), .pixels = {1, 2}};
    EXPECT_EQ(convert(encode(b), 4, 2, 4), (Words{0xFFFF0000, 0x12FF0000}));
    // Colour table cut after a black entry 0: entry 255 and the pixels are
    // all 0xFF, so white; zeros would give black.
    EXPECT_EQ(convert(encode({.width = 8, .height = 1, .bpp = 8, .palette = {0}}), 8, 1, 4), (Words{0}));
}

TEST_F(BmpImport, PicturesWithoutRows) {
    const Bytes f = encode({.width = 8, .height = 1, .bpp = 8, .palette = level_palette(256), .pixels = Bytes(8, 15)});
    EXPECT_EQ(convert(f, 8, 0, 4), Words{});
    EXPECT_EQ(convert(f, 0, 3, 4), Words{});
    EXPECT_EQ(convert(f, -8, -3, 4), Words{});              // W = 0
    EXPECT_EQ(convert(f, -64, -1, 4), Words(7, 0));         // W = -7: no rows, zero data
    EXPECT_EQ(convert(f, 8, 16383, 4).size(), 16383u);      // 65532 bytes, the largest
}

TEST_F(BmpImport, Errors) {
    BitmapRecord bm;
    EXPECT_EQ(bmp_convert(bm, (dir + "/none ").c_str()), "error: can't open file " + dir + "/none \n");
    EXPECT_EQ(bmp_convert(bm, dir.c_str()), "error: can't open file " + dir + "\n");
    EXPECT_FALSE(bm.loaded);

    const Bmp ok{.width = 8, .height = 1, .bpp = 8, .palette = level_palette(256), .pixels = Bytes(8, 1)};
    Bmp bad = ok;
    bad.header_size = 64;
    EXPECT_EQ(fails(encode(bad)), "error: F: header size 64 not supported\n");
    bad = ok;
    bad.compression = 4;
    EXPECT_EQ(fails(encode(bad)), "error: F: compression 4 not supported\n");
    bad.compression = 2;  // run-length: 8 bits with 1, 4 bits with 2
    EXPECT_EQ(fails(encode(bad)), "error: F: compression 2 not supported with 8 bits per pixel\n");
    bad.compression = 3;  // masks only go with 16 and 32 bits
    EXPECT_EQ(fails(encode(bad)), "error: F: compression 3 not supported\n");
    bad = ok;
    bad.bpp = 3;
    EXPECT_EQ(fails(encode(bad)), "error: F: 3 bits per pixel not supported\n");
    bad = ok;
    bad.width = -8;
    EXPECT_EQ(fails(encode(bad)), "error: F: image width -8 is negative\n");

    const Bytes f = encode(ok);
    EXPECT_EQ(fails(f, 8, 16384), "error: F: size of 65536 bytes is over 65532\n");
    EXPECT_EQ(fails(f, 8, -1), "error: F: width 8 and height -1 give a negative size\n");
    EXPECT_EQ(fails(f, -64, 1), "error: F: width -64 and height 1 give a negative size\n");
    EXPECT_EQ(fails(f, 8, 1, 3), "error: F: depth 3 not supported\n");
}

// A run-length compressed picture of width x height with a level palette.
Bytes rle(int bpp, int width, int height, const Bytes& stream) {
    return encode({.width = width, .height = height, .bpp = int16_t(bpp), .compression = bpp == 8 ? 1u : 2u,
                   .palette = level_palette(1 << bpp), .pixels = stream});
}

// The same picture stored uncompressed: rows given bottom first, padding included.
Bytes plain(int bpp, int width, const std::vector<Bytes>& rows) {
    Bmp b{.width = width, .height = int(rows.size()), .bpp = int16_t(bpp),
          .palette = level_palette(1 << bpp)};
    for (const Bytes& r : rows) b.pixels.insert(b.pixels.end(), r.begin(), r.end());
    return encode(b);
}

TEST_F(BmpImport, Rle8EveryEscapeMatchesTheUncompressedRows) {
    const Bytes stream = {
        3, 1, 0, 3, 2, 3, 4, 0,  // run of three 1s; three pixels given one by one, then a pad byte
        2, 5, 0, 0,              // two pixels in the row padding; end of line
        1, 6, 0, 2, 2, 0, 1, 7,  // delta two to the right
        0, 2, 1, 1, 1, 8, 0, 0,  // delta one right and one up (the rest of row 1 stays 0)
        0, 4, 9, 10, 11, 12,     // four pixels given one by one (no pad)
        0, 1, 0xFF, 0xFF};       // end of picture; what follows is never read
    const Bytes twin = plain(8, 6, {{1, 1, 1, 2, 3, 4, 5, 5}, {6, 0, 0, 7, 0, 0, 0, 0},
                                    {0, 0, 0, 0, 0, 8, 0, 0}, {9, 10, 11, 12, 0, 0, 0, 0}});
    for (auto [w, h, d] : {std::tuple{6, 4, 4}, {8, 4, 2}, {3, 2, 4}, {16, 4, 4}, {6, 7, 4}}) {
        const Words want = convert(twin, w, h, d);
        EXPECT_EQ(convert(rle(8, 6, 4, stream), w, h, d), want) << w << "x" << h << " depth " << d;
    }
    EXPECT_EQ(convert(rle(8, 6, 4, stream), 8, 4, 4),
              (Words{0x9ABC0000, 0x00000800, 0x60070000, 0x11123455}));
}

TEST_F(BmpImport, Rle4EveryEscapeMatchesTheUncompressedRows) {
    const Bytes stream = {
        5, 0x1F, 0, 3, 0x23, 0x40, 0, 0,  // alternating run; three pixels in two bytes; end of line
        0, 2, 3, 0, 0, 5, 0x56, 0x78, 0x90, 0, 0, 0,  // delta; five pixels in three bytes and a pad
        2, 0xAB, 0, 1};  // end of picture: the rest of row 2 and all of row 3 are index 0
    const Bytes twin =
        plain(4, 5, {{0x1F, 0x1F, 0x12, 0x34}, {0x00, 0x05, 0x67, 0x89}, {0xAB, 0, 0, 0}, {0, 0, 0, 0}});
    for (auto [w, h, d] : {std::tuple{5, 4, 4}, {8, 4, 4}, {5, 3, 2}, {16, 6, 4}}) {
        const Words want = convert(twin, w, h, d);
        EXPECT_EQ(convert(rle(4, 5, 4, stream), w, h, d), want) << w << "x" << h << " depth " << d;
    }
    EXPECT_EQ(convert(rle(4, 5, 4, stream), 8, 4, 4), (Words{0, 0xAB000000, 0x00056789, 0x1F1F1234}));
}

TEST_F(BmpImport, RleStreamsThatAreRefused) {
    // Width 6 at 8 bits: a stored row holds 8 pixels, its padding included.
    const Bytes head = rle(8, 6, 2, {});
    const size_t at = head.size();  // first byte of the stream
    auto bad = [&](const Bytes& stream) { return fails(rle(8, 6, 2, stream), 6, 2); };
    auto ends_early = [](size_t byte) { return strf("error: F: compressed data ends early, at byte %zu\n", byte); };
    EXPECT_EQ(bad({9, 1}), strf("error: F: run at byte %zu passes the end of its row\n", at));
    EXPECT_EQ(bad({8, 1, 0, 0, 6, 1, 0, 3, 1, 2, 3, 0}),
              strf("error: F: run at byte %zu passes the end of its row\n", at + 6));
    EXPECT_EQ(bad({0, 2, 9, 0}), strf("error: F: delta at byte %zu moves past the end of the picture\n", at));
    EXPECT_EQ(bad({0, 2, 0, 3}), strf("error: F: delta at byte %zu moves past the end of the picture\n", at));
    // Streams that end inside a command, an absolute run, its pad byte, a
    // delta, or before the picture is complete without an end mark.
    for (const Bytes& cut :
         {Bytes{3}, Bytes{0, 4, 1, 2}, Bytes{0, 3, 1, 2, 3}, Bytes{0, 2, 1}, Bytes{8, 1, 0, 0}, Bytes{}})
        EXPECT_EQ(bad(cut), ends_early(at + cut.size()));

    // Size fields that disagree with the file.
    Bmp b{.width = 6, .height = 2, .bpp = 8, .compression = 1, .palette = level_palette(256),
          .pixels = {8, 1, 0, 1}};
    b.image_size = 5;
    EXPECT_EQ(fails(encode(b)), "error: F: compressed data of 5 bytes runs past the end of the file\n");
    b.image_size = 3;  // the end mark lies outside the declared data
    EXPECT_EQ(fails(encode(b), 6, 2), ends_early(at + 3));
    b.image_size = 4;
    EXPECT_EQ(convert(encode(b), 8, 2, 4), (Words{0, 0x11111111}));
    Bytes f = encode(b);
    put(f, 10, uint32_t(f.size() + 1), 4);
    EXPECT_EQ(fails(f), strf("error: F: pixel data offset %zu is past the end of the file\n", f.size() + 1));
    b.height = -2;
    EXPECT_EQ(fails(encode(b)), "error: F: compression 1 not supported with top-down rows\n");
    b = {.width = 8, .height = 1, .bpp = 4, .compression = 1, .palette = level_palette(16), .pixels = {0, 1}};
    EXPECT_EQ(fails(encode(b)), "error: F: compression 1 not supported with 4 bits per pixel\n");
}

TEST_F(BmpImport, RleDecodesOnlyWhatTheOutputTakes) {
    // A picture of 2^31 - 1 square: the stream's first row is all the
    // output takes, and what follows it, errors included, is never read.
    const Bytes huge = rle(8, 0x7FFFFFFF, 0x7FFFFFFF, {4, 15, 0, 0, 3});
    EXPECT_EQ(convert(huge, 8, 1, 4), (Words{0xFFFF0000}));
    EXPECT_EQ(fails(huge, 8, 2), strf("error: F: compressed data ends early, at byte %zu\n", huge.size()));
    EXPECT_EQ(convert(rle(8, 0x7FFFFFFF, 0x7FFFFFFF, {0, 1}), 64, 1000, 4), Words(8000, 0));
    EXPECT_EQ(convert(rle(8, 0, 2, {0, 0, 0, 1}), 8, 2, 4), Words(2, 0));  // rows of no pixels
}

TEST_F(BmpImport, PlainMessagesForFilesThatAreNotBmps) {
    EXPECT_EQ(fails({}), "error: F: empty file\n");
    EXPECT_EQ(fails({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R'}),
              "error: F: not a BMP file (starts with 89 50 4E 47)\n");
    EXPECT_EQ(fails({'B'}), "error: F: not a BMP file (starts with 42)\n");
    EXPECT_EQ(fails({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0}), "error: F: file ends inside its header\n");

    const Bmp ok{.width = 8, .height = 1, .bpp = 8, .palette = level_palette(256), .pixels = Bytes(8, 1)};
    Bytes f = encode(ok);
    f.resize(32);  // the compression field is cut
    EXPECT_EQ(fails(f), "error: F: file ends inside its header\n");
    f.resize(34);  // every field that matters is there: white, as before
    EXPECT_EQ(convert(f, 8, 1, 4), (Words{0}));

    // The signature is judged only for a file that is refused anyway.
    f = encode(ok);
    f[0] = 'X';
    EXPECT_EQ(convert(f, 8, 1, 4), (Words{0x11111111}));
    put(f, 28, 3, 2);
    EXPECT_EQ(fails(f), strf("error: F: not a BMP file (starts with 58 4D %02X %02X)\n", f[2], f[3]));

    // An OS/2 header cut before its bit count; OS/2 bit counts other than
    // 1, 4, 8 and 24.
    Bytes os2 = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 8, 0, 1, 0, 1, 0};
    EXPECT_EQ(fails(os2), "error: F: file ends inside its header\n");
    os2.insert(os2.end(), {2, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0});
    EXPECT_EQ(fails(os2), "error: F: 2 bits per pixel not supported\n");
}

TEST_F(BmpImport, AWideOs2PictureHasOneWidthForConversionAndFacts) {
    // 40,000 pixels of 1 bit in one row: the width field is 0x9C40, which
    // read as a signed 16-bit value would be -25536.
    const int width = 40000;
    const uint32_t stride = (width + 31) / 32 * 4;
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0};
    f.insert(f.end(), {0x40, 0x9C, 1, 0, 1, 0, 1, 0});       // width, height 1, planes, 1 bit
    f.insert(f.end(), {0xFF, 0xFF, 0xFF, 0, 0, 0});           // palette: white, black
    f.resize(32 + stride, 0x00);                               // all white
    f[32 + stride - 1] = 0x01;                                 // ... but the last pixel
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), f.size());
    BmpFacts facts;
    ASSERT_TRUE(bmp_facts(path.c_str(), facts));
    EXPECT_EQ(facts.width, width);
    EXPECT_EQ(facts.height, 1);
    EXPECT_FALSE(facts.cut_short);
    // The conversion reads the same width: the picture's left edge is white.
    const Words words = convert(f, 16, 1, 4);
    EXPECT_EQ(words, (Words{0, 0}));
}

TEST_F(BmpImport, AlphaIsLaidOverWhite) {
    // Black at alpha 0, 128 and 255; red at 64.
    const Pixels argb = {0x00000000, 0x80000000, 0xFF000000, 0x40FF0000};
    Bmp b{.header_size = 56, .width = 4, .height = 1, .bpp = 32, .compression = 3,
          .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, .pixels = row(argb, 32)};
    // Black at alpha 128 gives grey 128; red at 64 gives 255, 191, 191: grey 43.
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0x0BF40000}));
    b.header_size = 124;
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0x0BF40000}));

    // Alpha zero everywhere: the picture is opaque.
    b.pixels = row({0x000000, 0x808080, 0xFFFFFF, 0x0000FF}, 32);
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0xFB0E0000}));
    // Everywhere means the whole picture, not only the part that is
    // converted: one opaque pixel in the top row makes the bottom row's
    // transparent black white.
    b.height = 2;
    b.pixels = Bytes(32, 0);
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0xFFFF0000}));
    b.pixels[19] = 0xFF;
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0}));
    // Pixels past the end of the file are opaque white.
    b.pixels = Bytes(16, 0);
    EXPECT_EQ(convert(encode(b), 4, 1, 4), (Words{0}));

    // No alpha mask in a 40-byte header: the fourth byte is not alpha.
    b = {.width = 2, .height = 1, .bpp = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF},
         .pixels = row({0x00000000, 0x40FFFFFF}, 32)};
    EXPECT_EQ(convert(encode(b), 2, 1, 4), (Words{0xF0000000}));
    // Sixteen bits with a one-bit alpha.
    b = {.header_size = 56, .width = 2, .height = 1, .bpp = 16, .compression = 3,
         .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}, .pixels = row({0x0000, 0x8000}, 16)};
    EXPECT_EQ(convert(encode(b), 2, 1, 4), (Words{0x0F000000}));
}

uint32_t colour(int i) { return uint32_t((i * 53) % 256 << 16 | (i * 97 + 11) % 256 << 8 | (i * 29 + 200) % 256); }
uint32_t same(int i) { return uint32_t(i); }

TEST_F(BmpImport, TrueColourHeadersAndTopDownMatchThePaletteFile) {
    Pixels colours;
    for (int i = 0; i < 24; ++i) colours.push_back(colour(i));
    const Bytes ref = picture({.bpp = 8, .palette = colours}, same);
    expect_same(ref, picture({.header_size = 108, .bpp = 8, .palette = colours}, same));
    expect_same(ref, picture({.header_size = 124, .bpp = 8, .palette = colours}, same));
    expect_same(ref, picture({.bpp = 8, .palette = colours}, same, true));
    expect_same(ref, picture({.bpp = 24}, colour));
    expect_same(ref, picture({.bpp = 24}, colour, true));
    expect_same(ref, picture({.bpp = 32}, [](int i) { return colour(i) | 0x5A000000u; }));
    expect_same(ref, picture({.bpp = 32, .compression = 3, .masks = {0xFF000000, 0xFF0000, 0xFF00}},
                             [](int i) { return colour(i) << 8 | 0xA5; }));
}

int c5(int i, int k) { return (i * k + 3) % 32; }
int c6(int i) { return (c5(i, 13) * 2 + i) % 64; }
int expand(int c, int max) { return (c * 255 + max / 2) / max; }

TEST_F(BmpImport, SixteenBitMatchesThePaletteFile) {
    Pixels rgb555, rgb565;
    for (int i = 0; i < 24; ++i) {
        const uint32_t rb = uint32_t(expand(c5(i, 7), 31) << 16 | expand(c5(i, 5), 31));
        rgb555.push_back(rb | expand(c5(i, 13), 31) << 8);
        rgb565.push_back(rb | expand(c6(i), 63) << 8);
    }
    auto v555 = [](int i) { return uint32_t(c5(i, 7) << 10 | c5(i, 13) << 5 | c5(i, 5) | (i % 2) << 15); };
    auto v565 = [](int i) { return uint32_t(c5(i, 7) << 11 | c6(i) << 5 | c5(i, 5)); };
    const Bytes ref555 = picture({.bpp = 8, .palette = rgb555}, same);
    const Bytes ref565 = picture({.bpp = 8, .palette = rgb565}, same);
    expect_same(ref555, picture({.bpp = 16}, v555));
    expect_same(ref555, picture({.header_size = 108, .bpp = 16}, v555, true));
    expect_same(ref565, picture({.bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}, v565));
    expect_same(ref565, picture({.header_size = 56, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}, v565));

    // Full-scale channels are exact: white is 0, black 15; the top bit is unused.
    EXPECT_EQ(convert(encode({.width = 2, .height = 1, .bpp = 16, .pixels = row({0x7FFF, 0x8000}, 16)}), 2, 1, 4),
              (Words{0x0F000000}));
}

}  // namespace
