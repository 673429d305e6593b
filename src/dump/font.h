// The preview's pixel font: 5 x 7 dots per character.
#pragma once

#include <cstdint>

#include "format/text_metrics.h"

namespace orrinrc::dump {

using format::kGlyphColumns;
using format::kGlyphRows;

// Whether the dot at (row, column) of a character's glyph is ink. Bytes
// outside printable ASCII show as '?'.
bool glyph_dot(unsigned char c, int row, int column);

}  // namespace orrinrc::dump
