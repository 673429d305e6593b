// The room that text takes on the screen, as the preview draws it: a pixel
// font of 5 x 7 dots, drawn at each of the toolkit's three font sizes. The
// checker estimates with it whether a text fits its object.
#pragma once

#include <cstddef>
#include <cstdint>

#include "format/format.h"

namespace orrinrc::format {

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 7;

struct FontMetrics {
    int advance;  // the room a character takes across, its spacing included
    int height;   // the room a line takes down
};

// The metrics of a font code (kSmallFont, kMediumFont, kLargeFont); other
// codes are drawn as the medium font.
constexpr FontMetrics font_metrics(uint32_t font) {
    if (font == kSmallFont) return {kGlyphColumns + 1, kGlyphRows + 1};
    if (font == kLargeFont) return {2 * (kGlyphColumns + 1), 2 * (kGlyphRows + 1)};
    return {kGlyphColumns + 2, kGlyphRows + 2};  // bold: one more column of ink
}

// The width of a text of `bytes` characters (each byte is drawn as one).
constexpr long text_width(size_t bytes, uint32_t font) {
    return static_cast<long>(bytes) * font_metrics(font).advance;
}

}  // namespace orrinrc::format
