// The vocabulary of the resource language: states, number readers and the
// look-ups over the statement and word tables.
#include "format/language.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <vector>

namespace orrinrc::format {

namespace {

using R = StateRole;
using S = State;

const char* const kDepthNames[] = {nullptr, nullptr, kTwoBitWord, nullptr, kFourBitWord};

constexpr StateInfo top(S s, const char* name) { return {s, name, R::TopLevel, Kind::Form, nullptr, false}; }
constexpr StateInfo reader(S s, const char* name, const Vocabulary* words = nullptr) {
    return {s, name, R::Reader, Kind::Form, words, false};
}
constexpr StateInfo definition(S s, const char* name, Kind k) { return {s, name, R::Definition, k, nullptr, false}; }
constexpr StateInfo sub_state(S s, const char* name, Kind k, const Vocabulary* words = nullptr,
                              bool number_fallback = false) {
    return {s, name, R::SubState, k, words, number_fallback};
}

}  // namespace

const Vocabulary kDepthWords{kDepthNames, std::size(kDepthNames), false};

namespace {

const StateInfo kStateInfos[] = {
    top(S::Initial, "INITIAL"),
    reader(S::ReadByte, "READ_BYTE"),
    reader(S::ReadShort, "READ_SHORT"),
    reader(S::ReadUshort, "READ_USHORT"),
    reader(S::ReadWord, "READ_WORD"),
    reader(S::ReadBoolean, "READBOOLEAN"),
    reader(S::ReadString, "READSTRING"),
    reader(S::ReadType, "READTYPE", &kObjectTypeWords),
    reader(S::ReadBounds, "READBOUNDS"),
    reader(S::ReadBitmap, "READBITMAP"),
    reader(S::ReadBitmapFile, "READBITMAPFILE", &kDepthWords),
    reader(S::ReadColor, "READCOLOR", &kColorWords),
    reader(S::ReadFont, "READFONT", &kFontWords),
    reader(S::ReadAlignment, "READALIGNMENT", &kAlignmentWords),
    reader(S::ReadSkip, "READ_SKIP"),
    definition(S::Form, "FORM", Kind::Form),
    sub_state(S::FormStyle, "FORM_STYLE", Kind::Form, &kFormStyleWords),
    definition(S::Control, "CONTROL", Kind::Control),
    sub_state(S::ControlStyle, "CONTROL_STYLE", Kind::Control, &kControlStyleWords),
    sub_state(S::ControlSubtype, "CONTROL_SUBTYPE", Kind::Control, nullptr, true),
    sub_state(S::ControlAttr, "CONTROL_ATTR", Kind::Control),
    sub_state(S::ControlAddButton, "CONTROL_ADD_BUTTON", Kind::Control),
    sub_state(S::ControlAddPushbutton, "CONTROL_ADD_PUSHBUTTON", Kind::Control),
    sub_state(S::ControlAddCheckbox, "CONTROL_ADD_CHECKBOX", Kind::Control),
    sub_state(S::ControlAddPopuptrigger, "CONTROL_ADD_POPUPTRIGGER", Kind::Control),
    definition(S::Field, "FIELD", Kind::Field),
    sub_state(S::FieldStyle, "FIELD_STYLE", Kind::Field, nullptr, true),
    sub_state(S::FieldBackLine, "FIELD_BACK_LINE", Kind::Field, &kBackLineWords),
    sub_state(S::FieldAttr, "FIELD_ATTR", Kind::Field),
    definition(S::List, "LIST", Kind::List),
    sub_state(S::ListStyle, "LIST_STYLE", Kind::List, nullptr, true),
    sub_state(S::ListAttr, "LIST_ATTR", Kind::List),
    definition(S::Menu, "MENU", Kind::Menu),
    definition(S::Scrollbar, "SCROLLBAR", Kind::Scrollbar),
    sub_state(S::ScrollbarStyle, "SCROLLBAR_STYLE", Kind::Scrollbar, &kScrollbarStyleWords),
    sub_state(S::ScrollbarType, "SCROLLBAR_TYPE", Kind::Scrollbar, &kScrollbarTypeWords, true),
    sub_state(S::ScrollbarAttr, "SCROLLBAR_ATTR", Kind::Scrollbar),
    definition(S::Table, "TABLE", Kind::Table),
    sub_state(S::TableStyle, "TABLE_STYLE", Kind::Table, nullptr, true),
    sub_state(S::TableDataType, "TABLE_DATA_TYPE", Kind::Table, &kDataTypeWords),
    sub_state(S::TableAttr, "TABLE_ATTR", Kind::Table),
    definition(S::Schline, "SCHLINE", Kind::Schline),
    sub_state(S::SchlineAttr, "SCHLINE_ATTR", Kind::Schline),
    definition(S::String, "STRING", Kind::String),
    sub_state(S::StringStyle, "STRING_STYLE", Kind::String, nullptr, true),
    sub_state(S::StringAttr, "STRING_ATTR", Kind::String),
    definition(S::Bitmap, "BITMAP", Kind::Bitmap),
    sub_state(S::BitmapStyle, "BITMAP_STYLE", Kind::Bitmap, nullptr, true),
    sub_state(S::BitmapAttr, "BITMAP_ATTR", Kind::Bitmap),
    definition(S::Textbox, "TEXTBOX", Kind::Textbox),
    sub_state(S::TextboxStyle, "TEXTBOX_STYLE", Kind::Textbox, nullptr, true),
    sub_state(S::TextboxBackLine, "TEXTBOX_BACK_LINE", Kind::Textbox, &kBackLineWords),
    sub_state(S::TextboxAttr, "TEXTBOX_ATTR", Kind::Textbox),
    definition(S::Line, "LINE", Kind::Line),
    sub_state(S::LineStyle, "LINE_STYLE", Kind::Line, &kLineStyleWords, true),
};
static_assert(std::size(kStateInfos) == kStateCount, "one description per state");

const NumberReader kNumberReaders[] = {
    {S::ReadByte, 0, 255, true, "a byte"},
    {S::ReadShort, -32768, 32767, true, "a signed 16-bit number"},
    {S::ReadUshort, 0, 65535, false, "an unsigned 16-bit number"},
    {S::ReadWord, INT32_MIN, INT32_MAX, true, "a 32-bit number"},
};

const S kDefinitionStates[kKindCount] = {S::Form,     S::Control, S::Field,   S::List,
                                         S::Menu,     S::Scrollbar, S::Table, S::Schline,
                                         S::String,   S::Bitmap,  S::Textbox, S::Line};

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// A bracketed set at the start of `form` ("[A-Z0-9_]"): whether it holds
// `c`, and where the set ends (after its "]").
bool in_set(std::string_view form, char c, size_t& end) {
    end = form.find(']', 1);
    if (end == std::string_view::npos) end = form.size();
    bool found = false;
    for (size_t i = 1; i < end; ++i) {
        if (i + 2 < end && form[i + 1] == '-') {
            if (upper(c) >= upper(form[i]) && upper(c) <= upper(form[i + 2])) found = true;
            i += 2;
        } else if (upper(c) == upper(form[i])) {
            found = true;
        }
    }
    end = std::min(end + 1, form.size());
    return found;
}

bool match(std::string_view form, std::string_view text) {
    while (!form.empty()) {
        if (form[0] == '[') {
            size_t end = 0;
            const bool star = [&] {
                in_set(form, '\0', end);
                return end < form.size() && form[end] == '*';
            }();
            if (star) {
                // A run of set characters, as short as the rest allows.
                const std::string_view rest = form.substr(end + 1);
                for (size_t n = 0;; ++n) {
                    if (match(rest, text.substr(n))) return true;
                    size_t unused = 0;
                    if (n >= text.size() || !in_set(form, text[n], unused)) return false;
                }
            }
            if (text.empty() || text[0] == '\n' || !in_set(form, text[0], end)) return false;
            form.remove_prefix(end);
            text.remove_prefix(1);
            continue;
        }
        if (text.empty()) return false;
        if (form[0] == '?') {
            if (text[0] == '\n') return false;
        } else if (upper(form[0]) != upper(text[0])) {
            return false;
        }
        form.remove_prefix(1);
        text.remove_prefix(1);
    }
    return text.empty();
}

template <class T>
bool spelled_by(const T& entry, const char* canonical, std::string_view text) {
    if (canonical != nullptr && match(canonical, text)) return true;
    for (const char* form : entry.other_forms())
        if (match(form, text)) return true;
    return false;
}

struct Index {
    std::array<std::vector<const StatementInfo*>, kStateCount> statements;
    std::array<std::vector<const WordInfo*>, kStateCount> words;
    std::vector<std::vector<const StatementInfo*>> setting;

    Index() : setting(static_cast<size_t>(FieldId::Count_)) {
        for (const StatementInfo& s : kStatements) {
            statements[static_cast<size_t>(s.state)].push_back(&s);
            if (s.field != FieldId::None) setting[static_cast<size_t>(s.field)].push_back(&s);
        }
        for (const WordInfo& w : kWords) words[static_cast<size_t>(w.state)].push_back(&w);
    }
};

const Index& index() {
    static const Index built;
    return built;
}

}  // namespace

const StateInfo& state_info(State s) { return kStateInfos[static_cast<size_t>(s)]; }

std::optional<State> state_of_name(std::string_view name) {
    for (const StateInfo& info : kStateInfos)
        if (name == info.name) return info.state;
    return std::nullopt;
}

State definition_state(Kind k) { return kDefinitionStates[type_code(k)]; }

const NumberReader* number_reader(State s) {
    for (const NumberReader& r : kNumberReaders)
        if (r.state == s) return &r;
    return nullptr;
}

std::span<const NumberReader> number_readers() { return kNumberReaders; }

int64_t stored_number(const NumberReader& reader, int64_t written) {
    const int32_t read = static_cast<int32_t>(std::clamp<int64_t>(written, INT32_MIN, INT32_MAX));
    switch (reader.state) {
    case S::ReadByte: return static_cast<uint8_t>(read);
    case S::ReadShort: return static_cast<int16_t>(static_cast<uint16_t>(read));
    case S::ReadUshort: return static_cast<uint16_t>(read);
    default: return stored_word(read);
    }
}

const char* group_line(Role role) {
    for (const StatementInfo* s : statements_in(S::ReadBitmap))
        if (s->role == role) return s->spelling;
    return "";
}

std::span<const StatementInfo> all_statements() { return kStatements; }
std::span<const WordInfo> all_words() { return kWords; }
size_t statement_index(const StatementInfo& s) { return static_cast<size_t>(&s - kStatements); }
size_t word_index(const WordInfo& w) { return static_cast<size_t>(&w - kWords); }

std::span<const StatementInfo* const> statements_in(State s) { return index().statements[static_cast<size_t>(s)]; }
std::span<const WordInfo* const> words_in(State s) { return index().words[static_cast<size_t>(s)]; }
std::span<const StatementInfo* const> statements_setting(FieldId f) {
    return index().setting[static_cast<size_t>(f)];
}

bool form_matches(std::string_view form, std::string_view text) { return match(form, text); }
bool spells(const StatementInfo& s, std::string_view text) { return spelled_by(s, s.spelling, text); }
bool spells(const WordInfo& w, std::string_view text) { return spelled_by(w, w.spelling(), text); }

const StatementInfo* find_statement(State s, std::string_view text) {
    for (const StatementInfo* st : statements_in(s))
        if (spells(*st, text)) return st;
    for (const StatementInfo* st : statements_in(State::Initial))
        if (st->any_kind && spells(*st, text)) return st;
    return nullptr;
}

const WordInfo* find_word(State s, std::string_view text) {
    for (const WordInfo* w : words_in(s))
        if (spells(*w, text)) return w;
    return nullptr;
}

}  // namespace orrinrc::format
