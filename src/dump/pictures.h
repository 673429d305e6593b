// Pictures of stored bitmaps as grey-level PNG files.
#pragma once

#include <string>

#include "dump/records.h"

namespace orrinrc::dump {

// Writes the declared rectangle of a drawable bitmap as an 8-bit grey PNG,
// each pixel `scale` x `scale`: value 0 (the device's white) is 255, the
// deepest value is 0. Returns false with a message when the file cannot be
// written.
bool write_png(const std::string& path, const BitmapView& bm, std::string& error, int scale = 1);

}  // namespace orrinrc::dump
