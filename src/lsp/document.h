// An open document of the language server: its text, where its lines start,
// and the conversion between the editor's positions (a line and a character
// counted in UTF-16 code units, or in bytes when the editor agrees to UTF-8)
// and byte offsets into the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orrinrc::lsp {

enum class PositionUnits { Utf16, Utf8 };

struct Position {
    size_t line = 0;
    size_t character = 0;
};

class Document {
public:
    Document() = default;
    explicit Document(std::string text) { set_text(std::move(text)); }

    void set_text(std::string text);
    // Replaces the text between two positions (an editor's incremental change).
    void replace(Position start, Position end, std::string_view with, PositionUnits units);

    const std::string& text() const { return text_; }
    // Lines end at LF, as the compiler counts them; a CR before the LF is no
    // part of the line. A text that ends with LF has an empty last line.
    size_t line_count() const { return starts_.size(); }
    size_t line_start(size_t line) const;
    // The text of a line without its line end.
    std::string_view line(size_t line) const;
    // Where the line's end (its LF, or the end of the text) is.
    size_t line_end(size_t line) const;

    // The byte offset of a position; a line or character past the end is
    // taken as the end of the text or of the line.
    size_t offset(Position p, PositionUnits units) const;
    // The position of byte `column` (0-based) of a line.
    Position position(size_t line, size_t column, PositionUnits units) const;

private:
    std::string text_;
    std::vector<size_t> starts_{0};
};

// Characters in `units` of the bytes `s`: UTF-16 code units count a
// character above U+FFFF twice; a byte that starts no well-formed UTF-8
// sequence counts as one character.
size_t units_of(std::string_view s, PositionUnits units);
// The number of bytes of `s` that make up its first `count` characters (all
// of `s` when it has fewer).
size_t bytes_of(std::string_view s, size_t count, PositionUnits units);

}  // namespace orrinrc::lsp
