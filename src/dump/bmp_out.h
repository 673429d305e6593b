// BMP files that the compiler's BMP import turns back into given bitmap data.
#pragma once

#include <string>

#include "dump/records.h"

namespace orrinrc::dump {

// A 4-bit palette BMP whose conversion at the bitmap's depth, width and
// height gives exactly its stored words. Palette index k is a grey of level
// k; every row is as wide as the row's words, so the pixels beyond the
// declared width in a row's last word come from the file too. A bitmap
// without rows or words gets a 1 x 1 white picture, which converts to no
// data. Only meaningful for data that bitmap_reproducible accepts; other
// data gives that white picture too.
std::string bmp_for(const BitmapView& bm);

// Whether the compiler can produce these stored bytes from some BMP file;
// otherwise sets `why`.
bool bitmap_reproducible(const BitmapView& bm, std::string& why);

}  // namespace orrinrc::dump
