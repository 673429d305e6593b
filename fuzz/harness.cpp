// The input split, the capped outputs and the checks of a whole run.
#include "harness.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dump/records.h"

using namespace orrinrc;

namespace fuzz {

namespace {

// The start of the next section at or after `from`: a "%%" at the start of
// the input or after a LF; `size` when there is none.
size_t next_section(const uint8_t* data, size_t size, size_t from) {
    for (size_t i = from; i + 1 < size; ++i)
        if (data[i] == '%' && data[i + 1] == '%' && (i == 0 || data[i - 1] == '\n')) return i;
    return size;
}

// A decimal number at p (after blanks), saturated at kMaxOutput; `fallback`
// when there are no digits.
uint64_t limit_value(std::string_view line, size_t& p, uint64_t fallback) {
    while (p < line.size() && line[p] == ' ') ++p;
    if (p >= line.size() || line[p] < '0' || line[p] > '9') return fallback;
    uint64_t v = 0;
    for (; p < line.size() && line[p] >= '0' && line[p] <= '9'; ++p)
        v = std::min<uint64_t>(kMaxOutput, v * 10 + static_cast<uint64_t>(line[p] - '0'));
    return v;
}

std::string describe(const Error& e) {
    char place[96];
    std::snprintf(place, sizeof place, " (kind %d, exit %d, line %u, column %u, offset %llu%s)",
                  static_cast<int>(e.kind), e.exit_code, e.at.line, e.at.column,
                  static_cast<unsigned long long>(e.at.offset), e.located ? ", located" : "");
    return "\"" + e.message + "\"" + place;
}

bool same_error(const Error& a, const Error& b) {
    return a.kind == b.kind && a.exit_code == b.exit_code && a.message == b.message && a.stream == b.stream &&
           a.note == b.note && a.state == b.state && a.at.line == b.at.line && a.at.column == b.at.column &&
           a.at.offset == b.at.offset && a.located == b.located;
}

// The identifiers of resource.bin's records, as the dump tool reads them.
std::vector<uint16_t> record_ids(const std::string& bin) {
    std::vector<uint16_t> ids;
    dump::ImageReader image;
    image.open_memory(reinterpret_cast<const uint8_t*>(bin.data()), bin.size());
    try {
        image.start();
        dump::walk_records(image, [&](dump::Record& rec) { ids.push_back(rec.id); });
    } catch (const dump::DumpError& e) {
        fail("the dump tool cannot read resource.bin at offset " + std::to_string(e.offset) + ": " + e.what);
    }
    return ids;
}

uint32_t total_length(const std::string& bin) {
    const auto* p = reinterpret_cast<const uint8_t*>(bin.data());
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** fuzz invariant broken: %s\n\n", what.c_str());
    std::abort();
}

std::vector<uint16_t> header_ids(const std::string& header) {
    std::vector<uint16_t> ids;
    size_t start = 0;
    while (start < header.size()) {
        const size_t end = header.find('\n', start);
        if (end == std::string::npos) fail("resource.h ends inside a line");
        const std::string_view line(header.data() + start, end - start);
        if (line.substr(0, 8) != "#define ") fail("a resource.h line is no #define: " + std::string(line));
        const size_t blank = line.rfind(' ');
        if (blank == std::string_view::npos || blank + 1 >= line.size() || blank < 8)
            fail("a #define line without its identifier: " + std::string(line));
        unsigned long id = 0;
        for (size_t i = blank + 1; i < line.size(); ++i) {
            if (line[i] < '0' || line[i] > '9' || id > 65535) fail("a #define identifier is no number: " + std::string(line));
            id = id * 10 + static_cast<unsigned long>(line[i] - '0');
        }
        if (id > 65535) fail("a #define identifier is over 65535: " + std::string(line));
        ids.push_back(static_cast<uint16_t>(id));
        start = end + 1;
    }
    return ids;
}

Input split_input(const uint8_t* data, size_t size) {
    Input in;
    size_t at = next_section(data, size, 0);
    in.text = std::string_view(reinterpret_cast<const char*>(data), at);
    while (at < size) {
        const size_t next = next_section(data, size, at + 2);
        const char* section = reinterpret_cast<const char*>(data + at);
        const std::string_view whole(section, next - at);
        const size_t line_end = whole.find('\n');
        std::string_view line = whole.substr(2, line_end == std::string_view::npos ? std::string_view::npos : line_end - 2);
        const std::string_view body =
            line_end == std::string_view::npos ? std::string_view() : whole.substr(line_end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, 8) == "picture ") {
            if (in.pictures.size() < kMaxPictures) in.pictures.emplace(std::string(line.substr(8)), std::string(body));
        } else if (line.substr(0, 6) == "limit ") {
            size_t p = 6;
            in.bin_limit = limit_value(line, p, kMaxOutput);
            in.header_limit = limit_value(line, p, kMaxOutput);
        }
        at = next;
    }
    return in;
}

int CappedTarget::append(const void* data, size_t n, size_t& done) {
    if (closed_) fail("an output is written after it was closed");
    const uint64_t room = limit_ > bytes_.size() ? limit_ - bytes_.size() : 0;
    done = static_cast<size_t>(std::min<uint64_t>(n, room));
    bytes_.append(static_cast<const char*>(data), done);
    if (done < n) {
        hit_limit_ = true;
        return EFBIG;
    }
    return 0;
}

int CappedTarget::write_at(uint64_t at, const void* data, size_t n) {
    if (closed_) fail("an output is patched after it was closed");
    if (at > bytes_.size() || n > bytes_.size() - at)
        fail("an output is patched at " + std::to_string(at) + " past its end " + std::to_string(bytes_.size()));
    std::memcpy(bytes_.data() + at, data, n);
    return 0;
}

int CappedTarget::truncate(uint64_t size) {
    if (closed_) fail("an output is cut after it was closed");
    if (size < bytes_.size()) bytes_.resize(static_cast<size_t>(size));
    return 0;
}

int CappedTarget::close() {
    if (closed_) fail("an output is closed twice");
    closed_ = true;
    return 0;
}

Compiled compile_input(const Input& input, bool from_fd) {
    Compiled c;
    CappedTarget bin(input.bin_limit), header(input.header_limit);
    RunOptions options;
    options.pictures = &input.pictures;
    const CompileOutputs outputs{&bin, &header, Console(&c.trace)};
    if (from_fd) {
        const int fd = ::memfd_create("orrinrc-fuzz-text", MFD_CLOEXEC);
        if (fd < 0) fail(std::string("memfd_create: ") + std::strerror(errno));
        for (size_t done = 0; done < input.text.size();) {
            const ssize_t n = ::write(fd, input.text.data() + done, input.text.size() - done);
            if (n <= 0) fail("cannot write the text to a memory file");
            done += static_cast<size_t>(n);
        }
        ::lseek(fd, 0, SEEK_SET);
        c.result = compile(SourceText{fd, {}}, options, outputs);
        ::close(fd);
    } else {
        c.result = compile(SourceText{-1, input.text}, options, outputs);
    }
    if (!bin.closed() || !header.closed()) fail("an output is left open after the run");
    c.bin = bin.bytes();
    c.header = header.bytes();
    c.hit_limit = bin.hit_limit() || header.hit_limit();
    return c;
}

std::string scanned_text(std::string_view text) {
    const size_t end = text.find('\x1a');
    if (end != std::string_view::npos) text = text.substr(0, end);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

TextPlaces::TextPlaces(std::string_view scanned) {
    size_t start = 0;
    for (;;) {
        const size_t end = scanned.find('\n', start);
        if (end == std::string_view::npos) {
            line_lengths_.push_back(scanned.size() - start);
            break;
        }
        line_lengths_.push_back(end - start);
        start = end + 1;
    }
}

bool TextPlaces::contains(uint64_t line, uint64_t column) const {
    if (line == 0) return true;
    return line <= line_lengths_.size() && column >= 1 && column <= line_lengths_[line - 1] + 1;
}

void check_run(const Input& input, const Compiled& c) {
    const RunResult& r = c.result;
    if (r.exit_code < 0 || r.exit_code > 4) fail("exit code " + std::to_string(r.exit_code));
    if (r.ok() == r.error.has_value()) fail("the exit code and the error disagree");
    if (r.ok() && !r.output_failures.empty()) fail("a run that succeeded has output failures");

    bool header_failed = false;
    auto output_error = [&](const Error& e) {
        if (e.kind != ErrorKind::OutputWrite) return;
        if (e.exit_code != 3 && e.exit_code != 4) fail("an output error with exit code " + std::to_string(e.exit_code));
        if (e.exit_code == 4) header_failed = true;
        if (!c.hit_limit) fail("an output failed that had room: " + describe(e));
    };
    for (const Error& e : r.output_failures) {
        if (e.kind != ErrorKind::OutputWrite) fail("an output failure of another kind: " + describe(e));
        output_error(e);
    }
    if (r.error) {
        const Error& e = *r.error;
        if (e.message.empty()) fail("an error without a message");
        output_error(e);
        if (e.located) {
            // The place must be where the offset lies in the text.
            const std::string scanned = scanned_text(input.text);
            if (e.at.offset > scanned.size())
                fail("an error past the end of the text: " + describe(e) + ", text of " +
                     std::to_string(scanned.size()) + " bytes");
            uint32_t line = 1, column = 1;
            for (size_t i = 0; i < e.at.offset; ++i) {
                if (scanned[i] == '\n') {
                    ++line;
                    column = 1;
                } else {
                    ++column;
                }
            }
            if (e.at.line != line || e.at.column != column)
                fail("an error placed at the wrong line or column: " + describe(e) + ", expected line " +
                     std::to_string(line) + " column " + std::to_string(column));
        }
    }
    for (const std::string& file : r.pictures_read)
        if (input.pictures.find(file) == input.pictures.end()) fail("a picture read that is not in memory: " + file);

    const std::vector<uint16_t> lines = header_ids(c.header);
    std::vector<uint16_t> records;
    if (r.ok()) {
        if (c.bin.size() < 4 || total_length(c.bin) != c.bin.size())
            fail("a run that succeeded left a total length that is not the size of resource.bin");
        records = record_ids(c.bin);
    } else if (c.bin.empty()) {
        if (!c.hit_limit) fail("a failed run left resource.bin empty, with room to write");
    } else {
        if (c.bin.size() < 4) fail("a failed run left resource.bin shorter than its total-length field");
        const uint32_t total = total_length(c.bin);
        // resource.bin is finished before resource.h is saved: when only
        // resource.h fails after that, resource.bin stays complete.
        const bool complete = header_failed && total == c.bin.size();
        if (total != 0 && !complete)
            fail("a failed run left a total length of " + std::to_string(total) + " in resource.bin");
        records = record_ids(c.bin);
    }
    // One line per record, in order. A resource.h that failed keeps the
    // lines of the records it could take.
    const bool prefix = lines.size() <= records.size() && std::equal(lines.begin(), lines.end(), records.begin());
    if (!prefix || (lines.size() != records.size() && !header_failed))
        fail("resource.h has " + std::to_string(lines.size()) + " lines for the " + std::to_string(records.size()) +
             " records of resource.bin, or other identifiers");
}

void check_same(const Compiled& a, const Compiled& b, const char* what) {
    const RunResult& x = a.result;
    const RunResult& y = b.result;
    auto differ = [&](const std::string& field) { fail(std::string(what) + ": the runs differ in " + field); };
    if (x.exit_code != y.exit_code) differ("exit code");
    if (x.error.has_value() != y.error.has_value()) differ("having an error");
    if (x.error && !same_error(*x.error, *y.error)) differ("the error: " + describe(*x.error) + " and " + describe(*y.error));
    if (x.output_failures.size() != y.output_failures.size()) differ("output failures");
    for (size_t i = 0; i < x.output_failures.size(); ++i)
        if (!same_error(x.output_failures[i], y.output_failures[i])) differ("an output failure");
    if (x.pictures_read != y.pictures_read) differ("the pictures read");
    if (a.bin != b.bin) differ("resource.bin");
    if (a.header != b.header) differ("resource.h");
    if (a.trace != b.trace) differ("the trace");
}

}  // namespace fuzz
