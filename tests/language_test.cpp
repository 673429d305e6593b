// The language's tables (format/language.h) held against the scanner's rule
// file, both ways: every statement and word of the tables, in each of its
// spellings, is taken by the scanner in its state, reported as that entry
// and reaches the listed field; and every rule of the rule file that takes
// a keyword reports an entry whose spellings are the rule's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "dump/records.h"
#include "format/language.h"
#include "scanner/compile.h"
#include "test_files.h"

using namespace orrinrc;
using format::FieldId;
using format::Kind;
using format::State;
using format::StatementInfo;
using format::WordInfo;

namespace {

// ---------------------------------------------------------------- spellings

// Concrete spellings of a form: each sign at its least, then at its most
// ("?" as "." and "#", a set as its first and last character, a run as
// nothing and as two of the set's last character).
std::string last_of_set(std::string_view set) { return std::string(1, set.back()); }

std::string instance(std::string_view form, bool most) {
    std::string out;
    for (size_t i = 0; i < form.size(); ++i) {
        if (form[i] == '?') {
            out += most ? '#' : '.';
        } else if (form[i] == '[') {
            const size_t close = form.find(']', i);
            const std::string_view set = form.substr(i + 1, close - i - 1);
            i = close;
            if (i + 1 < form.size() && form[i + 1] == '*') {
                ++i;
                if (most) out += last_of_set(set) + last_of_set(set);
            } else {
                out += most ? last_of_set(set) : std::string(1, set[0]);
            }
        } else {
            out += form[i];
        }
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

template <class T>
std::vector<std::string> spellings_of(const T& entry, const char* canonical) {
    std::vector<std::string> out = {canonical, lower(canonical)};
    for (const char* form : entry.other_forms())
        for (bool most : {false, true}) out.push_back(instance(form, most));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// ---------------------------------------------------------------- runs

class Heard final : public RunListener {
public:
    void scanned(const ScanEvent* events, size_t count) override {
        for (const ScanEvent& e : std::span(events, count)) {
            if (e.type == ScanEvent::Type::Statement) statements.push_back(&format::all_statements()[e.entry]);
            if (e.type == ScanEvent::Type::Word) words.push_back(&format::all_words()[e.entry]);
        }
    }
    void syntax_error(const char* state) override { errors.push_back(state); }
    void input_ended_inside_definition() override { errors.push_back("input ended"); }
    void failed(const Error& e) override { errors.push_back(e.message); }

    std::vector<const StatementInfo*> statements;
    std::vector<const WordInfo*> words;
    std::vector<std::string> errors;
};

struct Outcome {
    Heard heard;
    std::vector<dump::Record> records;
};

Outcome run(const std::string& text) {
    static const std::map<std::string, std::string, std::less<>> pictures = {{"pic.bmp", tiny_bmp()}};
    Outcome o;
    RunOptions options;
    options.listener = &o.heard;
    options.pictures = &pictures;
    const MemoryRun m = compile_in_memory(text, options);
    if (m.result.ok()) o.records = dump::decode_image(dump::Bytes(m.bin.begin(), m.bin.end()));
    return o;
}

// ---------------------------------------------------------------- definitions

const char* keyword(Kind k) { return format::kind_keyword(k); }

const StatementInfo& only(State state, std::string_view spelling, State enters = State::Count_) {
    for (const StatementInfo& s : format::all_statements())
        if (s.state == state && s.spelling == spelling && (enters == State::Count_ || s.enters == enters)) return s;
    throw std::runtime_error("no statement " + std::string(spelling));
}

// The statement that enters a sub-state from its definition.
const StatementInfo& opener_of(State sub) {
    for (const StatementInfo& s : format::all_statements())
        if (s.enters == sub && format::state_info(s.state).role == format::StateRole::Definition) return s;
    throw std::runtime_error("no opener");
}

// The word with the highest code in a state: one that differs from a
// field's default.
const WordInfo* some_word(State s) {
    const WordInfo* best = nullptr;
    for (const WordInfo* w : format::words_in(s))
        if (best == nullptr || w->code > best->code) best = w;
    return best;
}

// The text after a statement that enters `state`, up to its line end.
std::string value_for(State state) {
    const format::StateInfo& info = format::state_info(state);
    switch (state) {
    case State::ReadBoolean: return "1";
    case State::ReadString: return "abc";
    case State::ReadBounds:
    case State::ReadBitmap: return "X=7";
    case State::ReadBitmapFile: return "Q_FOUR_BIT, pic.bmp";
    default: break;
    }
    if (format::number_reader(state) != nullptr || state == State::ReadSkip) return "7";
    if (info.number_fallback && info.words == nullptr) return "7";
    if (const WordInfo* w = some_word(state)) return w->spelling();
    if (info.role == format::StateRole::SubState) {
        const StatementInfo& first = *format::statements_in(state).front();
        return first.spelling + value_for(first.enters);
    }
    return "";  // a line that reads no value
}

const char* kPictureRest[] = {"WIDTH=2", "HEIGHT=1", "FILE=Q_TWO_BIT, pic.bmp"};

// The lines that describe a whole picture after `head`, its x being `x`.
std::string picture_lines(const std::string& head, int x) {
    std::string out = head + "X=" + std::to_string(x) + "\n";
    for (const char* rest : kPictureRest) out += head + rest + "\n";
    return out;
}

bool is_cell_field(FieldId f) {
    const auto cells = format::table_cell_fields();
    return f != FieldId::CellDataType && std::find(cells.begin(), cells.end(), f) != cells.end();
}

// What a definition needs before a statement for the statement to reach its
// field: a count for a list entry, a style for a style's statements, a cell
// for a cell statement, the first picture before the second.
std::string context_for(const StatementInfo& s) {
    std::string out;
    switch (s.field) {
    case FieldId::FormObjectId:
    case FieldId::FormObjectType: out += "NO_OF_OBJECTS=1\n"; break;
    case FieldId::FormBitmap: out += "FORM_STYLE=NORMAL\n"; break;
    case FieldId::RepeatBitmap: out += "CONTROL_STYLE=REPEAT_BUTTON\n"; break;
    case FieldId::ListRelatedObject: out += "LIST_NUM_RELATED_LIST_OBJECT=1\n"; break;
    case FieldId::ListItem: out += "LIST_TOTAL_NUM_ITEMS=1\n"; break;
    case FieldId::MenuItem: out += "MENU_NUM_ITEMS=1\n"; break;
    default: break;
    }
    if (s.kind == Kind::Table && !s.any_kind && s.state != State::Initial) {
        if (s.field != FieldId::TableColumns) out += "TABLE_NUM_COLUMN=1\n";
        if (s.field != FieldId::TableRows) out += "TABLE_NUM_ROW=1\n";
        if (is_cell_field(s.field)) out += "TABLE_DATA_TYPE=TABLE_TEXT\n";
    }
    // A bitmap's pictures follow its four bounds lines.
    const bool bitmap_picture = s.field == FieldId::BitmapPicture1 || s.field == FieldId::BitmapPicture2;
    if (s.kind == Kind::Bitmap && !s.any_kind && bitmap_picture)
        for (const char* part : {"X=0", "Y=0", "WIDTH=0", "HEIGHT=0"}) out += std::string("BOUNDS.") + part + "\n";
    if (s.field == FieldId::BitmapPicture2) out += picture_lines(s.spelling, 0);
    const State block = format::state_info(s.state).role == format::StateRole::SubState ? s.state : s.enters;
    switch (block) {
    case State::ControlAddButton: out += "CONTROL_STYLE=BUTTON\n"; break;
    case State::ControlAddPushbutton: out += "CONTROL_STYLE=PUSH_BUTTON\n"; break;
    case State::ControlAddPopuptrigger:
        out += "CONTROL_STYLE=POPUP_TRIGGER\n";
        if (s.field == FieldId::PopupItem) out += "CONTROL_ADD.NUM_OBJECTS=1\n";
        break;
    case State::ControlAddCheckbox:
        out += "CONTROL_STYLE=CHECKBOX\n";
        if (s.state == State::ControlAddCheckbox) out += "CONTROL_ADD.GROUP_ID=5\n";
        if (s.field == FieldId::CheckboxBitmap2) out += picture_lines("CONTROL_BITMAP.", 0);
        break;
    default: break;
    }
    return out;
}

// What follows the statement's lines: the pictures that a check-box block
// needs before it ends.
std::string closing_for(const StatementInfo& s) {
    const bool in_box = s.state == State::ControlAddCheckbox || s.enters == State::ControlAddCheckbox;
    if (!in_box) return "";
    int still_due = 2;
    if (s.field == FieldId::CheckboxBitmap1) still_due = 1;
    if (s.field == FieldId::CheckboxBitmap2) still_due = 0;
    std::string out;
    for (int i = 0; i < still_due; ++i) out += picture_lines("CONTROL_BITMAP.", 0);
    return out;
}

// A whole definition with `spelling` standing for the statement `s`.
std::string definition_with(const StatementInfo& s, const std::string& spelling, bool prefix) {
    const Kind kind = s.any_kind ? Kind::Form : s.kind;
    const std::string word = keyword(kind);
    const std::string pfx = prefix ? "(at) " : "";
    if (s.state == State::Initial && !s.any_kind) return "NAME=N\n" + spelling + "\nOBJECT.TYPE=" + word + "\n#END_" + word + "\n";
    if (s.any_kind && s.state == State::Initial) return spelling + "N\n#FORM\n#END_FORM\n";
    if (s.spelling == "#END_" + word) return "NAME=N\n#" + word + "\n" + spelling + "\n";
    if (s.spelling == "OBJECT.TYPE=" + word) return "NAME=N\n#" + word + "\n" + pfx + spelling + "\n#END_" + word + "\n";
    if (s.spelling == std::string_view("ID=")) return "NAME=N\n#" + word + "\n" + spelling + "7\n#END_" + word + "\n";

    std::string head;  // what comes before the value on the line
    if (s.any_kind) {
        head = (s.state == State::ReadBounds ? "BOUNDS." : "FORM_BITMAP.") + spelling;
    } else if (format::state_info(s.state).role == format::StateRole::SubState && s.state != State::ControlAddCheckbox) {
        head = pfx + opener_of(s.state).spelling + spelling;
    } else {
        head = pfx + spelling;
    }
    std::string lines;
    if (s.enters == State::ReadBitmap && s.field != FieldId::None) {
        lines = picture_lines(head, 7);
    } else if (s.any_kind && s.state == State::ReadBitmap) {
        // After a whole picture of a form that shows it.
        lines = "FORM_STYLE=NORMAL\n" + picture_lines("FORM_BITMAP.", 0) + head +
                (s.enters == State::ReadBitmapFile ? value_for(s.enters) : "7") + "\n";
    } else {
        lines = head + (s.any_kind ? "7" : value_for(s.enters)) + "\n";
    }
    return "NAME=N\n#" + word + "\nID=1\nOBJECT.TYPE=" + word + "\n" + context_for(s) + lines + closing_for(s) +
           "#END_" + word + "\n";
}

// The field a statement's test line reached holds what value_for() gave.
void expect_field(const StatementInfo& s, const dump::Record& rec, const std::string& what) {
    if (s.field == FieldId::ObjectType) {
        EXPECT_EQ(rec.type, format::type_code(s.kind)) << what;
        return;
    }
    const dump::Field* f = rec.find(s.field);
    ASSERT_NE(f, nullptr) << what;
    switch (f->encoding()) {
    case format::Encoding::Text: EXPECT_EQ(f->text.value_or("-"), "abc") << what; break;
    case format::Encoding::Bounds: EXPECT_EQ(f->bounds.x, 7) << what; break;
    case format::Encoding::Bitmap: EXPECT_EQ(f->bitmap().x, 7) << what; break;
    case format::Encoding::Boolean: EXPECT_EQ(f->value, 1u) << what; break;
    case format::Encoding::Choice:
        EXPECT_EQ(f->value, some_word(s.enters)->code) << what;
        break;
    default: EXPECT_EQ(f->number(), 7) << what;
    }
}

size_t count_of(const std::vector<const StatementInfo*>& heard, const StatementInfo& s) {
    return static_cast<size_t>(std::count(heard.begin(), heard.end(), &s));
}

// ---------------------------------------------------------------- the tables, in the scanner

TEST(LanguageTables, EveryStatementInEverySpellingIsTakenReportedAndReachesItsField) {
    size_t fields_checked = 0;
    for (const StatementInfo& s : format::all_statements()) {
        for (const std::string& spelling : spellings_of(s, s.spelling)) {
            for (bool prefix : {false, true}) {
                if (prefix && !s.prefixed) continue;
                const std::string text = definition_with(s, spelling, prefix);
                const std::string what = std::string(format::state_name(s.state)) + " " + s.spelling + " as \"" +
                                         spelling + "\" (" + format::state_name(s.enters) + ")\n" + text;
                const Outcome o = run(text);
                EXPECT_TRUE(o.heard.errors.empty()) << what << o.heard.errors.front();
                EXPECT_GE(count_of(o.heard.statements, s), 1u) << what;
                if (s.field == FieldId::None || o.records.empty()) continue;
                expect_field(s, o.records.front(), what);
                ++fields_checked;
            }
        }
    }
    EXPECT_GT(fields_checked, 500u);
}

TEST(LanguageTables, EveryWordInEverySpellingIsReportedAndStoredAsItsCode) {
    size_t codes_checked = 0;
    for (const WordInfo& w : format::all_words()) {
        // The first statement of a definition that reads the word's state.
        const StatementInfo* reader = nullptr;
        for (const StatementInfo& s : format::all_statements())
            if (!reader && s.enters == w.state && !s.any_kind && s.field != FieldId::None &&
                format::state_info(s.state).role == format::StateRole::Definition)
                reader = &s;
        if (w.state == State::ReadBitmapFile) reader = &only(State::Form, "FORM_BITMAP.");
        ASSERT_NE(reader, nullptr) << format::state_name(w.state);
        for (const std::string& spelling : spellings_of(w, w.spelling())) {
            std::string text = definition_with(*reader, reader->spelling, false);
            // The reader's test value gives way to the word.
            const std::string line = reader->spelling + value_for(reader->enters) + "\n";
            std::string with = reader->spelling + spelling + "\n";
            if (w.state == State::ReadBitmapFile) {
                text = definition_with(*reader, reader->spelling, false);
                const std::string file = "FILE=Q_TWO_BIT, pic.bmp";
                text.replace(text.find(file), file.size(), "FILE=" + spelling + ", pic.bmp");
            } else {
                ASSERT_NE(text.find(line), std::string::npos) << text;
                text.replace(text.find(line), line.size(), with);
            }
            const std::string what = std::string(format::state_name(w.state)) + " " + w.spelling() + " as \"" +
                                     spelling + "\"\n" + text;
            const Outcome o = run(text);
            EXPECT_TRUE(o.heard.errors.empty()) << what << o.heard.errors.front();
            EXPECT_NE(std::find(o.heard.words.begin(), o.heard.words.end(), &w), o.heard.words.end()) << what;
            if (o.records.empty()) continue;
            const dump::Field* f = o.records.front().find(reader->field);
            ASSERT_NE(f, nullptr) << what;
            const uint32_t stored = f->encoding() == format::Encoding::Bitmap ? f->bitmap().depth : f->value;
            EXPECT_EQ(stored, w.code) << what;
            ++codes_checked;
        }
    }
    EXPECT_GT(codes_checked, 100u);
}

// ---------------------------------------------------------------- the rule file, in the tables

struct Rule {
    std::string states;   // "FORM", "CONTROL,FIELD", "*"
    std::string pattern;
    std::string action;   // of the rule, or of the rules it is chained to with |
    int line = 0;
};

// The rules between the rule file's two "%%" lines.
std::vector<Rule> read_rules(const std::string& file) {
    std::vector<Rule> rules;
    std::vector<size_t> chained;
    std::string block;
    bool in_rules = false;
    std::vector<std::string> lines;
    for (size_t at = 0; at < file.size();) {
        const size_t end = file.find('\n', at);
        lines.push_back(file.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? file.size() : end + 1;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l == "%%") {
            if (in_rules) break;
            in_rules = true;
            continue;
        }
        if (!in_rules || l.empty() || l[0] == ' ' || l[0] == '\t') continue;
        if (l == "}") {
            block.clear();
            continue;
        }
        std::string rest = l;
        std::string states = block;
        if (rest[0] == '<') {
            const size_t close = rest.find('>');
            states = rest.substr(1, close - 1);
            rest = rest.substr(close + 1);
            if (rest == "{") {
                block = states;
                continue;
            }
        }
        // The pattern ends at the first blank outside quotes and brackets.
        size_t p = 0;
        bool quoted = false;
        int bracket = 0;
        for (; p < rest.size(); ++p) {
            const char c = rest[p];
            if (c == '\\') { ++p; continue; }
            if (c == '"' && bracket == 0) quoted = !quoted;
            else if (!quoted && c == '[') ++bracket;
            else if (!quoted && c == ']') bracket = 0;
            else if (!quoted && bracket == 0 && (c == ' ' || c == '\t')) break;
        }
        Rule r{states, rest.substr(0, p), rest.substr(std::min(p, rest.size())), static_cast<int>(i + 1)};
        r.action.erase(0, r.action.find_first_not_of(" \t"));
        // An action in braces goes on until they close.
        int depth = static_cast<int>(std::count(r.action.begin(), r.action.end(), '{')) -
                    static_cast<int>(std::count(r.action.begin(), r.action.end(), '}'));
        while (depth > 0 && i + 1 < lines.size()) {
            const std::string& more = lines[++i];
            r.action += "\n" + more;
            depth += static_cast<int>(std::count(more.begin(), more.end(), '{')) -
                     static_cast<int>(std::count(more.begin(), more.end(), '}'));
        }
        if (r.action == "|") {
            chained.push_back(rules.size());
        } else {
            for (size_t c : chained) rules[c].action = r.action;
            chained.clear();
        }
        rules.push_back(r);
    }
    return rules;
}

// The spellings of a rule's pattern in the tables' notation: quoted text as
// it is, blanks and line ends dropped, any character as "?", sets as they
// are, each option of a group or of an optional part apart.
struct Spelled {
    std::vector<std::string> spellings{""};
    bool prefixed = false;
};

void append(std::vector<std::string>& to, const std::vector<std::string>& tails) {
    std::vector<std::string> out;
    for (const std::string& a : to)
        for (const std::string& b : tails) out.push_back(a + b);
    to = out;
}

std::vector<std::string> spell_sequence(const std::string& p, size_t& i, bool& prefixed);

std::vector<std::string> spell_group(const std::string& p, size_t& i, bool& prefixed) {
    std::vector<std::string> out;
    for (;;) {
        const std::vector<std::string> option = spell_sequence(p, i, prefixed);
        out.insert(out.end(), option.begin(), option.end());
        if (i < p.size() && p[i] == '|') { ++i; continue; }
        ++i;  // ")"
        return out;
    }
}

std::vector<std::string> spell_sequence(const std::string& p, size_t& i, bool& prefixed) {
    std::vector<std::string> out{""};
    while (i < p.size() && p[i] != '|' && p[i] != ')') {
        std::vector<std::string> piece;
        if (p.compare(i, 5, "{PFX}") == 0) { prefixed = true; i += 5; continue; }
        if (p.compare(i, 5, "{BL}*") == 0) { i += 5; continue; }
        if (p.compare(i, 4, "{NL}") == 0) { i += 4; continue; }
        if (p[i] == '^') { ++i; continue; }
        if (p[i] == '"') {
            const size_t close = p.find('"', i + 1);
            piece = {p.substr(i + 1, close - i - 1)};
            i = close + 1;
        } else if (p[i] == '(') {
            ++i;
            piece = spell_group(p, i, prefixed);
        } else if (p.compare(i, 5, "[^\\n]") == 0) {
            piece = {"?"};
            i += 5;
        } else if (p[i] == '[') {
            const size_t close = p.find(']', i);
            piece = {p.substr(i, close - i + 1)};
            i = close + 1;
            if (i < p.size() && p[i] == '*') { piece[0] += '*'; ++i; }
        } else if (p[i] == '.') {
            piece = {"?"};
            ++i;
        } else {
            piece = {std::string(1, p[i])};
            ++i;
        }
        if (i < p.size() && p[i] == '?') {
            piece.push_back("");
            ++i;
        }
        append(out, piece);
    }
    return out;
}

Spelled spell(const std::string& pattern) {
    Spelled s;
    size_t i = 0;
    s.spellings = spell_sequence(pattern, i, s.prefixed);
    // The depth word's comma separates it from the file name.
    for (std::string& sp : s.spellings)
        if (!sp.empty() && sp.back() == ',') sp.pop_back();
    return s;
}

bool has_keyword(const std::string& pattern) {
    bool quoted = false;
    for (char c : pattern) {
        if (c == '"') quoted = !quoted;
        else if (quoted && std::isalpha(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

std::vector<std::string> split(const std::string& s, char by) {
    std::vector<std::string> out;
    size_t at = 0;
    for (size_t n; (n = s.find(by, at)) != std::string::npos; at = n + 1) out.push_back(s.substr(at, n - at));
    out.push_back(s.substr(at));
    return out;
}

std::string trim(std::string s) {
    s.erase(0, s.find_first_not_of(" "));
    s.erase(s.find_last_not_of(" ") + 1);
    return s;
}

// The entries a rule's action reports: each SAY...(...), OPEN_STYLE_BLOCK(...)
// and SAY_HERE(...) (in each of the rule's states) names statements; each
// WORD_POP(...) and FILE_DEPTH(...) names a state whose word the rule's
// spelling must be.
struct Reports {
    std::vector<const StatementInfo*> statements;
    std::vector<State> word_states;
};

State state_named(const std::string& name) {
    const auto s = format::state_of_name(name);
    if (!s) throw std::runtime_error("no state " + name);
    return *s;
}

std::vector<std::string> call_args(const std::string& action, const std::string& macro, size_t& from) {
    const size_t at = action.find(macro + "(", from);
    if (at == std::string::npos) return {};
    size_t i = at + macro.size() + 1;
    int depth = 1;
    std::string inside;
    for (; i < action.size() && depth > 0; ++i) {
        if (action[i] == '(') ++depth;
        if (action[i] == ')') --depth;
        if (depth > 0) inside += action[i];
    }
    from = i;
    std::vector<std::string> args;
    for (std::string& a : split(inside, ',')) args.push_back(trim(a));
    for (std::string& a : args)
        if (a.size() >= 2 && a.front() == '"') a = a.substr(1, a.size() - 2);
    return args;
}

// The fields that the rule file names in SAY_SETTING (field identifiers
// have no names at run time).
FieldId field_named(const std::string& name) {
    static const std::map<std::string, FieldId> named = {
        {"None", FieldId::None},
        {"Bounds", FieldId::Bounds},
        {"BitmapPicture1", FieldId::BitmapPicture1},
        {"BitmapPicture2", FieldId::BitmapPicture2},
        {"CheckboxBitmap1", FieldId::CheckboxBitmap1},
        {"CheckboxBitmap2", FieldId::CheckboxBitmap2},
        {"ListRelatedObject", FieldId::ListRelatedObject},
        {"ListItem", FieldId::ListItem},
        {"TableBackgroundColor", FieldId::TableBackgroundColor},
        {"CellBackgroundColor", FieldId::CellBackgroundColor},
    };
    const auto it = named.find(name);
    if (it == named.end()) throw std::runtime_error("a rule gives the field " + name + ", unknown to this test");
    return it->second;
}

const StatementInfo* entry_named(State state, const std::string& spelling, const FieldId* field, const State* enters) {
    const StatementInfo* found = nullptr;
    for (const StatementInfo& s : format::all_statements()) {
        if (s.state != state || s.spelling != spelling) continue;
        if (field && s.field != *field) continue;
        if (enters && s.enters != *enters) continue;
        if (found) return nullptr;
        found = &s;
    }
    return found;
}

Reports reports_of(const Rule& r) {
    Reports out;
    for (size_t from = 0;;) {
        size_t next = std::string::npos;
        std::string macro;
        for (const char* m : {"SAY", "SAY_SETTING", "SAY_ENTERING", "SAY_HERE", "OPEN_STYLE_BLOCK", "WORD_POP", "FILE_DEPTH"}) {
            const size_t at = r.action.find(std::string(m) + "(", from);
            if (at != std::string::npos &&
                (at == 0 || (!std::isalnum(static_cast<unsigned char>(r.action[at - 1])) && r.action[at - 1] != '_')) &&
                at < next)
                next = at, macro = m;
        }
        if (next == std::string::npos) break;
        from = next;
        const std::vector<std::string> a = call_args(r.action, macro, from);
        if (macro == "SAY") {
            out.statements.push_back(entry_named(state_named(a.at(0)), a.at(1), nullptr, nullptr));
        } else if (macro == "SAY_SETTING") {
            const FieldId f = field_named(a.at(2));
            out.statements.push_back(entry_named(state_named(a.at(0)), a.at(1), &f, nullptr));
        } else if (macro == "SAY_ENTERING") {
            const State e = state_named(a.at(2));
            out.statements.push_back(entry_named(state_named(a.at(0)), a.at(1), nullptr, &e));
        } else if (macro == "OPEN_STYLE_BLOCK") {
            const State e = state_named(a.at(0));
            out.statements.push_back(entry_named(State::Control, "CONTROL_ADD.", nullptr, &e));
        } else if (macro == "SAY_HERE") {
            for (const std::string& st : split(r.states, ','))
                out.statements.push_back(entry_named(state_named(st), a.at(0), nullptr, nullptr));
        } else if (macro == "WORD_POP") {
            out.word_states.push_back(state_named(a.at(a.size() - 2)));
        } else {
            out.word_states.push_back(state_named(a.at(0)));
        }
    }
    return out;
}

template <class T>
bool spelled_as(const T& entry, const char* canonical, const std::string& spelling) {
    if (spelling == canonical) return true;
    for (const char* form : entry.other_forms())
        if (spelling == form) return true;
    return false;
}

// Holds the rule file against the tables: returns what does not agree.
std::vector<std::string> disagreements(const std::string& rule_file) {
    std::vector<std::string> out;
    std::map<const StatementInfo*, std::set<std::string>> statement_spellings;
    std::map<const StatementInfo*, bool> statement_prefixed;
    std::map<const WordInfo*, std::set<std::string>> word_spellings;
    for (const Rule& r : read_rules(rule_file)) {
        const std::string where = "rule at line " + std::to_string(r.line) + " " + r.pattern + ": ";
        // Lines that a ~F marker starts are passed over, whatever follows.
        if (r.pattern.rfind("^\"~F\"", 0) == 0) continue;
        const Reports reports = reports_of(r);
        if (reports.statements.empty() && reports.word_states.empty()) {
            if (has_keyword(r.pattern) && r.action.find("syntax_error") == std::string::npos)
                out.push_back(where + "takes a keyword and reports no entry of the tables");
            continue;
        }
        const Spelled spelled = spell(r.pattern);
        for (const StatementInfo* s : reports.statements) {
            if (s == nullptr) {
                out.push_back(where + "names no single entry of the tables");
                continue;
            }
            if (r.states != "*" && !s->any_kind) {
                const std::vector<std::string> states = split(r.states, ',');
                if (std::find(states.begin(), states.end(), format::state_name(s->state)) == states.end())
                    out.push_back(where + "reports a statement of another state: " + s->spelling);
            }
            statement_prefixed[s] = statement_prefixed[s] || spelled.prefixed;
            for (const std::string& sp : spelled.spellings) {
                statement_spellings[s].insert(sp);
                if (!spelled_as(*s, s->spelling, sp))
                    out.push_back(where + "takes \"" + sp + "\", not a spelling of its entry " + s->spelling);
            }
        }
        for (State st : reports.word_states) {
            for (const std::string& sp : spelled.spellings) {
                const WordInfo* found = nullptr;
                for (const WordInfo* w : format::words_in(st))
                    if (spelled_as(*w, w->spelling(), sp)) found = w;
                if (found == nullptr) out.push_back(where + "takes the word \"" + sp + "\", which the tables lack");
                else word_spellings[found].insert(sp);
            }
        }
    }
    for (const StatementInfo& s : format::all_statements()) {
        const std::string what = std::string(format::state_name(s.state)) + " " + s.spelling + " (" +
                                 format::state_name(s.enters) + "): ";
        const auto it = statement_spellings.find(&s);
        if (it == statement_spellings.end()) {
            out.push_back(what + "no rule reports it");
            continue;
        }
        for (const char* form : s.other_forms())
            if (!it->second.count(form)) out.push_back(what + "no rule takes its form " + form);
        if (statement_prefixed[&s] != s.prefixed) out.push_back(what + "its rules and its entry differ on the line prefix");
    }
    for (const WordInfo& w : format::all_words()) {
        const std::string what = std::string(format::state_name(w.state)) + " word " + w.spelling() + ": ";
        const auto it = word_spellings.find(&w);
        if (it == word_spellings.end()) {
            out.push_back(what + "no rule takes it");
            continue;
        }
        for (const char* form : w.other_forms())
            if (!it->second.count(form)) out.push_back(what + "no rule takes its form " + form);
    }
    return out;
}

TEST(LanguageTables, EveryKeywordRuleOfTheRuleFileReportsAnEntryWithItsSpellings) {
    const std::string rules = read_file(RULE_FILE);
    ASSERT_FALSE(rules.empty());
    for (const std::string& d : disagreements(rules)) ADD_FAILURE() << d;
}

TEST(LanguageTables, ARuleOrAnEntryOnOneSideAloneIsCaught) {
    const std::string rules = read_file(RULE_FILE);
    const std::string anchor = "^\"#END_FORM\"";
    ASSERT_NE(rules.find(anchor), std::string::npos);
    // A statement added to the rule file alone.
    std::string more = rules;
    more.insert(more.find(anchor), "^{PFX}\"FORM_HINT\"{BL}*\"=\"    PUSH_USHORT(&REC.form.focused);\n");
    const std::vector<std::string> extra_rule = disagreements(more);
    ASSERT_EQ(extra_rule.size(), 1u);
    EXPECT_NE(extra_rule[0].find("FORM_HINT"), std::string::npos);
    // A form of an entry that its rule lost, and a rule that lost its report.
    std::string fewer = rules;
    const std::string alias = "|\"CONTROL_ADD_ATTR\"";
    fewer.erase(fewer.find(alias), alias.size());
    const std::string report = "SAY(FIELD, \"FIELD_FONT=\"); ";
    fewer.erase(fewer.find(report), report.size());
    const std::vector<std::string> lost = disagreements(fewer);
    EXPECT_EQ(lost.size(), 6u);  // four CONTROL_ADD. entries, FIELD_FONT= unreported, its rule unreporting
}

// ---------------------------------------------------------------- look-ups

TEST(LanguageTables, AliasesAreOneEntryAndLookUpsFindThem) {
    const StatementInfo* font_colour = format::find_statement(State::String, "STRING_FONT_COLOR=");
    ASSERT_NE(font_colour, nullptr);
    EXPECT_EQ(format::find_statement(State::String, "string_color="), font_colour);
    EXPECT_EQ(font_colour->field, FieldId::StringFontColor);
    EXPECT_EQ(format::find_statement(State::String, "STRING_FONT="), format::find_statement(State::String, "string_font="));
    EXPECT_NE(format::find_statement(State::String, "STRING_FONT="), font_colour);
    EXPECT_EQ(format::find_statement(State::Form, "UIOBJECT.ID=")->field, FieldId::FormObjectId);
    EXPECT_EQ(format::find_statement(State::Menu, "MENU_ITEMX="), nullptr);  // S or a digit only
    EXPECT_EQ(format::find_statement(State::Textbox, "NAME=")->spelling, std::string("NAME="));
    EXPECT_EQ(format::find_word(State::ReadColor, "COLOR_WHITISH")->code, format::kColorWhite);
    EXPECT_EQ(format::find_word(State::TextboxBackLine, "WITHOUT_LINE"), nullptr);
    EXPECT_EQ(format::find_word(State::FieldBackLine, "WITHOUT_LINE")->code, format::kNoLine);

    // Each field's statements, and each state's name both ways.
    for (const StatementInfo* s : format::statements_setting(FieldId::CheckboxBitmap2))
        EXPECT_EQ(s->state, State::ControlAddCheckbox);
    for (size_t i = 0; i < format::kStateCount; ++i) {
        const State s = static_cast<State>(i);
        EXPECT_EQ(format::state_of_name(format::state_name(s)), s);
    }
}

TEST(LanguageTables, NumberReadersStoreAsTheScannerDoes) {
    const format::NumberReader& word = *format::number_reader(State::ReadWord);
    EXPECT_EQ(format::stored_number(word, -1), 65535);
    EXPECT_EQ(format::stored_number(word, INT32_MIN), INT32_MIN + 65536);
    EXPECT_EQ(format::stored_number(word, 5000000000LL), INT32_MAX);
    EXPECT_EQ(format::stored_number(*format::number_reader(State::ReadShort), 40000), 40000 - 65536);
    EXPECT_EQ(format::stored_number(*format::number_reader(State::ReadByte), 257), 1);
    EXPECT_EQ(format::number_reader(State::ReadString), nullptr);
    // The scanner keeps a negative 32-bit number 65536 higher through the same rule.
    const Outcome o = run("NAME=N\n#FIELD\nID=1\nOBJECT.TYPE=FIELD\nFIELD_MAX_NUM_CHARS=-2\n#END_FIELD\n");
    ASSERT_FALSE(o.records.empty());
    EXPECT_EQ(o.records.front().find(FieldId::FieldMaxChars)->value, static_cast<uint32_t>(format::stored_word(-2)));
}

}  // namespace

namespace {

// The string literals of a source file, outside comments.
std::vector<std::string> literals_of(const std::string& source) {
    std::vector<std::string> out;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source.compare(i, 2, "//") == 0) {
            i = source.find('\n', i);
            if (i == std::string::npos) break;
        } else if (source[i] == '\'') {
            i = source.find('\'', i + (source[i + 1] == '\\' ? 3 : 2));  // a character literal
        } else if (source[i] == '"') {
            std::string text;
            for (++i; i < source.size() && source[i] != '"'; ++i) {
                if (source[i] == '\\') ++i;
                text += source[i];
            }
            out.push_back(text);
        }
    }
    return out;
}

}  // namespace

TEST(Language, NoStatementOrWordIsSpelledOutsideTheTables) {
    // The checker, the server and the dump know statements and words by
    // their entries: no literal of theirs is a spelling (a sentence of a
    // message may name one).
    std::set<std::string> spellings;
    for (const StatementInfo& s : format::all_statements()) spellings.insert(s.spelling);
    for (const WordInfo& w : format::all_words())
        if (std::string(w.spelling()).size() > 1) spellings.insert(w.spelling());
    const std::filesystem::path src = std::filesystem::path(RULE_FILE).parent_path().parent_path();
    size_t files = 0;
    for (const char* folder : {"check", "lsp", "dump"}) {
        for (const auto& entry : std::filesystem::directory_iterator(src / folder)) {
            ++files;
            for (const std::string& literal : literals_of(read_file(entry.path().string())))
                EXPECT_EQ(spellings.count(literal), 0u) << entry.path() << " spells \"" << literal << "\"";
        }
    }
    EXPECT_GT(files, 20u);
}
