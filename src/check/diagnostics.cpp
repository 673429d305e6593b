// Rendering diagnostics and finding the keyword a typo meant.
#include "check/diagnostics.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace orrinrc::check {

namespace {

void append_number(std::string& out, uint32_t n) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, n).ptr);
}

// "FILE:LINE:COL: what: " (without the place for line 0).
void append_header(std::string& out, const std::string& file, Location at, const char* what) {
    out += file;
    if (at.line > 0) {
        out += ':';
        append_number(out, at.line);
        out += ':';
        append_number(out, at.column);
    }
    out += ": ";
    out += what;
    out += ": ";
}

// A source line as printed: control bytes other than tabs shown as "?", so
// that the caret stays under its column.
void append_printable(std::string& out, std::string_view source) {
    const size_t from = out.size();
    out.append(source);
    for (size_t i = from; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) out[i] = '?';
    }
}

void append_caret(std::string& out, std::string_view source, uint32_t column) {
    const size_t from = out.size();
    const size_t blanks = column > 0 ? column - 1 : 0;
    out.append(blanks, ' ');
    for (size_t i = 0; i < blanks && i < source.size(); ++i)
        if (source[i] == '\t') out[from + i] = '\t';
    out += '^';
}

}  // namespace

std::string render(const std::string& file, const Diagnostic& d) {
    size_t size = file.size() + d.message.size() + d.flag.size() + 2 * d.source.size() + 64;
    for (const Note& n : d.notes) size += file.size() + n.text.size() + n.source.size() + 48;
    std::string out;
    out.reserve(size);
    append_header(out, file, d.at, d.severity == Severity::Error ? "error" : "warning");
    out += d.message;
    if (!d.flag.empty()) {
        out += " [";
        out += d.flag;
        out += ']';
    }
    out += '\n';
    if (d.at.line > 0) {
        out += "    ";
        append_printable(out, d.source);
        out += "\n    ";
        append_caret(out, d.source, d.at.column);
        out += '\n';
    }
    for (const Note& n : d.notes) {
        if (n.at.line == 0) {
            out += "note: ";
            out += n.text;
            out += '\n';
            continue;
        }
        append_header(out, file, n.at, "note");
        out += n.text;
        out += "\n    ";
        append_printable(out, n.source);
        out += '\n';
    }
    return out;
}

std::string json_string(std::string_view s) {
    std::string out = "\"";
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
            ++i;
            continue;
        }
        // A well-formed sequence of 2 to 4 bytes is kept as it is.
        size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size();
        for (size_t k = 1; ok && k < n; ++k) ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (ok && n >= 3) {
            const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
            // No overlong forms, no surrogates, nothing past U+10FFFF.
            ok = !(c == 0xE0 && c1 < 0xA0) && !(c == 0xED && c1 >= 0xA0) && !(c == 0xF0 && c1 < 0x90) &&
                 !(c == 0xF4 && c1 >= 0x90);
        }
        if (ok) {
            out.append(s.substr(i, n));
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out + "\"";
}

std::string render_json(const Diagnostic& d) {
    std::string out = "{\"severity\":";
    out += d.severity == Severity::Error ? "\"error\"" : "\"warning\"";
    out += ",\"line\":" + std::to_string(d.at.line) + ",\"column\":" + std::to_string(d.at.column);
    out += ",\"message\":" + json_string(d.message);
    // The flag is "-Wname" or "-Werror,-Wname": the name follows the last "-W".
    const size_t w = d.flag.rfind("-W");
    if (w != std::string::npos) out += ",\"warning\":" + json_string(std::string_view(d.flag).substr(w + 2));
    out += ",\"notes\":[";
    for (size_t i = 0; i < d.notes.size(); ++i) {
        const Note& n = d.notes[i];
        if (i > 0) out += ',';
        out += "{\"message\":" + json_string(n.text) + ",\"line\":" + std::to_string(n.at.line) +
               ",\"column\":" + std::to_string(n.at.column) + "}";
    }
    return out + "]}";
}

std::string caret_line(std::string_view source, uint32_t column) {
    std::string out;
    append_caret(out, source, column);
    return out;
}

size_t edit_distance(std::string_view a, std::string_view b) {
    // Optimal string alignment: insertions, deletions, substitutions and
    // swaps of two neighbours (the commonest typo) cost one each.
    auto same = [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    };
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

std::string nearest_word(std::string_view word, std::span<const std::string> candidates) {
    const size_t limit = std::max<size_t>(1, word.size() / 3);
    std::string best;
    size_t best_distance = limit + 1;
    for (const std::string& c : candidates) {
        const size_t d = edit_distance(word, c);
        if (d < best_distance) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}

std::string word_list(std::span<const std::string> words) {
    std::string out;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) out += i + 1 == words.size() ? " or " : ", ";
        out += words[i];
    }
    return out;
}

}  // namespace orrinrc::check
