// The preview's pixel font: 5 x 7 dots per character.
#pragma once

#include <cstdint>

namespace orrinrc::dump {

inline constexpr int kGlyphColumns = 5;
inline constexpr int kGlyphRows = 7;

// Whether the dot at (row, column) of a character's glyph is ink. Bytes
// outside printable ASCII show as '?'.
bool glyph_dot(unsigned char c, int row, int column);

}  // namespace orrinrc::dump
