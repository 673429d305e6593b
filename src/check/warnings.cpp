// The table of warnings.
#include "check/warnings.h"

namespace orrinrc::check {

namespace {

constexpr WarningInfo kWarnings[] = {
    {Warning::StrayText, "stray-text",
     "text that no statement takes (a misspelt or indented top-level line, a byte-order mark): it is copied to "
     "standard output and its definition is lost"},
    {Warning::NumberRange, "number-range", "a number that does not fit its field and is stored wrapped"},
    {Warning::Name, "name", "a NAME= that is not a C identifier, so resource.h does not compile"},
    {Warning::DuplicateName, "duplicate-name", "two resources with one NAME: resource.h defines it twice"},
    {Warning::DuplicateId, "duplicate-id", "two resources with one identifier"},
    {Warning::UndefinedObject, "undefined-object", "a form lists an identifier that no resource has"},
    {Warning::ObjectKind, "object-kind", "a form lists an object as another kind than the resource it names"},
    {Warning::Focus, "focus", "FOCUSED_OBJECT= names no object of its form"},
    {Warning::OutsideForm, "outside-form", "an object whose bounds reach outside the form that lists it"},
    {Warning::ObjectCount, "object-count",
     "NO_OF_OBJECTS= counts more objects than the form lists (the rest are written as identifier 0, type FORM)"},
    {Warning::PictureSize, "picture-size",
     "a picture whose BMP file is larger or smaller than its WIDTH= and HEIGHT=, is cut short, or has no size"},
    {Warning::UndoneLine, "undone-line",
     "a line whose effect a later line undoes (a text before OBJECT.TYPE=, a picture line after its FILE= line)"},
    {Warning::CarriedOver, "carried-over",
     "items or objects kept from the previous definition of the kind because this one gives none"},
    {Warning::InvisibleText, "invisible-text", "a text whose font colour is its background colour"},
    {Warning::NoObjectType, "missing-object-type", "a definition without its OBJECT.TYPE= line"},
    {Warning::TextBlank, "text-blank", "a text that starts with a blank, which is part of the text"},
    {Warning::TextComment, "text-comment", "a text that ends in what looks like a // comment, which is part of it"},
    {Warning::NegativeSize, "negative-size", "an object whose bounds have a negative width or height: it is drawn nowhere"},
    {Warning::PictureOutside, "picture-outside",
     "a BITMAP's picture that its X= and Y= place partly outside the object's bounds"},
    {Warning::SelectedItem, "selected-item",
     "a list's or pop-up trigger's selected item beyond its items (counted from 0)"},
    {Warning::PushGroup, "push-group", "two push buttons of one group on one form that are both on"},
    {Warning::MaxChars, "max-chars", "a field whose FIELD_MAX_NUM_CHARS= is shorter than its own text"},
    {Warning::ListedTwice, "listed-twice", "a form that lists one object twice"},
    {Warning::ScrollValue, "scroll-value",
     "a scroll bar whose SCROLLBAR_CURRENT_VALUE= lies outside its minimum and maximum, or whose minimum is above "
     "its maximum"},
    {Warning::ColumnWidth, "column-width", "a table whose columns together are wider than the table"},
    {Warning::OrphanObject, "orphan-object", "an object that no form lists (off unless asked for)", false},
    {Warning::Overlap, "overlap",
     "visible objects of one form whose bounds overlap (off unless asked for; lines and hidden objects are left out)",
     false},
    {Warning::TextWidth, "text-width",
     "a button's, check box's or string's text wider than the object, estimated with the preview's font (off "
     "unless asked for)",
     false},
};

static_assert(std::size(kWarnings) == kWarningCount, "one row per warning");

}  // namespace

std::span<const WarningInfo> all_warnings() { return kWarnings; }

const WarningInfo& warning_info(Warning w) { return kWarnings[static_cast<size_t>(w)]; }

std::array<bool, kWarningCount> warnings_off_by_default() {
    std::array<bool, kWarningCount> off{};
    for (const WarningInfo& w : kWarnings) off[static_cast<size_t>(w.warning)] = !w.on;
    return off;
}

Warning warning_named(std::string_view name) {
    for (const WarningInfo& w : kWarnings)
        if (name == w.name) return w.warning;
    return Warning::Count_;
}

}  // namespace orrinrc::check
