// A run's outputs, the saving after an error, resource.h lines, the parse
// trace and picture import.
#include "run/run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "util/files.h"

namespace orrinrc {

namespace {

// resource.h is flushed in blocks of this size (a few lines in fuzz builds,
// as resource.bin).
#ifdef ORRINRC_SMALL_BUFFERS
constexpr size_t kHeaderFlushAt = 128;
#else
constexpr size_t kHeaderFlushAt = 64 * 1024;
#endif

void note_record_end(Run& run, uint64_t bin, uint64_t header) {
    while (!run.unsaved_ends.empty() && run.unsaved_ends.front().bin <= run.resource_bin.base) {
        run.saved_end = run.unsaved_ends.front();
        run.unsaved_ends.pop_front();
    }
    run.unsaved_ends.push_back({bin, header});
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

[[noreturn]] void header_write_failed(const Run& run, int err) {
    raise(output_write_error(4, run.resource_h.path.c_str(), err));
}

}  // namespace

void start_outputs(Run& run) {
    write_u32(run.resource_bin, 0);  // total-length placeholder, filled in last
    bin_commit_record(run.resource_bin);
    run.saved_end = {run.resource_bin.committed, 0};
    run.outputs_open = true;
}

std::vector<Error> save_after_error(Run& run) {
    std::vector<Error> failures;
    if (!run.outputs_open) return failures;
    run.outputs_open = false;
    BinWriter& bin = run.resource_bin;
    HeaderFile& header = run.resource_h;
    if (int err = bin_flush_complete(bin)) failures.push_back(output_write_error(3, bin.path.c_str(), err));
    // The records wholly on disk: all complete ones, unless a write failed.
    const uint64_t on_disk = std::min(bin.base, bin.committed);
    RecordEnd keep = on_disk < run.saved_end.bin ? RecordEnd{0, 0} : run.saved_end;
    for (const RecordEnd& e : run.unsaved_ends) {
        if (e.bin > on_disk) break;
        keep = e;
    }
    if (int err = bin_close_at(bin, keep.bin)) failures.push_back(output_write_error(3, bin.path.c_str(), err));
    if (int err = header_close_at(header, keep.header))
        failures.push_back(output_write_error(4, header.path.c_str(), err));
    return failures;
}

void finish_outputs(Run& run) {
    // resource.bin gets its total length once every record is on disk, and
    // keeps it if resource.h fails after that: the file is then complete.
    // resource.h stays open until then, to be cut back if resource.bin fails.
    HeaderFile& header = run.resource_h;
    bin_finish(run.resource_bin);
    if (int err = header_flush(header, header.pos())) header_write_failed(run, err);
    OutputTarget* out = header.out;
    header.out = nullptr;
    run.outputs_open = false;
    if (int err = out->close()) header_write_failed(run, err);
}

void write_define(Run& run, uint16_t id) {
    // "#define <name padded to 40> <id>\n"; the name ends at its first NUL,
    // as a C string would.
    HeaderFile& header = run.resource_h;
    if (header.out != nullptr && header.out->keeps_nothing()) {
        run.resource_name.reset();
        note_record_end(run, run.resource_bin.committed, header.pos());
        return;
    }
    const char* name = run.resource_name ? run.resource_name->c_str() : "";
    size_t length = std::strlen(name);
    char tail[48];
    char* p = tail;
    if (length < 40) p = put_blanks(p, static_cast<int>(40 - length));
    *p++ = ' ';
    p = put_decimal(p, id);
    *p++ = '\n';
    std::string& buf = header.buf;
    buf.append("#define ", 8);
    buf.append(name, length);
    buf.append(tail, static_cast<size_t>(p - tail));
    run.resource_name.reset();
    note_record_end(run, run.resource_bin.committed, header.pos());
    if (buf.size() >= kHeaderFlushAt) {
        if (int err = header_flush(header, header.pos())) header_write_failed(run, err);
    }
}

void trace_open(Run& run, const char* keyword) {
    run.console.put(keyword);
}

void trace_id(Run& run, const char* keyword, uint16_t id) {
    // "ID=" starts in column 11; the identifier is left-aligned in 4 columns.
    if (run.console.nowhere()) return;
    char line[32];
    char* p = put_blanks(line, 10 - static_cast<int>(std::strlen(keyword)));
    *p++ = 'I';
    *p++ = 'D';
    *p++ = '=';
    char* digits = p;
    p = put_decimal(p, id);
    p = put_blanks(p, 4 - static_cast<int>(p - digits));
    run.console.write(line, static_cast<size_t>(p - line));
}

void trace_end(Run& run) {
    // " end=0x<at least 6 hex digits> <decimal>\n"
    if (run.console.nowhere()) return;
    uint64_t length = run.resource_bin.pos();
    char line[64];
    char* p = line;
    std::memcpy(p, " end=0x", 7);
    p = put_hex(p + 7, length, 6);
    *p++ = ' ';
    p = put_decimal(p, length);
    *p++ = '\n';
    run.console.write(line, static_cast<size_t>(p - line));
}

RunListener* listener_now(Run& run) {
    RunListener* listener = run.options.listener;
    if (listener == nullptr || !run.scan_events || run.scan_events->count == 0) return listener;
    // Handed over once, even when the listener fails on them.
    ScanEvents& events = *run.scan_events;
    const size_t count = std::exchange(events.count, 0);
    listener->scanned(events.events.get(), count);
    return listener;
}

void end_definition(Run& run, uint16_t id, void (*writer)(BinWriter&, const Records&)) {
    // A name is used by exactly one resource: without a NAME= line of its
    // own, the resource has nothing to define in resource.h.
    RunListener* listener = listener_now(run);
    if (listener) listener->definition_ending(id, run.records, run.resource_name);
    if (!run.resource_name) {
        if (listener) listener->missing_name(id);
        Error e;
        e.kind = ErrorKind::MissingName;
        e.message = "error: resource " + std::to_string(id) + " has no NAME= line\n";
        raise(std::move(e));
    }
    writer(run.resource_bin, run.records);
    bin_commit_record(run.resource_bin);
    write_define(run, id);
    trace_end(run);
}

std::string resolve_picture(const RunOptions& options, const char* name) {
    // Without picture folders a name stands for itself: no look-up at all.
    if (options.pictures != nullptr || options.picture_dirs.empty() || name[0] == '\0' || files::is_absolute(name))
        return name;
    auto exists = [&](const std::string& file) {
        return files::status(picture_path(options, file).c_str()).kind != files::Kind::Missing;
    };
    if (exists(name)) return name;
    for (const std::string& dir : options.picture_dirs) {
        std::string candidate = dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
        if (exists(candidate)) return candidate;
    }
    return name;
}

std::string picture_path(const RunOptions& options, const std::string& file) {
    const std::string& base = options.base_dir;
    if (base.empty() || file.empty() || files::is_absolute(file)) return file;
    return base.back() == '/' ? base + file : base + "/" + file;
}

namespace {

// Converts the picture from the run's pictures in memory, or from its file.
std::string convert_picture(Run& run, BitmapRecord& bm, const std::string& file) {
    if (run.options.pictures == nullptr) return run.pictures.convert(bm, picture_path(run.options, file), file);
    const auto found = run.options.pictures->find(file);
    if (found == run.options.pictures->end()) return "error: can't open file " + file + "\n";
    return bmp_convert(bm, file.c_str(), found->second);
}

}  // namespace

void import_picture(Run& run, BitmapRecord& bm, const char* name, uint64_t statement_offset) {
    const std::string file = resolve_picture(run.options, name);
    std::string message = convert_picture(run, bm, file);
    if (RunListener* listener = listener_now(run)) listener->picture(bm, name, picture_path(run.options, file), message);
    if (message.empty()) {
        if (run.files_known.insert(file).second) run.files_read.push_back(file);
        return;
    }
    if (run.options.blank_unreadable_pictures) {
        blank_picture(bm);
        return;
    }
    Error e;
    e.kind = ErrorKind::Picture;
    e.message = std::move(message);
    e.at.offset = statement_offset;
    e.located = true;
    raise(std::move(e));
}

}  // namespace orrinrc
