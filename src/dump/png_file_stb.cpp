// PNG files through stb_image_write (Debian's libstb-dev), compiled here.
#include "dump/png_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace orrinrc::dump {

namespace {

struct Sink {
    FILE* file;
    bool ok;
};

void put(void* context, void* data, int size) {
    Sink& sink = *static_cast<Sink*>(context);
    if (sink.ok && std::fwrite(data, 1, static_cast<size_t>(size), sink.file) != static_cast<size_t>(size)) sink.ok = false;
}

void append(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

bool too_large(size_t width, size_t height, std::string& error) {
    if (width <= INT_MAX / 3 && height <= INT_MAX) return false;
    error = "the picture is too large";
    return true;
}

}  // namespace

bool write_png(const std::string& path, const uint8_t* pixels, size_t width, size_t height, size_t channels,
               std::string& error) {
    if (too_large(width, height, error)) return false;
    Sink sink{std::fopen(path.c_str(), "wb"), true};
    if (sink.file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const int c = static_cast<int>(channels);
    sink.ok = stbi_write_png_to_func(put, &sink, w, h, c, pixels, w * c) != 0 && sink.ok;
    const int err = errno;
    sink.ok = std::fclose(sink.file) == 0 && sink.ok;
    if (!sink.ok) error = std::strerror(err != 0 ? err : EIO);
    return sink.ok;
}

bool encode_png(const uint8_t* pixels, size_t width, size_t height, size_t channels, std::string& out,
                std::string& error) {
    if (too_large(width, height, error)) return false;
    out.clear();
    const int w = static_cast<int>(width), c = static_cast<int>(channels);
    if (stbi_write_png_to_func(append, &out, w, static_cast<int>(height), c, pixels, w * c) != 0) return true;
    error = "the PNG encoder failed";
    return false;
}

}  // namespace orrinrc::dump
