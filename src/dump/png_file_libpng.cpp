// PNG files through libpng's simplified interface.
#include "dump/png_file.h"

#include <png.h>

namespace orrinrc::dump {

namespace {

png_image describe(size_t width, size_t height, size_t channels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = channels == 3 ? PNG_FORMAT_RGB : PNG_FORMAT_GRAY;
    return image;
}

bool failed(png_image& image, std::string& error) {
    error = image.message;
    png_image_free(&image);
    return false;
}

}  // namespace

bool write_png(const std::string& path, const uint8_t* pixels, size_t width, size_t height, size_t channels,
               std::string& error) {
    png_image image = describe(width, height, channels);
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels, static_cast<png_int_32>(width * channels), nullptr))
        return failed(image, error);
    return true;
}

bool encode_png(const uint8_t* pixels, size_t width, size_t height, size_t channels, std::string& out,
                std::string& error) {
    png_image image = describe(width, height, channels);
    // Bytes in memory are served at once rather than kept: speed over size.
    image.flags |= PNG_IMAGE_FLAG_FAST;
    const png_int_32 stride = static_cast<png_int_32>(width * channels);
    // Asked for its size first, then written into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, stride, nullptr)) return failed(image, error);
    out.resize(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, stride, nullptr)) return failed(image, error);
    out.resize(size);
    return true;
}

}  // namespace orrinrc::dump
