// Pictures as stored: rows of 32-bit words, each row starting on a new word,
// pixels packed from the most significant bits down, 2 or 4 bits each.
#pragma once

#include <cstdint>

namespace orrinrc::format {

// Words of one stored row of `width` pixels.
constexpr long words_per_row(long width, unsigned depth) { return (width * static_cast<long>(depth) + 31) / 32; }

constexpr unsigned pixels_per_word(unsigned depth) { return 32 / depth; }

// Where the pixel of `column` sits inside its word: the first pixel of a
// word takes its top bits.
constexpr int pixel_shift(uint64_t column, unsigned depth) {
    return 32 - static_cast<int>(depth * (column % pixels_per_word(depth) + 1));
}

// The bits that put grey `value` at `column` of a row's words.
constexpr uint32_t pixel_bits(uint32_t value, uint64_t column, unsigned depth) {
    return value << pixel_shift(column, depth);
}

// The grey value (0 = white .. 2^depth - 1) of `column` in a row's words.
constexpr unsigned pixel_value(const uint32_t* row, uint64_t column, unsigned depth) {
    return (row[column / pixels_per_word(depth)] >> pixel_shift(column, depth)) & ((1u << depth) - 1);
}

}  // namespace orrinrc::format
