// Help for each scanner state, from the format module's tables.
#include "check/hints.h"

#include <algorithm>

#include "check/diagnostics.h"

namespace orrinrc::check {

namespace {

using format::FieldId;
using format::Kind;

// The first part of a statement, as it opens a line: "CONTROL_ADD.RADIUS="
// opens with "CONTROL_ADD.", "OBJECT.TYPE=" stays whole.
std::string opening(const char* statement) {
    std::string s = statement;
    if (s.rfind("OBJECT.TYPE=", 0) == 0) return s;
    const size_t stop = s.find_first_of(".=");
    return stop == std::string::npos ? s : s.substr(0, stop + 1);
}

void add_unique(std::vector<std::string>& list, std::string s) {
    if (std::find(list.begin(), list.end(), s) == list.end()) list.push_back(std::move(s));
}

// Every field of a kind, the style blocks of a control and the cells of a
// table included.
std::vector<FieldId> kind_fields(Kind kind) {
    std::vector<FieldId> out;
    auto add_blocks = [&](std::span<const format::BlockLayout> blocks) {
        for (const format::BlockLayout& b : blocks)
            for (FieldId id : b.field_list()) out.push_back(id);
    };
    add_blocks(format::record_blocks(kind));
    if (kind == Kind::Control)
        for (uint32_t style = 0; style <= format::kPopupTrigger; ++style) add_blocks(format::control_style_blocks(style));
    if (kind == Kind::Table)
        for (FieldId id : format::table_cell_fields()) out.push_back(id);
    return out;
}

std::vector<std::string> words_of(const format::Vocabulary& v) {
    std::vector<std::string> out;
    for (size_t i = 0; i < v.count; ++i) out.emplace_back(v.words[i]);
    return out;
}

// The attribute names of a "KIND_ATTR." or "CONTROL_ADD." state: the rest of
// the statements that start with `prefix`, among `fields`.
std::vector<std::string> after_prefix(const std::vector<FieldId>& fields, std::string_view prefix) {
    std::vector<std::string> out;
    for (FieldId id : fields) {
        const std::string_view s = format::statement(id);
        if (s.substr(0, prefix.size()) == prefix) add_unique(out, std::string(s.substr(prefix.size())));
    }
    return out;
}

struct WordState {
    const char* state;
    const char* place;
    const format::Vocabulary* words;
};

const WordState kWordStates[] = {
    {"FORM_STYLE", "a form style", &format::kFormStyleWords},
    {"CONTROL_STYLE", "a control style", &format::kControlStyleWords},
    {"FIELD_BACK_LINE", "a back line", &format::kBackLineWords},
    {"TEXTBOX_BACK_LINE", "a back line", &format::kBackLineWords},
    {"SCROLLBAR_STYLE", "a scroll bar style", &format::kScrollbarStyleWords},
    {"SCROLLBAR_TYPE", "a scroll bar type", &format::kScrollbarTypeWords},
    {"TABLE_DATA_TYPE", "a cell data type", &format::kDataTypeWords},
    {"LINE_STYLE", "a line style", &format::kLineStyleWords},
    {"READCOLOR", "a colour", &format::kColorWords},
    {"READFONT", "a font", &format::kFontWords},
    {"READALIGNMENT", "an alignment", &format::kAlignmentWords},
    {"READTYPE", "an object type", &format::kObjectTypeWords},
};

struct NumberState {
    const char* state;
    NumberRange range;
};

const NumberState kNumberStates[] = {
    {"READ_USHORT", {0, 65535, "an unsigned 16-bit number"}},
    {"READ_SHORT", {-32768, 32767, "a signed 16-bit number"}},
    {"READ_BYTE", {0, 255, "a byte"}},
    {"READ_WORD", {INT32_MIN, INT32_MAX, "a 32-bit number"}},
};

// Sub-states whose statements are the rest of some fields' statements.
struct PrefixState {
    const char* state;
    Kind kind;
    const char* prefix;
};

const PrefixState kPrefixStates[] = {
    {"CONTROL_ATTR", Kind::Control, "CONTROL_ATTR."},
    {"FIELD_ATTR", Kind::Field, "FIELD_ATTR."},
    {"LIST_ATTR", Kind::List, "LIST_ATTR."},
    {"SCROLLBAR_ATTR", Kind::Scrollbar, "SCROLLBAR_ATTR."},
    {"TABLE_ATTR", Kind::Table, "TABLE_ATTR."},
    {"SCHLINE_ATTR", Kind::Schline, "SCHLINE_ATTR."},
    {"STRING_ATTR", Kind::String, "STRING_ATTR."},
    {"BITMAP_ATTR", Kind::Bitmap, "BITMAP_ATTR."},
    {"TEXTBOX_ATTR", Kind::Textbox, "TEXTBOX_ATTR."},
};

struct StyleAddState {
    const char* state;
    format::ControlStyle style;
};

const StyleAddState kStyleAddStates[] = {
    {"CONTROL_ADD_BUTTON", format::kButton},
    {"CONTROL_ADD_PUSHBUTTON", format::kPushButton},
    {"CONTROL_ADD_CHECKBOX", format::kCheckbox},
    {"CONTROL_ADD_POPUPTRIGGER", format::kPopupTrigger},
};

// The state of the number reader that reads a field of this encoding.
const char* reader_of(format::Encoding e) {
    switch (e) {
    case format::Encoding::U8: return "READ_BYTE";
    case format::Encoding::U16: return "READ_USHORT";
    case format::Encoding::S16: return "READ_SHORT";
    case format::Encoding::Word: return "READ_WORD";
    case format::Encoding::Boolean: return "READBOOLEAN";
    default: return "";
    }
}

// A statement's words in lower case: "MAX_NUM_CHARS=" is "max num chars".
std::string plain_words(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '=' || c == '.') continue;
        out += c == '_' ? ' ' : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
}

// What a field of a kind is, for a sentence: "the FORM's style", "an
// attribute of the CONTROL", "a BUTTON or PUSH_BUTTON CONTROL's radius",
// "a TABLE cell's font".
std::string field_subject(Kind kind, FieldId id) {
    const std::string keyword = format::kind_keyword(kind);
    const std::string_view st = format::statement(id);
    // The statement without its kind's prefix, for fields whose block has no
    // name of its own.
    std::string_view rest = st;
    if (const size_t dot = rest.find('.'); dot != std::string_view::npos && dot + 1 < rest.size())
        rest.remove_prefix(dot + 1);
    else if (rest.substr(0, keyword.size() + 1) == keyword + "_")
        rest.remove_prefix(keyword.size() + 1);
    for (const format::BlockLayout& b : format::record_blocks(kind)) {
        const auto fields = b.field_list();
        if (std::find(fields.begin(), fields.end(), id) == fields.end()) continue;
        const std::string_view what = b.what;
        if (what == "attributes") return "an attribute of the " + keyword + " (" + plain_words(rest) + ")";
        if (!what.empty() && what.back() == '=') return "the " + keyword + "'s " + plain_words(rest);
        return "the " + keyword + "'s " + std::string(what);
    }
    if (kind == Kind::Control) {
        std::vector<std::string> styles;
        for (uint32_t style = 0; style <= format::kPopupTrigger; ++style)
            for (const format::BlockLayout& b : format::control_style_blocks(style))
                for (FieldId f : b.field_list())
                    if (std::string_view(format::statement(f)) == st) add_unique(styles, format::kControlStyleWords.word(style));
        return "a " + word_list(styles) + " CONTROL's " + plain_words(rest);
    }
    if (kind == Kind::Table) {
        if (rest.substr(0, 10) == "TABLECELL_") rest.remove_prefix(10);  // TABLECELL_HAS_BITMAP=
        return "a TABLE cell's " + plain_words(rest);
    }
    return "the " + keyword + "'s " + plain_words(rest);
}

}  // namespace

std::optional<Kind> definition_kind(std::string_view state) {
    for (const format::KindInfo& k : format::all_kinds())
        if (state == k.keyword) return k.kind;
    return std::nullopt;
}

std::vector<std::string> kind_statements(Kind kind) {
    std::vector<std::string> out{"ID="};
    for (FieldId id : kind_fields(kind))
        if (id != FieldId::ObjectType) add_unique(out, opening(format::statement(id)));
    add_unique(out, std::string(format::statement(FieldId::ObjectType)) + format::kind_keyword(kind));
    out.emplace_back(format::kind_info(kind).end_statement);
    return out;
}

std::optional<NumberRange> number_range(std::string_view state) {
    for (const NumberState& n : kNumberStates)
        if (state == n.state) return n.range;
    return std::nullopt;
}

int64_t stored_value(const NumberRange& range, int64_t value) {
    if (range.max == 255) return static_cast<uint8_t>(value);
    if (range.max == 65535) return static_cast<uint16_t>(value);
    if (range.max == 32767) return static_cast<int16_t>(value);
    return std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

StateHelp state_help(std::string_view state) {
    StateHelp help;
    if (auto kind = definition_kind(state)) {
        help.place = std::string("a ") + format::kind_keyword(*kind) + " definition";
        help.choices = kind_statements(*kind);
        return help;
    }
    for (const WordState& w : kWordStates) {
        if (state != w.state) continue;
        help.place = w.place;
        help.choices = words_of(*w.words);
        return help;
    }
    if (auto range = number_range(state)) {
        help.place = range->min == 0 ? "an unsigned number" : "a number";
        help.takes = std::string(range->what) + " from " + std::to_string(range->min) + " to " +
                     std::to_string(range->max);
        return help;
    }
    for (const PrefixState& p : kPrefixStates) {
        if (state != p.state) continue;
        help.place = std::string("an attribute of ") + p.prefix;
        help.choices = after_prefix(kind_fields(p.kind), p.prefix);
        return help;
    }
    for (const StyleAddState& s : kStyleAddStates) {
        if (state != s.state) continue;
        help.place = std::string("a CONTROL_ADD. statement of a ") + format::kControlStyleWords.word(s.style);
        std::vector<FieldId> fields;
        for (const format::BlockLayout& b : format::control_style_blocks(s.style))
            for (FieldId id : b.field_list()) fields.push_back(id);
        help.choices = after_prefix(fields, "CONTROL_ADD.");
        if (s.style == format::kCheckbox) help.choices.push_back("CONTROL_BITMAP.");
        return help;
    }
    if (state == "READBOOLEAN") {
        help.place = "an on/off value";
        help.takes = "0 or 1 (or a word starting with T or F)";
    } else if (state == "READBOUNDS") {
        help.place = "a bounds value";
        help.choices = {"X=", "Y=", "WIDTH=", "HEIGHT="};
    } else if (state == "READBITMAP") {
        help.place = "a picture line";
        help.choices = {"X=", "Y=", "WIDTH=", "HEIGHT=", "FILE="};
    } else if (state == "READBITMAPFILE") {
        help.place = "a picture depth";
        help.choices = {std::string(format::kTwoBitWord) + ",", std::string(format::kFourBitWord) + ","};
    } else if (state.size() > 6 && state.substr(state.size() - 6) == "_STYLE" ) {
        help.place = "a style";
        help.takes = "a number from 0 to 255";
    } else if (state == "CONTROL_SUBTYPE") {
        help.place = "a control subtype";
        help.takes = "a number from 0 to 255";
    } else {
        help.place = "this place";
    }
    return help;
}

}  // namespace orrinrc::check

namespace orrinrc::check {

bool value_state(std::string_view state) {
    if (state.substr(0, 4) == "READ") return state != "READBOUNDS" && state != "READBITMAP";
    for (const WordState& w : kWordStates)
        if (state == w.state) return true;
    // Style numbers (FIELD_STYLE, ...) and the control subtype.
    return (state.size() > 6 && state.substr(state.size() - 6) == "_STYLE") || state == "CONTROL_SUBTYPE";
}

std::optional<Kind> state_kind(std::string_view state) {
    if (auto kind = definition_kind(state)) return kind;
    for (const format::KindInfo& k : format::all_kinds()) {
        const std::string_view keyword = k.keyword;
        if (state.size() > keyword.size() && state.substr(0, keyword.size()) == keyword && state[keyword.size()] == '_')
            return k.kind;
    }
    return std::nullopt;
}

std::vector<FieldId> statement_fields(Kind kind, std::string_view statement) {
    std::vector<FieldId> out;
    for (FieldId id : kind_fields(kind)) {
        const std::string_view s = format::statement(id);
        if (std::find(out.begin(), out.end(), id) != out.end()) continue;
        // A group statement ("BOUNDS.", "FORM_BITMAP.") sets its field by the lines that follow it.
        const bool group = !s.empty() && s.back() == '.' && statement.substr(0, s.size()) == s;
        if (statement == s || group || (id == FieldId::ObjectType && statement.substr(0, s.size()) == s)) out.push_back(id);
    }
    return out;
}

std::string field_takes(FieldId id) {
    const format::FieldInfo& f = format::field_info(id);
    switch (f.encoding) {
    case format::Encoding::Choice: {
        std::string out = word_list(words_of(*f.words));
        if (f.words->number_fallback) out += ", or a number from 0 to 255";
        return out;
    }
    case format::Encoding::Text: {
        std::string out = "the rest of the line, as text";
        if (f.count != FieldId::None)
            out += std::string("; one line per item, as many as ") + format::statement(f.count) + " counts";
        return out;
    }
    case format::Encoding::Bounds:
        return word_list(state_help("READBOUNDS").choices) + " lines, each " + state_help("READ_SHORT").takes;
    case format::Encoding::Bitmap:
        return "a picture: " + word_list(state_help("READBITMAP").choices) + " lines; FILE= takes " +
               word_list(state_help("READBITMAPFILE").choices) + " and the BMP file's name";
    default: return state_help(reader_of(f.encoding)).takes;
    }
}

std::string statement_summary(Kind kind, std::string_view statement) {
    const format::KindInfo& info = format::kind_info(kind);
    const std::string keyword = info.keyword;
    if (statement == format::kIdStatement || statement == "I=")
        return "the " + keyword + "'s identifier, which resource.h defines for its NAME=: " +
               state_help("READ_USHORT").takes;
    if (statement == format::kNameStatement)
        return "the name that resource.h defines for the resource's identifier: a C identifier";
    if (statement == info.open_statement) return "opens a " + keyword + " definition";
    if (statement == info.end_statement) return "ends the " + keyword + " definition and writes its record";
    const std::vector<FieldId> fields = statement_fields(kind, statement);
    if (fields.size() >= 1 && (statement == format::statement(fields[0]) || fields[0] == FieldId::ObjectType)) {
        if (fields[0] == FieldId::ObjectType)
            return "the " + keyword + "'s object type: resets the texts and pictures given before it";
        return field_subject(kind, fields[0]) + ": " + field_takes(fields[0]);
    }
    const std::string_view group = fields.empty() ? std::string_view() : format::statement(fields[0]);
    if (!group.empty() && group.back() == '.' && statement.size() > group.size()) {
        // A line of a group: "BOUNDS.X=", "FORM_BITMAP.FILE=".
        const std::string_view line = statement.substr(group.size());
        const bool file = line == "FILE=";
        return plain_words(line) + " of " + field_subject(kind, fields[0]) + ": " +
               (file ? word_list(state_help("READBITMAPFILE").choices) + " and the BMP file's name"
                     : state_help("READ_SHORT").takes);
    }
    // The opening of several statements ("CONTROL_ATTR.", "CONTROL_ADD.").
    const std::vector<std::string> rests = after_prefix(kind_fields(kind), statement);
    if (rests.empty()) return "";
    if (statement == "CONTROL_ADD.") return "the statements of the CONTROL_STYLE= given before: " + word_list(rests);
    return "the " + keyword + "'s attributes, each on or off: " + word_list(rests);
}

}  // namespace orrinrc::check
