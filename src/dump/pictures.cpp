// PNG output through libpng's simplified writing interface.
#include "dump/pictures.h"

#include <png.h>

#include <vector>

namespace orrinrc::dump {

bool write_png(const std::string& path, const BitmapView& bm, std::string& error) {
    const unsigned deepest = (1u << bm.depth) - 1;
    std::vector<png_byte> pixels(static_cast<size_t>(bm.width) * static_cast<size_t>(bm.height));
    for (long r = 0; r < bm.height; ++r)
        for (long c = 0; c < bm.width; ++c)
            pixels[static_cast<size_t>(r * bm.width + c)] =
                static_cast<png_byte>(255 - bm.pixel(r, c) * 255 / deepest);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bm.width);
    image.height = static_cast<png_uint_32>(bm.height);
    image.format = PNG_FORMAT_GRAY;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), bm.width, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace orrinrc::dump
