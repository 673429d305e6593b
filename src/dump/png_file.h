// Writing a grey-level picture as a PNG file. png_file_libpng.cpp writes it
// with libpng; png_file_stb.cpp with the single-header stb_image_write, for
// targets where libpng is not at hand (Windows). The build takes one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orrinrc::dump {

// Writes `height` rows of `width` bytes (0 black to 255 white) to `path`;
// false with the reason in `error`.
bool write_grey_png(const std::string& path, const uint8_t* pixels, size_t width, size_t height, std::string& error);

}  // namespace orrinrc::dump
