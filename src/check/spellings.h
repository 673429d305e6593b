// The statements of an input as the checker looks at them: each spelling
// ("(1) Form_Style =") in its normal form ("FORM_STYLE=") with the facts that
// the checks ask of it. An input spells its statements in few ways, and the
// scanner matches one at every line, so each spelling is worked out once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "check/kept_text.h"

namespace orrinrc::check {

// A statement as the scanner takes it: without its line prefix, blanks and
// line end, in capitals. Written to `out`; the view is of `out`.
std::string_view normal_statement(std::string_view spelling, std::string& out);

// What a statement (in its normal form) is, for the checks.
enum StatementFact : uint32_t {
    kEndsEq = 1u << 0,           // ends with '=': takes a value
    kEndsDot = 1u << 1,          // ends with '.': opens a group ("BOUNDS.")
    kEndOrType = 1u << 2,        // an end line or an OBJECT.TYPE= line
    kIdLine = 1u << 3,           // "ID=" (or its short form "I=")
    kObjectId = 1u << 4,         // a form's object identifier: "OBJECT_ID=", "UIOBJECT.ID="
    kObjectCount = 1u << 5,      // "NO_OF_OBJECTS="
    kFocused = 1u << 6,          // "FOCUSED_OBJECT="
    kDataType = 1u << 7,         // "TABLE_DATA_TYPE=": a table cell starts
    kTableFont = 1u << 8,        // "TABLE_FONT_COLOR="
    kTableBackground = 1u << 9,  // "TABLE_BACKGROUND_COLOR="
    kMenuItem = 1u << 10,        // a MENU_ITEM statement
    kListItem = 1u << 11,        // a LIST_ITEM statement
    kFile = 1u << 12,            // "FILE=" of a picture group
    kName = 1u << 13,            // "NAME="
    // A colour, width or height: the checks at a definition's end ask
    // whether the definition gave such a statement itself.
    kAskedLater = 1u << 14,
    // A statement of the check-box block as written in full
    // ("CONTROL_ADD.CONTROL_VALUE=", "CONTROL_BITMAP.").
    kCheckboxFull = 1u << 15,
};

// The facts that a definition notes down when it meets the statement.
inline constexpr uint32_t kNoted = kIdLine | kEndsDot | kAskedLater | kTableFont | kTableBackground | kObjectId |
                                   kObjectCount | kFocused | kDataType | kMenuItem | kListItem;

uint32_t statement_facts(std::string_view word);

// Whether the checks at a definition's end may ask if the definition gave
// `statement` itself (kAskedLater): a colour, a width or a height.
bool asked_later(std::string_view statement);

struct Statement {
    std::string_view word;  // the normal form
    uint32_t facts = 0;
    bool is(uint32_t fact) const { return (facts & fact) != 0; }
};

// The statements met so far, by spelling.
class SpellingCache {
public:
    // The statement that `spelling` is. The word of a spelling that the
    // cache keeps stays valid as long as the cache (`kept` is true); that of
    // any other until the next call.
    [[gnu::always_inline]] Statement look_up(std::string_view spelling, bool* kept = nullptr) {
        const Key key = key_of(spelling.data(), spelling.size());
        if (!slots_.empty()) {
            const size_t mask = slots_.size() - 1;
            for (size_t i = key.hash & mask;; i = (i + 1) & mask) {
                const uint32_t slot = slots_[i];
                if (slot == 0) break;
                const Entry& e = entries_[slot - 1];
                if (e.head == key.head && e.middle == key.middle && e.tail == key.tail &&
                    e.spelling_size == spelling.size() &&
                    (spelling.size() <= kWhole || std::memcmp(e.spelling, spelling.data(), spelling.size()) == 0)) {
                    if (kept) *kept = true;
                    return Statement{std::string_view(e.word, e.word_size), e.facts};
                }
            }
        }
        return add(spelling, key, kept);
    }

    // Spellings kept at most, and the longest kept: an input that spells
    // everything differently (or stray text, which is looked at the same
    // way) is worked out match by match once the cache is full.
    static constexpr size_t kMaxSpellings = 4096;
    static constexpr size_t kMaxLength = 128;

private:
    // A spelling's first, second and last eight bytes (fewer, for a shorter
    // one), which are the whole of a spelling of up to kWhole, and a hash of
    // it.
    static constexpr size_t kWhole = 24;
    struct Key {
        uint64_t head;
        uint64_t middle;
        uint64_t tail;
        uint32_t hash;
    };
    [[gnu::always_inline]] static Key key_of(const char* p, size_t n) {
        Key k{0, 0, 0, 0};
        if (n >= 8) {
            std::memcpy(&k.head, p, 8);
            std::memcpy(&k.tail, p + n - 8, 8);
            if (n > 16) std::memcpy(&k.middle, p + 8, 8);
        } else if (n >= 4) {
            uint32_t a, b;
            std::memcpy(&a, p, 4);
            std::memcpy(&b, p + n - 4, 4);
            k.head = a;
            k.tail = b;
        } else if (n > 0) {
            k.head = static_cast<unsigned char>(p[0]) | static_cast<unsigned>(static_cast<unsigned char>(p[n / 2])) << 8 |
                     static_cast<unsigned>(static_cast<unsigned char>(p[n - 1])) << 16;
        }
        uint64_t h = (k.head ^ (k.tail * 0x9e3779b97f4a7c15ull) ^ (k.middle * 0xc4ceb9fe1a85ec53ull) ^ n) *
                     0xff51afd7ed558ccdull;
        if (n > kWhole) [[unlikely]] h ^= middle_hash(p + 16, n - kWhole);
        k.hash = static_cast<uint32_t>(h ^ (h >> 32));
        return k;
    }
    static uint64_t middle_hash(const char* p, size_t n);

    struct Entry {
        uint64_t head;
        uint64_t middle;
        uint64_t tail;
        const char* spelling;  // in text_
        const char* word;      // in text_
        uint32_t hash;
        uint16_t spelling_size;
        uint16_t word_size;
        uint32_t facts;
    };
    Statement add(std::string_view spelling, const Key& key, bool* kept);

    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_;  // entry + 1, or 0 for a free slot
    KeptText text_;                // the spellings and words of the entries
    std::string scratch_;          // the word of a spelling not kept
};

}  // namespace orrinrc::check
