// The scanner's input routine: reads the resource text with text-file
// translation. A CR LF pair becomes one LF, a lone CR stays, and a 0x1A byte
// ends the input as if the file ended there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orrinrc {

// A resource text: a file (read from its current position) or bytes in
// memory.
struct SourceText {
    int fd = -1;
    std::string_view text;
};

struct TextInput {
    static constexpr size_t kReadSize = 8192;
    int fd = -1;
    // In memory instead of a file: the bytes not read yet.
    const char* memory = nullptr;
    size_t memory_left = 0;
    // Translated bytes handed out so far.
    uint64_t delivered = 0;
    char raw[kReadSize + 1];  // one extra byte for a CR held over from the previous read
    size_t start = 0;
    size_t end = 0;
    bool eof = false;  // the file, or a 0x1A byte, has ended the input
};

// Prepares `in` to read from the file descriptor `fd`.
void text_input_open(TextInput& in, int fd);
// Prepares `in` to read `text`, which must outlive the reading.
void text_input_open(TextInput& in, std::string_view text);
// Either of the above.
void text_input_open(TextInput& in, const SourceText& source);

// Fills out[0..max) with translated input; returns the number of bytes, 0 at
// the end of the input, or -1 when a read fails.
long text_input_read(TextInput& in, char* out, size_t max);

}  // namespace orrinrc
