// Statements by spelling, worked out once each.
#include "check/spellings.h"

#include <cstring>

namespace orrinrc::check {

namespace {

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool ends_with(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

std::string_view normal_statement(std::string_view t, std::string& out) {
    if (!t.empty() && t[0] == '(') {
        const size_t close = t.find(')');
        if (close != std::string_view::npos) t.remove_prefix(close + 1);
    }
    out.resize(t.size());
    size_t n = 0;
    for (char c : t) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        out[n++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return std::string_view(out).substr(0, n);
}

bool asked_later(std::string_view statement) {
    return ends_with(statement, "COLOR=") || ends_with(statement, "WIDTH=") || ends_with(statement, "HEIGHT=");
}

uint32_t statement_facts(std::string_view word) {
    uint32_t f = 0;
    if (ends_with(word, "=")) f |= kEndsEq;
    if (ends_with(word, ".")) f |= kEndsDot;
    if (starts_with(word, "#END_") || starts_with(word, "OBJECT.TYPE=")) f |= kEndOrType;
    if (word == "ID=" || word == "I=") f |= kIdLine;
    if (word == "OBJECT_ID=" || (starts_with(word, "UIOBJECT") && ends_with(word, "ID="))) f |= kObjectId;
    if (word == "NO_OF_OBJECTS=") f |= kObjectCount;
    if (word == "FOCUSED_OBJECT=") f |= kFocused;
    if (word == "TABLE_DATA_TYPE=") f |= kDataType;
    if (word == "TABLE_FONT_COLOR=") f |= kTableFont;
    if (word == "TABLE_BACKGROUND_COLOR=") f |= kTableBackground;
    if (starts_with(word, "MENU_ITEM")) f |= kMenuItem;
    if (starts_with(word, "LIST_ITEM")) f |= kListItem;
    if (word == "FILE=") f |= kFile;
    if (word == "NAME=") f |= kName;
    if (asked_later(word)) f |= kAskedLater;
    if (starts_with(word, "CONTROL_ADD.") || word == "CONTROL_BITMAP.") f |= kCheckboxFull;
    return f;
}

namespace {

uint64_t load8(const char* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

uint32_t load4(const char* p) {
    uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}

uint64_t mix(uint64_t h, uint64_t w) {
    h = (h ^ w) * 0xff51afd7ed558ccdull;
    return h ^ (h >> 32);
}

}  // namespace

// Eight bytes at a time, the last ones read as a whole too (overlapping
// the ones before): a spelling is a dozen bytes or so.
uint32_t SpellingCache::hash(const char* p, size_t n) {
    uint64_t h = 0x9e3779b97f4a7c15ull ^ n;
    if (n >= 8) {
        for (size_t i = 0; i + 8 < n; i += 8) h = mix(h, load8(p + i));
        h = mix(h, load8(p + n - 8));
    } else if (n >= 4) {
        h = mix(h, load4(p) | uint64_t{load4(p + n - 4)} << 32);
    } else if (n > 0) {
        h = mix(h, static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) << 8 |
                       static_cast<unsigned char>(p[n - 1]) << 16);
    }
    return static_cast<uint32_t>(h);
}

Statement SpellingCache::look_up(std::string_view spelling, bool* kept) {
    const char* p = spelling.data();
    const size_t n = spelling.size();
    const uint32_t h = hash(p, n);
    if (!slots_.empty()) {
        const size_t mask = slots_.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const uint32_t slot = slots_[i];
            if (slot == 0) break;
            const Entry& e = entries_[slot - 1];
            if (e.hash == h && e.spelling_size == n && (n == 0 || std::memcmp(e.spelling, p, n) == 0)) {
                if (kept) *kept = true;
                return Statement{std::string_view(e.word, e.word_size), e.facts};
            }
        }
    }
    const std::string_view word = normal_statement(spelling, scratch_);
    const uint32_t facts = statement_facts(word);
    if (entries_.size() >= kMaxSpellings || n > kMaxLength) {
        if (kept) *kept = false;
        return Statement{word, facts};
    }
    const std::string_view kept_spelling = text_.keep(spelling);
    const std::string_view kept_word = text_.keep(word);
    add(Entry{kept_spelling.data(), kept_word.data(), h, static_cast<uint16_t>(n), static_cast<uint16_t>(word.size()),
              facts});
    if (kept) *kept = true;
    return Statement{kept_word, facts};
}

void SpellingCache::add(const Entry& e) {
    entries_.push_back(e);
    if (entries_.size() * 2 > slots_.size()) {
        // Rebuilt at twice the size: at most half the slots are taken.
        slots_.assign(slots_.empty() ? 256 : slots_.size() * 2, 0);
        for (uint32_t k = 0; k < entries_.size(); ++k) {
            size_t i = entries_[k].hash & (slots_.size() - 1);
            while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = k + 1;
        }
        return;
    }
    size_t i = e.hash & (slots_.size() - 1);
    while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
    slots_[i] = static_cast<uint32_t>(entries_.size());
}

}  // namespace orrinrc::check
