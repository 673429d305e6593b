// Resource text that compiles back to a given resource.bin image.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dump/names.h"
#include "dump/records.h"

namespace orrinrc::dump {

struct ResourceText {
    std::string text;                                       // the resource text file
    std::vector<std::pair<std::string, std::string>> files; // BMP file name, content
    std::vector<std::string> problems;                      // values the language cannot express
};

// Writes every record as one definition that sets each of its fields
// explicitly, so that what earlier definitions of the same kind left in the
// compiler's records makes no difference. `names` (from resource.h, one per
// record in order) may be null: the resources are then named after their
// kind and identifier. When some stored value cannot be written in the
// language, `problems` names the record and field of each.
ResourceText write_resource_text(const std::vector<Record>& records, const std::vector<DefineLine>* names);

// The number to write for a word field so that the word reader stores
// `stored` (it stores a negative number plus 65536); false when no number
// gives that value.
bool word_source(uint32_t stored, std::string& out);

// Whether a text can be read back by the string reader unchanged: no line
// end, no carriage return, no 0x1A (which ends the input).
bool text_expressible(const std::string& text, std::string& why);

}  // namespace orrinrc::dump
