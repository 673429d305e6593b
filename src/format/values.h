// The values that records hold in memory, as resource.bin stores them: texts,
// bounds and pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orrinrc {

// An owned text of a record slot; std::nullopt is "none" (never given), which
// writes no bytes at all, while an empty string writes a single NUL.
using Text = std::optional<std::string>;

// Four signed 16-bit values, written in this order.
struct Bounds {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
};

// One bitmap in memory. x..depth are set by the bitmap statements, size and
// words by the BMP import. `loaded` tells whether image data is present: a
// picture of height 0 is present with no words.
struct BitmapRecord {
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint8_t reserved = 0;
    uint8_t depth = 0;
    uint16_t size = 0;
    std::vector<uint32_t> words;
    bool loaded = false;

    // Drops the image data (keeps the allocation for the next picture).
    void clear_image() {
        words.clear();
        loaded = false;
    }
};

}  // namespace orrinrc
