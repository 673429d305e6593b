// Pictures of stored bitmaps as grey-level PNG files.
#pragma once

#include <string>

#include "dump/records.h"

// Whether the stored data holds every pixel of its declared rectangle: depth
// 2 or 4, width and height above 0, and height rows of the compiler's words
// per row.
bool bitmap_drawable(const BitmapView& bm, std::string& why);

// The grey value (0..2^depth-1) of a pixel of a drawable bitmap, counting
// every position of a row's words (also those beyond the declared width).
unsigned bitmap_pixel(const BitmapView& bm, long row, long column);

// Writes the declared rectangle of a drawable bitmap as an 8-bit grey PNG:
// value 0 (the device's white) is 255, the deepest value is 0. Returns false
// with a message when the file cannot be written.
bool write_png(const std::string& path, const BitmapView& bm, std::string& error);
