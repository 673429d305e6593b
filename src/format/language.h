// The vocabulary of the resource language: every start condition of the
// scanner, every statement with its spellings, the state it belongs to and
// what it sets or enters, every value word with its code, and the range of
// each number reader. The scanner names the entry of each statement and
// word it matches, so that every program that listens to a run (the
// checker, the language server) or writes resource text (the dump tool)
// looks statements up by identity, and two spellings of one statement are
// one entry everywhere.
//
// Spelling forms. A statement or word has one canonical spelling (the one
// resource text is written with) and may have other forms that the scanner
// takes as the same statement. A form is written as its characters, matched
// without regard to case, except for:
//   ?         any one character but a line end
//   [set]     one character of the set, which holds characters and ranges
//             such as A-Z or 0-9
//   [set]*    a run of such characters, possibly empty
// so "COLOR_W[A-Z0-9]*" is every word that starts with COLOR_W, and
// "UIOBJECT?ID=" takes UIOBJECT_ID= and UIOBJECT.ID= alike. The canonical
// spelling has no such signs; it may be one instance of a form.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "format/format.h"
#include "format/layouts.h"

namespace orrinrc::format {

// ---------------------------------------------------------------- states

// The scanner's start conditions, in the order the scanner declares them
// (its numbers are these values). state_name() gives the name that error
// messages print.
enum class State : uint8_t {
    Initial,
    ReadByte, ReadShort, ReadUshort, ReadWord, ReadBoolean, ReadString, ReadType,
    ReadBounds, ReadBitmap, ReadBitmapFile, ReadColor, ReadFont, ReadAlignment, ReadSkip,
    Form, FormStyle,
    Control, ControlStyle, ControlSubtype, ControlAttr, ControlAddButton, ControlAddPushbutton,
    ControlAddCheckbox, ControlAddPopuptrigger,
    Field, FieldStyle, FieldBackLine, FieldAttr,
    List, ListStyle, ListAttr,
    Menu,
    Scrollbar, ScrollbarStyle, ScrollbarType, ScrollbarAttr,
    Table, TableStyle, TableDataType, TableAttr,
    Schline, SchlineAttr,
    String, StringStyle, StringAttr,
    Bitmap, BitmapStyle, BitmapAttr,
    Textbox, TextboxStyle, TextboxBackLine, TextboxAttr,
    Line, LineStyle,
    Count_
};
inline constexpr size_t kStateCount = static_cast<size_t>(State::Count_);

enum class StateRole : uint8_t {
    TopLevel,    // INITIAL
    Reader,      // reads one value line (or X=/FILE= of a bounds or picture) and pops
    Definition,  // a kind's statements, up to its end statement
    SubState,    // entered by a statement of a definition: words, attributes, style blocks
};

struct StateInfo {
    State state;
    const char* name;  // "READ_BYTE", "CONTROL_ADD_CHECKBOX"
    StateRole role;
    Kind kind;         // Definition and SubState: the kind whose definition it is part of
    // Word states: the canonical words by code (nullptr for a state whose
    // words have none, and for the other states).
    const Vocabulary* words;
    // Whether a plain number is taken in place of a word (the letters before
    // its first digit are dropped).
    bool number_fallback;
};

// The name that a syntax error gives when CONTROL_ADD. finds no block for
// the control's style (a REPEAT_BUTTON): no start condition has it.
inline constexpr const char* kNoStyleBlockState = "CONTROL_ADD";

const StateInfo& state_info(State s);
inline const char* state_name(State s) { return state_info(s).name; }
// The state of a name as error messages print it, or nothing.
std::optional<State> state_of_name(std::string_view name);
// The definition state of a kind: Kind::Form -> State::Form.
State definition_state(Kind k);

// ---------------------------------------------------------------- numbers

// What a number reader takes and stores. `min`..`max` is the range stored as
// written; other numbers are cut to the field's width (the number itself
// saturates at the 32-bit limits first).
struct NumberReader {
    State state;
    int64_t min;
    int64_t max;
    bool sign;         // whether a + or - may precede the digits
    const char* what;  // "an unsigned 16-bit number"
};

// The 32-bit reader keeps a negative number this much higher, the way
// stored files have it: -1 is stored as 65535.
inline constexpr int64_t kWordNegativeShift = 65536;

// The value READ_WORD stores for a number as the scanner reads it.
constexpr int32_t stored_word(int32_t value) {
    return value < 0 ? static_cast<int32_t>(value + kWordNegativeShift) : value;
}

// The reader of a number state (READ_BYTE, READ_SHORT, READ_USHORT,
// READ_WORD), or nullptr.
const NumberReader* number_reader(State s);
std::span<const NumberReader> number_readers();
// What a number reader's field holds for a written number: saturated to 32
// bits, cut to the field's width (signed for READ_SHORT), READ_WORD's
// negative numbers shifted.
int64_t stored_number(const NumberReader& reader, int64_t written);

// ---------------------------------------------------------------- statements

// The other forms of a statement or word; unused places are nullptr.
using Forms = std::array<const char*, 3>;

// What a statement is, beyond the field it sets.
enum class Role : uint8_t {
    Sets,        // sets its field (a group statement, "BOUNDS.", sets it by the lines after it)
    Opens,       // "#FORM": opens a definition
    Ends,        // "#END_FORM": ends it and writes the record
    Id,          // "ID=": the resource's identifier
    Name,        // "NAME=": the name resource.h defines for it
    ObjectType,  // "OBJECT.TYPE=FORM": resets the texts and pictures given before it
    Opener,      // "CONTROL_ATTR.", "CONTROL_ADD.": opens a sub-state whose statements follow it
    Past,        // a line past the count its field declares: read and dropped
    X, Y, Width, Height,  // a line of a bounds or picture group
    File,        // a picture group's FILE= line
};

struct StatementInfo {
    State state;           // the start condition whose rule takes it
    Kind kind;             // the kind it belongs to; for "#FORM", the kind it opens
    bool any_kind;         // taken in every definition and at the top level (NAME=, X=, FILE=)
    const char* spelling;  // canonical: "FORM_STYLE=", "ENABLE=" (after CONTROL_ATTR.), "#FORM"
    Forms forms;           // the other forms the scanner takes, in the notation above
    bool prefixed;         // may follow a "(...)" line prefix at the start of a line
    FieldId field;         // the field it sets, or None
    State enters;          // where its value is read: a reader, a sub-state, a definition
                           // (#KIND), INITIAL (#END_KIND); its own state when it is whole
    Role role;

    // Whether it opens a group whose lines follow it ("BOUNDS.", "FORM_BITMAP.").
    constexpr bool opens_group() const { return enters == State::ReadBounds || enters == State::ReadBitmap; }

    std::span<const char* const> other_forms() const {
        size_t n = 0;
        while (n < forms.size() && forms[n] != nullptr) ++n;
        return {forms.data(), n};
    }
};

// ---------------------------------------------------------------- words

// A value word: the code that a word state or a reader stores for it.
struct WordInfo {
    State state;
    uint8_t code;
    const Vocabulary* words;  // where its canonical spelling is kept, or nullptr
    const char* own;          // its canonical spelling when no vocabulary has it
    Forms forms;              // the other forms the scanner takes

    const char* spelling() const { return own != nullptr ? own : words->word(code); }
    std::span<const char* const> other_forms() const {
        size_t n = 0;
        while (n < forms.size() && forms[n] != nullptr) ++n;
        return {forms.data(), n};
    }
};

// The depth words of a FILE= line, by bits per pixel.
extern const Vocabulary kDepthWords;

// ---------------------------------------------------------------- look-ups

std::span<const StatementInfo> all_statements();
std::span<const WordInfo> all_words();
// The position of an entry in all_statements() / all_words(): its identity.
size_t statement_index(const StatementInfo& s);
size_t word_index(const WordInfo& w);

// The statements taken in a state (NAME=, taken in every state, is listed
// under INITIAL only), in table order.
std::span<const StatementInfo* const> statements_in(State s);
// The words taken in a state, in table order.
std::span<const WordInfo* const> words_in(State s);
// The statements that set a field: one for most fields, more where the
// field is reached from two places (a check box's pictures, a bitmap's
// pictures after its bounds).
std::span<const StatementInfo* const> statements_setting(FieldId f);

// The spelling of a line of a bounds or picture group (X=, ..., FILE=):
// `role` is one of Role::X to Role::File.
const char* group_line(Role role);

// Whether a text is written in a spelling form (without regard to case).
bool form_matches(std::string_view form, std::string_view text);
// Whether a text is a statement's or a word's canonical spelling or one of
// its other forms.
bool spells(const StatementInfo& s, std::string_view text);
bool spells(const WordInfo& w, std::string_view text);
// The first statement of a state (or NAME=, in every state) that a text
// spells, the text written without line prefix and without blanks before
// its "="; nullptr when there is none. Where entries share their spellings
// (CONTROL_ADD. for each style) the first is found.
const StatementInfo* find_statement(State s, std::string_view text);
// The word of a state that a text spells, or nullptr.
const WordInfo* find_word(State s, std::string_view text);

}  // namespace orrinrc::format

#include "format/language_tables.h"
