// The statements of an input as the checker looks at them: each spelling
// ("(1) Form_Style =") in its normal form ("FORM_STYLE=") with the facts that
// the checks ask of it. An input spells its statements in few ways, and the
// scanner matches one at every line, so each spelling is worked out once.
#pragma once

#include <cstddef>
#include <cstdint>
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
    Statement look_up(std::string_view spelling, bool* kept = nullptr);

    // Spellings kept at most, and the longest kept: an input that spells
    // everything differently (or stray text, which is looked at the same
    // way) is worked out match by match once the cache is full.
    static constexpr size_t kMaxSpellings = 4096;
    static constexpr size_t kMaxLength = 128;

private:
    struct Entry {
        const char* spelling;  // in text_
        const char* word;      // in text_
        uint32_t hash;
        uint16_t spelling_size;
        uint16_t word_size;
        uint32_t facts;
    };
    static uint32_t hash(const char* p, size_t n);
    void add(const Entry& e);

    std::vector<Entry> entries_;
    std::vector<uint32_t> slots_;  // entry + 1, or 0 for a free slot
    KeptText text_;                // the spellings and words of the entries
    std::string scratch_;          // the word of a spelling not kept
};

}  // namespace orrinrc::check
