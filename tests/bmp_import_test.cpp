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
#include "bitmap/grey_levels.h"

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
        char tmpl[] = "/tmp/bmp_import_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
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
        return at == std::string::npos ? msg : msg.replace(at, path.size(), "F");
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
    EXPECT_EQ(fails({}), "error: F: header size 4294967295 not supported\n");
    Bmp bad = ok;
    bad.header_size = 12;
    EXPECT_EQ(fails(encode(bad)), "error: F: header size 12 not supported\n");
    bad = ok;
    bad.compression = 1;
    EXPECT_EQ(fails(encode(bad)), "error: F: compression 1 not supported\n");
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
