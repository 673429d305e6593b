// Reading a PNG file back in tests, as grey levels or as RGB, with a decoder of its own
// (stb_image, from libstb-dev) rather than the one the writer comes with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows of `width` pixels, each `channels` bytes
};

// False when the file cannot be read or decoded. `channels` is 1 (grey) or
// 3 (red, green, blue), whatever the file holds.
bool read_png(const std::string& path, GreyPicture& out, int channels);
inline bool read_grey_png(const std::string& path, GreyPicture& out) { return read_png(path, out, 1); }
