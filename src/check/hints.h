// What each scanner state takes, in plain words, for the notes of a
// diagnostic: the statements of a definition, the words of a keyword value,
// the range of a number. Built from the format module's tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/format.h"

namespace orrinrc::check {

struct StateHelp {
    std::string place;                 // "a FORM definition", "a colour"
    std::vector<std::string> choices;  // the statements or words valid there
    std::string takes;                 // for values: "a number from 0 to 65535"
};

StateHelp state_help(std::string_view state);

// The definition kind of a state that is a kind's own ("FORM"), if any.
std::optional<format::Kind> definition_kind(std::string_view state);

// The statements of a kind's definition as a line starts them ("ID=",
// "BOUNDS.", "FORM_STYLE=", "#END_FORM").
std::vector<std::string> kind_statements(format::Kind kind);

// The range of the number reader of a state, when it is one.
struct NumberRange {
    int64_t min;
    int64_t max;
    const char* what;  // "a 16-bit unsigned number"
};
std::optional<NumberRange> number_range(std::string_view state);

// The stored value of a number a reader of that range keeps.
int64_t stored_value(const NumberRange& range, int64_t value);

// Whether the matches of a state are a value (a number, a text, a word)
// rather than a statement or a part of one.
bool value_state(std::string_view state);

// The kind whose definition a state belongs to: the kind's own state or one
// of its sub-states ("CONTROL_ADD_BUTTON" is CONTROL's).
std::optional<format::Kind> state_kind(std::string_view state);

// The fields that a whole statement of a kind sets: "FORM_STYLE=",
// "CONTROL_ADD.RADIUS=" (one per control style that has it), "BOUNDS.X="
// (the bounds). Empty for ID=, NAME= and what is no statement of the kind.
std::vector<format::FieldId> statement_fields(format::Kind kind, std::string_view statement);

// One line on a statement of a kind, whole or as a line starts it
// ("CONTROL_ATTR."): what it sets and the value it takes. Empty when it is
// no statement of the kind.
std::string statement_summary(format::Kind kind, std::string_view statement);

// What the value of a field takes: "an unsigned 16-bit number from 0 to
// 65535", "BACKGROUND, NORMAL, BITMAP_DIALOG or NON_BITMAP_DIALOG".
std::string field_takes(format::FieldId id);

}  // namespace orrinrc::check
