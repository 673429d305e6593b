// BMP files written by real tools (tests/bmp_files/README.md says how each
// was made): every compressed, OS/2 or alpha file converts exactly as its
// uncompressed twin, at every declared size and depth.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "bitmap/bmp_import.h"

using namespace orrinrc;

namespace {

using Words = std::vector<uint32_t>;

Words convert(const std::string& name, int width, int height, int depth) {
    BitmapRecord bm;
    bm.width = int16_t(width);
    bm.height = int16_t(height);
    bm.depth = uint8_t(depth);
    const std::string path = std::string(BMP_FILES_DIR) + "/" + name;
    EXPECT_EQ(bmp_convert(bm, path.c_str()), "") << name;
    return bm.words;
}

class ToolWrittenFile : public ::testing::TestWithParam<std::tuple<const char*, const char*>> {};

TEST_P(ToolWrittenFile, ConvertsAsItsUncompressedTwin) {
    const auto [file, twin] = GetParam();
    // The picture is 13 x 6: the exact size, a part of it, and sizes past its
    // right edge (row padding, then zeros) and past its top (rows that the
    // file does not hold).
    for (auto [w, h, d] :
         {std::tuple{13, 6, 4}, {13, 6, 2}, {5, 3, 4}, {32, 6, 4}, {13, 9, 2}, {40, 7, 4}}) {
        const Words want = convert(twin, w, h, d);
        EXPECT_NE(want, Words(want.size(), 0));
        EXPECT_EQ(convert(file, w, h, d), want) << file << " as " << w << "x" << h << " depth " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ToolWrittenFile,
                         ::testing::Values(std::tuple{"rle8.bmp", "pal8.bmp"},
                                           std::tuple{"os2_1.bmp", "pal1.bmp"},
                                           std::tuple{"os2_4.bmp", "pal4.bmp"},
                                           std::tuple{"os2_8.bmp", "pal8.bmp"},
                                           std::tuple{"os2_24.bmp", "rgb24.bmp"},
                                           std::tuple{"alpha32.bmp", "alpha32_on_white.bmp"},
                                           std::tuple{"alpha32_zero.bmp", "rgb24.bmp"}),
                         [](const auto& info) {
                             const std::string file = std::get<0>(info.param);
                             return file.substr(0, file.find('.'));
                         });

}  // namespace
