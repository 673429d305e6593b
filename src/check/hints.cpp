// Help for each scanner state, from the format module's tables.
#include "check/hints.h"

#include <algorithm>

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
    auto add_blocks = [&](std::span<const format::BlockSpec> blocks) {
        for (const format::BlockSpec& b : blocks)
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
        for (const format::BlockSpec& b : format::control_style_blocks(s.style))
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
