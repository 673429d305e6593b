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

// A place in the input: 1-based line and column (columns count bytes).
struct Location {
    uint32_t line = 0;
    uint32_t column = 0;
};

enum class Severity { Error, Warning };

struct Note {
    std::string text;
    Location at;  // line 0: the note points nowhere in particular
};

struct Diagnostic {
    Severity severity = Severity::Error;
    Location at;
    std::string message;
    std::string warning;  // the warning's name, for -Wno-NAME
    std::vector<Note> notes;
};

// "FILE:LINE:COL: error: message", the source line with a caret under the
// column, then each note ("FILE:LINE:COL: note: ..." or "note: ...").
// `line_text` returns the text of a line of the input (without its end).
template <typename LineText>
std::string render(const std::string& file, const Diagnostic& d, LineText&& line_text);

// The caret line under `source`: blanks (tabs kept as tabs, so the caret
// lines up in a terminal) up to the column, then "^".
std::string caret_line(std::string_view source, uint32_t column);

// Edit distance of two words, letters compared without case.
size_t edit_distance(std::string_view a, std::string_view b);

// The candidate nearest to `word` by edit distance, when it is near enough
// to be a likely typo of it (at most a third of its letters, at least 1);
// nullptr otherwise.
const char* nearest_word(std::string_view word, std::span<const char* const> candidates);

// A list of words for a note: "A, B or C".
std::string word_list(std::span<const char* const> words);

// ---------------------------------------------------------------- rendering

std::string render_header(const std::string& file, Location at, const char* what, const std::string& message);

template <typename LineText>
std::string render(const std::string& file, const Diagnostic& d, LineText&& line_text) {
    std::string out = render_header(file, d.at, d.severity == Severity::Error ? "error" : "warning",
                                    d.warning.empty() ? d.message : d.message + " [-W" + d.warning + "]");
    if (d.at.line > 0) {
        const std::string source = line_text(d.at.line);
        out += "    " + source + "\n    " + caret_line(source, d.at.column) + "\n";
    }
    for (const Note& n : d.notes) {
        if (n.at.line > 0) {
            out += render_header(file, n.at, "note", n.text);
            const std::string source = line_text(n.at.line);
            out += "    " + source + "\n";
        } else {
            out += "note: " + n.text + "\n";
        }
    }
    return out;
}

}  // namespace orrinrc::check
