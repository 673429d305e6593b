// The PNG reader of the tests.
#include "png_read.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

bool read_png(const std::string& path, GreyPicture& out, int channels) {
    int in_file = 0;
    unsigned char* data = stbi_load(path.c_str(), &out.width, &out.height, &in_file, channels);
    if (data == nullptr) return false;
    out.pixels.assign(data, data + static_cast<size_t>(out.width) * static_cast<size_t>(out.height) *
                                       static_cast<size_t>(channels));
    stbi_image_free(data);
    return true;
}
