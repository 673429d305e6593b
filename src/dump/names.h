// Symbolic names of the resources, read back from a resource.h that the
// compiler wrote: one "#define <name padded to 40> <id>" line per record, in
// record order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orrinrc::dump {

struct DefineLine {
    std::string name;
    uint16_t id = 0;
};

// Parses one line of resource.h (without its line end); false when it is not
// such a #define line.
bool parse_define_line(const std::string& line, DefineLine& out);

// Parses a whole resource.h. On a line that is not such a #define line,
// returns false and sets `error` to a message naming the line.
bool parse_resource_h(const std::string& content, std::vector<DefineLine>& out, std::string& error);

// resource.h read alongside the records, one line at a time: opening it
// checks every line and notes where the first line of each identifier lies
// (at most 65536 places), so neither grows with the file beyond that.
class DefineFile {
public:
    DefineFile() = default;
    DefineFile(const DefineFile&) = delete;
    DefineFile& operator=(const DefineFile&) = delete;
    ~DefineFile();

    // Opens and checks the file. False with `error` set (the system's
    // message, or the line that is not a #define line) when it cannot;
    // `unreadable` tells the two apart.
    bool open(const std::string& path, std::string& error, bool& unreadable);
    size_t lines() const { return lines_; }

    // The line at `index` (0-based); asked in increasing order, starting
    // again from 0 after rewind(). False past the last line.
    bool line(size_t index, DefineLine& out);
    void rewind();

    // The name of the record at `index` with identifier `id`: the line at its
    // position when that line has its identifier, otherwise the first line
    // with its identifier, otherwise "".
    std::string name_for(size_t index, uint16_t id);

private:
    bool read_line(std::string& out);

    FILE* file_ = nullptr;
    char* line_buffer_ = nullptr;  // files::get_line's buffer
    size_t line_capacity_ = 0;
    size_t lines_ = 0;
    size_t next_ = 0;  // index of the line the file is positioned at
    DefineLine current_;
    size_t current_index_ = SIZE_MAX;
    std::vector<long> first_line_;  // file offset of the first line per identifier, or -1
};

// A resource name made safe for a file name: letters, digits, "_" and "-"
// kept, anything else "_", at most 64 characters.
std::string file_base(const std::string& name);

class NameSet;

// The file name (without extension) of a resource's outputs: its name made
// safe, or KIND_id without one, then `suffix`, numbered (_2, _3, ...) when
// `used` holds it already; added to `used`.
std::string unique_file_base(NameSet& used, const std::string& name, const char* keyword, uint16_t id,
                             const std::string& suffix = "");

// A set of names that keeps an 8-byte hash of each (16 bytes per name at
// most), for picking file names that no earlier picture took. Two names
// whose hashes agree count as one, which at worst gives a picture a
// numbered name it did not need.
class NameSet {
public:
    // Adds the name; false when it was there already.
    bool insert(const std::string& name);

private:
    std::vector<uint64_t> slots_;
    size_t used_ = 0;
};

}  // namespace orrinrc::dump
