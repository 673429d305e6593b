// orrinrc-check's listener: positions, events and the checks they allow.
#include "check/checker.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <type_traits>

#include "bitmap/bmp_import.h"
#include "check/hints.h"
#include "format/language.h"
#include "format/pixels.h"
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

// The state of a value reader: its matches are values, not statements.
bool reader_state(std::string_view s) {
    return starts_with(s, "READ") && s != "READBOUNDS" && s != "READBITMAP" && s != "READBITMAPFILE";
}

// The text statements that OBJECT.TYPE= clears, and the picture groups
// whose image it drops, per kind.
bool undone_by_object_type(Kind kind, std::string_view statement) {
    switch (kind) {
    case Kind::Form: return statement == "FORM_TITLE=" || statement == "FORM_BITMAP.FILE=";
    case Kind::Control: return statement == "CONTROL_TEXT=" || statement == "CONTROL_BITMAP.FILE=";
    case Kind::Field: return statement == "FIELD_TEXT=";
    case Kind::Scrollbar:
        return statement == "SCROLLBAR_TEXT=" || statement == "SCROLLBAR_ARROW1_BITMAP.FILE=" ||
               statement == "SCROLLBAR_ARROW2_BITMAP.FILE=";
    case Kind::String: return statement == "STRING_TEXT=";
    case Kind::Bitmap: return ends_with(statement, "FILE=");
    default: return false;
    }
}

// Picture groups whose every line starts the picture afresh, dropping the
// image that an earlier FILE= line of the group read.
bool group_restarts_picture(Kind kind, std::string_view group) {
    switch (kind) {
    case Kind::Form: return group == "FORM_BITMAP.";
    case Kind::Control: return group == "CONTROL_BITMAP.";
    case Kind::Scrollbar: return group == "SCROLLBAR_ARROW1_BITMAP." || group == "SCROLLBAR_ARROW2_BITMAP.";
    case Kind::Table: return starts_with(group, "TABLE_CELL_BITMAP");
    default: return false;
    }
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
        std::memcpy(at, p->text.data(), p->text.size());
        at += p->text.size();
    }
    return out;
}

template <class... Parts>
std::string cat(const Parts&... parts) {
    return [](const auto&... pieces) { return cat_pieces({&pieces...}); }(Piece(parts)...);
}

// The notes of a diagnostic that has one, made without copies.
std::vector<Note> one_note(std::string text, Location at = {}, std::string_view source = {}) {
    std::vector<Note> notes;
    notes.reserve(1);
    notes.push_back(Note{std::move(text), at, std::string(source)});
    return notes;
}

// The note for a statement of the kind that has no room where it stands.
const char* room_note(std::string_view state) {
    if (state == "FORM")
        return "object lines need a NO_OF_OBJECTS= line before them in this definition, and no more of them than "
               "it counts";
    if (state == "MENU")
        return "item lines need a MENU_NUM_ITEMS= line before them in this definition, and no more of them than "
               "it counts";
    if (state == "TABLE")
        return "cell lines follow a TABLE_DATA_TYPE= line; width, height and TABLE_DATA_TYPE= lines are no more "
               "than the grid has; TABLE_NUM_ROW= and TABLE_NUM_COLUMN= come before the first cell";
    if (state == "CONTROL_ADD_POPUPTRIGGER")
        return "ITEM lines need a NUM_OBJECTS= line before them in this definition, and no more of them than it "
               "counts";
    return nullptr;
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

Checker::Checker(CheckOptions options, CheckSink& sink) : options_(options), sink_(sink) {}

// ---------------------------------------------------------------- positions

void Checker::advance_lines(const char* text, size_t length) {
    for (;;) {
        line_completed();
        if (length == 0) return;
        const size_t k = lines_.append_to_line_end(text, length);
        column_ += static_cast<uint32_t>(k);
        if (k == length) return;
        text += k + 1;
        length -= k + 1;
    }
}

void Checker::line_completed() {
    if (watch_line_ == line_) [[unlikely]] line_watched();
    ++line_;
    column_ = 1;
    line_starts_.push_back(lines_.size());
    // Before the first definition only this line and the one before it are
    // kept: drop the older ones now and then.
    if (!def_ && line_starts_.size() > 256) [[unlikely]] {
        const size_t keep_from = line_starts_[line_starts_.size() - 2];
        lines_.drop_front(keep_from);
        line_starts_.erase(line_starts_.begin(), line_starts_.end() - 2);
        for (size_t& s : line_starts_) s -= keep_from;
        first_line_ = line_ - 1;
    }
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

std::string_view Checker::line_text(uint32_t line) const {
    // The lines of the latest definition from its opening line on are kept;
    // before the first one, the current line and the one before it.
    if (line >= first_line_ && line <= line_ && (def_ || line + 1 >= line_)) {
        const size_t k = line - first_line_;
        const size_t end = k + 1 < line_starts_.size() ? line_starts_[k + 1] : lines_.size();
        return lines_.view(line_starts_[k], end);
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
        for (const WarningInfo& info : all_warnings())
            flags_[static_cast<size_t>(info.warning)] = cat(options_.werror ? "-Werror,-W" : "-W", info.name);
    return flags_[static_cast<size_t>(w)];
}

void Checker::warn(Warning w, Location at, std::string message, std::vector<Note> notes) {
    if (options_.disabled[static_cast<size_t>(w)]) return;
    ++warnings_;
    if (options_.quiet && !options_.werror) return;
    Diagnostic d;
    d.severity = options_.werror ? Severity::Error : Severity::Warning;
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
    const size_t before = warnings_;
    const bool shown = !options_.disabled[static_cast<size_t>(w)] && (!options_.quiet || options_.werror);
    if (!shown) {
        warn(w, line.at, std::move(message), std::move(notes));
        return;
    }
    warnings_ = before + 1;
    emit(Diagnostic{options_.werror ? Severity::Error : Severity::Warning, line.at, std::string(line.source),
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
}

// ---------------------------------------------------------------- matches

// What the matches of a state are, worked out once per state.
const Checker::StateClass& Checker::classify_further(const char* state) {
    const size_t mask = class_slots_.size() - 1;
    size_t i = slot_of(state);
    for (size_t n = 0; n <= mask && class_slots_[i].state != nullptr; ++n, i = (i + 1) & mask)
        if (class_slots_[i].state == state) return *class_slots_[i].state_class;
    // More states than the slots hold (which the scanner does not have):
    // looked up one by one.
    for (const StateClass& c : classes_)
        if (c.name == state) return c;
    const std::string_view st(state);
    StateClass c{state, StateClass::Other, std::nullopt, number_range(st)};
    if (st == "READSTRING") c.role = StateClass::Text;
    else if (c.range) c.role = StateClass::Number;
    else if (reader_state(st)) c.role = StateClass::Value;
    else if (st == "READBOUNDS" || st == "READBITMAP") c.role = StateClass::Group;
    else if (st == "CONTROL_ADD_CHECKBOX") c.role = StateClass::Checkbox;
    else if ((c.kind = definition_kind(st))) c.role = StateClass::Definition;
    if (c.range && c.range->min <= 0)
        for (int64_t largest = 9; largest <= c.range->max; largest = largest * 10 + 9) ++c.short_number;
    classes_.push_back(c);
    if (classes_.size() * 2 <= class_slots_.size() && class_slots_[i].state == nullptr)
        class_slots_[i] = ClassSlot{state, &classes_.back()};
    return classes_.back();
}

void Checker::matched(const char* state, const char* text, size_t length) {
    token_at_ = Location{line_, column_};
    token_length_ = length;
    const StateClass& c = classify(state);
    const char first = length > 0 ? text[0] : '\n';
    if (c.role == StateClass::Text) {
        // (a text value is gathered whole, also when it is empty)
        if (!statement_empty()) text_value_piece(std::string_view(text, length));
    } else if (first == '\n' || first == '\r' || ((first == '/' || first == '~') && column_ == 1)) {
        // blank lines, comments, ~F lines: nothing to follow
    } else if ((first == 'N' || first == 'n') && column_ == 1 && length >= 5 && name_line(std::string_view(text, length))) {
        // a NAME= line
    } else if (c.role == StateClass::Number) {
        // (a value such as "120" is one the field takes)
        const std::string_view value = value_of(text, length);
        const bool in_range = value.size() <= c.short_number &&
                              (value.empty() || static_cast<unsigned>(static_cast<unsigned char>(value[0])) - '0' <= 9);
        if (!in_range && !statement_empty()) check_number(*c.range, value);
    } else if (c.role != StateClass::Value) {
        // (a keyword value or a skipped number has nothing to follow)
        statement_match(c, std::string_view(text, length));
    }
    advance(text, length);
}

// A value without its line end.
std::string_view Checker::value_of(const char* text, size_t length) {
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
    return std::string_view(text, length);
}

bool Checker::name_line(std::string_view t) {
    if (!spellings_.look_up(t).is(kName)) return false;
    set_statement("NAME=", true);
    statement_at_ = token_at_;
    name_line_ = LineRef{token_at_, {}};
    watch_line_ = line_;
    return true;
}

void Checker::statement_match(const StateClass& c, std::string_view t) {
    bool kept = false;
    const Statement s = spellings_.look_up(t, &kept);
    if (c.role == StateClass::Definition) {
        if (def_) handle_statement(s, kept);
    } else if (c.role == StateClass::Group) {
        if (s.is(kEndsEq)) group_statement(s, kept);
    } else if (s.is(kEndsEq | kEndsDot)) {
        // An attribute or CONTROL_ADD. statement inside its sub-state.
        if (c.role == StateClass::Checkbox) {
            if (s.is(kCheckboxFull)) set_statement(s.word, kept);
            else set_statement("CONTROL_ADD.", s.word, kept);
            group_ = "check-box CONTROL_BITMAP.";
            group_kept_ = true;
        } else {
            append_to_statement(s.word, kept);
        }
        statement_at_ = token_at_;
    }
}

// A statement of a picture or bounds group ("X=" after "FORM_BITMAP.").
void Checker::group_statement(const Statement& s, bool kept) {
    set_statement(group_, s.word, kept && group_kept_);
    statement_at_ = token_at_;
    if (!def_) return;
    // A group ends with '.', which none of the statements asked for holds:
    // the word alone tells.
    const bool asked = group_.empty() || group_.back() == '.'
                           ? s.is(kAskedLater)
                           : statement_ends_with("COLOR=") || statement_ends_with("WIDTH=") ||
                                 statement_ends_with("HEIGHT=");
    if (asked) def_->give(statement_head_, statement_tail_, kept && group_kept_);
    if (s.is(kFile)) {
        file_at_ = token_at_;
        watch_line_ = line_;
        if (group_restarts_picture(def_->kind, group_)) def_->files[std::string(group_)] = token_at_;
        if (!def_->object_type && undone_by_object_type(def_->kind, statement()))
            def_->undoable.emplace_back(statement(), token_at_);
    }
}

// The statement made whole in statement_text_ (through the spare text: a
// part may be the statement's own).
void Checker::make_statement(std::string_view head, std::string_view tail) {
    statement_spare_.assign(head);
    statement_spare_.append(tail);
    statement_text_.swap(statement_spare_);
    statement_head_ = statement_text_;
    statement_tail_ = {};
}

void Checker::append_to_statement(std::string_view word, bool kept) {
    if (statement_tail_.empty()) {
        set_statement(statement_head_, word, kept);
        return;
    }
    statement_spare_.assign(statement_head_);
    statement_spare_.append(statement_tail_);
    statement_spare_.append(word);
    statement_text_.swap(statement_spare_);
    statement_head_ = statement_text_;
    statement_tail_ = {};
}

bool Checker::statement_is(std::string_view s) const {
    return s.size() == statement_head_.size() + statement_tail_.size() && starts_with(s, statement_head_) &&
           ends_with(s, statement_tail_);
}

// A suffix longer than the statement's tail.
bool Checker::statement_ends_across(std::string_view suffix) const {
    return ends_with(suffix, statement_tail_) &&
           ends_with(statement_head_, suffix.substr(0, suffix.size() - statement_tail_.size()));
}

std::string Checker::statement() const {
    std::string s(statement_head_);
    s += statement_tail_;
    return s;
}

void Checker::set_group(std::string_view word, bool kept) {
    group_kept_ = kept;
    if (kept) {
        group_ = word;
        return;
    }
    group_text_.assign(word);
    group_ = group_text_;
}

void Checker::handle_statement(const Statement& s, bool kept) {
    Definition& d = *def_;
    if (s.is(kEndOrType)) return;
    if (!s.is(kEndsEq | kEndsDot)) return;  // the character of a syntax error
    set_statement(s.word, kept);
    statement_at_ = token_at_;
    if (!d.object_type && undone_by_object_type(d.kind, s.word)) d.undoable.emplace_back(s.word, token_at_);
    if (s.is(kNoted)) [[unlikely]] noted_statement(s, kept);
}

// A statement that the definition notes: where it is, or that it is given.
void Checker::noted_statement(const Statement& s, bool kept) {
    Definition& d = *def_;
    const std::string_view word = s.word;
    if (s.is(kIdLine)) d.id_line = token_at_;
    if (s.is(kEndsDot)) {
        set_group(word, kept);
        const auto file = d.files.empty() ? d.files.end() : d.files.find(group_);
        if (file != d.files.end()) {
            warn(Warning::UndoneLine, token_at_,
                 cat("this ", group_, " line drops the picture that its FILE= line read"),
                 {note_at("the picture was read here", file->second),
                  Note{"give the picture's X=, Y=, WIDTH= and HEIGHT= lines before its FILE= line", {}, ""}});
            d.files.erase(file);
        }
    }
    if (s.is(kAskedLater)) d.give(word, {}, kept);
    if (d.kind == Kind::Table && !d.cells.empty()) {
        if (s.is(kTableFont)) d.cell_colours.back().first = true;
        if (s.is(kTableBackground)) d.cell_colours.back().second = true;
    }
    switch (d.kind) {
    case Kind::Form:
        if (s.is(kObjectId)) d.object_ids.push_back(token_at_);
        else if (s.is(kObjectCount)) d.count_line = token_at_;
        else if (s.is(kFocused)) d.focused_line = token_at_;
        break;
    case Kind::Table:
        if (s.is(kDataType)) {
            d.cells.push_back(token_at_);
            d.cell_colours.emplace_back(false, false);
        }
        break;
    case Kind::Menu:
        if (s.is(kMenuItem)) d.items_given = true;
        break;
    case Kind::List:
        if (s.is(kListItem)) d.items_given = true;
        break;
    default: break;
    }
}

// A number as written, and what the field keeps of it.
void Checker::check_number(const NumberRange& range, std::string_view value) {
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
    if (!huge && v >= range.min && v <= range.max) return;
    number_warning(range, value.substr(start, i - start), v, start);
}

void Checker::number_warning(const NumberRange& range, std::string_view digits, int64_t v, size_t start) {
    const int64_t stored = stored_value(range, std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    const std::string place = statement_is("ID=") ? std::string("an identifier") : statement();
    warn(Warning::NumberRange, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(start)},
         cat(digits, " does not fit ", place, ", which takes ", range.what, " (", range.min, " to ", range.max,
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
    if (statement_ends_with("FILE=")) return;
    if (statement_is("NAME=")) {
        if (c_identifier(value)) return;
        const std::string why = [&]() -> std::string {
            const std::string name(value);
            if (name.empty()) return "NAME= gives no name";
            if (name.find("//") != std::string::npos) return "the name " + quoted(name) + " holds a comment";
            if (std::any_of(name.begin(), name.end(), is_blank)) return "the name " + quoted(name) + " holds a blank";
            if (std::isdigit(static_cast<unsigned char>(name[0])))
                return "the name " + quoted(name) + " starts with a digit";
            for (char ch : name)
                if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '_')
                    return "the name " + quoted(name) + " holds " + quoted(std::string(1, ch));
            return "";
        }();
        if (!why.empty())
            warn(Warning::Name, token_at_, why + ": resource.h will not compile",
                 {Note{"a name is a C identifier: letters, digits and '_', not starting with a digit", {}, ""}});
        return;
    }
    if (!value.empty() && is_blank(value[0]))
        warn(Warning::TextBlank, token_at_, cat("the text of ", statement(), " starts with a blank, which is part of it"));
    for (size_t pos = value.find("//"); pos != std::string_view::npos; pos = value.find("//", pos + 2)) {
        if (pos == 0 || !is_blank(value[pos - 1])) continue;
        warn(Warning::TextComment, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(pos)},
             cat("'", value.substr(pos), "' is part of the text of ", statement()),
             {Note{"a comment is a line of its own that starts with //", {}, ""}});
        break;
    }
}

void Checker::given_back(size_t length) {
    const size_t n = std::min(length, lines_.size() - line_starts_.back());
    lines_.truncate(lines_.size() - n);
    column_ -= static_cast<uint32_t>(n);
}

void Checker::read_on(const char* text, size_t length) { advance(text, length); }

// ---------------------------------------------------------------- stray text

void Checker::copied_out(const char* text, size_t length) {
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
    cells.clear();
    count_line.reset();
    focused_line.reset();
    id_line.reset();
    items_given = false;
    given.clear();
    given_text.clear();
    cell_colours.clear();
}

void Checker::Definition::give(std::string_view head, std::string_view tail, bool kept) {
    if (!kept) {
        std::string& whole = given_text.emplace_back(head);
        whole += tail;
        head = whole;
        tail = {};
    }
    given.push_back(Given{head, tail});
}

void Checker::definition_opened(Kind kind) {
    // The lines kept start again at the opening line (and the line before
    // the current one is always kept).
    const uint32_t from = std::min(token_at_.line, line_ > 1 ? line_ - 1 : line_);
    if (from > first_line_ && from <= line_) {
        const size_t k = from - first_line_;
        const size_t cut = line_starts_[k];
        lines_.drop_front(cut);
        line_starts_.erase(line_starts_.begin(), line_starts_.begin() + static_cast<long>(k));
        for (size_t& start : line_starts_) start -= cut;
        first_line_ = from;
    }
    // Opening lines are alike: one copy serves as long as they are.
    const std::string_view text = line_text(token_at_.line);
    std::string_view& opening = opening_lines_[format::type_code(kind)];
    if (opening != text) opening = kept_.keep(text);
    if (!def_) def_.emplace();
    def_->start(kind, LineRef{token_at_, opening});
    stray_reported_ = false;
    group_ = {};
    group_kept_ = true;
    statement_head_ = {};
    statement_tail_ = {};
}

void Checker::object_type_line(Kind kind) {
    if (!def_) return;
    def_->object_type = true;
    if (def_->undoable.empty()) return;
    const std::string type_line = std::string(format::statement(format::FieldId::ObjectType)) + format::kind_keyword(kind);
    for (const auto& [statement, at] : def_->undoable)
        warn(Warning::UndoneLine, at,
             statement + " comes before " + type_line + ", which " +
                 (ends_with(statement, "FILE=") ? "drops the picture read here" : "clears this text"),
             {note_at(type_line + " is here", token_at_)});
    def_->undoable.clear();
}

void Checker::definition_ending(uint16_t id, const Records& records, const Text& resource_name) {
    if (!def_) return;
    records_ = &records;
    Definition& d = *def_;
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
            warn(Warning::DuplicateId, d.opened, cat("identifier ", id, " is used already"),
                 one_note(cat("by the ", format::kind_keyword(first.kind), " ", first.name), first.opened.at,
                          first.opened.source));
        }
    }
    resources_.push_back(r);
    emit_definition(r, token_at_);

    switch (d.kind) {
    case Kind::Form: check_form_end(index); break;
    case Kind::Menu: {
        bool stored = false;
        for (size_t i = 0; i < rec.menu.num_items && i < rec.menu.items.size(); ++i) stored |= rec.menu.items[i].has_value();
        if (!d.items_given && stored) carried_items("MENU", rec.menu.num_items);
        break;
    }
    case Kind::List: {
        bool stored = false;
        for (size_t i = 0; i < rec.list.total_items && i < rec.list.items.size(); ++i) stored |= rec.list.items[i].has_value();
        if (!d.items_given && stored) carried_items("LIST", rec.list.total_items);
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

void Checker::carried_items(const char* kind, size_t count) {
    warn(Warning::CarriedOver, def_->opened.at,
         std::string("this ") + kind + " gives no item lines: it repeats the items of the previous " + kind + " (" +
             std::to_string(count) + " declared)");
}

bool Checker::given(std::string_view statement) const {
    if (!def_) return false;
    for (const Definition::Given& g : def_->given)
        if (statement.size() == g.head.size() + g.tail.size() && starts_with(statement, g.head) &&
            ends_with(statement, g.tail))
            return true;
    return false;
}

bool Checker::given(format::FieldId field) const {
    if (!def_) return false;
    // Any spelling of any statement that sets the field: aliases count alike.
    for (const format::StatementInfo* s : format::statements_setting(field))
        for (const Definition::Given& g : def_->given)
            if (format::spells(*s, std::string(g.head) + std::string(g.tail))) return true;
    return false;
}

void Checker::check_colours(uint8_t font, uint8_t background, bool has_text, Location at, const char* what,
                            bool both_given) {
    // Colours that the definition gives itself are taken as meant.
    if (!has_text || font != background || both_given) return;
    const char* colour = format::kColorWords.word(font);
    warn(Warning::InvisibleText, at,
         std::string(what) + " is " + (colour ? colour : "?") + " on " + (colour ? colour : "?") +
             ": it cannot be seen",
         {Note{"a colour that the definition does not give is the one of the previous definition of its kind, or "
               "COLOR_WHITE",
               {}, ""}});
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
    } else if (!form.count_given && form.count > 0) {
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
        check.objects.push_back(FormObject{form.objects[i].id, static_cast<uint16_t>(i < types ? form.objects[i].type : kNoType),
                                           line_ref(d.object_ids[i])});
    forms_.push_back(std::move(check));
}

// ---------------------------------------------------------------- pictures

void Checker::picture(const BitmapRecord& bm, const std::string& path, const std::string& file,
                      const std::string& failure) {
    const Location at = file_at_.value_or(token_at_);
    if (!failure.empty()) {
        std::vector<Note> notes;
        if (path.empty() || path[0] != '/')
            notes.push_back(Note{"a picture name is looked up as written, from the folder the check runs in, then in "
                                 "each -I folder",
                                 {}, ""});
        error(at, "cannot read the picture " + quoted(path) + ": " + picture_reason(file, path, failure), std::move(notes));
        return;
    }
    const std::string group = group_.empty() ? std::string("the picture") : std::string(group_);
    if (bm.width <= 0 || bm.height <= 0) {
        // A size given as such is taken as meant.
        if (given(cat(group_, "WIDTH=")) && given(cat(group_, "HEIGHT="))) return;
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
    const std::string source(line_text(token_at_.line));
    const std::string raw = word_at(source, token_at_.column);
    const std::string word = upper(raw);
    const StateHelp help = state_help(st);
    std::vector<Note> notes;
    std::string message;
    const char c = token_at_.column - 1 < source.size() ? source[token_at_.column - 1] : '\n';
    if (st == "CONTROL_ADD") {
        message = "a REPEAT_BUTTON control has no CONTROL_ADD. statements";
        notes.push_back(Note{"the statements after CONTROL_ADD. are those of the CONTROL_STYLE= given before them",
                             {}, ""});
    } else if (st == "CONTROL_ADD_CHECKBOX" && token_at_.column == 1) {
        message = "the check-box block ends before both of its pictures have had their FILE= line";
    } else if (is_blank(c)) {
        message = "unexpected blank";
        notes.push_back(Note{"a value follows its '=' directly, and a statement starts in the first column or after "
                             "its line prefix",
                             {}, ""});
    } else if (auto kind = definition_kind(st)) {
        const std::vector<std::string> statements = kind_statements(*kind);
        if (token_length_ > 1) {
            // A whole statement matched, then found no room for its value.
            message = quoted(std::string(normal_statement(std::string_view(source).substr(token_at_.column - 1, token_length_), word_))) + " cannot stand here";
            if (const char* n = room_note(st)) notes.push_back(Note{n, {}, ""});
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
        notes.push_back(Note{(statement_empty() ? std::string("it") : statement()) + " takes " + word_list(help.choices),
                             {}, ""});
    } else {
        message = quoted(raw) + " is not " + help.place;
        if (!help.takes.empty())
            notes.push_back(Note{(statement_empty() ? std::string("it") : statement()) + " takes " + help.takes, {}, ""});
        if (const char* n = room_note(st)) notes.push_back(Note{n, {}, ""});
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
                warn(Warning::UndefinedObject, o.line,
                     cat("the form ", owner.name, " lists identifier ", o.id, ", which no resource has"));
                continue;
            }
            const Resource& r = resources_[owner_of_id];
            const char* listed = format::kind_keyword(o.type);
            if (o.type != kNoType && format::type_code(r.kind) != o.type)
                warn(Warning::ObjectKind, o.line,
                     cat("the form ", owner.name, " lists ", o.id, " as a ", listed ? listed : "?", ", but it is the ",
                         format::kind_keyword(r.kind), " ", r.name),
                     one_note(cat("the ", format::kind_keyword(r.kind), " is defined here"), r.opened.at,
                              r.opened.source));
            const bool inside = r.x >= 0 && r.y >= 0 && r.x + r.width <= owner.width && r.y + r.height <= owner.height;
            if (!inside && r.kind != Kind::Form)
                warn(Warning::OutsideForm, o.line,
                     cat(r.name, " (X=", r.x, " Y=", r.y, " WIDTH=", r.width, " HEIGHT=", r.height,
                         ") reaches outside the form ", owner.name, " (", owner.width, " x ", owner.height, ")"),
                     one_note("an object's bounds are counted from the form's top-left corner"));
        }
        if (!focus_found)
            warn(Warning::Focus, *f.focused_line,
                 cat("FOCUSED_OBJECT= names ", f.focused, ", which the form ", owner.name, " does not list"));
    }
    return options_.werror && warnings_ > 0 ? 1 : 0;
}

}  // namespace orrinrc::check
