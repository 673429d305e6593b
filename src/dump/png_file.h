// Writing a picture as a PNG file or PNG bytes: grey levels, or RGB where it
// holds a colour. png_file_libpng.cpp writes it with libpng; png_file_stb.cpp
// with the single-header stb_image_write, for targets where libpng is not at
// hand (Windows). The build takes one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orrinrc::dump {

// Writes `height` rows of `width` pixels to `path`, each pixel one byte of
// grey (0 black to 255 white) or, with `channels` 3, its red, green and blue
// bytes; false with the reason in `error`.
bool write_png(const std::string& path, const uint8_t* pixels, size_t width, size_t height, size_t channels,
               std::string& error);

// The same picture as the bytes of a PNG file, in `out`, encoded for speed
// rather than size where the encoder has the choice.
bool encode_png(const uint8_t* pixels, size_t width, size_t height, size_t channels, std::string& out,
                std::string& error);

}  // namespace orrinrc::dump
