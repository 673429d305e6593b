// Writing BMP files for the resource text.
#include "dump/bmp_out.h"

#include <array>

#include "format/grey_levels.h"

namespace orrinrc::dump {

namespace {

// Grey of level k: the lowest grey of the level's range (white for level 0),
// written as three equal components c with 255 - c = grey.
constexpr int level_grey(int k) { return k == 0 ? 0 : k == 15 ? 255 : kGreyThresholds[k]; }

constexpr bool palette_gives_levels() {
    for (int k = 0; k < 16; ++k)
        if (grey_level(3 * (255 - level_grey(k))) != k) return false;
    return true;
}
static_assert(palette_gives_levels(), "each palette entry must convert to its own level");

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}

void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

}  // namespace

bool bitmap_reproducible(const BitmapView& bm, std::string& why) {
    if (bm.reserved != 0) {
        why = strf("reserved byte is %u, the compiler always writes 0", bm.reserved);
        return false;
    }
    if (bm.depth != format::kTwoBit && bm.depth != format::kFourBit) {
        why = strf("depth %u is neither %s (2) nor %s (4)", bm.depth, format::kTwoBitWord, format::kFourBitWord);
        return false;
    }
    if (!bm.padding_zero) {
        why = "the padding bytes before the data are not zero";
        return false;
    }
    const long long words_per_row = bm.words_per_row();
    const long long size = static_cast<long long>(bm.height) * words_per_row * 4;
    if (size != bm.size) {
        why = strf("%u data bytes, but a %d x %d picture at depth %u has %lld", bm.size, bm.width, bm.height,
                   bm.depth, size);
        return false;
    }
    if (bm.height <= 0 || words_per_row <= 0) {
        // The import converts no rows: every word stays zero.
        for (uint32_t w : bm.words) {
            if (w != 0) {
                why = strf("data words are not zero although a %d x %d picture has no rows to convert", bm.width,
                           bm.height);
                return false;
            }
        }
    }
    return true;
}

std::string bmp_for(const BitmapView& bm) {
    const long words_per_row = bm.words_per_row();
    const bool known_depth = bm.depth == format::kTwoBit || bm.depth == format::kFourBit;
    const bool rows = known_depth && bm.height > 0 && words_per_row > 0 &&
                      bm.words.size() == static_cast<size_t>(words_per_row) * static_cast<size_t>(bm.height);
    const long per_word = known_depth ? format::pixels_per_word(bm.depth) : 1;
    const uint32_t width = rows ? static_cast<uint32_t>(words_per_row * per_word) : 1;
    const uint32_t height = rows ? static_cast<uint32_t>(bm.height) : 1;
    const uint32_t stride = (4 * width + 31) / 32 * 4;
    const uint32_t data_offset = 14 + 40 + 16 * 4;

    std::string s;
    s += "BM";
    put32(s, data_offset + stride * height);
    put32(s, 0);
    put32(s, data_offset);
    put32(s, 40);  // information header
    put32(s, width);
    put32(s, height);
    put16(s, 1);  // planes
    put16(s, 4);  // bits per pixel
    put32(s, 0);  // no compression
    put32(s, stride * height);
    put32(s, 2835);  // 72 dpi
    put32(s, 2835);
    put32(s, 16);
    put32(s, 0);
    for (int k = 0; k < 16; ++k) {
        const char c = static_cast<char>(255 - level_grey(k));
        s += c;
        s += c;
        s += c;
        s += '\0';
    }
    // Bottom row first; pixel index = level (depth 2 stores level / 4).
    const unsigned scale = bm.depth == format::kTwoBit ? 4 : 1;
    for (uint32_t stored = 0; stored < height; ++stored) {
        std::string row(stride, '\0');
        if (rows) {
            const long r = static_cast<long>(height - 1 - stored);
            for (uint32_t c = 0; c < width; ++c) {
                const unsigned index = bm.pixel(r, c) * scale;
                row[c / 2] = static_cast<char>(row[c / 2] | (c % 2 == 0 ? index << 4 : index));
            }
        }
        s += row;
    }
    return s;
}

}  // namespace orrinrc::dump
