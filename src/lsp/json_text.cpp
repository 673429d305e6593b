// Writing JSON text directly.
#include "lsp/json_text.h"

#include <nlohmann/json.hpp>

namespace orrinrc::lsp {

namespace {

// Whether `s` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing past U+10FFFF).
bool well_formed(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        const unsigned char c1 = static_cast<unsigned char>(s[i + 1]);
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0) || (c == 0xF0 && c1 < 0x90) ||
            (c == 0xF4 && c1 >= 0x90))
            return false;
        i += n;
    }
    return true;
}

}  // namespace

void append_json_string(std::string& out, std::string_view s) {
    if (!well_formed(s)) {
        // Rare (the editor sends well-formed text): the library decides how
        // many replacement characters an ill-formed sequence becomes.
        out += nlohmann::json(std::string(s)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    size_t plain = 0;  // start of the bytes not yet copied
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + plain, i - plain);
        plain = i + 1;
        out += '\\';
        switch (c) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '\b': out += 'b'; break;
        case '\t': out += 't'; break;
        case '\n': out += 'n'; break;
        case '\f': out += 'f'; break;
        case '\r': out += 'r'; break;
        default:
            out += "u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    out.append(s.data() + plain, s.size() - plain);
    out += '"';
}

void JsonText::separate() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!first_) out_ += ',';
    first_ = false;
}

JsonText& JsonText::open(char c) {
    separate();
    out_ += c;
    first_ = true;
    return *this;
}

JsonText& JsonText::close(char c) {
    out_ += c;
    first_ = false;
    return *this;
}

JsonText& JsonText::key(std::string_view k) {
    separate();
    append_json_string(out_, k);
    out_ += ':';
    after_key_ = true;
    return *this;
}

JsonText& JsonText::value(std::string_view s) {
    separate();
    append_json_string(out_, s);
    return *this;
}

JsonText& JsonText::value(int64_t n) {
    separate();
    out_ += std::to_string(n);
    return *this;
}

JsonText& JsonText::value(uint64_t n) {
    separate();
    out_ += std::to_string(n);
    return *this;
}

JsonText& JsonText::raw(std::string_view json) {
    separate();
    out_ += json;
    return *this;
}

}  // namespace orrinrc::lsp
