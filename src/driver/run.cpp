// Run-wide outputs, the error exit, resource.h lines and the parse trace.
#include "driver/run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

BinWriter resource_bin;
FILE* resource_h = nullptr;
Text resource_name;

namespace {

[[noreturn]] void header_failed(int err) {
    std::printf("error: can't write resource.h: %s\n", std::strerror(err));
    std::fflush(stdout);
    std::_Exit(4);
}

// The trace and resource.h lines are written once per resource; they are
// put together by hand rather than through printf, which costs more than
// scanning a whole definition of a small resource.

// Appends v in decimal at p; returns the end.
char* put_decimal(char* p, uint64_t v) {
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0) *p++ = digits[--n];
    return p;
}

// Appends v in lower-case hexadecimal, at least `width` digits, zero-padded.
char* put_hex(char* p, uint64_t v, int width) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[v & 0xF];
        v >>= 4;
    } while (v != 0);
    while (n < width) digits[n++] = '0';
    while (n > 0) *p++ = digits[--n];
    return p;
}

char* put_blanks(char* p, int n) {
    while (n-- > 0) *p++ = ' ';
    return p;
}

}  // namespace

void close_resource_h() {
    if (resource_h == nullptr) return;
    FILE* h = resource_h;
    resource_h = nullptr;
    if (std::fclose(h) != 0) header_failed(errno);
}

void abandon_outputs() {
    bin_abandon(resource_bin);
    close_resource_h();
}

void fail_run(int code) {
    abandon_outputs();
    std::exit(code);
}

void write_define(uint16_t id) {
    // "#define <name padded to 40> <id>\n"; the name ends at its first NUL,
    // as a C string would.
    const char* name = resource_name ? resource_name->c_str() : "";
    size_t length = std::strlen(name);
    char tail[48];
    char* p = tail;
    if (length < 40) p = put_blanks(p, static_cast<int>(40 - length));
    *p++ = ' ';
    p = put_decimal(p, id);
    *p++ = '\n';
    if (std::fwrite("#define ", 1, 8, resource_h) != 8 || std::fwrite(name, 1, length, resource_h) != length ||
        std::fwrite(tail, 1, static_cast<size_t>(p - tail), resource_h) != static_cast<size_t>(p - tail))
        header_failed(errno);
    resource_name.reset();
}

void trace_open(const char* keyword) {
    std::fputs(keyword, stdout);
}

void trace_id(const char* keyword, uint16_t id) {
    // "ID=" starts in column 11; the identifier is left-aligned in 4 columns.
    char line[32];
    char* p = put_blanks(line, 10 - static_cast<int>(std::strlen(keyword)));
    *p++ = 'I';
    *p++ = 'D';
    *p++ = '=';
    char* digits = p;
    p = put_decimal(p, id);
    p = put_blanks(p, 4 - static_cast<int>(p - digits));
    std::fwrite(line, 1, static_cast<size_t>(p - line), stdout);
}

void trace_end() {
    // " end=0x<at least 6 hex digits> <decimal>\n"
    uint64_t length = resource_bin.pos();
    char line[64];
    char* p = line;
    std::memcpy(p, " end=0x", 7);
    p = put_hex(p + 7, length, 6);
    *p++ = ' ';
    p = put_decimal(p, length);
    *p++ = '\n';
    std::fwrite(line, 1, static_cast<size_t>(p - line), stdout);
}

void end_definition(uint16_t id, void (*writer)(BinWriter&)) {
    // A name is used by exactly one resource: without a NAME= line of its
    // own, the resource has nothing to define in resource.h.
    if (!resource_name) {
        std::printf("error: resource %u has no NAME= line\n", static_cast<unsigned>(id));
        fail_run(1);
    }
    writer(resource_bin);
    bin_commit_record(resource_bin);
    write_define(id);
    trace_end();
}
