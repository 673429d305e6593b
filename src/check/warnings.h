// The warnings of orrinrc-check: each has a name (for -Wno-NAME) and a
// line for the help and the user guide. One table, used by both.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace orrinrc::check {

enum class Warning {
    StrayText,
    NumberRange,
    Name,
    DuplicateName,
    DuplicateId,
    UndefinedObject,
    ObjectKind,
    Focus,
    OutsideForm,
    ObjectCount,
    PictureSize,
    UndoneLine,
    CarriedOver,
    InvisibleText,
    NoObjectType,
    TextBlank,
    TextComment,
    NegativeSize,
    PictureOutside,
    SelectedItem,
    PushGroup,
    MaxChars,
    ListedTwice,
    ScrollValue,
    ColumnWidth,
    OrphanObject,
    Overlap,
    TextWidth,
    Count_
};
inline constexpr size_t kWarningCount = static_cast<size_t>(Warning::Count_);

struct WarningInfo {
    Warning warning;
    const char* name;
    const char* description;
    bool on = true;  // reported unless -Wno-NAME; else only with -WNAME
};

std::span<const WarningInfo> all_warnings();
const WarningInfo& warning_info(Warning w);
// The warning of a name, or Count_ when there is none.
Warning warning_named(std::string_view name);
// By warning: whether it is off unless asked for.
std::array<bool, kWarningCount> warnings_off_by_default();

}  // namespace orrinrc::check
