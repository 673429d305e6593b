// What the in-process fuzz targets of a whole run share: the split of a fuzz
// input into a resource text and the pictures it names, outputs in memory
// that stop at a size limit, and the checks that every run must pass.
//
// An input is the resource text, then any number of sections. A section
// starts at a line that begins with "%%" (at the very start of the input or
// right after a LF byte) and runs to the next such line or the end of the
// input. Its first line is a directive; the bytes after that line's LF are
// its body:
//
//   %%picture NAME   the body is the BMP file that a FILE= line naming NAME
//                    reads (NAME is the rest of the line, a final CR
//                    dropped). The first 8 distinct names count; a name given
//                    again keeps its first body.
//   %%limit BIN H    resource.bin and resource.h take at most BIN and H
//                    bytes (decimal; at most, and by default, 4 MiB each);
//                    a write past the limit fails as on a full disk.
//
// Other directives are ignored with their bodies. The text is everything
// before the first section, so a text cannot hold a line starting "%%" and a
// BMP body cannot either (the fuzzer rarely makes one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "output/target.h"
#include "run/run.h"
#include "scanner/compile.h"

namespace fuzz {

constexpr uint64_t kMaxOutput = 4 * 1024 * 1024;
constexpr size_t kMaxPictures = 8;

struct Input {
    std::string_view text;
    std::map<std::string, std::string, std::less<>> pictures;
    uint64_t bin_limit = kMaxOutput;
    uint64_t header_limit = kMaxOutput;
};

Input split_input(const uint8_t* data, size_t size);

// Stops the target with a message naming the broken invariant; libFuzzer
// keeps the input.
[[noreturn]] void fail(const std::string& what);

// An output in memory that behaves like a file under a size limit: an append
// takes what fits and then fails with EFBIG. Writing over bytes that are not
// there and any use after close are faults of the caller.
class CappedTarget final : public orrinrc::OutputTarget {
public:
    explicit CappedTarget(uint64_t limit) : limit_(limit) {}
    int append(const void* data, size_t n, size_t& done) override;
    int write_at(uint64_t at, const void* data, size_t n) override;
    int truncate(uint64_t size) override;
    int close() override;

    const std::string& bytes() const { return bytes_; }
    bool closed() const { return closed_; }
    bool hit_limit() const { return hit_limit_; }

private:
    uint64_t limit_;
    std::string bytes_;
    bool closed_ = false;
    bool hit_limit_ = false;
};

// One run with its outputs in memory.
struct Compiled {
    orrinrc::RunResult result;
    std::string bin;
    std::string header;
    std::string trace;
    bool hit_limit = false;  // an output reached its size limit
};

// Compiles the text from memory, or from a memory file (`from_fd`), with the
// input's pictures and limits; checks that both outputs end closed.
Compiled compile_input(const Input& input, bool from_fd = false);

// The checks every run passes: exit code and error agree; the error's place
// is where its offset lies in the text; resource.bin holds complete records
// that the dump tool reads, one per resource.h line with the same
// identifiers; the total-length field is the size after a success and 0
// after a failure (unless resource.h failed once resource.bin was
// complete).
void check_run(const Input& input, const Compiled& c);

// Fails unless both runs have the same results and outputs; `what` names the
// pair.
void check_same(const Compiled& a, const Compiled& b, const char* what);

// The identifiers of resource.h's lines ("#define NAME ID" each); fails on
// a line of another form.
std::vector<uint16_t> header_ids(const std::string& header);

// The text as the scanner reads it: up to the first 0x1A byte, CR LF as LF.
std::string scanned_text(std::string_view text);

// Whether (line, column) is a place in the scanned text: a line that exists
// and a column from 1 to one past its end. Line 0 is no place and passes.
class TextPlaces {
public:
    explicit TextPlaces(std::string_view scanned);
    bool contains(uint64_t line, uint64_t column) const;
    size_t lines() const { return line_lengths_.size(); }

private:
    std::vector<size_t> line_lengths_;
};

}  // namespace fuzz
