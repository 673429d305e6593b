// Fuzz target of the BMP import alone. An input is six bytes that stand for
// the bitmap statements of a resource (width and height as signed 16-bit
// little-endian values, the depth byte, one spare byte), then the BMP file.
// The file is written to a private temporary file and converted; a
// successful conversion must give exactly the data that the record's size
// announces, and a failure must leave the record untouched.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bitmap/bmp_import.h"

using namespace orrinrc;

namespace {

std::string temp_path() {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/orrinrc-bmp-fuzz-" + std::to_string(getpid()) + ".bmp";
}

void write_whole(const std::string& path, const uint8_t* data, size_t n) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    while (n > 0) {
        ssize_t done = ::write(fd, data, n);
        if (done <= 0) std::abort();
        data += done;
        n -= static_cast<size_t>(done);
    }
    ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    static const std::string path = temp_path();

    BitmapRecord bm;
    bm.width = static_cast<int16_t>(data[0] | data[1] << 8);
    bm.height = static_cast<int16_t>(data[2] | data[3] << 8);
    bm.depth = data[4];
    // A record that held an earlier picture: a failure must keep it.
    bm.words = {0xA5A5A5A5u};
    bm.size = 4;
    bm.loaded = true;

    write_whole(path, data + 6, size - 6);
    const std::string message = bmp_convert(bm, path.c_str());
    if (message.empty()) {
        const int64_t words_per_row = (int64_t{bm.width} * bm.depth + 31) / 32;
        const int64_t expected = int64_t{bm.height} * words_per_row * 4;
        if (bm.depth != 2 && bm.depth != 4) __builtin_trap();
        if (bm.size > 65532 || bm.size % 4 != 0) __builtin_trap();
        if (bm.words.size() != bm.size / 4u) __builtin_trap();
        if (bm.size != expected) __builtin_trap();
        if (!bm.loaded) __builtin_trap();
    } else {
        if (message.back() != '\n' || message.rfind("error: ", 0) != 0) __builtin_trap();
        if (bm.words.size() != 1 || bm.words[0] != 0xA5A5A5A5u || bm.size != 4 || !bm.loaded) __builtin_trap();
    }
    return 0;
}
