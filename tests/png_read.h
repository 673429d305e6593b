// Reading a grey-level PNG file back in tests, with a decoder of its own
// (stb_image, from libstb-dev) rather than the one the writer comes with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GreyPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows of `width` bytes
};

// False when the file cannot be read or decoded.
bool read_grey_png(const std::string& path, GreyPicture& out);
