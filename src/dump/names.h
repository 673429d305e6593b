// Symbolic names of the resources, read back from a resource.h that the
// compiler wrote: one "#define <name padded to 40> <id>" line per record, in
// record order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrinrc::dump {

struct DefineLine {
    std::string name;
    uint16_t id = 0;
};

// Parses resource.h. On a line that is not such a #define line, returns false
// and sets `error` to a message naming the line.
bool parse_resource_h(const std::string& content, std::vector<DefineLine>& out, std::string& error);

// A resource name made safe for a file name: letters, digits, "_" and "-"
// kept, anything else "_", at most 64 characters.
std::string file_base(const std::string& name);

}  // namespace orrinrc::dump
