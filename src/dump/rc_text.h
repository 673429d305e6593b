// Resource text that compiles back to a given resource.bin image, written
// one record at a time.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dump/names.h"
#include "dump/records.h"

namespace orrinrc::dump {

// Where the resource text goes.
class TextSink {
public:
    virtual ~TextSink() = default;
    // The next piece of the resource text file.
    virtual void text(const std::string& piece) = 0;
    // A BMP file that the text names; its content is bmp_for(bm).
    virtual void file(const std::string& name, const BitmapView& bm) = 0;
    // A record or value that the language cannot express.
    virtual void problem(const std::string& what) = 0;
    // Something the user should know that does not stop the text.
    virtual void note(const std::string& what) = 0;
};

// Writes every record as one definition that sets each of its fields
// explicitly, so that what earlier definitions of the same kind left in the
// compiler's records makes no difference, except where the language gives no
// statement to undo it; there the writer keeps track of what the compiler's
// records hold and writes what gets the stored values back. When some stored
// value cannot be written in the language, the sink hears of the record and
// field of each.
class ResourceTextWriter {
public:
    explicit ResourceTextWriter(TextSink& sink);
    ~ResourceTextWriter();

    // Writes the record at `index` (0-based, in file order). With `named`,
    // `line` is the resource.h line at the same index (null when resource.h
    // has no more lines); without, the resources are named after their kind
    // and identifier.
    void record(const Record& rec, size_t index, bool named, const DefineLine* line);
    // After the last record: with `named`, checks that resource.h has as
    // many lines as there were records.
    void finish(size_t records, bool named, size_t lines);

private:
    class Impl;
    Impl* impl_;
};

// The whole text of records in memory (for tests and the fuzz target).
struct ResourceText {
    std::string text;                                       // the resource text file
    std::vector<std::pair<std::string, std::string>> files; // BMP file name, content
    std::vector<std::string> problems;                      // values the language cannot express
    std::vector<std::string> notes;
};
ResourceText write_resource_text(const std::vector<Record>& records, const std::vector<DefineLine>* names);

// The number to write for a word field so that the word reader stores
// `stored` (it stores a negative number plus 65536); false when no number
// gives that value.
bool word_source(uint32_t stored, std::string& out);

// Whether a text can be read back by the string reader unchanged: no line
// end, no carriage return, no 0x1A (which ends the input).
bool text_expressible(const std::string& text, std::string& why);

}  // namespace orrinrc::dump
