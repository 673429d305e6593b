// orrinrc-check's listener: follows the compiler's own scanner through one
// input, knows where every match lies, and turns the run's events and the
// records it fills into diagnostics.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bitmap/bmp_import.h"
#include "check/diagnostics.h"
#include "check/hints.h"
#include "check/kept_text.h"
#include "check/sink.h"
#include "check/spellings.h"
#include "check/warnings.h"
#include "run/listener.h"
#include "resources/records.h"

namespace orrinrc::check {

struct CheckOptions {
    bool quiet = false;   // errors only
    bool werror = false;  // warnings are errors
    // JSON lines instead of text: each diagnostic (render_json), and each
    // resource as its definition ends (its kind, NAME, ID and lines).
    bool json = false;
    std::array<bool, kWarningCount> disabled = warnings_off_by_default();
    std::array<bool, kWarningCount> promoted{};  // -Werror=NAME: this warning is an error
};

class Checker final : public RunListener {
public:
    // Diagnostics and definitions go to `sink`, which must outlive the checker.
    Checker(CheckOptions options, CheckSink& sink);

    void text_read(const char* text, size_t length) override;
    void scanned(const ScanEvent* events, size_t count) override;
    void read_on(const char* text, size_t length) override;
    void copied_out(const char* text, size_t length) override;
    void definition_opened(format::Kind kind) override;
    void object_type_line(format::Kind kind) override;
    void definition_ending(uint16_t id, const Records& records, const Text& name) override;
    void picture(const BitmapRecord& bm, const std::string& path, const std::string& file,
                 const std::string& failure) override;
    void syntax_error(const char* state) override;
    void input_ended_inside_definition() override;
    void missing_name(uint16_t id) override;
    void failed(const Error& error) override;

    // The input ended: the checks across resources, then the exit code (1
    // when an error was reported, or a warning with -Werror or -Werror=NAME).
    int finish();

    // After an error, the check goes on with a new run of the scanner from
    // the line `line`, which opens a definition: what was learnt of the
    // resources before is kept, the positions start again at that line. The
    // new run's records start from zero, not from the values of the
    // definitions before (see fresh_kinds_).
    void restart(uint32_t line);
    // The line the scanner was on when the run stopped.
    uint32_t failure_line() const { return token_at_.line != 0 ? token_at_.line : line_; }
    size_t errors() const { return errors_; }

private:
    // A line's place and text, kept for notes and for checks at the end.
    struct LineRef {
        Location at;
        std::string_view source;  // kept in kept_ (or a literal)
    };
    struct Resource {
        format::Kind kind;
        uint16_t id;
        std::string_view name;  // kept in kept_
        LineRef opened;
        LineRef named;  // its NAME= line, or its opening line
        int16_t x, y, width, height;
        bool visible = true;  // its visible attribute, where its kind has one
        uint16_t push_group = 0;  // a push button that is on: its group (0 for none)
    };
    static constexpr uint16_t kNoType = 0xFFFF;  // the form gives no type for the object
    struct FormObject {
        uint16_t id;
        uint16_t type;
        LineRef line;       // its identifier line
        LineRef type_line;  // its type line, or its identifier line
    };
    struct FormCheck {
        size_t resource;  // index in resources_
        std::vector<FormObject> objects;  // the ones this definition lists
        std::vector<uint16_t> written;    // every identifier its record holds
        uint16_t focused;
        std::optional<LineRef> focused_line;
    };
    // A statement where the text gives it: its entry in the language's
    // tables and its match.
    struct Said {
        const format::StatementInfo* info = nullptr;
        Location at;
        uint32_t length = 0;
    };
    // A statement with the group or opener it follows ("BOUNDS." then
    // "X="; "CONTROL_ATTR." then "ENABLE="). Its text, for messages, is
    // made from the lines only when a message needs it.
    struct Spoken {
        enum class Head : uint8_t {
            Written,         // the head as written (or none)
            CheckboxOpener,  // a check-box line: CONTROL_ADD. unless written with it
            CheckboxGroup,   // a line of a check-box picture
        };
        Said head;
        Said own;
        Head head_form = Head::Written;
    };

    // The definition being read. One object serves every definition in turn,
    // its storage kept from one to the next.
    struct Definition {
        // Declared, so that the optional below can make one before the
        // members' initializers are read.
        Definition() {}
        format::Kind kind = format::Kind::Form;
        LineRef opened;
        bool object_type = false;
        // Statements that OBJECT.TYPE= undoes, given before it.
        std::vector<Spoken> undoable;
        // The FILE= line of each picture group that a later line of the
        // group would drop.
        std::vector<std::pair<const format::StatementInfo*, Location>> files;
        std::vector<Location> object_ids;   // FORM: the object identifier lines
        std::vector<Location> object_types; // FORM: the object type lines
        std::vector<std::pair<format::FieldId, Location>> picture_files;  // BITMAP: its pictures' FILE= lines
        // The lines of the values that the checks at its end quote.
        std::vector<std::pair<format::FieldId, Location>> value_lines;
        Location line_of(format::FieldId field) const;
        std::vector<Location> cells;        // TABLE: the TABLE_DATA_TYPE= lines
        std::optional<Location> count_line; // FORM: NO_OF_OBJECTS=
        std::optional<Location> focused_line;
        std::optional<Location> id_line;    // the last ID= line
        std::optional<Location> width_line, height_line;  // the last BOUNDS.WIDTH= and HEIGHT= lines
        bool items_given = false;           // MENU_ITEM= / LIST_ITEM= lines
        // The fields it gives statements for, and the WIDTH= and HEIGHT=
        // lines of its picture groups (the group's statement, the line's).
        std::bitset<static_cast<size_t>(format::FieldId::Count_)> fields_given;
        std::vector<std::pair<const format::StatementInfo*, format::Role>> sizes_given;
        std::vector<std::pair<bool, bool>> cell_colours;  // TABLE: font, background colour given

        void start(format::Kind k, LineRef at);
    };

    // What the matches of a scanner state are, for the checks of values.
    struct StateClass {
        enum Role { Other, Text, Number } role = Other;
        const format::NumberReader* reader = nullptr;
        // Numbers of up to this many characters that start with a digit
        // are in the range whatever follows them.
        size_t short_number = 0;
        bool definition = false;  // a kind's own state, not one of its sub-states
    };
    std::array<StateClass, format::kStateCount> classes_{};
    // The language's statements, by the entry a scan event gives.
    const std::span<const format::StatementInfo> statements_ = format::all_statements();

    void matched(format::State state, const char* text, size_t length, uint64_t offset);
    void statement(const format::StatementInfo& s);
    void given_back(size_t length);

    // The scanner's position passed the end of the current line (and maybe
    // more): the lines it passed are complete.
    void cross_lines();
    // The offset of the first line end at or after `from` in the text read
    // so far, or kNoLineEnd.
    uint64_t line_end_from(uint64_t from) const;
    void keep_lines_from(uint32_t line);
    std::string_view source_view(uint64_t from, uint64_t to) const {
        return std::string_view(source_).substr(static_cast<size_t>(from - source_base_), static_cast<size_t>(to - from));
    }
    void line_watched();
    static std::string_view value_of(const char* text, size_t length);
    void definition_statement(const format::StatementInfo& s);
    // The group just opened (group_) is one whose FILE= line was read.
    [[gnu::noinline]] void group_reopened();
    void sub_state_statement(const format::StatementInfo& s);
    void group_line(const format::StatementInfo& s);
    // The statement `s` at the current match: into `to`, or as the
    // statement being read (current_) after `head` (none: nothing before it).
    void said(Said& to, const format::StatementInfo& s) const;
    void speak(const Said* head, const format::StatementInfo& s, Spoken::Head form);
    void check_number(const format::NumberReader& reader, std::string_view value);
    void number_warning(const format::NumberReader& reader, std::string_view digits, int64_t value, size_t start);
    void check_text(std::string_view value);
    // Gathers a text value line and checks it once whole.
    void text_value_piece(std::string_view t);
    // The text of a line, when it is one that is kept (else empty): valid
    // until the next match.
    std::string_view line_text(uint32_t line) const;
    std::string_view current_line() const;
    LineRef line_ref(Location at);

    // "-Wname" or "-Werror,-Wname".
    const std::string& flag(Warning w);
    std::array<std::string, static_cast<size_t>(Warning::Count_)> flags_;
    void warn(Warning w, Location at, std::string message, std::vector<Note> notes = {});
    // A warning at a line kept from earlier (its text is not at hand any more).
    void warn(Warning w, const LineRef& line, std::string message, std::vector<Note> notes = {});
    void error(Location at, std::string message, std::vector<Note> notes = {});
    void emit(Diagnostic d);
    Note note_at(const std::string& text, Location at) const;
    void stray_warning(uint32_t line, uint32_t column, std::string_view source);

    // Reports a resource whose definition ends at `end`.
    void emit_definition(const Resource& r, Location end);
    void check_form_end(size_t index);
    // A MENU or LIST without item lines repeats the previous one's items.
    void carried_items(const char* kind, size_t count);
    // The checks of a definition's own values as it ends.
    [[gnu::noinline]] void check_bounds(const Resource& r);
    void check_values(const Records& rec, const Resource& r);
    void check_scroll_value(const ScrollBarRecord& s);
    void check_column_widths(const TableRecord& t, const Resource& r);
    void check_text_width(const Text& text, uint32_t font, long room, format::FieldId field, const Resource& r);
    void check_listed_twice(const FormCheck& form);
    // The checks across the objects of each form, at the end.
    void check_form_objects(const FormCheck& form);
    void check_orphans();
    void check_picture_place(const BitmapRecord& picture, format::FieldId field, const Resource& r);
    // A FILE= line whose value is no depth word and comma before a name.
    void file_value_error(Location at);
    void check_colours(uint8_t font, uint8_t background, bool has_text, Location at, const char* what,
                       bool both_given);
    // Whether the definition gives a statement that sets the field, in any
    // of its spellings.
    bool given(format::FieldId field) const;

    CheckOptions options_;
    CheckSink& sink_;
    // The run's records, from the first definition that ends.
    const Records* records_ = nullptr;

    // The text read, from the start of the first line kept on: the current
    // line and the one before it, and from the opening line of the latest
    // definition on (for notes); and the text read ahead of the scanner.
    std::string source_;
    uint64_t source_base_ = 0;  // the offset of its first byte
    static constexpr uint64_t kNoLineEnd = UINT64_MAX;
    static constexpr size_t kDropAtLeast = 1 << 16;
    uint32_t line_ = 1;
    uint64_t line_start_ = 0;         // where the current line starts
    uint64_t line_end_ = kNoLineEnd;  // its line end, once read
    uint64_t pos_ = 0;                // where the scanner is: the end of the last match
    // The line whose end has something to do (a diagnostic waits for its
    // text, or its text is kept: see line_watched), or 0.
    uint32_t watch_line_ = 0;
    std::vector<uint64_t> line_starts_{0};  // where each kept line starts; the last is line_'s
    uint32_t first_line_ = 1;               // the number of the first line kept
    Location token_at_;
    size_t token_length_ = 0;
    format::State match_state_ = format::State::Initial;  // the state of the last match
    // Where the value of a FILE= line started to be copied out: no depth
    // word and comma came first.
    std::optional<Location> file_value_at_;
    // The statement whose value is being read, and the picture or bounds
    // group (or the opener) that the lines after it belong to.
    Spoken current_;
    Said group_;
    bool checkbox_group_ = false;
    bool statement_empty() const { return current_.own.info == nullptr; }
    // A statement's match as written, in the form messages quote it.
    std::string written(const Said& said) const;
    std::string text_of(const Spoken& s) const;
    std::string statement_text() const { return text_of(current_); }
    std::string group_text() const;
    std::string text_value_;                 // the pieces of a text value line so far
    std::optional<Location> text_value_at_;  // where its first piece starts
    std::optional<Location> file_at_;  // the FILE= line of the picture due
    std::string file_source_;
    std::optional<LineRef> name_line_;  // the NAME= line of the resource due

    // Diagnostics that wait for the rest of their line.
    std::vector<Diagnostic> waiting_;
    std::optional<Location> stray_at_;  // a stray text warning due at the line's end
    bool stray_reported_ = false;
    std::optional<Diagnostic> error_;
    bool reported_ = false;  // the run's error has been printed
    size_t errors_ = 0;      // errors printed, of every run
    bool picture_reported_ = false;  // the last error was a picture's, printed at once
    // Set when a run stopped inside a definition: its identifier (where its
    // ID= line was read) is not "undefined" to the forms that list it, and
    // what a FORM that failed would have listed is not known.
    std::vector<uint16_t> failed_ids_;
    bool any_failure_ = false;
    bool open_ = false;  // a definition is open
    // By kind: no definition of the kind has ended since the last restart,
    // so the record holds zeros where the compiler would hold the values of
    // the previous definition of the kind. Checks that depend on such
    // values are skipped for that first definition (def_fresh_).
    std::array<bool, format::kKindCount> fresh_kinds_{};
    bool def_fresh_ = false;
    void note_failed_definition();
    bool finished_ = false;  // the input ended without an error
    size_t errors_from_warnings_ = 0;  // warnings reported as errors (-Werror, -Werror=NAME)
    bool as_error_(Warning w) const { return options_.werror || options_.promoted[static_cast<size_t>(w)]; }

    std::optional<Definition> def_;
    std::string word_;  // scratch for normal_statement()
    // Names and lines quoted by later warnings, kept to the end.
    KeptText kept_;
    std::array<std::string_view, format::kKindCount> opening_lines_{};  // the last kept of each kind
    std::deque<Resource> resources_;
    NameIndex names_;                 // resources_ by name: the first of each
    std::vector<uint32_t> id_owner_;  // by identifier: the first resource that has it, or kNoResource
    static constexpr uint32_t kNoResource = UINT32_MAX;
    std::vector<FormCheck> forms_;
    // Picture file facts by file name: within one run a name stands for one
    // picture. The last few are kept.
    struct PictureFacts {
        std::string file;
        bool read;
        BmpFacts facts;
    };
    static constexpr size_t kPictureFactsKept = 16;
    std::vector<PictureFacts> picture_facts_;
    size_t next_picture_ = 0;
    bool facts_of(const std::string& file, BmpFacts& facts);
};

}  // namespace orrinrc::check
