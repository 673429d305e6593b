// orrinrc-check's listener: positions, events and the checks they allow.
#include "check/checker.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <span>
#include <type_traits>

#include "bitmap/bmp_import.h"
#include "check/hints.h"
#include "format/language.h"
#include "format/pixels.h"
#include "format/text_metrics.h"
#include "resources/records.h"
#include "util/files.h"

namespace orrinrc::check {

namespace {

using format::Kind;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Letters, digits and '_', not starting with a digit.
bool c_identifier(std::string_view name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (const char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool ends_with(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

using format::FieldId;
using format::Role;
using format::State;
using format::StatementInfo;

// The texts that OBJECT.TYPE= clears, and the pictures whose image it drops.
bool undone_by_object_type(FieldId field) {
    switch (field) {
    case FieldId::FormTitle: case FieldId::ControlText: case FieldId::FieldText: case FieldId::ScrollbarText:
    case FieldId::StringText:
    case FieldId::FormBitmap: case FieldId::RepeatBitmap: case FieldId::ScrollbarArrow1:
    case FieldId::ScrollbarArrow2: case FieldId::BitmapPicture1: case FieldId::BitmapPicture2:
        return true;
    default: return false;
    }
}

// Picture groups whose every line starts the picture afresh, dropping the
// image that an earlier FILE= line of the group read.
bool group_restarts_picture(FieldId field) {
    switch (field) {
    case FieldId::FormBitmap: case FieldId::RepeatBitmap: case FieldId::ScrollbarArrow1:
    case FieldId::ScrollbarArrow2: case FieldId::TableBitmap:
        return true;
    default: return false;
    }
}

// The visible attribute of an object whose kind has one; a FORM is visible.
bool visible_of(Kind kind, const Records& rec) {
    auto on = [&](FieldSource source, FieldId id) { return source(rec, id, 0).number != 0; };
    switch (kind) {
    case Kind::Control: return on(control_field, FieldId::ControlVisible);
    case Kind::Field: return on(field_field, FieldId::FieldVisible);
    case Kind::List: return on(list_field, FieldId::ListVisible);
    case Kind::Menu: return on(menu_field, FieldId::MenuVisible);
    case Kind::Scrollbar: return on(scrollbar_field, FieldId::ScrollbarVisible);
    case Kind::Table: return on(table_field, FieldId::TableVisible);
    case Kind::Schline: return on(schline_field, FieldId::SchlineVisible);
    case Kind::String: return on(string_field, FieldId::StringVisible);
    case Kind::Bitmap: return on(bitmap_field, FieldId::BitmapVisible);
    case Kind::Textbox: return on(textbox_field, FieldId::TextboxVisible);
    case Kind::Line: return on(line_field, FieldId::LineVisible);
    case Kind::Form: return true;
    }
    return true;
}

// The statement that opens a state, where one does (CONTROL_ADD. for a
// check box's block).
const StatementInfo* opener_of(State state) {
    for (const StatementInfo& s : format::all_statements())
        if (s.enters == state && s.role == Role::Opener) return &s;
    return nullptr;
}

// The word that a syntax error stands on: up to and with the first "=" or
// ".", or up to a blank.
std::string word_at(const std::string& source, uint32_t column) {
    std::string word;
    for (size_t i = column > 0 ? column - 1 : 0; i < source.size(); ++i) {
        const char c = source[i];
        if (is_blank(c)) break;
        word += c;
        if (c == '=' || c == '.') break;
    }
    return word;
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Where a comment starts after a statement or value on a line: a "//" at
// `from` or after a blank, at or after `from`; npos when there is none.
size_t end_of_line_comment(std::string_view line, size_t from) {
    for (size_t p = line.find("//", from); p != std::string_view::npos; p = line.find("//", p + 1))
        if (p == from || is_blank(line[p - 1])) return p;
    return std::string_view::npos;
}

const char* const kCommentNote = "a comment is a line of its own that starts with //";

// Message text built in one piece: words, and numbers in decimal. The
// room for them is made first, then they are written in.
struct Piece {
    Piece(std::string_view s) : text(s) {}
    Piece(const std::string& s) : text(s) {}
    Piece(const char* s) : text(s) {}
    template <class Number>
        requires(std::is_integral_v<Number> && !std::is_same_v<Number, char> && !std::is_same_v<Number, bool>)
    Piece(Number n) {
        text = std::string_view(digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits));
    }
    Piece(const Piece&) = delete;
    std::string_view text;
    char digits[24];
};

std::string cat_pieces(std::initializer_list<const Piece*> pieces) {
    size_t size = 0;
    for (const Piece* p : pieces) size += p->text.size();
    std::string out(size, '\0');
    char* at = out.data();
    for (const Piece* p : pieces) {
        if (p->text.empty()) continue;  // (an empty view may hold no address to copy from)
        std::memcpy(at, p->text.data(), p->text.size());
        at += p->text.size();
    }
    return out;
}

template <class... Parts>
std::string cat(const Parts&... parts) {
    return [](const auto&... pieces) { return cat_pieces({&pieces...}); }(Piece(parts)...);
}

// A resource as messages name it: by its NAME=, or by its identifier when
// its definition gave none (a check resumed after that error goes on).
std::string shown_name(std::string_view name, uint16_t id) {
    return name.empty() ? cat("(ID=", id, ")") : std::string(name);
}

// The notes of a diagnostic that has one, made without copies.
std::vector<Note> one_note(std::string text, Location at = {}, std::string_view source = {}) {
    std::vector<Note> notes;
    notes.reserve(1);
    notes.push_back(Note{std::move(text), at, std::string(source)});
    return notes;
}

// The note for a statement of the kind that has no room where it stands.
std::string room_note(std::optional<State> state) {
    auto st = [](FieldId f) { return std::string(format::statement(f)); };
    switch (state.value_or(State::Initial)) {
    case State::Form:
        return "object lines need a " + st(FieldId::FormCount) +
               " line before them in this definition, and no more of them than it counts";
    case State::Menu:
        return "item lines need a " + st(FieldId::MenuCount) +
               " line before them in this definition, and no more of them than it counts";
    case State::Table:
        return "cell lines follow a " + st(FieldId::CellDataType) + " line; width, height and " +
               st(FieldId::CellDataType) + " lines are no more than the grid has; " + st(FieldId::TableRows) +
               " and " + st(FieldId::TableColumns) + " come before the first cell";
    case State::ControlAddPopuptrigger:
        return "ITEM lines need a " + std::string(format::language::after_opener(format::statement(FieldId::PopupCount))) +
               " line before them in this definition, and no more of them than it counts";
    default: return "";
    }
}

// Why a picture cannot be read, from the file (as it is opened) and the
// compiler's message, which names it as written or as found.
std::string picture_reason(const std::string& path, const std::string& written, const std::string& message) {
    std::string m = message;
    while (!m.empty() && m.back() == '\n') m.pop_back();
    if (starts_with(m, "error: can't open file")) {
        const files::Status st = files::status(path.c_str());
        if (st.kind == files::Kind::Missing) return errno == ENOENT ? "no such file" : std::strerror(errno);
        if (st.kind == files::Kind::Folder) return "it is a folder, not a file";
        if (st.kind != files::Kind::Regular) return "it is not a regular file";
        if (!files::readable(path.c_str())) return "it cannot be read (permission denied)";
        return "it cannot be opened";
    }
    for (const std::string& name : {path, written}) {
        const std::string prefix = "error: " + name + ": ";
        if (starts_with(m, prefix)) return m.substr(prefix.size());
    }
    if (starts_with(m, "error: ")) return m.substr(7);
    return m;
}

}  // namespace

Checker::Checker(CheckOptions options, CheckSink& sink) : options_(options), sink_(sink) {
    for (size_t i = 0; i < format::kStateCount; ++i) {
        StateClass& c = classes_[i];
        const auto state = static_cast<State>(i);
        c.definition = format::state_info(state).role == format::StateRole::Definition;
        if (state == State::ReadString) c.role = StateClass::Text;
        if ((c.reader = format::number_reader(state)) == nullptr) continue;
        c.role = StateClass::Number;
        if (c.reader->min <= 0)
            for (int64_t largest = 9; largest <= c.reader->max; largest = largest * 10 + 9) ++c.short_number;
    }
}

// ---------------------------------------------------------------- positions

void Checker::text_read(const char* text, size_t length) {
    const uint64_t old_end = source_base_ + source_.size();
    source_.append(text, length);
    if (line_end_ == kNoLineEnd) line_end_ = line_end_from(std::max(line_start_, old_end));
}

uint64_t Checker::line_end_from(uint64_t from) const {
    const uint64_t end = source_base_ + source_.size();
    if (from >= end) return kNoLineEnd;
    const char* start = source_.data() + (from - source_base_);
    const void* found = std::memchr(start, '\n', static_cast<size_t>(end - from));
    return found ? from + static_cast<uint64_t>(static_cast<const char*>(found) - start) : kNoLineEnd;
}

void Checker::cross_lines() {
    while (pos_ > line_end_) {
        if (watch_line_ == line_) [[unlikely]] line_watched();
        ++line_;
        line_start_ = line_end_ + 1;
        line_starts_.push_back(line_start_);
        line_end_ = line_end_from(line_start_);
        // Before the first definition only this line and the one before it
        // are kept: drop the older ones now and then.
        if (!def_ && line_starts_.size() > 256) [[unlikely]] keep_lines_from(line_ - 1);
    }
}

// Lets go of the lines before one that stays. Their text is dropped once
// it is most of what is kept, so that the text read ahead is not moved at
// every definition.
void Checker::keep_lines_from(uint32_t line) {
    if (line <= first_line_ || line > line_) return;
    const size_t k = line - first_line_;
    line_starts_.erase(line_starts_.begin(), line_starts_.begin() + static_cast<long>(k));
    first_line_ = line;
    const size_t dead = static_cast<size_t>(line_starts_.front() - source_base_);
    if (dead < kDropAtLeast || dead < source_.size() / 2) return;
    source_.erase(0, dead);
    source_base_ += dead;
}

// The end of a line that a diagnostic waits for, or whose text is kept.
void Checker::line_watched() {
    if (stray_at_ && stray_at_->line == line_) {
        stray_warning(stray_at_->line, stray_at_->column, current_line());
        stray_at_.reset();
    }
    if (file_at_ && file_at_->line == line_) file_source_ = current_line();
    if (name_line_ && name_line_->at.line == line_) name_line_->source = kept_.keep(current_line());
    for (auto it = waiting_.begin(); !waiting_.empty() && it != waiting_.end();) {
        if (it->at.line != line_) {
            ++it;
            continue;
        }
        it->source = current_line();
        emit(std::move(*it));
        it = waiting_.erase(it);
    }
}

std::string_view Checker::current_line() const {
    // What the scanner has read of it so far, up to its line end.
    return source_view(line_start_, std::min(pos_, line_end_));
}

std::string_view Checker::line_text(uint32_t line) const {
    // The lines of the latest definition from its opening line on are kept;
    // before the first one, the current line and the one before it.
    if (line == line_) return current_line();
    if (line >= first_line_ && line < line_ && (def_ || line + 1 >= line_)) {
        const size_t k = line - first_line_;
        return source_view(line_starts_[k], line_starts_[k + 1] - 1);
    }
    if (file_at_ && line == file_at_->line) return file_source_;
    return {};
}

Checker::LineRef Checker::line_ref(Location at) { return LineRef{at, kept_.keep(line_text(at.line))}; }

Note Checker::note_at(const std::string& text, Location at) const {
    return Note{text, at, std::string(line_text(at.line))};
}

// ---------------------------------------------------------------- reporting

void Checker::emit(Diagnostic d) { sink_.diagnostic(std::move(d)); }

const std::string& Checker::flag(Warning w) {
    if (flags_[0].empty())
        for (const WarningInfo& info : all_warnings()) {
            const size_t i = static_cast<size_t>(info.warning);
            flags_[i] = cat(options_.werror ? "-Werror,-W" : options_.promoted[i] ? "-Werror=" : "-W", info.name);
        }
    return flags_[static_cast<size_t>(w)];
}

void Checker::warn(Warning w, Location at, std::string message, std::vector<Note> notes) {
    if (options_.disabled[static_cast<size_t>(w)]) return;
    const bool as_error = as_error_(w);
    errors_from_warnings_ += as_error;
    if (options_.quiet && !as_error) return;
    Diagnostic d;
    d.severity = as_error ? Severity::Error : Severity::Warning;
    d.at = at;
    d.message = std::move(message);
    d.flag = flag(w);
    d.notes = std::move(notes);
    if (at.line == line_) {
        waiting_.push_back(std::move(d));  // its line is not complete yet
        watch_line_ = line_;
        return;
    }
    d.source = line_text(at.line);
    emit(std::move(d));
}

void Checker::warn(Warning w, const LineRef& line, std::string message, std::vector<Note> notes) {
    const bool as_error = as_error_(w);
    const bool shown = !options_.disabled[static_cast<size_t>(w)] && (!options_.quiet || as_error);
    if (!shown) {
        warn(w, line.at, std::move(message), std::move(notes));
        return;
    }
    errors_from_warnings_ += as_error;
    emit(Diagnostic{as_error ? Severity::Error : Severity::Warning, line.at, std::string(line.source),
                    std::move(message), flag(w), std::move(notes)});
}

void Checker::error(Location at, std::string message, std::vector<Note> notes) {
    if (error_) return;  // the first error ends the check
    Diagnostic d;
    d.severity = Severity::Error;
    d.at = at;
    d.source = line_text(at.line);
    d.message = std::move(message);
    d.notes = std::move(notes);
    error_ = std::move(d);
}

void Checker::failed(const Error& failure) {
    if (reported_) return;
    reported_ = true;
    note_failed_definition();
    // A picture's error was printed when it was read.
    if (picture_reported_ && failure.kind == ErrorKind::Picture && !error_) return;
    for (Diagnostic& d : waiting_) {
        d.source = line_text(d.at.line);
        emit(std::move(d));
    }
    waiting_.clear();
    if (!error_) {
        // An error with no event of its own: the compiler's message says it.
        std::string last;
        size_t start = 0;
        while (start < failure.message.size()) {
            size_t end = failure.message.find('\n', start);
            if (end == std::string::npos) end = failure.message.size();
            std::string l = failure.message.substr(start, end - start);
            while (!l.empty() && l.back() == '\r') l.pop_back();
            if (!l.empty()) last = l;
            start = end + 1;
        }
        if (starts_with(last, "error: ")) last = last.substr(7);
        const bool unreadable = failure.exit_code == 2;
        if (unreadable) last = "the file cannot be read (" + (last.empty() ? std::string("read error") : last) + ")";
        if (last.empty()) last = "the compiler stops here";
        error(unreadable ? Location{} : token_at_, last);
    }
    emit(*error_);
    ++errors_;
}

void Checker::note_failed_definition() {
    any_failure_ = true;
    if (!open_ || !def_ || !def_->id_line) return;
    // Its identifier as the ID= line writes it.
    const std::string_view line = line_text(def_->id_line->line);
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    int64_t v = 0;
    for (size_t i = eq + 1; i < line.size() && line[i] >= '0' && line[i] <= '9' && v < (int64_t{1} << 40); ++i)
        v = v * 10 + (line[i] - '0');
    failed_ids_.push_back(static_cast<uint16_t>(format::stored_number(*format::number_reader(State::ReadUshort), v)));
}

void Checker::restart(uint32_t line) {
    source_.clear();
    source_base_ = 0;
    line_ = line;
    line_start_ = 0;
    line_end_ = kNoLineEnd;
    pos_ = 0;
    watch_line_ = 0;
    line_starts_.assign(1, 0);
    first_line_ = line;
    token_at_ = {};
    token_length_ = 0;
    match_state_ = State::Initial;
    file_value_at_.reset();
    current_ = {};
    group_ = {};
    checkbox_group_ = false;
    text_value_.clear();
    text_value_at_.reset();
    file_at_.reset();
    name_line_.reset();
    waiting_.clear();
    stray_at_.reset();
    stray_reported_ = false;
    error_.reset();
    reported_ = false;
    picture_reported_ = false;
    records_ = nullptr;
    def_.reset();
    open_ = false;
    fresh_kinds_.fill(true);
}

// ---------------------------------------------------------------- matches

void Checker::scanned(const ScanEvent* events, size_t count) {
    for (const ScanEvent& e : std::span(events, count)) {
        switch (e.type) {
        case ScanEvent::Type::Match:
            matched(e.state, source_.data() + (e.offset - source_base_), e.length, e.offset);
            break;
        case ScanEvent::Type::Statement: statement(statements_[e.entry]); break;
        case ScanEvent::Type::Word: break;
        case ScanEvent::Type::GivenBack: given_back(e.length); break;
        }
    }
}

inline void Checker::matched(State state, const char* text, size_t length, uint64_t offset) {
    match_state_ = state;
    token_at_ = Location{line_, static_cast<uint32_t>(offset - line_start_ + 1)};
    token_length_ = length;
    const StateClass& c = classes_[static_cast<size_t>(state)];
    if (c.role == StateClass::Text) {
        // (a text value is gathered whole, also when it is empty)
        if (!statement_empty()) text_value_piece(std::string_view(text, length));
    } else if (c.role == StateClass::Number) {
        // (a value such as "120" is one the field takes)
        const std::string_view value = value_of(text, length);
        const bool in_range = value.size() <= c.short_number &&
                              (value.empty() || static_cast<unsigned>(static_cast<unsigned char>(value[0])) - '0' <= 9);
        if (!in_range && !statement_empty()) check_number(*c.reader, value);
    }
    pos_ = offset + length;
    if (pos_ > line_end_) [[unlikely]] cross_lines();
}

// A value without its line end.
std::string_view Checker::value_of(const char* text, size_t length) {
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
    return std::string_view(text, length);
}

// The statement the match just made is, as the language's tables have it.
void Checker::statement(const StatementInfo& s) {
    switch (s.role) {
    case Role::Name:
        speak(nullptr, s, Spoken::Head::Written);
        name_line_ = LineRef{token_at_, {}};
        watch_line_ = line_;
        return;
    case Role::Opens:
    case Role::Ends:
    case Role::ObjectType:
        return;  // the definition's own events follow
    case Role::X: case Role::Y: case Role::Width: case Role::Height: case Role::File:
        group_line(s);
        return;
    default: break;
    }
    if (classes_[static_cast<size_t>(s.state)].definition) definition_statement(s);
    else sub_state_statement(s);
}

// The places are copied a field at a time: each was written a field at a
// time just before, and a wider read of it would wait for those writes.
void Checker::said(Said& to, const StatementInfo& s) const {
    to.info = &s;
    to.at.line = token_at_.line;
    to.at.column = token_at_.column;
    to.length = static_cast<uint32_t>(token_length_);
}

void Checker::speak(const Said* head, const StatementInfo& s, Spoken::Head form) {
    if (head) current_.head = *head;
    else current_.head = Said{};
    said(current_.own, s);
    current_.head_form = form;
}

// A statement of a definition's own state.
void Checker::definition_statement(const StatementInfo& s) {
    if (!def_) return;
    Definition& d = *def_;
    speak(nullptr, s, Spoken::Head::Written);
    if (s.field != FieldId::None) d.fields_given.set(static_cast<size_t>(s.field));
    if (!d.object_type && !s.opens_group() && undone_by_object_type(s.field)) d.undoable.push_back(current_);
    if (s.opens_group() || s.role == Role::Opener) {
        said(group_, s);
        checkbox_group_ = false;
        if (!d.files.empty()) [[unlikely]] group_reopened();
        return;
    }
    if (s.role == Role::Id) {
        d.id_line = token_at_;
        return;
    }
    switch (s.field) {
    case FieldId::FormObjectId: d.object_ids.push_back(token_at_); break;
    case FieldId::FormObjectType: d.object_types.push_back(token_at_); break;
    case FieldId::FormCount: d.count_line = token_at_; break;
    case FieldId::FormFocused: d.focused_line = token_at_; break;
    case FieldId::CellDataType:
        d.cells.push_back(token_at_);
        d.cell_colours.emplace_back(false, false);
        break;
    case FieldId::CellFontColor:
        if (!d.cells.empty()) d.cell_colours.back().first = true;
        break;
    case FieldId::TableBackgroundColor:
    case FieldId::CellBackgroundColor:
        if (!d.cells.empty()) d.cell_colours.back().second = true;
        break;
    case FieldId::MenuItem:
    case FieldId::ListItem: d.items_given = true; break;
    case FieldId::ListSelected:
    case FieldId::FieldMaxChars:
    case FieldId::ControlText:
    case FieldId::StringText:
    case FieldId::ScrollbarMin:
    case FieldId::ScrollbarValue:
    case FieldId::TableColumnWidth: d.value_lines.emplace_back(s.field, token_at_); break;
    default:
        // An item line past the count still gives items.
        if (s.role == Role::Past && std::string_view(s.spelling) == format::statement(FieldId::ListItem))
            d.items_given = true;
        break;
    }
}

// A group opened again after its FILE= line, which drops the picture read.
void Checker::group_reopened() {
    Definition& d = *def_;
    const auto file = std::find_if(d.files.begin(), d.files.end(), [&](const auto& f) { return f.first == group_.info; });
    if (file == d.files.end()) return;
    warn(Warning::UndoneLine, token_at_, cat("this ", written(group_), " line drops the picture that its FILE= line read"),
         {note_at("the picture was read here", file->second),
          Note{"give the picture's X=, Y=, WIDTH= and HEIGHT= lines before its FILE= line", {}, ""}});
    d.files.erase(file);
}

// A statement of a sub-state: an attribute after its opener, a statement of
// a control style's block.
void Checker::sub_state_statement(const StatementInfo& s) {
    if (def_ && s.field != FieldId::None) def_->fields_given.set(static_cast<size_t>(s.field));
    if (def_ && s.field == FieldId::PopupSelected) def_->value_lines.emplace_back(s.field, token_at_);
    if (s.state == State::ControlAddCheckbox) {
        speak(nullptr, s, Spoken::Head::CheckboxOpener);
        said(group_, s);
        checkbox_group_ = true;
        return;
    }
    speak(&current_.own, s, Spoken::Head::Written);
}

// A line of a picture or bounds group ("X=" after "FORM_BITMAP.").
void Checker::group_line(const StatementInfo& s) {
    speak(&group_, s, checkbox_group_ ? Spoken::Head::CheckboxGroup : Spoken::Head::Written);
    if (!def_ || group_.info == nullptr) return;
    Definition& d = *def_;
    const Role role = s.role;
    if (role == Role::Width || role == Role::Height) {
        d.sizes_given.emplace_back(group_.info, role);
        if (group_.info->field == FieldId::Bounds) (role == Role::Width ? d.width_line : d.height_line) = token_at_;
    }
    if (role != Role::File) return;
    if (d.kind == Kind::Bitmap) d.picture_files.emplace_back(group_.info->field, token_at_);
    file_at_ = token_at_;
    watch_line_ = line_;
    const FieldId field = group_.info->field;
    if (!checkbox_group_ && group_restarts_picture(field)) {
        const auto file = std::find_if(d.files.begin(), d.files.end(), [&](const auto& f) { return f.first == group_.info; });
        if (file != d.files.end()) file->second = token_at_;
        else d.files.emplace_back(group_.info, token_at_);
    }
    if (!d.object_type && !checkbox_group_ && undone_by_object_type(field)) d.undoable.push_back(current_);
}

std::string Checker::written(const Said& said) const {
    if (said.info == nullptr) return "";
    const std::string_view line = line_text(said.at.line);
    if (said.at.column == 0 || said.at.column - 1 + said.length > line.size()) return said.info->spelling;
    std::string out;
    return std::string(normal_statement(line.substr(said.at.column - 1, said.length), out));
}

std::string Checker::text_of(const Spoken& s) const {
    std::string own = written(s.own);
    switch (s.head_form) {
    case Spoken::Head::CheckboxOpener:
        // A check-box line written without its CONTROL_ADD. is quoted with it.
        if (s.own.info != nullptr && !s.own.info->opens_group() && own == s.own.info->spelling)
            if (const StatementInfo* opener = opener_of(State::ControlAddCheckbox)) return opener->spelling + own;
        return own;
    case Spoken::Head::CheckboxGroup: return "check-box " + std::string(s.head.info->spelling) + own;
    case Spoken::Head::Written: break;
    }
    return written(s.head) + own;
}

std::string Checker::group_text() const {
    if (group_.info == nullptr) return "the picture";
    if (checkbox_group_) return "check-box " + std::string(group_.info->spelling);
    return written(group_);
}

// A number as written, and what the field keeps of it.
void Checker::check_number(const format::NumberReader& reader, std::string_view value) {
    size_t i = 0;
    while (i < value.size() && is_blank(value[i])) ++i;
    const size_t start = i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    int64_t magnitude = 0;
    bool huge = false;
    for (; i < value.size(); ++i) {
        const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(value[i])) - '0';
        if (digit > 9) break;
        magnitude = magnitude * 10 + digit;
        if (magnitude > (int64_t{1} << 40)) huge = true, magnitude = int64_t{1} << 40;
    }
    const int64_t v = negative ? -magnitude : magnitude;
    if (!huge && v >= reader.min && v <= reader.max) return;
    number_warning(reader, value.substr(start, i - start), v, start);
}

void Checker::number_warning(const format::NumberReader& reader, std::string_view digits, int64_t v, size_t start) {
    const int64_t stored = format::stored_number(reader, v);
    const bool id = current_.own.info != nullptr && current_.own.info->role == Role::Id;
    const std::string place = id ? std::string("an identifier") : statement_text();
    warn(Warning::NumberRange, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(start)},
         cat(digits, " does not fit ", place, ", which takes ", reader.what, " (", reader.min, " to ", reader.max,
             "): it is stored as ", stored));
}

void Checker::text_value_piece(std::string_view t) {
    // A text value line is matched in pieces around its NULs and is whole at
    // its line end. A lone CR makes the pieces before it text that is copied
    // out, and the value starts again after it.
    if (t == "\r") {
        text_value_.clear();
        text_value_at_.reset();
        return;
    }
    const bool line_end = !t.empty() && t.back() == '\n';
    if (line_end && !text_value_at_) {
        // The whole line in one piece: the common case, with no copy.
        check_text(value_of(t.data(), t.size()));
        return;
    }
    if (!text_value_at_) text_value_at_ = token_at_;
    text_value_.append(value_of(t.data(), t.size()));
    if (!line_end) return;
    // Warnings point into the value from where it starts.
    const Location here = token_at_;
    token_at_ = *text_value_at_;
    check_text(text_value_);
    token_at_ = here;
    text_value_.clear();
    text_value_at_.reset();
}

void Checker::check_text(std::string_view value) {
    const Role role = current_.own.info->role;
    if (role == Role::File) return;
    if (role == Role::Name) {
        if (c_identifier(value)) return;
        const std::string why = [&]() -> std::string {
            const std::string name(value);
            if (name.empty()) return "NAME= gives no name";
            if (name.find("//") != std::string::npos) return "the name " + quoted(name) + " holds a comment";
            if (std::any_of(name.begin(), name.end(), is_blank)) {
                // The first word is the name resource.h defines, when it is one.
                const size_t start = name.find_first_not_of(" \t");
                if (start == std::string::npos) return "the name " + quoted(name) + " is only blanks";
                const std::string first = name.substr(start, name.find_first_of(" \t", start) - start);
                return c_identifier(first) ? "" : "the name " + quoted(name) + " holds a blank";
            }
            if (std::isdigit(static_cast<unsigned char>(name[0])))
                return "the name " + quoted(name) + " starts with a digit";
            for (char ch : name)
                if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_')
                    return "the name " + quoted(name) + " holds " + quoted(std::string(1, ch));
            return "";
        }();
        const char* const identifier_note = "a name is a C identifier: letters, digits and '_', not starting with a digit";
        if (!why.empty()) {
            warn(Warning::Name, token_at_, why + ": resource.h will not compile", one_note(identifier_note));
        } else {
            // "#define BTN CANCEL 2007" compiles: it defines BTN, as the
            // rest of the name and the identifier. Blanks around one word
            // leave that word as the name.
            const std::string name(value);
            const size_t start = name.find_first_not_of(" \t"), end = name.find_last_not_of(" \t") + 1;
            const size_t blank = name.find_first_of(" \t", start);
            const std::string defined = name.substr(start, blank - start);
            std::string joined = name.substr(start, end - start);
            std::replace_if(joined.begin(), joined.end(), is_blank, '_');
            if (joined == defined)
                warn(Warning::Name, token_at_,
                     "the name " + quoted(name) + " has blanks around it, which are part of it: resource.h defines " +
                         quoted(defined),
                     one_note(identifier_note));
            else
                warn(Warning::Name, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(blank)},
                     "the name " + quoted(name) + " holds a blank: resource.h defines " + quoted(defined) +
                         " instead (the rest of the name is its value), and no " + quoted(joined),
                     one_note("did you mean " + quoted(joined) + "? " + identifier_note));
        }
        return;
    }
    if (!value.empty() && is_blank(value[0]))
        warn(Warning::TextBlank, token_at_, cat("the text of ", statement_text(), " starts with a blank, which is part of it"));
    for (size_t pos = value.find("//"); pos != std::string_view::npos; pos = value.find("//", pos + 2)) {
        if (pos == 0 || !is_blank(value[pos - 1])) continue;
        warn(Warning::TextComment, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(pos)},
             cat("'", value.substr(pos), "' is part of the text of ", statement_text()),
             one_note(kCommentNote));
        break;
    }
}

void Checker::given_back(size_t length) { pos_ -= std::min<uint64_t>(length, pos_ - line_start_); }

void Checker::read_on(const char* /*text*/, size_t length) {
    pos_ += length;
    if (pos_ > line_end_) cross_lines();
}

// ---------------------------------------------------------------- stray text

void Checker::copied_out(const char* text, size_t length) {
    // A FILE= value that is no depth word and comma is copied out: the
    // picture error that follows says what is missing.
    if (match_state_ == State::ReadBitmapFile) [[unlikely]] {
        if (!file_value_at_) file_value_at_ = token_at_;
        return;
    }
    // Blanks and line ends copied out change nothing but the trace.
    if (std::all_of(text, text + length, [](char c) { return is_blank(c) || c == '\n' || c == '\r'; })) return;
    if (stray_reported_) return;
    stray_reported_ = true;
    stray_at_ = token_at_;
    if (token_at_.line != line_) {
        // The line is complete already (a comment that ran to the end).
        stray_warning(token_at_.line, token_at_.column, line_text(token_at_.line));
        stray_at_.reset();
    } else {
        watch_line_ = line_;
    }
}

void Checker::stray_warning(uint32_t line, uint32_t column, std::string_view source) {
    const std::string rest(source.substr(std::min<size_t>(column - 1, source.size())));
    size_t first = 0;
    while (first < rest.size() && is_blank(rest[first])) ++first;
    const std::string word = upper(word_at(rest, static_cast<uint32_t>(first + 1)));
    std::vector<std::string> openings;
    for (const format::KindInfo& k : format::all_kinds()) openings.emplace_back(k.open_statement);
    const Location at{line, column};
    const char* lost = "it and the lines after it up to the next top-level statement are copied to standard output "
                       "and left out of resource.bin and resource.h";
    if (line == 1 && column == 1 && starts_with(source, "\xEF\xBB\xBF")) {
        warn(Warning::StrayText, at, "the file starts with a UTF-8 byte-order mark, so its first line is no statement",
             {Note{"save the file without a byte-order mark", {}, ""}});
    } else if (column > 1 && starts_with(std::string_view(rest).substr(first), "//")) {
        warn(Warning::StrayText, Location{line, column + static_cast<uint32_t>(first)},
             "a comment must stand on a line of its own: this one is copied to standard output", one_note(kCommentNote));
    } else if ((first > 0 || (column > 1 && std::all_of(source.begin(), source.begin() + std::min<size_t>(column - 1, source.size()), is_blank))) &&
               std::find(openings.begin(), openings.end(), word) != openings.end()) {
        warn(Warning::StrayText, Location{line, column + static_cast<uint32_t>(first)},
             quoted(word) + " does not start in the first column: " + lost);
    } else if (starts_with(word, "#")) {
        std::vector<Note> notes;
        const std::string near = nearest_word(word, openings);
        if (!near.empty()) notes.push_back(Note{"did you mean " + quoted(near) + "?", {}, ""});
        if (starts_with(word, "#END_"))
            warn(Warning::StrayText, at, quoted(word) + " ends no definition: " + lost, notes);
        else
            warn(Warning::StrayText, at, quoted(word) + " is no top-level statement: " + lost, notes);
    } else {
        warn(Warning::StrayText, at, "text outside any definition is copied to standard output and ignored",
             {Note{"a definition starts with a line such as #FORM and ends with its #END_ line", {}, ""}});
    }
}

// ---------------------------------------------------------------- definitions

void Checker::Definition::start(Kind k, LineRef at) {
    kind = k;
    opened = at;
    object_type = false;
    undoable.clear();
    files.clear();
    object_ids.clear();
    object_types.clear();
    width_line.reset();
    height_line.reset();
    picture_files.clear();
    value_lines.clear();
    cells.clear();
    count_line.reset();
    focused_line.reset();
    id_line.reset();
    items_given = false;
    fields_given.reset();
    sizes_given.clear();
    cell_colours.clear();
}

void Checker::definition_opened(Kind kind) {
    // The lines kept start again at the opening line (and the line before
    // the current one is always kept).
    keep_lines_from(std::min(token_at_.line, line_ > 1 ? line_ - 1 : line_));
    // Opening lines are alike: one copy serves as long as they are.
    const std::string_view text = line_text(token_at_.line);
    std::string_view& opening = opening_lines_[format::type_code(kind)];
    if (opening != text) opening = kept_.keep(text);
    if (!def_) def_.emplace();
    def_->start(kind, LineRef{token_at_, opening});
    open_ = true;
    stray_reported_ = false;
    group_ = {};
    checkbox_group_ = false;
    current_ = {};
}

void Checker::object_type_line(Kind kind) {
    if (!def_) return;
    def_->object_type = true;
    if (def_->undoable.empty()) return;
    const std::string type_line = std::string(format::statement(format::FieldId::ObjectType)) + format::kind_keyword(kind);
    for (const Spoken& undone : def_->undoable)
        warn(Warning::UndoneLine, undone.own.at,
             text_of(undone) + " comes before " + type_line + ", which " +
                 (undone.own.info->role == Role::File ? "drops the picture read here" : "clears this text"),
             {note_at(type_line + " is here", token_at_)});
    def_->undoable.clear();
}

void Checker::definition_ending(uint16_t id, const Records& records, const Text& resource_name) {
    if (!def_) return;
    records_ = &records;
    Definition& d = *def_;
    open_ = false;
    def_fresh_ = std::exchange(fresh_kinds_[format::type_code(d.kind)], false);
    const char* keyword = format::kind_keyword(d.kind);
    if (!d.object_type)
        warn(Warning::NoObjectType, d.opened.at,
             cat("this ", keyword, " definition has no OBJECT.TYPE=", keyword,
                 " line: the values that line resets keep those of the previous ", keyword));

    Resource r{d.kind, id, {}, d.opened, name_line_.value_or(d.opened), 0, 0, 0, 0};
    name_line_.reset();
    if (resource_name) {
        // The name is most often the end of its NAME= line, kept already.
        const std::string_view name = *resource_name;
        r.name = ends_with(r.named.source, name) ? r.named.source.substr(r.named.source.size() - name.size())
                                                 : kept_.keep(name);
    }
    const Records& rec = records;
    auto take_bounds = [&](const Bounds& b) {
        r.x = b.x;
        r.y = b.y;
        r.width = b.width;
        r.height = b.height;
    };
    switch (d.kind) {
    case Kind::Form: take_bounds(rec.form.bounds); break;
    case Kind::Control: take_bounds(rec.control.bounds); break;
    case Kind::Field: take_bounds(rec.field.bounds); break;
    case Kind::List: take_bounds(rec.list.bounds); break;
    case Kind::Menu: take_bounds(rec.menu.bounds); break;
    case Kind::Scrollbar: take_bounds(rec.scrollbar.bounds); break;
    case Kind::Table: take_bounds(rec.table.bounds); break;
    case Kind::Schline: take_bounds(rec.schline.bounds); break;
    case Kind::String: take_bounds(rec.string_object.bounds); break;
    case Kind::Bitmap: take_bounds(rec.bitmap_object.bounds); break;
    case Kind::Textbox: take_bounds(rec.textbox.bounds); break;
    case Kind::Line: take_bounds(rec.line.bounds); break;
    }
    r.visible = visible_of(d.kind, rec);
    if (d.kind == Kind::Control && rec.control.style == format::kPushButton && rec.control_pushbutton.value != 0)
        r.push_group = rec.control_pushbutton.group_id;
    // (negative bounds carried over were reported with the definition that gave them)
    if ((r.width < 0 && d.width_line) || (r.height < 0 && d.height_line)) [[unlikely]] check_bounds(r);
    if (d.kind == Kind::Bitmap && !def_fresh_) {
        check_picture_place(rec.bitmap_object.bitmap1, FieldId::BitmapPicture1, r);
        check_picture_place(rec.bitmap_object.bitmap2, FieldId::BitmapPicture2, r);
    }
    const size_t index = resources_.size();
    if (resource_name) {
        // Names are compared as resource.h writes them: up to a NUL.
        auto defined = [](std::string_view name) { return name.substr(0, name.find('\0')); };
        const uint32_t named_first = names_.find_or_add(defined(r.name), static_cast<uint32_t>(index),
                                                        [&](uint32_t i) { return defined(resources_[i].name); });
        if (named_first != index) {
            const Resource& first = resources_[named_first];
            warn(Warning::DuplicateName, r.named,
                 cat("'", defined(r.name), "' names a resource already: resource.h defines it twice"),
                 one_note(cat("the ", format::kind_keyword(first.kind), " ", defined(first.name), " is named here"),
                          first.named.at, first.named.source));
        }
        if (id_owner_.empty()) id_owner_.assign(size_t{UINT16_MAX} + 1, kNoResource);
        uint32_t& owner = id_owner_[id];
        if (owner == kNoResource) {
            owner = static_cast<uint32_t>(index);
        } else {
            const Resource& first = resources_[owner];
            warn(Warning::DuplicateId, d.id_line ? line_ref(*d.id_line) : d.opened, cat("identifier ", id, " is used already"),
                 one_note(cat("by the ", format::kind_keyword(first.kind), " ", first.name), first.opened.at,
                          first.opened.source));
        }
    }
    resources_.push_back(r);
    emit_definition(r, token_at_);
    if (!def_fresh_) check_values(rec, r);

    switch (d.kind) {
    case Kind::Form: check_form_end(index); break;
    case Kind::Menu: {
        bool stored = false;
        for (size_t i = 0; i < rec.menu.num_items && i < rec.menu.items.size(); ++i) stored |= rec.menu.items[i].has_value();
        if (!d.items_given && stored && !def_fresh_) carried_items(format::kind_keyword(Kind::Menu), rec.menu.num_items);
        break;
    }
    case Kind::List: {
        bool stored = false;
        for (size_t i = 0; i < rec.list.total_items && i < rec.list.items.size(); ++i) stored |= rec.list.items[i].has_value();
        if (!d.items_given && stored && !def_fresh_) carried_items(format::kind_keyword(Kind::List), rec.list.total_items);
        check_colours(rec.list.text_color, rec.list.background_color, stored, d.opened.at, "the list's items",
                      given(format::FieldId::ListTextColor) && given(format::FieldId::ListBackgroundColor));
        break;
    }
    case Kind::Field:
        check_colours(rec.field.font_color, rec.field.background_color, rec.field.text && !rec.field.text->empty(), d.opened.at,
                      "the field's text", given(format::FieldId::FieldFontColor) && given(format::FieldId::FieldBackgroundColor));
        break;
    case Kind::String:
        check_colours(rec.string_object.font_color, rec.string_object.background_color,
                      rec.string_object.text && !rec.string_object.text->empty(), d.opened.at, "the string's text",
                      given(format::FieldId::StringFontColor) && given(format::FieldId::StringBackgroundColor));
        break;
    case Kind::Textbox:
        check_colours(rec.textbox.font_color, rec.textbox.background_color, rec.textbox.text && !rec.textbox.text->empty(),
                      d.opened.at, "the text box's text",
                      given(format::FieldId::TextboxFontColor) && given(format::FieldId::TextboxBackgroundColor));
        break;
    case Kind::Table:
        for (size_t i = 0; i < rec.table.cells.size() && i < d.cells.size(); ++i) {
            const TableCell& c = rec.table.cells[i];
            if (c.data_type == format::kTableText)
                check_colours(c.font_color, c.background_color, c.text && !c.text->empty(), d.cells[i],
                              "this cell's text", d.cell_colours[i].first && d.cell_colours[i].second);
        }
        break;
    default: break;
    }
}

void Checker::emit_definition(const Resource& r, Location end) {
    sink_.definition(ResourceDefinition{r.kind, r.id, std::string(r.name), r.opened.at.line, end.line, r.named.at,
                                        def_->id_line.value_or(Location{})});
}

void Checker::check_bounds(const Resource& r) {
    const Definition& d = *def_;
    const bool width = r.width < 0 && d.width_line;
    const std::optional<Location>& line = width ? d.width_line : d.height_line;
    warn(Warning::NegativeSize, line.value_or(d.opened.at),
         cat("this ", format::kind_keyword(r.kind), " is ", r.width, " x ", r.height,
             " pixels: an object with a negative ", width ? "width" : "height", " is drawn nowhere"));
}

// A BITMAP's picture is placed by its X= and Y= inside the object's bounds.
void Checker::check_picture_place(const BitmapRecord& p, FieldId field, const Resource& r) {
    if (!p.loaded || p.width <= 0 || p.height <= 0 || r.width < 0 || r.height < 0) return;
    if (p.x >= 0 && p.y >= 0 && p.x + p.width <= r.width && p.y + p.height <= r.height) return;
    const Definition& d = *def_;
    Location at = d.opened.at;
    for (const auto& [f, line] : d.picture_files)
        if (f == field) at = line;
    warn(Warning::PictureOutside, at,
         cat("the picture at X=", p.x, " Y=", p.y, " (", p.width, " x ", p.height,
             " pixels) reaches outside the bitmap's bounds (", r.width, " x ", r.height, ")"),
         one_note("a picture's X= and Y= are counted from the top-left corner of its BITMAP's bounds, not of the form"));
}

Location Checker::Definition::line_of(FieldId field) const {
    for (auto it = value_lines.rbegin(); it != value_lines.rend(); ++it)
        if (it->first == field) return it->second;
    return opened.at;
}

// The values of one definition that do not agree with each other.
void Checker::check_values(const Records& rec, const Resource& r) {
    const Definition& d = *def_;
    auto selected = [&](long item, long count, FieldId field, const char* what) {
        if (item <= 0 || item < count) return;
        warn(Warning::SelectedItem, d.line_of(field),
             cat(format::statement(field), " selects item ", item, ", but the ", what, " has ", count,
                 count == 1 ? " item" : " items"),
             one_note("items are counted from 0"));
    };
    switch (r.kind) {
    case Kind::List: selected(rec.list.selected_item, rec.list.total_items, FieldId::ListSelected, "list"); break;
    case Kind::Control: {
        const ControlRecord& c = rec.control;
        if (c.style == format::kPopupTrigger)
            selected(rec.control_popup.selected_item, rec.control_popup.item_count, FieldId::PopupSelected,
                     "pop-up trigger");
        const long box = std::min<long>(r.height, 9) + 2;  // a check box's box and the room after it
        if (c.style == format::kButton || c.style == format::kPushButton || c.style == format::kCheckbox)
            check_text_width(c.text, format::kMediumFont, r.width - (c.style == format::kCheckbox ? box : 0),
                             FieldId::ControlText, r);
        break;
    }
    case Kind::Field: {
        const FieldRecord& f = rec.field;
        const size_t length = f.text ? f.text->size() : 0;
        if (f.max_num_chars > 0 && length > static_cast<size_t>(f.max_num_chars))
            warn(Warning::MaxChars, d.line_of(FieldId::FieldMaxChars),
                 cat(format::statement(FieldId::FieldMaxChars), " allows ", f.max_num_chars,
                     " characters, but the field's text has ", length));
        break;
    }
    case Kind::String:
        check_text_width(rec.string_object.text, rec.string_object.font, r.width, FieldId::StringText, r);
        break;
    case Kind::Scrollbar: check_scroll_value(rec.scrollbar); break;
    case Kind::Table: check_column_widths(rec.table, r); break;
    default: break;
    }
}

// A scroll bar's value between its minimum and its maximum.
void Checker::check_scroll_value(const ScrollBarRecord& s) {
    const Definition& d = *def_;
    // A negative minimum is stored 65536 higher, which puts it above most maximums.
    const bool shifted = s.minimum >= format::kWordNegativeShift / 2 && s.minimum < format::kWordNegativeShift;
    if (s.minimum > s.maximum)
        warn(Warning::ScrollValue, d.line_of(FieldId::ScrollbarMin),
             cat(format::statement(FieldId::ScrollbarMin), s.minimum, " is above ",
                 format::statement(FieldId::ScrollbarMax), s.maximum),
             shifted ? one_note(cat("a negative number is stored ", format::kWordNegativeShift,
                                    " higher: -1 as ", format::kWordNegativeShift - 1))
                     : std::vector<Note>{});
    else if (s.current_value < s.minimum || s.current_value > s.maximum)
        warn(Warning::ScrollValue, d.line_of(FieldId::ScrollbarValue),
             cat(format::statement(FieldId::ScrollbarValue), s.current_value, " lies outside the scroll bar's range ",
                 s.minimum, "..", s.maximum));
}

// A table's columns, side by side, within the table's width.
void Checker::check_column_widths(const TableRecord& t, const Resource& r) {
    const size_t columns = std::min<size_t>(t.num_columns, t.column_widths.size());
    long total = 0;
    for (size_t i = 0; i < columns; ++i) total += std::max<long>(t.column_widths[i], 0);
    if (r.width <= 0 || total <= r.width) return;  // (a table without bounds has no width to keep to)
    warn(Warning::ColumnWidth, def_->line_of(FieldId::TableColumnWidth),
         cat("the table's ", columns, columns == 1 ? " column is " : " columns are ", total,
             " pixels wide together, the table ", r.width));
}

// A text wider than the room its object gives it, in the preview's font.
void Checker::check_text_width(const Text& text, uint32_t font, long room, FieldId field, const Resource& r) {
    if (!text || options_.disabled[static_cast<size_t>(Warning::TextWidth)]) return;
    const long width = format::text_width(text->size(), font);
    if (width <= room || r.width <= 0) return;
    warn(Warning::TextWidth, def_->line_of(field),
         cat("the text of ", format::statement(field), " is about ", width, " pixels wide, the ",
             format::kind_keyword(r.kind), " gives it ", std::max(room, 0L)),
         one_note(cat("estimated with the preview's font: ", format::font_metrics(font).advance,
                      " pixels a character")));
}

void Checker::carried_items(const char* kind, size_t count) {
    warn(Warning::CarriedOver, def_->opened.at,
         std::string("this ") + kind + " gives no item lines: it repeats the items of the previous " + kind + " (" +
             std::to_string(count) + " declared)");
}

bool Checker::given(format::FieldId field) const {
    // Any statement that sets the field: its aliases are the same entry.
    return def_ && def_->fields_given.test(static_cast<size_t>(field));
}

void Checker::check_colours(uint8_t font, uint8_t background, bool has_text, Location at, const char* what,
                            bool both_given) {
    if (!has_text || font != background || (def_fresh_ && !both_given)) return;
    const char* colour = format::kColorWords.word(font);
    std::vector<Note> notes;
    if (!both_given)
        notes = one_note(std::string("a colour that the definition does not give is the one of the previous "
                                     "definition of its kind, or ") +
                         format::kColorWords.word(format::kColorWhite));
    warn(Warning::InvisibleText, at,
         std::string(what) + " is " + (colour ? colour : "?") + " on " + (colour ? colour : "?") +
             ": it cannot be seen",
         std::move(notes));
}

void Checker::check_form_end(size_t index) {
    const Definition& d = *def_;
    const FormRecord& form = records_->form;
    const size_t ids = form.count_given ? form.id_slot : 0, types = form.count_given ? form.type_slot : 0;
    if (form.count_given && d.count_line) {
        const size_t listed = std::min(ids, types);
        if (ids != types)
            warn(Warning::ObjectCount, *d.count_line,
                 "the form gives " + std::to_string(ids) + " object identifier" + (ids == 1 ? "" : "s") + " and " +
                     std::to_string(types) + " object type" + (types == 1 ? "" : "s") +
                     ": an identifier without its type is written as a FORM, a type without its identifier as 0");
        else if (listed < form.count)
            warn(Warning::ObjectCount, *d.count_line,
                 "NO_OF_OBJECTS= counts " + std::to_string(form.count) + " objects, the form lists " +
                     std::to_string(listed) + ": " +
                     (form.count - listed == 1 ? std::string("the last one is")
                                               : "the last " + std::to_string(form.count - listed) + " are") +
                     " written as identifier 0, type FORM");
    } else if (!form.count_given && form.count > 0 && !def_fresh_) {
        warn(Warning::CarriedOver, d.opened.at,
             "this form has no NO_OF_OBJECTS= line: it keeps the object list of the previous form (" +
                 std::to_string(form.count) + (form.count == 1 ? " object)" : " objects)"));
    }
    FormCheck check{index, {}, {}, form.focused, std::nullopt};
    check.focused_line = line_ref(d.focused_line.value_or(d.opened.at));
    for (size_t i = 0; i < form.count; ++i) check.written.push_back(i < form.objects.size() ? form.objects[i].id : 0);
    // The objects whose identifier this definition gives (the others were
    // checked with the form that gave them); a kind only where it gives one.
    for (size_t i = 0; i < ids && i < d.object_ids.size() && i < form.objects.size(); ++i)
    {
        const LineRef id_line = line_ref(d.object_ids[i]);
        const bool typed = i < types && i < d.object_types.size();
        check.objects.push_back(FormObject{form.objects[i].id, static_cast<uint16_t>(i < types ? form.objects[i].type : kNoType),
                                           id_line, typed ? line_ref(d.object_types[i]) : id_line});
    }
    if (check.objects.size() > 1) check_listed_twice(check);
    forms_.push_back(std::move(check));
}

void Checker::check_listed_twice(const FormCheck& form) {
    std::vector<uint32_t> order(form.objects.size());
    for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return form.objects[a].id < form.objects[b].id; });
    for (size_t k = 1; k < order.size(); ++k) {
        const FormObject& first = form.objects[order[k - 1]];
        const FormObject& again = form.objects[order[k]];
        if (again.id != first.id || again.id == 0) continue;
        warn(Warning::ListedTwice, again.line,
             cat("the form ", shown_name(resources_[form.resource].name, resources_[form.resource].id), " lists ", again.id, " again"),
             one_note("it is listed here first", first.line.at, first.line.source));
    }
}

// Push buttons that are on in one group, and overlapping objects, among the
// objects that a form lists.
void Checker::check_form_objects(const FormCheck& form) {
    const Resource& owner = resources_[form.resource];
    std::vector<std::pair<const FormObject*, const Resource*>> listed;
    for (const FormObject& o : form.objects) {
        const uint32_t index = id_owner_.empty() ? kNoResource : id_owner_[o.id];
        if (index == kNoResource || resources_[index].kind == Kind::Form) continue;
        // (an object listed again was reported as such)
        const Resource* r = &resources_[index];
        if (std::none_of(listed.begin(), listed.end(), [&](const auto& l) { return l.second == r; }))
            listed.emplace_back(&o, r);
    }
    for (size_t i = 0; i < listed.size(); ++i) {
        const auto& [o, r] = listed[i];
        for (size_t j = 0; j < i; ++j) {
            const auto& [first_o, first] = listed[j];
            if (r->push_group != 0 && r->push_group == first->push_group) {
                warn(Warning::PushGroup, o->line,
                     cat("the push buttons ", first->name, " and ", r->name, " of group ", r->push_group,
                         " on the form ", shown_name(owner.name, owner.id), " are both on"),
                     one_note(cat(first->name, " is listed here"), first_o->line.at, first_o->line.source));
                break;
            }
        }
    }
    if (options_.disabled[static_cast<size_t>(Warning::Overlap)]) return;
    auto counted = [](const Resource& r) { return r.visible && r.kind != Kind::Line && r.width > 0 && r.height > 0; };
    for (size_t i = 0; i < listed.size(); ++i) {
        const Resource& r = *listed[i].second;
        if (!counted(r)) continue;
        for (size_t j = 0; j < i; ++j) {
            const Resource& s = *listed[j].second;
            if (!counted(s)) continue;
            if (r.x < s.x + s.width && s.x < r.x + r.width && r.y < s.y + s.height && s.y < r.y + r.height) {
                warn(Warning::Overlap, listed[i].first->line,
                     cat(shown_name(r.name, r.id), " (X=", r.x, " Y=", r.y, " WIDTH=", r.width, " HEIGHT=", r.height, ") overlaps ",
                         shown_name(s.name, s.id), " (X=", s.x, " Y=", s.y, " WIDTH=", s.width, " HEIGHT=", s.height, ") on the form ",
                         shown_name(owner.name, owner.id)),
                     one_note(cat(shown_name(s.name, s.id), " is listed here"), listed[j].first->line.at, listed[j].first->line.source));
                break;
            }
        }
    }
}

// Objects that no form lists: a form lists objects by the identifiers its
// record holds. A MENU is shown by the program, not placed on a form.
void Checker::check_orphans() {
    std::vector<bool> listed(size_t{UINT16_MAX} + 1, false);
    for (const FormCheck& f : forms_)
        for (const uint16_t id : f.written) listed[id] = true;
    for (const Resource& r : resources_)
        if (r.kind != Kind::Form && r.kind != Kind::Menu && !listed[r.id])
            warn(Warning::OrphanObject, r.named,
                 cat("the ", format::kind_keyword(r.kind), " ", shown_name(r.name, r.id), " (", r.id, ") is listed on no form"));
}

// ---------------------------------------------------------------- pictures

void Checker::picture(const BitmapRecord& bm, const std::string& path, const std::string& file,
                      const std::string& failure) {
    const Location at = file_at_.value_or(token_at_);
    if (!failure.empty()) [[unlikely]] {
        // One error, printed now: the run goes on with a blank picture.
        if (path.empty() || file_value_at_) {
            file_value_error(at);
        } else {
            std::vector<Note> notes;
            if (path[0] != '/')
                notes.push_back(Note{"a picture name is looked up as written, from the folder the check runs in, then "
                                     "in each -I folder",
                                     {}, ""});
            error(at, "cannot read the picture " + quoted(path) + ": " + picture_reason(file, path, failure),
                  std::move(notes));
        }
        file_value_at_.reset();
        if (error_) {
            emit(std::move(*error_));
            error_.reset();
            ++errors_;
            picture_reported_ = true;
        }
        return;
    }
    file_value_at_.reset();
    const std::string group = group_text();
    if (bm.width <= 0 || bm.height <= 0) {
        // A size given as such is taken as meant.
        auto size_given = [&](Role r) {
            return def_ && std::find(def_->sizes_given.begin(), def_->sizes_given.end(), std::make_pair(group_.info, r)) !=
                               def_->sizes_given.end();
        };
        if (size_given(Role::Width) && size_given(Role::Height)) return;
        warn(Warning::PictureSize, at,
             group + " is " + std::to_string(bm.width) + " x " + std::to_string(bm.height) +
                 " pixels: no picture data is stored",
             {Note{"give its WIDTH= and HEIGHT= lines before its FILE= line", {}, ""}});
        return;
    }
    BmpFacts facts;
    if (!facts_of(file, facts)) return;
    // A row is converted a whole number of words long: pixels up to that
    // width are kept, not cut.
    const long row_pixels =
        format::words_per_row(bm.width, bm.depth) * static_cast<long>(format::pixels_per_word(bm.depth ? bm.depth : 2));
    if (facts.width < bm.width || facts.width > row_pixels || facts.height != bm.height) {
        const bool larger = facts.width > row_pixels || facts.height > bm.height;
        warn(Warning::PictureSize, at,
             quoted(path) + " is " + std::to_string(facts.width) + " x " + std::to_string(facts.height) +
                 " pixels, " + group + " declares " + std::to_string(bm.width) + " x " + std::to_string(bm.height) +
                 (larger ? ": the picture is cut to its bottom-left part" : ": the rest is padded"));
    }
    if (facts.cut_short)
        warn(Warning::PictureSize, at, quoted(path) + " ends before its last row: the missing pixels read as white");
}

void Checker::file_value_error(Location at) {
    std::vector<std::string> depths;
    for (const format::WordInfo* w : format::words_in(State::ReadBitmapFile)) depths.emplace_back(w->spelling());
    const std::string takes =
        std::string(format::group_line(Role::File)) + " takes a depth word (" + word_list(depths) +
        "), a comma and the picture's file name";
    if (!file_value_at_) {
        error(at, std::string(format::group_line(Role::File)) + " names no picture file", one_note(takes));
        return;
    }
    const std::string_view line = line_text(file_value_at_->line);
    const size_t from = std::min<size_t>(file_value_at_->column - 1, line.size());
    size_t end = from;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
    const std::string word(line.substr(from, end - from));
    if (!word.empty() && format::find_word(State::ReadBitmapFile, word) != nullptr)
        error(Location{file_value_at_->line, static_cast<uint32_t>(end + 1)}, "a comma must follow " + upper(word),
              one_note(takes));
    else
        error(*file_value_at_, "the picture's depth word is missing", one_note(takes));
}

// The facts of a picture file, read once while it is among the last few.
bool Checker::facts_of(const std::string& file, BmpFacts& facts) {
    for (const PictureFacts& p : picture_facts_) {
        if (p.file != file) continue;
        facts = p.facts;
        return p.read;
    }
    const bool read = bmp_facts(file.c_str(), facts);
    PictureFacts p{file, read, facts};
    if (picture_facts_.size() < kPictureFactsKept) {
        picture_facts_.push_back(std::move(p));
    } else {
        picture_facts_[next_picture_] = std::move(p);
        next_picture_ = (next_picture_ + 1) % kPictureFactsKept;
    }
    return read;
}

// ---------------------------------------------------------------- errors

void Checker::syntax_error(const char* state) {
    const std::string_view st(state);
    const std::optional<State> known = format::state_of_name(st);
    const std::string source(line_text(token_at_.line));
    const std::string raw = word_at(source, token_at_.column);
    const std::string word = upper(raw);
    const StateHelp help = known ? state_help(*known) : StateHelp{"this place", {}, ""};
    std::vector<Note> notes;
    std::string message;
    const char c = token_at_.column - 1 < source.size() ? source[token_at_.column - 1] : '\n';
    const std::string add = opener_of(State::ControlAddButton)->spelling;
    // A value line that a comment follows: the value may be right, the
    // comment is what the language does not take.
    if (const size_t comment = end_of_line_comment(source, token_at_.column - 1);
        comment != std::string::npos && st != format::kNoStyleBlockState && !(known && definition_kind(*known))) {
        error(Location{token_at_.line, static_cast<uint32_t>(comment + 1)},
              std::string("a comment must stand on a line of its own [") + state + "]", one_note(kCommentNote));
        return;
    }
    if (st == format::kNoStyleBlockState) {
        message = std::string("a ") + format::kControlStyleWords.word(format::kRepeatButton) + " control has no " +
                  add + " statements";
        notes.push_back(Note{"the statements after " + add + " are those of the " +
                                 format::statement(FieldId::ControlStyle) + " given before them",
                             {}, ""});
    } else if (known == State::ControlAddCheckbox && token_at_.column == 1) {
        message = "the check-box block ends before both of its pictures have had their FILE= line";
    } else if (is_blank(c)) {
        message = "unexpected blank";
        notes.push_back(Note{"a value follows its '=' directly, and a statement starts in the first column or after "
                             "its line prefix",
                             {}, ""});
    } else if (auto kind = known ? definition_kind(*known) : std::nullopt) {
        const std::vector<std::string> statements = kind_statements(*kind);
        if (token_length_ > 1) {
            // A whole statement matched, then found no room for its value.
            message = quoted(std::string(normal_statement(std::string_view(source).substr(token_at_.column - 1, token_length_), word_))) + " cannot stand here";
            if (std::string n = room_note(known); !n.empty()) notes.push_back(Note{std::move(n), {}, ""});
        } else {
            message = quoted(raw) + " is no statement of " + help.place;
            const std::string near = nearest_word(word, statements);
            if (!near.empty()) notes.push_back(Note{"did you mean " + quoted(near) + "?", {}, ""});
            for (const format::KindInfo& k : format::all_kinds()) {
                if (k.kind == *kind) continue;
                const std::vector<std::string> other = kind_statements(k.kind);
                if (std::find(other.begin(), other.end(), word) == other.end()) continue;
                notes.push_back(Note{quoted(raw) + " belongs to a " + k.keyword + " definition; is the " +
                                         format::kind_info(*kind).end_statement + " line missing?",
                                     {}, ""});
                break;
            }
            if (near.empty()) notes.push_back(Note{help.place + " takes " + word_list(help.choices), {}, ""});
        }
        if (def_) notes.push_back(note_at(std::string("the ") + format::kind_keyword(*kind) + " definition starts here",
                                          def_->opened.at));
    } else if (!help.choices.empty()) {
        message = quoted(raw) + " is not " + help.place;
        const std::string near = nearest_word(word, help.choices);
        if (!near.empty()) notes.push_back(Note{"did you mean " + quoted(near) + "?", {}, ""});
        notes.push_back(Note{(statement_empty() ? std::string("it") : statement_text()) + " takes " + word_list(help.choices),
                             {}, ""});
    } else {
        message = quoted(raw) + " is not " + help.place;
        if (!help.takes.empty())
            notes.push_back(Note{(statement_empty() ? std::string("it") : statement_text()) + " takes " + help.takes, {}, ""});
        if (std::string n = room_note(known); !n.empty()) notes.push_back(Note{std::move(n), {}, ""});
    }
    error(token_at_, message + " [" + state + "]", std::move(notes));
}

void Checker::input_ended_inside_definition() {
    if (!def_) {
        error(token_at_, "the input ends inside a definition");
        return;
    }
    const char* keyword = format::kind_keyword(def_->kind);
    error(def_->opened.at, std::string("the input ends inside this ") + keyword + " definition",
          {Note{std::string("its ") + format::kind_info(def_->kind).end_statement + " line is missing", {}, ""}});
    error_->source = def_->opened.source;
}

void Checker::missing_name(uint16_t id) {
    if (!def_) return;
    error(def_->opened.at,
          std::string("this ") + format::kind_keyword(def_->kind) + " (ID=" + std::to_string(id) +
              ") has no NAME= line of its own",
          {Note{"each resource needs a NAME= line before its end line; a name serves one resource only", {}, ""}});
    error_->source = def_->opened.source;
}

// ---------------------------------------------------------------- the end

int Checker::finish() {
    finished_ = true;
    // Stray text on a last line without a line end: its warning waits for
    // that line like the others, so it goes before them.
    if (stray_at_) stray_warning(stray_at_->line, stray_at_->column, line_text(stray_at_->line));
    stray_at_.reset();
    for (Diagnostic& d : waiting_) {
        d.source = line_text(d.at.line);
        emit(std::move(d));
    }
    waiting_.clear();
    for (const FormCheck& f : forms_) {
        const Resource& owner = resources_[f.resource];
        const bool focus_found =
            f.focused == 0 || std::find(f.written.begin(), f.written.end(), f.focused) != f.written.end();
        for (const FormObject& o : f.objects) {
            const uint32_t owner_of_id = id_owner_.empty() ? kNoResource : id_owner_[o.id];
            if (owner_of_id == kNoResource) {
                // (a definition that failed may have been the one)
                if (std::find(failed_ids_.begin(), failed_ids_.end(), o.id) != failed_ids_.end()) continue;
                warn(Warning::UndefinedObject, o.line,
                     cat("the form ", shown_name(owner.name, owner.id), " lists identifier ", o.id, ", which no resource has"));
                continue;
            }
            const Resource& r = resources_[owner_of_id];
            const char* listed = format::kind_keyword(o.type);
            if (o.type != kNoType && format::type_code(r.kind) != o.type)
                warn(Warning::ObjectKind, o.type_line,
                     cat("the form ", shown_name(owner.name, owner.id), " lists ", o.id, " as a ", listed ? listed : "?", ", but it is the ",
                         format::kind_keyword(r.kind), " ", shown_name(r.name, r.id)),
                     one_note(cat("the ", format::kind_keyword(r.kind), " is defined here"), r.opened.at,
                              r.opened.source));
            const bool inside = r.x >= 0 && r.y >= 0 && r.x + r.width <= owner.width && r.y + r.height <= owner.height;
            if (!inside && r.kind != Kind::Form)
                warn(Warning::OutsideForm, o.line,
                     cat(shown_name(r.name, r.id), " (X=", r.x, " Y=", r.y, " WIDTH=", r.width, " HEIGHT=", r.height,
                         ") reaches outside the form ", shown_name(owner.name, owner.id), " (", owner.width, " x ", owner.height, ")"),
                     one_note("an object's bounds are counted from the form's top-left corner"));
        }
        if (!focus_found)
            warn(Warning::Focus, *f.focused_line,
                 cat("FOCUSED_OBJECT= names ", f.focused, ", which the form ", shown_name(owner.name, owner.id), " does not list"));
        check_form_objects(f);
    }
    if (!options_.disabled[static_cast<size_t>(Warning::OrphanObject)] && !any_failure_) check_orphans();
    return errors_ > 0 || errors_from_warnings_ > 0 ? 1 : 0;
}

}  // namespace orrinrc::check
