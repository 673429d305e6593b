// Line starts and position conversion of an open document.
#include "lsp/document.h"

#include <algorithm>
#include <cstring>

namespace orrinrc::lsp {

namespace {

// The length of the well-formed UTF-8 sequence at s[i], or 0.
size_t sequence_length(std::string_view s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return 1;
    const size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
    if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0) || (c == 0xF0 && c1 < 0x90) || (c == 0xF4 && c1 >= 0x90))
        return 0;
    return n;
}

}  // namespace

size_t units_of(std::string_view s, PositionUnits units) {
    if (units == PositionUnits::Utf8) return s.size();
    size_t count = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t n = sequence_length(s, i);
        count += n == 4 ? 2 : 1;
        i += n == 0 ? 1 : n;
    }
    return count;
}

size_t bytes_of(std::string_view s, size_t count, PositionUnits units) {
    if (units == PositionUnits::Utf8) return std::min(count, s.size());
    size_t i = 0, seen = 0;
    while (i < s.size() && seen < count) {
        const size_t n = sequence_length(s, i);
        seen += n == 4 ? 2 : 1;
        i += n == 0 ? 1 : n;
    }
    return i;
}

void Document::set_text(std::string text) {
    text_ = std::move(text);
    starts_.assign(1, 0);
    for (const char* p = text_.data(), *end = p + text_.size();;) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!nl) break;
        starts_.push_back(static_cast<size_t>(nl - text_.data()) + 1);
        p = nl + 1;
    }
}

void Document::replace(Position start, Position end, std::string_view with, PositionUnits units) {
    size_t from = offset(start, units), to = offset(end, units);
    if (to < from) std::swap(from, to);
    std::string text;
    text.reserve(text_.size() - (to - from) + with.size());
    text.append(text_, 0, from);
    text.append(with);
    text.append(text_, to, std::string::npos);
    set_text(std::move(text));
}

size_t Document::line_start(size_t line) const { return line < starts_.size() ? starts_[line] : text_.size(); }

size_t Document::line_end(size_t line) const {
    return line + 1 < starts_.size() ? starts_[line + 1] - 1 : text_.size();
}

std::string_view Document::line(size_t line) const {
    if (line >= starts_.size()) return {};
    std::string_view s(text_.data() + starts_[line], line_end(line) - starts_[line]);
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    return s;
}

size_t Document::offset(Position p, PositionUnits units) const {
    if (p.line >= starts_.size()) return text_.size();
    return starts_[p.line] + bytes_of(line(p.line), p.character, units);
}

Position Document::position(size_t line, size_t column, PositionUnits units) const {
    const std::string_view s = this->line(line);
    return Position{line, units_of(s.substr(0, std::min(column, s.size())), units)};
}

}  // namespace orrinrc::lsp
