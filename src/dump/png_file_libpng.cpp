// PNG files through libpng's simplified interface.
#include "dump/png_file.h"

#include <png.h>

namespace orrinrc::dump {

bool write_png(const std::string& path, const uint8_t* pixels, size_t width, size_t height, size_t channels,
               std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels, static_cast<png_int_32>(width * channels), nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace orrinrc::dump
