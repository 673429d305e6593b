// Help for each scanner state, from the format module's tables.
#include "check/hints.h"

#include <algorithm>

#include "check/diagnostics.h"

namespace orrinrc::check {

namespace {

using format::FieldId;
using format::Kind;

void add_unique(std::vector<std::string>& list, std::string s) {
    if (std::find(list.begin(), list.end(), s) == list.end()) list.push_back(std::move(s));
}

std::vector<std::string> words_of(const format::Vocabulary& v) {
    std::vector<std::string> out;
    for (size_t i = 0; i < v.count; ++i) out.emplace_back(v.words[i]);
    return out;
}

// How a note names what a keyword state takes.
struct WordPlace {
    format::State state;
    const char* place;
};

const WordPlace kWordPlaces[] = {
    {format::State::FormStyle, "a form style"},
    {format::State::ControlStyle, "a control style"},
    {format::State::FieldBackLine, "a back line"},
    {format::State::TextboxBackLine, "a back line"},
    {format::State::ScrollbarStyle, "a scroll bar style"},
    {format::State::ScrollbarType, "a scroll bar type"},
    {format::State::TableDataType, "a cell data type"},
    {format::State::LineStyle, "a line style"},
    {format::State::ReadColor, "a colour"},
    {format::State::ReadFont, "a font"},
    {format::State::ReadAlignment, "an alignment"},
    {format::State::ReadType, "an object type"},
};

// The control style whose CONTROL_ADD. block a state is.
struct StyleBlock {
    format::State state;
    format::ControlStyle style;
};

const StyleBlock kStyleBlocks[] = {
    {format::State::ControlAddButton, format::kButton},
    {format::State::ControlAddPushbutton, format::kPushButton},
    {format::State::ControlAddCheckbox, format::kCheckbox},
    {format::State::ControlAddPopuptrigger, format::kPopupTrigger},
};

// The state of the reader that reads a field of this encoding.
format::State reader_of(format::Encoding e) {
    switch (e) {
    case format::Encoding::U8: return format::State::ReadByte;
    case format::Encoding::U16: return format::State::ReadUshort;
    case format::Encoding::S16: return format::State::ReadShort;
    case format::Encoding::Word: return format::State::ReadWord;
    default: return format::State::ReadBoolean;
    }
}

// The canonical spellings of the statements of a state, each once.
std::vector<std::string> spellings_in(format::State state) {
    std::vector<std::string> out;
    for (const format::StatementInfo* st : format::statements_in(state)) add_unique(out, st->spelling);
    return out;
}

// The statement that opens a sub-state ("CONTROL_ATTR."), if one does.
const format::StatementInfo* opener_of(format::State state) {
    for (const format::StatementInfo& st : format::all_statements())
        if (st.enters == state && st.role == format::Role::Opener) return &st;
    return nullptr;
}

// What a FILE= line takes after its "=".
std::string depth_takes() {
    return word_list(state_help(format::State::ReadBitmapFile).choices) + " and the BMP file's name";
}

// "FILE= takes ...".
std::string file_line() {
    for (const format::StatementInfo* s : format::statements_in(format::State::ReadBitmap))
        if (s->role == format::Role::File) return std::string(s->spelling) + " takes " + depth_takes();
    return depth_takes();
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

std::optional<Kind> definition_kind(format::State state) {
    const format::StateInfo& info = format::state_info(state);
    if (info.role == format::StateRole::Definition) return info.kind;
    return std::nullopt;
}

std::vector<std::string> kind_statements(Kind kind) {
    // ID= first, the end statement last, as a definition has them.
    std::vector<std::string> out, type, end;
    for (const format::StatementInfo* st : format::statements_in(format::definition_state(kind))) {
        switch (st->role) {
        case format::Role::Id: out.insert(out.begin(), st->spelling); break;
        case format::Role::ObjectType: type.emplace_back(st->spelling); break;
        case format::Role::Ends: end.emplace_back(st->spelling); break;
        default: add_unique(out, st->spelling); break;
        }
    }
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

StateHelp state_help(format::State state) {
    using format::State;
    StateHelp help;
    const format::StateInfo& info = format::state_info(state);
    if (auto kind = definition_kind(state)) {
        help.place = std::string("a ") + format::kind_keyword(*kind) + " definition";
        help.choices = kind_statements(*kind);
        return help;
    }
    for (const WordPlace& w : kWordPlaces) {
        if (state != w.state) continue;
        help.place = w.place;
        help.choices = words_of(*info.words);
        return help;
    }
    if (const format::NumberReader* r = format::number_reader(state)) {
        help.place = r->min == 0 ? "an unsigned number" : "a number";
        help.takes = std::string(r->what) + " from " + std::to_string(r->min) + " to " + std::to_string(r->max);
        return help;
    }
    for (const StyleBlock& b : kStyleBlocks) {
        if (state != b.state) continue;
        help.place = std::string("a ") + opener_of(state)->spelling + " statement of a " +
                     format::kControlStyleWords.word(b.style);
        help.choices = spellings_in(state);
        return help;
    }
    if (info.role == format::StateRole::SubState && info.words == nullptr && !info.number_fallback) {
        help.place = std::string("an attribute of ") + opener_of(state)->spelling;
        help.choices = spellings_in(state);
        return help;
    }
    switch (state) {
    case State::ReadBoolean:
        help.place = "an on/off value";
        help.takes = "0 or 1 (or a word starting with T or F)";
        break;
    case State::ReadBounds:
        help.place = "a bounds value";
        help.choices = spellings_in(state);
        break;
    case State::ReadBitmap:
        help.place = "a picture line";
        help.choices = spellings_in(state);
        break;
    case State::ReadBitmapFile:
        help.place = "a picture depth";
        for (const format::WordInfo* w : format::words_in(state)) help.choices.push_back(std::string(w->spelling()) + ",");
        break;
    case State::ControlSubtype:
        help.place = "a control subtype";
        help.takes = "a number from 0 to 255";
        break;
    default:
        if (info.number_fallback) {
            help.place = "a style";
            help.takes = "a number from 0 to 255";
        } else {
            help.place = "this place";
        }
        break;
    }
    return help;
}

}  // namespace orrinrc::check

namespace orrinrc::check {

bool value_state(format::State state) {
    const format::StateInfo& info = format::state_info(state);
    switch (info.role) {
    case format::StateRole::Reader: return state != format::State::ReadBounds && state != format::State::ReadBitmap;
    case format::StateRole::SubState: return info.words != nullptr || info.number_fallback;
    default: return false;
    }
}

std::optional<Kind> state_kind(format::State state) {
    const format::StateInfo& info = format::state_info(state);
    if (info.role == format::StateRole::Definition || info.role == format::StateRole::SubState) return info.kind;
    return std::nullopt;
}

FoundStatement find_in_kind(Kind kind, std::string_view statement) {
    using format::StatementInfo;
    const format::State own_state = format::definition_state(kind);
    if (const StatementInfo* s = format::find_statement(own_state, statement)) return {nullptr, s};
    if (const StatementInfo* s = format::find_statement(format::State::Initial, statement);
        s != nullptr && s->role == format::Role::Opens && s->kind == kind)
        return {nullptr, s};
    // A group's line or a sub-state's statement after the statement that
    // opens it: "BOUNDS.X=", "CONTROL_ATTR.ENABLE=".
    for (size_t dot = statement.find('.'); dot != std::string_view::npos && dot + 1 < statement.size();
         dot = statement.find('.', dot + 1)) {
        const std::string_view head = statement.substr(0, dot + 1), rest = statement.substr(dot + 1);
        for (const StatementInfo* h : format::statements_in(own_state)) {
            if ((h->role != format::Role::Opener && !h->opens_group()) || !format::spells(*h, head)) continue;
            if (const StatementInfo* s = format::find_statement(h->enters, rest)) return {h, s};
        }
    }
    // A statement that starts a line of a sub-state on its own (the check
    // box's lines after CONTROL_ADD.).
    for (size_t i = 0; i < format::kStateCount; ++i) {
        const auto state = static_cast<format::State>(i);
        const format::StateInfo& info = format::state_info(state);
        if (info.role != format::StateRole::SubState || info.kind != kind) continue;
        if (const StatementInfo* s = format::find_statement(state, statement); s != nullptr && s->prefixed)
            return {opener_of(state), s};
    }
    return {};
}

std::vector<FieldId> statement_fields(Kind kind, std::string_view statement) {
    const FoundStatement found = find_in_kind(kind, statement);
    if (found.own == nullptr) return {};
    if (found.head != nullptr && found.head->opens_group()) return {found.head->field};
    if (found.own->field != FieldId::None) return {found.own->field};
    return {};
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
        return word_list(state_help(format::State::ReadBounds).choices) + " lines, each " +
               state_help(format::State::ReadShort).takes;
    case format::Encoding::Bitmap:
        return "a picture: " + word_list(state_help(format::State::ReadBitmap).choices) + " lines; " + file_line();
    default: return state_help(reader_of(f.encoding)).takes;
    }
}

std::string statement_summary(Kind kind, std::string_view statement) {
    using format::Role;
    const std::string keyword = format::kind_keyword(kind);
    const FoundStatement found = find_in_kind(kind, statement);
    if (found.own == nullptr) return "";
    const format::StatementInfo& own = *found.own;
    switch (own.role) {
    case Role::Id:
        return "the " + keyword + "'s identifier, which resource.h defines for its " + format::kNameStatement + ": " +
               state_help(format::State::ReadUshort).takes;
    case Role::Name: return "the name that resource.h defines for the resource's identifier: a C identifier";
    case Role::Opens: return "opens a " + keyword + " definition";
    case Role::Ends: return "ends the " + keyword + " definition and writes its record";
    case Role::ObjectType: return "the " + keyword + "'s object type: resets the texts and pictures given before it";
    case Role::Opener: {
        // The statements that may follow it: those of every state that a
        // statement of its spelling enters (CONTROL_ADD.: each style's block).
        std::vector<std::string> rests;
        bool style_blocks = false;
        for (const format::StatementInfo* o : format::statements_in(format::definition_state(kind))) {
            if (o->role != Role::Opener || std::string_view(o->spelling) != own.spelling) continue;
            for (const std::string& r : spellings_in(o->enters)) add_unique(rests, r);
            for (const StyleBlock& b : kStyleBlocks) style_blocks |= b.state == o->enters;
        }
        if (style_blocks)
            return std::string("the statements of the ") + format::statement(FieldId::ControlStyle) +
                   " given before: " + word_list(rests);
        return "the " + keyword + "'s attributes, each on or off: " + word_list(rests);
    }
    case Role::X: case Role::Y: case Role::Width: case Role::Height: case Role::File:
        if (found.head == nullptr) return "";
        // A line of a group: "BOUNDS.X=", "FORM_BITMAP.FILE=".
        return plain_words(own.spelling) + " of " + field_subject(kind, found.head->field) + ": " +
               (own.role == Role::File ? depth_takes() : state_help(format::State::ReadShort).takes);
    case Role::Sets:
    case Role::Past:
        if (own.field == FieldId::None) return "";
        return field_subject(kind, own.field) + ": " + field_takes(own.field);
    }
    return "";
}

}  // namespace orrinrc::check
