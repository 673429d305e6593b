// Grey levels of the packed bitmap format: every source colour, palette entry
// or direct pixel alike, goes through the same rule.
#pragma once

#include <array>
#include <cstdint>

namespace orrinrc {

// Upper grey bound of each of the 16 levels, ascending. Grey runs from 0
// (white) to 255 (black); the last bound is above every grey, so every pixel
// finds a level.
inline constexpr std::array<int, 16> kGreyThresholds = {
    1, 2, 3, 4, 62, 63, 64, 80, 96, 106, 108, 144, 156, 168, 180, 256};

// Level 0..15 of a colour from the sum of its red, green and blue components
// (8 bits each, so 0..765): grey = 255 - sum / 3, level = the first k whose
// bound is at least that grey.
constexpr int grey_level(int rgb_sum) {
    const int grey = 255 - rgb_sum / 3;
    int k = 0;
    while (k < 15 && kGreyThresholds[k] < grey) ++k;
    return k;
}

// The value that a level takes at an output depth of 2 or 4 bits per pixel:
// the level itself at depth 4, the level divided by 4 at depth 2.
constexpr uint32_t depth_value(int level, int depth) {
    return static_cast<uint32_t>(level * (1 << depth) / 16);
}

}  // namespace orrinrc
