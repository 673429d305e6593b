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

// The bytes between the first sixteen and the last eight of a longer
// spelling, eight at a time (the last ones overlapping).
uint64_t SpellingCache::middle_hash(const char* p, size_t n) {
    uint64_t h = 0xcbf29ce484222325ull;
    auto mix = [&h](const char* at, size_t size) {
        uint64_t w = 0;
        std::memcpy(&w, at, size);
        h = (h ^ w) * 0xff51afd7ed558ccdull;
        h ^= h >> 32;
    };
    if (n < 8) {
        mix(p, n);
        return h;
    }
    for (size_t i = 0; i + 8 < n; i += 8) mix(p + i, 8);
    mix(p + n - 8, 8);
    return h;
}

Statement SpellingCache::add(std::string_view spelling, const Key& key, bool* kept) {
    const std::string_view word = normal_statement(spelling, scratch_);
    const uint32_t facts = statement_facts(word);
    if (entries_.size() >= kMaxSpellings || spelling.size() > kMaxLength) {
        if (kept) *kept = false;
        return Statement{word, facts};
    }
    const std::string_view kept_spelling = text_.keep(spelling);
    const std::string_view kept_word = text_.keep(word);
    entries_.push_back(Entry{key.head, key.middle, key.tail, kept_spelling.data(), kept_word.data(), key.hash,
                             static_cast<uint16_t>(spelling.size()), static_cast<uint16_t>(word.size()), facts});
    if (entries_.size() * 2 > slots_.size()) {
        // Rebuilt at twice the size: at most half the slots are taken.
        slots_.assign(slots_.empty() ? 256 : slots_.size() * 2, 0);
        for (uint32_t k = 0; k < entries_.size(); ++k) {
            size_t i = entries_[k].hash & (slots_.size() - 1);
            while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = k + 1;
        }
    } else {
        size_t i = key.hash & (slots_.size() - 1);
        while (slots_[i] != 0) i = (i + 1) & (slots_.size() - 1);
        slots_[i] = static_cast<uint32_t>(entries_.size());
    }
    if (kept) *kept = true;
    return Statement{kept_word, facts};
}

}  // namespace orrinrc::check
