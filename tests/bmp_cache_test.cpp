// Reuse of converted pictures: a picture named again gives exactly what a
// fresh conversion gives; another declared size or depth is converted anew.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bitmap/bmp_import.h"
#include "util/process.h"

using namespace orrinrc;

namespace {

namespace fs = std::filesystem;

// A 4-bit palette BMP, 8 pixels wide and 2 rows high, whose pixel bytes are
// `fill` (two pixels a byte); the palette runs from white to black.
void write_bmp(const fs::path& path, uint8_t fill) {
    std::vector<uint8_t> f(54, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 'B' | 'M' << 8, 2);
    put(14, 40, 4);
    put(18, 8, 4);
    put(22, 2, 4);
    put(26, 1, 2);
    put(28, 4, 2);
    for (int i = 0; i < 16; ++i) {
        uint8_t grey = uint8_t(255 - i * 17);
        f.insert(f.end(), {grey, grey, grey, 0});
    }
    put(10, uint32_t(f.size()), 4);
    f.insert(f.end(), 8, fill);  // two rows of 4 bytes
    put(2, uint32_t(f.size()), 4);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
}

// An 8-bit BMP of width x height whose pixel (x, y), counted from the top
// row, has palette index pixel(x, y); a grey ramp palette.
template <typename Pixel>
void write_bmp8(const fs::path& path, int width, int height, Pixel pixel) {
    std::vector<uint8_t> f(54, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 'B' | 'M' << 8, 2);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    for (int i = 0; i < 256; ++i) f.insert(f.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    put(10, uint32_t(f.size()), 4);
    const int stride = (width + 3) / 4 * 4;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) f.push_back(x < width ? uint8_t(pixel(x, y)) : 0);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
}

BitmapRecord declared(int16_t width, int16_t height, uint8_t depth) {
    BitmapRecord bm;
    bm.width = width;
    bm.height = height;
    bm.depth = depth;
    return bm;
}

// What a conversion without any reuse gives.
BitmapRecord fresh(BitmapRecord bm, const fs::path& path) {
    EXPECT_EQ(bmp_convert(bm, path.string().c_str()), "");
    return bm;
}

void expect_same(const BitmapRecord& got, const BitmapRecord& want) {
    EXPECT_TRUE(got.loaded);
    EXPECT_EQ(got.size, want.size);
    EXPECT_EQ(got.words, want.words);
}

class BmpCache : public ::testing::Test {
protected:
    // Kept pictures outlive a test: every test (and every repetition of it)
    // names its own files.
    static inline int run = 0;
    fs::path dir = fs::temp_directory_path() /
                   ("orrinrc-bmp-cache-" + std::to_string(orrinrc::process::id()) + "-" + std::to_string(++run));
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::path file = dir / (test + ".bmp");
    PictureCache cache;
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(BmpCache, SameNameAndSizeGivesTheFreshResultEveryTime) {
    write_bmp(file, 0x1F);
    for (int round = 0; round < 3; ++round) {
        BitmapRecord bm = declared(8, 2, 4);
        bm.words = {0xDEADBEEF, 1, 2, 3, 4};  // left over from an earlier picture
        EXPECT_EQ(cache.convert(bm, file.string().c_str()), "");
        expect_same(bm, fresh(declared(8, 2, 4), file));
    }
}

TEST_F(BmpCache, DeclaredSizeOrDepthChangesTheResult) {
    write_bmp(file, 0x1F);
    for (auto [w, h, d] : {std::tuple{8, 2, 4}, {8, 2, 2}, {16, 2, 4}, {8, 1, 4}, {8, 2, 4}}) {
        BitmapRecord bm = declared(int16_t(w), int16_t(h), uint8_t(d));
        EXPECT_EQ(cache.convert(bm, file.string().c_str()), "");
        expect_same(bm, fresh(declared(int16_t(w), int16_t(h), uint8_t(d)), file));
    }
}

TEST_F(BmpCache, APictureIsReadOncePerRun) {
    write_bmp(file, 0x12);
    BitmapRecord first = declared(8, 2, 4);
    EXPECT_EQ(cache.convert(first, file.string().c_str()), "");
    // The name stands for the picture first read: later statements naming it
    // with the same size and depth do not open the file again.
    fs::remove(file);
    BitmapRecord again = declared(8, 2, 4);
    EXPECT_EQ(cache.convert(again, file.string().c_str()), "");
    expect_same(again, first);
    // Another declared size is another conversion, which needs the file.
    BitmapRecord other = declared(16, 2, 4);
    EXPECT_EQ(cache.convert(other, file.string().c_str()), "error: can't open file " + file.string() + "\n");
    EXPECT_FALSE(other.loaded);
}

TEST_F(BmpCache, AFailedImportIsNotRemembered) {
    fs::path later = dir / (test + "_later.bmp");
    BitmapRecord missing = declared(8, 2, 4);
    EXPECT_EQ(cache.convert(missing, later.string().c_str()), "error: can't open file " + later.string() + "\n");
    EXPECT_FALSE(missing.loaded);
    write_bmp(later, 0x34);
    BitmapRecord found = declared(8, 2, 4);
    EXPECT_EQ(cache.convert(found, later.string().c_str()), "");
    expect_same(found, fresh(declared(8, 2, 4), later));
}

TEST_F(BmpCache, ManyPicturesInTurnStayCorrect) {
    // More pictures than are kept, named round and round.
    std::vector<fs::path> files;
    for (int i = 0; i < 40; ++i) {
        std::string name = test;
        name += std::to_string(i);
        name += ".bmp";
        files.push_back(dir / name);
        write_bmp(files.back(), uint8_t(i * 7));
    }
    for (int round = 0; round < 3; ++round) {
        for (const fs::path& f : files) {
            BitmapRecord bm = declared(8, 2, 4);
            EXPECT_EQ(cache.convert(bm, f.string().c_str()), "");
            expect_same(bm, fresh(declared(8, 2, 4), f));
        }
    }
}

// A file too large to be read whole is read row by row; the rows that the
// declared size takes must come out as from a small file with those pixels.
TEST_F(BmpCache, LargeFileGivesWhatTheSameRowsGiveInASmallFile) {
    auto pixel = [](int x, int y) { return (x * 7 + y * 13) & 0xFF; };
    const int big_height = 200;
    fs::path big = dir / (test + "_big.bmp"), small = dir / (test + "_small.bmp");
    write_bmp8(big, 400, big_height, pixel);  // about 80 KB
    ASSERT_GT(fs::file_size(big), 64u * 1024);
    // The output takes the stored rows from the bottom: the last 5 rows of
    // the picture, and 16 pixels of each.
    write_bmp8(small, 16, 5, [&](int x, int y) { return pixel(x, big_height - 5 + y); });
    for (uint8_t depth : {2, 4}) {
        BitmapRecord from_big = declared(16, 5, depth);
        EXPECT_EQ(cache.convert(from_big, big.string().c_str()), "");
        expect_same(from_big, fresh(declared(16, 5, depth), small));
    }
}

}  // namespace
