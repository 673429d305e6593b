// PNG output through libpng's simplified writing interface.
#include "dump/pictures.h"

#include <png.h>

#include <vector>

bool bitmap_drawable(const BitmapView& bm, std::string& why) {
    if (!bm.present) {
        why = "no image data";
        return false;
    }
    if (bm.depth != 2 && bm.depth != 4) {
        why = strf("depth %u is neither 2 nor 4", bm.depth);
        return false;
    }
    if (bm.width <= 0 || bm.height <= 0) {
        why = strf("empty picture (%d x %d)", bm.width, bm.height);
        return false;
    }
    const size_t needed = static_cast<size_t>(bm.words_per_row()) * static_cast<size_t>(bm.height);
    if (bm.words.size() != needed) {
        why = strf("%zu data words, a %d x %d picture at depth %u has %zu", bm.words.size(), bm.width, bm.height,
                   bm.depth, needed);
        return false;
    }
    return true;
}

unsigned bitmap_pixel(const BitmapView& bm, long row, long column) {
    const long per_word = 32 / bm.depth;
    const uint32_t word = bm.words[static_cast<size_t>(row * bm.words_per_row() + column / per_word)];
    const int shift = 32 - bm.depth * static_cast<int>(column % per_word + 1);
    return (word >> shift) & ((1u << bm.depth) - 1);
}

bool write_png(const std::string& path, const BitmapView& bm, std::string& error) {
    const unsigned deepest = (1u << bm.depth) - 1;
    std::vector<png_byte> pixels(static_cast<size_t>(bm.width) * static_cast<size_t>(bm.height));
    for (long r = 0; r < bm.height; ++r)
        for (long c = 0; c < bm.width; ++c)
            pixels[static_cast<size_t>(r * bm.width + c)] =
                static_cast<png_byte>(255 - bitmap_pixel(bm, r, c) * 255 / deepest);

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
