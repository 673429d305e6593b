// The scanner's input routine: reads the resource text with text-file
// translation. A CR LF pair becomes one LF, a lone CR stays, and a 0x1A byte
// ends the input as if the file ended there.
#pragma once

#include <cstddef>

namespace orrinrc {

struct TextInput {
    static constexpr size_t kReadSize = 8192;
    int fd = -1;
    char raw[kReadSize + 1];  // one extra byte for a CR held over from the previous read
    size_t start = 0;
    size_t end = 0;
    bool eof = false;  // the file, or a 0x1A byte, has ended the input
};

// Prepares `in` to read from the file descriptor `fd`.
void text_input_open(TextInput& in, int fd);

// Fills out[0..max) with translated input; returns the number of bytes, 0 at
// the end of the input, or -1 when a read fails.
long text_input_read(TextInput& in, char* out, size_t max);

}  // namespace orrinrc
