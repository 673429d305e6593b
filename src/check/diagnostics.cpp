// Rendering diagnostics and finding the keyword a typo meant.
#include "check/diagnostics.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace orrinrc::check {

namespace {

// Writes a rendered diagnostic into room made for it beforehand.
class Writer {
public:
    explicit Writer(char* at) : at_(at) {}
    char* at() const { return at_; }

    void put(std::string_view s) {
        std::memcpy(at_, s.data(), s.size());
        at_ += s.size();
    }
    void put(char c) { *at_++ = c; }
    void number(uint32_t n) { at_ = std::to_chars(at_, at_ + 10, n).ptr; }
    // "FILE:LINE:COL: what: " (without the place for line 0).
    void header(const std::string& file, Location at, std::string_view what) {
        put(file);
        if (at.line > 0) {
            put(':');
            number(at.line);
            put(':');
            number(at.column);
        }
        put(": ");
        put(what);
        put(": ");
    }
    // A source line as printed: control bytes other than tabs shown as "?",
    // so that the caret stays under its column.
    void printable(std::string_view source) {
        for (const char c : source) {
            const unsigned char u = static_cast<unsigned char>(c);
            *at_++ = (u < 0x20 && c != '\t') || u == 0x7F ? '?' : c;
        }
    }
    void caret(std::string_view source, uint32_t column) {
        const size_t blanks = column > 0 ? column - 1 : 0;
        for (size_t i = 0; i < blanks; ++i) *at_++ = i < source.size() && source[i] == '\t' ? '\t' : ' ';
        put('^');
    }

    // The most a header takes besides the file name and the word.
    static constexpr size_t kHeaderRoom = 2 + 2 * 10 + 4;

private:
    char* at_;
};

}  // namespace

std::string render(const std::string& file, const Diagnostic& d) {
    std::string out;
    render_to(out, file, d);
    return out;
}

void render_to(std::string& out, const std::string& file, const Diagnostic& d) {
    // Room for the longest it can be, cut to size at the end.
    size_t room = file.size() + Writer::kHeaderRoom + 7 + d.message.size() + d.flag.size() + 4;
    if (d.at.line > 0) room += 4 + d.source.size() + 5 + size_t{d.at.column} + 2;
    for (const Note& n : d.notes) room += file.size() + Writer::kHeaderRoom + 4 + n.text.size() + 6 + n.source.size();
    const size_t start = out.size();
    out.resize(start + room);
    Writer w(out.data() + start);
    w.header(file, d.at, d.severity == Severity::Error ? "error" : "warning");
    w.put(d.message);
    if (!d.flag.empty()) {
        w.put(" [");
        w.put(d.flag);
        w.put(']');
    }
    w.put('\n');
    if (d.at.line > 0) {
        w.put("    ");
        w.printable(d.source);
        w.put("\n    ");
        w.caret(d.source, d.at.column);
        w.put('\n');
    }
    for (const Note& n : d.notes) {
        if (n.at.line == 0) {
            w.put("note: ");
            w.put(n.text);
            w.put('\n');
            continue;
        }
        w.header(file, n.at, "note");
        w.put(n.text);
        w.put("\n    ");
        w.printable(n.source);
        w.put('\n');
    }
    out.resize(static_cast<size_t>(w.at() - out.data()));
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
    std::string out(static_cast<size_t>(column) + 1, '\0');
    Writer w(out.data());
    w.caret(source, column);
    out.resize(static_cast<size_t>(w.at() - out.data()));
    return out;
}

size_t edit_distance(std::string_view a, std::string_view b) {
    // Optimal string alignment: insertions, deletions, substitutions and
    // swaps of two neighbours (the commonest typo) cost one each. Three rows
    // of the table are enough: the current one and the two before it.
    auto same = [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    };
    std::vector<size_t> before(b.size() + 1), last(b.size() + 1), row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) last[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        std::swap(before, last);
        std::swap(last, row);
    }
    return last[b.size()];
}

std::string nearest_word(std::string_view word, std::span<const std::string> candidates) {
    const size_t limit = std::max<size_t>(1, word.size() / 3);
    std::string best;
    size_t best_distance = limit + 1;
    for (const std::string& c : candidates) {
        // (the distance is at least the difference in length: a long word
        // is not compared letter by letter with short ones)
        const size_t longer = std::max(word.size(), c.size()), shorter = std::min(word.size(), c.size());
        if (longer - shorter >= best_distance) continue;
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
