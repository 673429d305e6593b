// orrinrc-check's listener: follows the compiler's own scanner through one
// input, knows where every match lies, and turns the run's events and the
// records it fills into diagnostics.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "check/diagnostics.h"
#include "check/hints.h"
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
    std::array<bool, static_cast<size_t>(Warning::Count_)> disabled{};
};

class Checker final : public RunListener {
public:
    // Diagnostics go to `out`.
    Checker(std::string file, CheckOptions options, FILE* out);

    void matched(const char* state, const char* text, size_t length) override;
    void given_back(size_t length) override;
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

    // The input ended without an error: the checks across resources, then
    // the exit code (1 when -Werror and a warning was reported).
    int finish();

private:
    // A line's place and text, kept for notes and for checks at the end.
    struct LineRef {
        Location at;
        std::string source;
    };
    struct Resource {
        format::Kind kind;
        uint16_t id;
        std::string name;
        LineRef opened;
        LineRef named;  // its NAME= line, or its opening line
        int16_t x, y, width, height;
    };
    static constexpr uint16_t kNoType = 0xFFFF;  // the form gives no type for the object
    struct FormObject {
        uint16_t id;
        uint16_t type;
        LineRef line;
    };
    struct FormCheck {
        size_t resource;  // index in resources_
        std::vector<FormObject> objects;  // the ones this definition lists
        std::vector<uint16_t> written;    // every identifier its record holds
        uint16_t focused;
        std::optional<LineRef> focused_line;
    };
    // The definition being read.
    struct Definition {
        format::Kind kind;
        LineRef opened;
        bool object_type = false;
        // Statements that OBJECT.TYPE= undoes, given before it.
        std::vector<std::pair<std::string, Location>> undoable;
        // The FILE= line of each picture group.
        std::map<std::string, Location> files;
        std::vector<Location> object_ids;   // FORM: the object identifier lines
        std::vector<Location> cells;        // TABLE: the TABLE_DATA_TYPE= lines
        std::optional<Location> count_line; // FORM: NO_OF_OBJECTS=
        std::optional<Location> focused_line;
        std::optional<Location> id_line;    // the last ID= line
        bool items_given = false;           // MENU_ITEM= / LIST_ITEM= lines
        std::vector<std::string> given;     // the statements it gives
        std::vector<std::pair<bool, bool>> cell_colours;  // TABLE: font, background colour given
    };

    // What the matches of a scanner state are.
    struct StateClass {
        const char* name;
        enum Role { Other, Text, Number, Value, Group, Checkbox, Definition } role;
        std::optional<format::Kind> kind;
        std::optional<NumberRange> range;
    };
    const StateClass& classify(const char* state);

    void advance(const char* text, size_t length);
    void line_completed();
    void handle_statement(std::string_view word);
    // A statement as the scanner takes it: without its line prefix, blanks
    // and line end, in capitals ("(1) Form_Style =" is "FORM_STYLE=").
    std::string_view normalize(std::string_view t);
    void handle_value(const StateClass& c, std::string_view value);
    // Gathers a text value line and handles it once whole.
    void text_value_piece(const StateClass& c, std::string_view t);
    std::string line_text(uint32_t line) const;
    LineRef line_ref(Location at) const;

    void warn(Warning w, Location at, std::string message, std::vector<Note> notes = {});
    // A warning at a line kept from earlier (its text is not at hand any more).
    void warn(Warning w, const LineRef& line, std::string message, std::vector<Note> notes = {});
    void error(Location at, std::string message, std::vector<Note> notes = {});
    void emit(Diagnostic d);
    Note note_at(const std::string& text, Location at) const;
    void stray_warning(uint32_t line, uint32_t column, const std::string& source);

    // The JSON line of a resource whose definition ends at `end`.
    void emit_definition(const Resource& r, Location end);
    void check_form_end(size_t index);
    // A MENU or LIST without item lines repeats the previous one's items.
    void carried_items(const char* kind, size_t count);
    void check_colours(uint8_t font, uint8_t background, bool has_text, Location at, const char* what,
                       bool both_given);
    bool given(std::string_view statement) const;

    std::string file_;
    CheckOptions options_;
    FILE* out_;
    // The run's records, from the first definition that ends.
    const Records* records_ = nullptr;

    uint32_t line_ = 1;
    uint32_t column_ = 1;
    std::string line_text_;
    uint32_t previous_line_ = 0;
    std::string previous_text_;
    Location token_at_;
    size_t token_length_ = 0;
    std::string statement_;        // the statement whose value is being read
    std::string text_value_;       // the pieces of a text value line so far
    std::optional<Location> text_value_at_;  // where its first piece starts
    Location statement_at_;
    std::string group_;            // the picture or bounds group ("FORM_BITMAP.")
    std::optional<Location> file_at_;  // the FILE= line of the picture due
    std::string file_source_;
    std::optional<LineRef> name_line_;  // the NAME= line of the resource due

    // Diagnostics that wait for the rest of their line.
    std::vector<Diagnostic> waiting_;
    std::optional<Location> stray_at_;  // a stray text warning due at the line's end
    bool stray_reported_ = false;
    std::optional<Diagnostic> error_;
    bool reported_ = false;  // the error has been printed
    bool finished_ = false;  // the input ended without an error
    size_t warnings_ = 0;

    std::optional<Definition> def_;
    // The text of the lines of the definition being read, one after the
    // other, and where each starts (kept for notes; the storage is reused).
    std::string def_text_;
    std::vector<uint32_t> def_line_starts_;
    std::string word_;  // the statement being looked at, as normalize() gives it
    std::vector<Resource> resources_;
    std::map<std::string, size_t> names_;
    std::map<uint16_t, size_t> ids_;
    std::vector<FormCheck> forms_;
    std::vector<StateClass> classes_;
    std::unordered_map<const char*, size_t> class_of_;
};

}  // namespace orrinrc::check
