// Diagnostics of orrinrc-check: where a mistake is, what it is, and notes
// that help to mend it, printed the way compilers print them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orrinrc::check {

// A place in the input: 1-based line and column (columns count bytes). Line
// 0 is no place in particular.
struct Location {
    uint32_t line = 0;
    uint32_t column = 0;
};

enum class Severity { Error, Warning };

struct Note {
    std::string text;
    Location at;
    std::string source;  // the text of line at.line
};

struct Diagnostic {
    Severity severity = Severity::Error;
    Location at;
    std::string source;   // the text of line at.line, without its line end
    std::string message;
    std::string flag;     // "-Wname" or "-Werror,-Wname" for a warning
    std::vector<Note> notes;
};

// "FILE:LINE:COL: error: message [flag]", the source line with a caret under
// the column, then the notes ("FILE:LINE:COL: note: ..." with their line, or
// "note: ...").
std::string render(const std::string& file, const Diagnostic& d);
// The same, added to the end of `out`.
void render_to(std::string& out, const std::string& file, const Diagnostic& d);

// The diagnostic as one line of JSON, for programs that read diagnostics:
// {"severity":"error"|"warning","line":L,"column":C,"message":...,
//  "warning":NAME (for a warning),"notes":[{"message":...,"line":L,"column":C}]}
// Lines and columns as in Location (0 for no place); no line end.
std::string render_json(const Diagnostic& d);

// `s` as a JSON string, quotes included. Bytes that are no UTF-8 become
// U+FFFD, so that any source text can be quoted.
std::string json_string(std::string_view s);

// The caret line under `source`: blanks (tabs kept as tabs, so the caret
// lines up in a terminal) up to the column, then "^".
std::string caret_line(std::string_view source, uint32_t column);

// Edit distance of two words, letters compared without case.
size_t edit_distance(std::string_view a, std::string_view b);

// The candidate nearest to `word` by edit distance, when it is near enough
// to be a likely typo of it (at most a third of its letters, at least 1);
// empty otherwise.
std::string nearest_word(std::string_view word, std::span<const std::string> candidates);

// A list of words for a note: "A, B or C".
std::string word_list(std::span<const std::string> words);

}  // namespace orrinrc::check
