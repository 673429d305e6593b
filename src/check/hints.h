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
#include "format/language.h"

namespace orrinrc::check {

struct StateHelp {
    std::string place;                 // "a FORM definition", "a colour"
    std::vector<std::string> choices;  // the statements or words valid there
    std::string takes;                 // for values: "a number from 0 to 65535"
};

StateHelp state_help(format::State state);

// The definition kind of a state that is a kind's own (FORM), if any.
std::optional<format::Kind> definition_kind(format::State state);

// The statements of a kind's definition as a line starts them ("ID=",
// "BOUNDS.", "FORM_STYLE=", "#END_FORM").
std::vector<std::string> kind_statements(format::Kind kind);

// Whether the matches of a state are a value (a number, a text, a word)
// rather than a statement or a part of one.
bool value_state(format::State state);

// The kind whose definition a state belongs to: the kind's own state or one
// of its sub-states (CONTROL_ADD_BUTTON is CONTROL's).
std::optional<format::Kind> state_kind(format::State state);

// A statement as a line writes it ("FORM_STYLE=", "BOUNDS.X=",
// "CONTROL_ATTR.ENABLE=", "GROUP_ID=" on a check-box line), found in the
// language's tables for a kind: the statement itself (`own`) and, for a
// group's line or a sub-state's statement, the one that opens it (`head`).
// Both null when it is no statement of the kind.
struct FoundStatement {
    const format::StatementInfo* head = nullptr;
    const format::StatementInfo* own = nullptr;
};
FoundStatement find_in_kind(format::Kind kind, std::string_view statement);

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
