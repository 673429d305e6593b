// orrinrc-check's listener: positions, events and the checks they allow.
#include "check/checker.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "bitmap/bmp_import.h"
#include "check/hints.h"
#include "format/pixels.h"
#include "resources/records.h"

namespace orrinrc::check {

namespace {

using format::Kind;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

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

// A picture import failure in plain words.
std::string picture_reason(const std::string& path, const std::string& message) {
    std::string m = message;
    while (!m.empty() && m.back() == '\n') m.pop_back();
    if (starts_with(m, "error: can't open file")) {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? "no such file" : std::strerror(errno);
        if (S_ISDIR(st.st_mode)) return "it is a folder, not a file";
        if (!S_ISREG(st.st_mode)) return "it is not a regular file";
        if (::access(path.c_str(), R_OK) != 0) return "it cannot be read (permission denied)";
        return "it cannot be opened";
    }
    const std::string prefix = "error: " + path + ": ";
    if (starts_with(m, prefix)) return m.substr(prefix.size());
    if (starts_with(m, "error: ")) return m.substr(7);
    return m;
}

}  // namespace

Checker::Checker(std::string file, CheckOptions options, FILE* out)
    : file_(std::move(file)), options_(options), out_(out) {}

std::string_view Checker::normalize(std::string_view t) {
    if (!t.empty() && t[0] == '(') {
        const size_t close = t.find(')');
        if (close != std::string_view::npos) t.remove_prefix(close + 1);
    }
    word_.resize(t.size());
    size_t n = 0;
    for (char c : t) {
        if (is_blank(c) || c == '\r' || c == '\n') continue;
        word_[n++] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return std::string_view(word_).substr(0, n);
}

// ---------------------------------------------------------------- positions

void Checker::advance(const char* text, size_t length) {
    const char* end = text + length;
    while (text < end) {
        const char* nl = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(end - text)));
        const char* stop = nl ? nl : end;
        line_text_.append(text, stop);
        column_ += static_cast<uint32_t>(stop - text);
        if (!nl) break;
        line_completed();
        text = nl + 1;
    }
}

void Checker::line_completed() {
    if (def_) {
        def_line_starts_.push_back(static_cast<uint32_t>(def_text_.size()));
        def_text_ += line_text_;
    }
    if (stray_at_ && stray_at_->line == line_) {
        stray_warning(stray_at_->line, stray_at_->column, line_text_);
        stray_at_.reset();
    }
    if (file_at_ && file_at_->line == line_) file_source_ = line_text_;
    if (name_line_ && name_line_->at.line == line_) name_line_->source = line_text_;
    for (auto it = waiting_.begin(); !waiting_.empty() && it != waiting_.end();) {
        if (it->at.line != line_) {
            ++it;
            continue;
        }
        it->source = line_text_;
        emit(std::move(*it));
        it = waiting_.erase(it);
    }
    previous_line_ = line_;
    previous_text_.swap(line_text_);  // both keep their storage for the lines to come
    line_text_.clear();
    ++line_;
    column_ = 1;
}

std::string Checker::line_text(uint32_t line) const {
    if (line == line_) return line_text_;
    if (line == previous_line_) return previous_text_;
    if (def_ && line >= def_->opened.at.line && line - def_->opened.at.line < def_line_starts_.size()) {
        const size_t k = line - def_->opened.at.line;
        const size_t end = k + 1 < def_line_starts_.size() ? def_line_starts_[k + 1] : def_text_.size();
        return def_text_.substr(def_line_starts_[k], end - def_line_starts_[k]);
    }
    if (file_at_ && line == file_at_->line) return file_source_;
    return "";
}

Checker::LineRef Checker::line_ref(Location at) const { return LineRef{at, line_text(at.line)}; }

Note Checker::note_at(const std::string& text, Location at) const { return Note{text, at, line_text(at.line)}; }

// ---------------------------------------------------------------- reporting

void Checker::emit(Diagnostic d) {
    // Written by length: a message may quote text that holds a NUL byte.
    const std::string text = options_.json ? render_json(d) + "\n" : render(file_, d);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

void Checker::warn(Warning w, Location at, std::string message, std::vector<Note> notes) {
    if (options_.disabled[static_cast<size_t>(w)]) return;
    ++warnings_;
    if (options_.quiet && !options_.werror) return;
    Diagnostic d;
    d.severity = options_.werror ? Severity::Error : Severity::Warning;
    d.at = at;
    d.message = std::move(message);
    d.flag = std::string(options_.werror ? "-Werror,-W" : "-W") + warning_info(w).name;
    d.notes = std::move(notes);
    if (at.line == line_) {
        waiting_.push_back(std::move(d));  // its line is not complete yet
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
    Diagnostic d;
    d.severity = options_.werror ? Severity::Error : Severity::Warning;
    d.at = line.at;
    d.source = line.source;
    d.message = std::move(message);
    d.flag = std::string(options_.werror ? "-Werror,-W" : "-W") + warning_info(w).name;
    d.notes = std::move(notes);
    warnings_ = before + 1;
    emit(std::move(d));
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
const Checker::StateClass& Checker::classify(const char* state) {
    const auto known = class_of_.find(state);
    if (known != class_of_.end()) return classes_[known->second];
    const std::string_view st(state);
    StateClass c{state, StateClass::Other, std::nullopt, number_range(st)};
    if (st == "READSTRING") c.role = StateClass::Text;
    else if (c.range) c.role = StateClass::Number;
    else if (reader_state(st)) c.role = StateClass::Value;
    else if (st == "READBOUNDS" || st == "READBITMAP") c.role = StateClass::Group;
    else if (st == "CONTROL_ADD_CHECKBOX") c.role = StateClass::Checkbox;
    else if ((c.kind = definition_kind(st))) c.role = StateClass::Definition;
    class_of_.emplace(state, classes_.size());
    classes_.push_back(c);
    return classes_.back();
}

void Checker::matched(const char* state, const char* text, size_t length) {
    token_at_ = Location{line_, column_};
    token_length_ = length;
    const std::string_view t(text, length);
    const StateClass& c = classify(state);
    const char first = length > 0 ? text[0] : '\n';
    if (c.role == StateClass::Text) {
        text_value_piece(c, t);
    } else if (first == '\n' || first == '\r' || ((first == '/' || first == '~') && column_ == 1)) {
        // blank lines, comments, ~F lines: nothing to follow
    } else if ((first == 'N' || first == 'n') && column_ == 1 && length >= 5 && normalize(t) == "NAME=") {
        statement_ = "NAME=";
        statement_at_ = token_at_;
        name_line_ = LineRef{token_at_, ""};
    } else if (c.role == StateClass::Number) {
        std::string_view value = t;
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.remove_suffix(1);
        handle_value(c, value);
    } else if (c.role == StateClass::Value) {
        // a keyword value or a skipped number: nothing to follow
    } else if (c.role == StateClass::Group) {
        const std::string_view word = normalize(t);
        if (ends_with(word, "=")) {
            statement_ = group_;
            statement_ += word;
            statement_at_ = token_at_;
            if (def_) def_->given.push_back(statement_);
            if (word == "FILE=" && def_) {
                file_at_ = token_at_;
                if (group_restarts_picture(def_->kind, group_)) def_->files[group_] = token_at_;
                if (!def_->object_type && undone_by_object_type(def_->kind, statement_))
                    def_->undoable.emplace_back(statement_, token_at_);
            }
        }
    } else if (c.role == StateClass::Definition) {
        if (def_) handle_statement(normalize(t));
    } else {
        // An attribute or CONTROL_ADD. statement inside its sub-state.
        const std::string_view word = normalize(t);
        if (ends_with(word, "=") || ends_with(word, ".")) {
            if (c.role == StateClass::Checkbox) {
                statement_ = starts_with(word, "CONTROL_ADD.") || word == "CONTROL_BITMAP." ? std::string(word)
                                                                                          : "CONTROL_ADD." + std::string(word);
                group_ = "check-box CONTROL_BITMAP.";
            } else {
                statement_ += word;
            }
            statement_at_ = token_at_;
        }
    }
    advance(text, length);
}

void Checker::text_value_piece(const StateClass& c, std::string_view t) {
    // A text value line is matched in pieces around its NULs and is whole at
    // its line end. A lone CR makes the pieces before it text that is copied
    // out, and the value starts again after it.
    if (t == "\r") {
        text_value_.clear();
        text_value_at_.reset();
        return;
    }
    if (!text_value_at_) text_value_at_ = token_at_;
    const bool line_end = !t.empty() && t.back() == '\n';
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.remove_suffix(1);
    text_value_.append(t);
    if (!line_end) return;
    // Warnings point into the value from where it starts.
    const Location here = token_at_;
    token_at_ = *text_value_at_;
    handle_value(c, text_value_);
    token_at_ = here;
    text_value_.clear();
    text_value_at_.reset();
}

void Checker::handle_statement(std::string_view word) {
    Definition& d = *def_;
    if (starts_with(word, "#END_") || starts_with(word, "OBJECT.TYPE=")) return;
    if (!ends_with(word, "=") && !ends_with(word, ".")) return;  // the character of a syntax error
    statement_ = word;
    statement_at_ = token_at_;
    if (word == "ID=" || word == "I=") d.id_line = token_at_;
    if (ends_with(word, ".")) {
        group_ = word;
        const auto file = d.files.find(group_);
        if (file != d.files.end()) {
            warn(Warning::UndoneLine, token_at_,
                 "this " + group_ + " line drops the picture that its FILE= line read",
                 {note_at("the picture was read here", file->second),
                  Note{"give the picture's X=, Y=, WIDTH= and HEIGHT= lines before its FILE= line", {}, ""}});
            d.files.erase(file);
        }
    }
    if (!d.object_type && undone_by_object_type(d.kind, word)) d.undoable.emplace_back(word, token_at_);
    d.given.emplace_back(word);
    if (d.kind == Kind::Table && !d.cells.empty()) {
        if (word == "TABLE_FONT_COLOR=") d.cell_colours.back().first = true;
        if (word == "TABLE_BACKGROUND_COLOR=") d.cell_colours.back().second = true;
    }
    switch (d.kind) {
    case Kind::Form:
        if (word == "OBJECT_ID=" || (starts_with(word, "UIOBJECT") && ends_with(word, "ID=")))
            d.object_ids.push_back(token_at_);
        else if (word == "NO_OF_OBJECTS=") d.count_line = token_at_;
        else if (word == "FOCUSED_OBJECT=") d.focused_line = token_at_;
        break;
    case Kind::Table:
        if (word == "TABLE_DATA_TYPE=") {
            d.cells.push_back(token_at_);
            d.cell_colours.emplace_back(false, false);
        }
        break;
    case Kind::Menu:
        if (starts_with(word, "MENU_ITEM")) d.items_given = true;
        break;
    case Kind::List:
        if (starts_with(word, "LIST_ITEM")) d.items_given = true;
        break;
    default: break;
    }
}

void Checker::handle_value(const StateClass& c, std::string_view value) {
    if (statement_.empty()) return;
    if (const auto& range = c.range) {
        // The digits as written, and what the field keeps of them.
        size_t i = 0;
        while (i < value.size() && is_blank(value[i])) ++i;
        const size_t start = i;
        bool negative = false;
        if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
        int64_t magnitude = 0;
        bool huge = false;
        for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
            magnitude = magnitude * 10 + (value[i] - '0');
            if (magnitude > (int64_t{1} << 40)) huge = true, magnitude = int64_t{1} << 40;
        }
        const int64_t v = negative ? -magnitude : magnitude;
        if (!huge && v >= range->min && v <= range->max) return;
        const std::string digits(value.substr(start, i - start));
        const int64_t stored = stored_value(*range, std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        const std::string place = statement_ == "ID=" ? "an identifier" : statement_;
        warn(Warning::NumberRange, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(start)},
             digits + " does not fit " + place + ", which takes " + range->what + " (" + std::to_string(range->min) +
                 " to " + std::to_string(range->max) + "): it is stored as " + std::to_string(stored));
        return;
    }
    if (c.role != StateClass::Text || ends_with(statement_, "FILE=")) return;
    if (statement_ == "NAME=") {
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
        warn(Warning::TextBlank, token_at_, "the text of " + statement_ + " starts with a blank, which is part of it");
    for (size_t pos = value.find("//"); pos != std::string_view::npos; pos = value.find("//", pos + 2)) {
        if (pos == 0 || !is_blank(value[pos - 1])) continue;
        warn(Warning::TextComment, Location{token_at_.line, token_at_.column + static_cast<uint32_t>(pos)},
             quoted(std::string(value.substr(pos))) + " is part of the text of " + statement_,
             {Note{"a comment is a line of its own that starts with //", {}, ""}});
        break;
    }
}

void Checker::given_back(size_t length) {
    const size_t n = std::min(length, line_text_.size());
    line_text_.resize(line_text_.size() - n);
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
    }
}

void Checker::stray_warning(uint32_t line, uint32_t column, const std::string& source) {
    const std::string rest = source.substr(std::min<size_t>(column - 1, source.size()));
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

void Checker::definition_opened(Kind kind) {
    Definition d;
    d.kind = kind;
    d.opened = line_ref(token_at_);
    def_text_ = d.opened.source;
    def_line_starts_.assign(1, 0);
    def_ = std::move(d);
    stray_reported_ = false;
    group_.clear();
    statement_.clear();
}

void Checker::object_type_line(Kind kind) {
    if (!def_) return;
    def_->object_type = true;
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
             std::string("this ") + keyword + " definition has no OBJECT.TYPE=" + keyword +
                 " line: the values that line resets keep those of the previous " + keyword);

    Resource r{d.kind, id, resource_name ? *resource_name : std::string(), d.opened, name_line_.value_or(d.opened),
               0, 0, 0, 0};
    name_line_.reset();
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
        const auto [it, fresh] = names_.emplace(*resource_name, index);
        if (!fresh) {
            const Resource& first = resources_[it->second];
            warn(Warning::DuplicateName, r.named,
                 quoted(*resource_name) + " names a resource already: resource.h defines it twice",
                 {Note{std::string("the ") + format::kind_keyword(first.kind) + " " + first.name + " is named here",
                       first.named.at, first.named.source}});
        }
        const auto [id_it, id_fresh] = ids_.emplace(id, index);
        if (!id_fresh) {
            const Resource& first = resources_[id_it->second];
            warn(Warning::DuplicateId, d.opened, "identifier " + std::to_string(id) + " is used already",
                 {Note{std::string("by the ") + format::kind_keyword(first.kind) + " " + first.name, first.opened.at,
                       first.opened.source}});
        }
    }
    resources_.push_back(r);
    if (options_.json) emit_definition(r, token_at_);

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
                      given("LIST_TEXT_COLOR=") && given("LIST_BACKGROUND_COLOR="));
        break;
    }
    case Kind::Field:
        check_colours(rec.field.font_color, rec.field.background_color, rec.field.text && !rec.field.text->empty(), d.opened.at,
                      "the field's text", given("FIELD_FONT_COLOR=") && given("FIELD_BACKGROUND_COLOR="));
        break;
    case Kind::String:
        check_colours(rec.string_object.font_color, rec.string_object.background_color,
                      rec.string_object.text && !rec.string_object.text->empty(), d.opened.at, "the string's text",
                      given("STRING_FONT_COLOR=") && given("STRING_BACKGROUND_COLOR="));
        break;
    case Kind::Textbox:
        check_colours(rec.textbox.font_color, rec.textbox.background_color, rec.textbox.text && !rec.textbox.text->empty(),
                      d.opened.at, "the text box's text",
                      given("TEXTBOX_FONT_COLOR=") && given("TEXTBOX_BACKGROUND_COLOR="));
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
    const Location id = def_->id_line.value_or(Location{});
    std::string out = "{\"definition\":" + json_string(format::kind_keyword(r.kind)) +
                      ",\"id\":" + std::to_string(r.id) + ",\"name\":" + json_string(r.name) +
                      ",\"line\":" + std::to_string(r.opened.at.line) + ",\"end_line\":" + std::to_string(end.line) +
                      ",\"name_line\":" + std::to_string(r.named.at.line) +
                      ",\"name_column\":" + std::to_string(r.named.at.column) +
                      ",\"id_line\":" + std::to_string(id.line) + ",\"id_column\":" + std::to_string(id.column) +
                      "}\n";
    std::fputs(out.c_str(), out_);
}

void Checker::carried_items(const char* kind, size_t count) {
    warn(Warning::CarriedOver, def_->opened.at,
         std::string("this ") + kind + " gives no item lines: it repeats the items of the previous " + kind + " (" +
             std::to_string(count) + " declared)");
}

bool Checker::given(std::string_view statement) const {
    return def_ && std::find(def_->given.begin(), def_->given.end(), statement) != def_->given.end();
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
        error(at, "cannot read the picture " + quoted(path) + ": " + picture_reason(file, failure), std::move(notes));
        return;
    }
    const std::string group = group_.empty() ? "the picture" : group_;
    if (bm.width <= 0 || bm.height <= 0) {
        // A size given as such is taken as meant.
        if (given(group_ + "WIDTH=") && given(group_ + "HEIGHT=")) return;
        warn(Warning::PictureSize, at,
             group + " is " + std::to_string(bm.width) + " x " + std::to_string(bm.height) +
                 " pixels: no picture data is stored",
             {Note{"give its WIDTH= and HEIGHT= lines before its FILE= line", {}, ""}});
        return;
    }
    BmpFacts facts;
    if (!bmp_facts(file.c_str(), facts)) return;
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

// ---------------------------------------------------------------- errors

void Checker::syntax_error(const char* state) {
    const std::string_view st(state);
    const std::string source = line_text(token_at_.line);
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
            message = quoted(std::string(normalize(source.substr(token_at_.column - 1, token_length_)))) + " cannot stand here";
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
        notes.push_back(Note{(statement_.empty() ? std::string("it") : statement_) + " takes " + word_list(help.choices),
                             {}, ""});
    } else {
        message = quoted(raw) + " is not " + help.place;
        if (!help.takes.empty())
            notes.push_back(Note{(statement_.empty() ? std::string("it") : statement_) + " takes " + help.takes, {}, ""});
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
            const auto it = ids_.find(o.id);
            if (it == ids_.end()) {
                warn(Warning::UndefinedObject, o.line,
                     "the form " + owner.name + " lists identifier " + std::to_string(o.id) +
                         ", which no resource has");
                continue;
            }
            const Resource& r = resources_[it->second];
            const char* listed = format::kind_keyword(o.type);
            if (o.type != kNoType && format::type_code(r.kind) != o.type)
                warn(Warning::ObjectKind, o.line,
                     "the form " + owner.name + " lists " + std::to_string(o.id) + " as a " +
                         (listed ? listed : "?") + ", but it is the " + format::kind_keyword(r.kind) + " " + r.name,
                     {Note{std::string("the ") + format::kind_keyword(r.kind) + " is defined here", r.opened.at,
                           r.opened.source}});
            const bool inside = r.x >= 0 && r.y >= 0 && r.x + r.width <= owner.width && r.y + r.height <= owner.height;
            if (!inside && r.kind != Kind::Form)
                warn(Warning::OutsideForm, o.line,
                     r.name + " (X=" + std::to_string(r.x) + " Y=" + std::to_string(r.y) + " WIDTH=" +
                         std::to_string(r.width) + " HEIGHT=" + std::to_string(r.height) +
                         ") reaches outside the form " + owner.name + " (" + std::to_string(owner.width) + " x " +
                         std::to_string(owner.height) + ")",
                     {Note{"an object's bounds are counted from the form's top-left corner", {}, ""}});
        }
        if (!focus_found)
            warn(Warning::Focus, *f.focused_line,
                 "FOCUSED_OBJECT= names " + std::to_string(f.focused) + ", which the form " + owner.name +
                     " does not list");
    }
    std::fflush(out_);
    return options_.werror && warnings_ > 0 ? 1 : 0;
}

}  // namespace orrinrc::check
