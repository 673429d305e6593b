// Rendering diagnostics and finding the keyword a typo meant.
#include "check/diagnostics.h"

#include <algorithm>
#include <cctype>

namespace orrinrc::check {

std::string render_header(const std::string& file, Location at, const char* what, const std::string& message) {
    std::string out = file;
    if (at.line > 0) out += ":" + std::to_string(at.line) + ":" + std::to_string(at.column);
    out += ": ";
    out += what;
    out += ": ";
    out += message;
    out += "\n";
    return out;
}

std::string caret_line(std::string_view source, uint32_t column) {
    std::string out;
    for (uint32_t i = 1; i < column; ++i) out += i - 1 < source.size() && source[i - 1] == '\t' ? '\t' : ' ';
    return out + "^";
}

size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const bool same = std::toupper(static_cast<unsigned char>(a[i - 1])) ==
                              std::toupper(static_cast<unsigned char>(b[j - 1]));
            const size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = row[j];
            row[j] = next;
        }
    }
    return row[b.size()];
}

const char* nearest_word(std::string_view word, std::span<const char* const> candidates) {
    const size_t limit = std::max<size_t>(1, word.size() / 3);
    const char* best = nullptr;
    size_t best_distance = limit + 1;
    for (const char* c : candidates) {
        const size_t d = edit_distance(word, c);
        if (d < best_distance) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}

std::string word_list(std::span<const char* const> words) {
    std::string out;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0) out += i + 1 == words.size() ? " or " : ", ";
        out += words[i];
    }
    return out;
}

}  // namespace orrinrc::check
