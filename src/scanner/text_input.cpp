// Text-mode translation of the resource text, a block at a time.
#include "scanner/text_input.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/files.h"

namespace orrinrc {

namespace {

// Reads the next block behind the `keep` bytes already at the front of raw.
// Returns false on a read error.
bool refill(TextInput& in, size_t keep) {
    long got;
    if (in.memory != nullptr) {
        got = static_cast<long>(std::min(in.memory_left, TextInput::kReadSize));
        std::memcpy(in.raw + keep, in.memory, static_cast<size_t>(got));
        in.memory += got;
        in.memory_left -= static_cast<size_t>(got);
    } else {
        got = files::read(in.fd, in.raw + keep, TextInput::kReadSize);
    }
    if (got < 0) return false;
    in.start = 0;
    in.end = keep + static_cast<size_t>(got);
    if (got == 0) {
        in.eof = true;
        return true;
    }
    // Nothing after a 0x1A byte is ever part of the input.
    if (void* sub = std::memchr(in.raw + keep, 0x1A, static_cast<size_t>(got))) {
        in.end = static_cast<size_t>(static_cast<char*>(sub) - in.raw);
        in.eof = true;
    }
    return true;
}

}  // namespace

void text_input_open(TextInput& in, int fd) {
    in.fd = fd;
    in.memory = nullptr;
    in.memory_left = 0;
    in.start = in.end = 0;
    in.delivered = 0;
    in.eof = false;
}

void text_input_open(TextInput& in, std::string_view text) {
    text_input_open(in, -1);
    // A non-null pointer marks the memory mode, also for an empty text.
    in.memory = text.empty() ? "" : text.data();
    in.memory_left = text.size();
}

void text_input_open(TextInput& in, const SourceText& source) {
    if (source.fd >= 0) text_input_open(in, source.fd);
    else text_input_open(in, source.text);
}

long text_input_read(TextInput& in, char* out, size_t max) {
    size_t n = 0;
    while (n < max) {
        if (in.start == in.end) {
            if (n > 0 || in.eof) break;
            if (!refill(in, 0)) return -1;
            continue;
        }
        const char* from = in.raw + in.start;
        size_t avail = std::min(in.end - in.start, max - n);
        const char* cr = static_cast<const char*>(std::memchr(from, '\r', avail));
        size_t run = cr ? static_cast<size_t>(cr - from) : avail;
        std::memcpy(out + n, from, run);
        n += run;
        in.start += run;
        if (!cr) continue;
        // A CR: look at the byte after it, reading on when the CR ends the block.
        if (in.start + 1 == in.end && !in.eof) {
            in.raw[0] = '\r';
            if (!refill(in, 1)) return -1;
        }
        if (in.start + 1 < in.end && in.raw[in.start + 1] == '\n') {
            out[n++] = '\n';
            in.start += 2;
        } else {
            out[n++] = '\r';
            in.start += 1;
        }
    }
    in.delivered += n;
    return static_cast<long>(n);
}

}  // namespace orrinrc
