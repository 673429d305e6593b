// Run-wide outputs, the error exit, resource.h lines and the parse trace.
#include "driver/run.h"

#include "driver/outputs.h"
#include "driver/run_listener.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <unistd.h>

namespace orrinrc {

BinWriter resource_bin;
HeaderFile resource_h;
Text resource_name;
RunListener* run_listener = nullptr;

namespace {

// resource.h is flushed in blocks of this size.
constexpr size_t kHeaderFlushAt = 64 * 1024;

// Where a record ends in resource.bin and where its line ends in resource.h.
// An error exit keeps the records that are wholly on disk and cuts
// resource.h to the end of the last one's line.
struct RecordEnd {
    uint64_t bin;
    uint64_t header;
};
// The last record known to be wholly on disk (at first: the total-length
// field, with no line), and the records after it, oldest first.
RecordEnd saved_end{0, 0};
std::deque<RecordEnd> unsaved_ends;

bool outputs_open = false;
bool exiting = false;
int output_failure = 0;  // exit code of the first output that failed

void note_record_end(uint64_t bin, uint64_t header) {
    while (!unsaved_ends.empty() && unsaved_ends.front().bin <= resource_bin.base) {
        saved_end = unsaved_ends.front();
        unsaved_ends.pop_front();
    }
    unsaved_ends.push_back({bin, header});
}

void report_write_failure(int code, const char* path, int err) {
    std::printf("error: can't write %s: %s\n", path, std::strerror(err));
    if (output_failure == 0) output_failure = code;
}

// The saving part of the error exit; never ends the process itself.
void save_outputs() {
    if (!outputs_open) return;
    outputs_open = false;
    if (int err = bin_flush_complete(resource_bin)) report_write_failure(3, resource_bin.path.c_str(), err);
    // The records wholly on disk: all complete ones, unless a write failed.
    const uint64_t on_disk = std::min(resource_bin.base, resource_bin.committed);
    RecordEnd keep = on_disk < saved_end.bin ? RecordEnd{0, 0} : saved_end;
    for (const RecordEnd& e : unsaved_ends) {
        if (e.bin > on_disk) break;
        keep = e;
    }
    if (int err = bin_close_at(resource_bin, keep.bin)) report_write_failure(3, resource_bin.path.c_str(), err);
    if (int err = header_close_at(resource_h, keep.header)) report_write_failure(4, resource_h.path.c_str(), err);
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

void start_outputs() {
    write_u32(resource_bin, 0);  // total-length placeholder, filled in last
    bin_commit_record(resource_bin);
    saved_end = {resource_bin.committed, 0};
    outputs_open = true;
}

void fail_run(int code) {
    if (run_listener) run_listener->failed(code);
    // A failure while saving is reported, never a second exit from here.
    if (!exiting) {
        exiting = true;
        save_outputs();
        discard_output_files();
    }
    std::exit(output_failure != 0 ? output_failure : code);
}

void fail_write(int code, const char* path, int err) {
    report_write_failure(code, path, err);
    fail_run(code);
}

void save_outputs_at_exit() {
    if (exiting || !outputs_open) return;
    exiting = true;
    save_outputs();
    discard_output_files();
    if (output_failure != 0) {
        std::fflush(stdout);
        std::_Exit(output_failure);
    }
}

void finish_outputs() {
    // resource.bin gets its total length once every record is on disk, and
    // keeps it if resource.h fails after that: the file is then complete.
    // resource.h stays open until then, to be cut back if resource.bin fails.
    bin_finish(resource_bin);
    if (int err = header_flush(resource_h, resource_h.pos())) fail_write(4, resource_h.path.c_str(), err);
    const int fd = resource_h.fd;
    resource_h.fd = -1;
    outputs_open = false;
    if (::close(fd) != 0) fail_write(4, resource_h.path.c_str(), errno);
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
    std::string& buf = resource_h.buf;
    buf.append("#define ", 8);
    buf.append(name, length);
    buf.append(tail, static_cast<size_t>(p - tail));
    resource_name.reset();
    note_record_end(resource_bin.committed, resource_h.pos());
    if (buf.size() >= kHeaderFlushAt) {
        if (int err = header_flush(resource_h, resource_h.pos())) fail_write(4, resource_h.path.c_str(), err);
    }
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
    if (run_listener) run_listener->definition_ending(id);
    if (!resource_name) {
        if (run_listener) run_listener->missing_name(id);
        std::printf("error: resource %u has no NAME= line\n", static_cast<unsigned>(id));
        fail_run(1);
    }
    writer(resource_bin);
    bin_commit_record(resource_bin);
    write_define(id);
    trace_end();
}

}  // namespace orrinrc
