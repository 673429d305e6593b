// The tables of the resource.bin format.
#include "format/format.h"
#include "format/layouts.h"

#include <array>

namespace orrinrc::format {

namespace {

constexpr KindInfo kKinds[kKindCount] = {
    {Kind::Form, "FORM", "#FORM", "#END_FORM"},
    {Kind::Control, "CONTROL", "#CONTROL", "#END_CONTROL"},
    {Kind::Field, "FIELD", "#FIELD", "#END_FIELD"},
    {Kind::List, "LIST", "#LIST", "#END_LIST"},
    {Kind::Menu, "MENU", "#MENU", "#END_MENU"},
    {Kind::Scrollbar, "SCROLLBAR", "#SCROLLBAR", "#END_SCROLLBAR"},
    {Kind::Table, "TABLE", "#TABLE", "#END_TABLE"},
    {Kind::Schline, "SCHLINE", "#SCHLINE", "#END_SCHLINE"},
    {Kind::String, "STRING", "#STRING", "#END_STRING"},
    {Kind::Bitmap, "BITMAP", "#BITMAP", "#END_BITMAP"},
    {Kind::Textbox, "TEXTBOX", "#TEXTBOX", "#END_TEXTBOX"},
    {Kind::Line, "LINE", "#LINE", "#END_LINE"},
};

constexpr bool kinds_in_code_order() {
    for (size_t i = 0; i < kKindCount; ++i)
        if (type_code(kKinds[i].kind) != i) return false;
    return true;
}
static_assert(kinds_in_code_order(), "the kinds table is indexed by type code");

const char* const kObjectTypeNames[] = {"FORM",  "CONTROL", "FIELD",  "LIST",   "MENU",    "SCROLLBAR",
                                        "TABLE", "SCHLINE", "STRING", "BITMAP", "TEXTBOX", "LINE"};
const char* const kColorNames[] = {"COLOR_WHITE", "COLOR_GREY1", "COLOR_GREY2", "COLOR_BLACK"};
const char* const kFontNames[] = {"SMALL_FONT", "MEDIUM_FONT", "LARGE_FONT"};
const char* const kAlignmentNames[] = {"LEFT", "CENTRE", "RIGHT"};
const char* const kFormStyleNames[] = {"BACKGROUND", "NORMAL", "BITMAP_DIALOG", "NON_BITMAP_DIALOG"};
const char* const kControlStyleNames[] = {"BUTTON", "PUSH_BUTTON", "REPEAT_BUTTON", "CHECKBOX", "POPUP_TRIGGER"};
const char* const kBackLineNames[] = {"NO_LINE", "DOTTED_LINE", "GREY_LINE"};
const char* const kOrientationNames[] = {"VERTICAL", "HORIZONTAL"};
const char* const kLineStyleNames[] = {"DOTTED_LINE", "NON_DOTTED_LINE"};
const char* const kDataTypeNames[] = {"TABLE_TEXT", "TABLE_VALUE", "TABLE_UI_OBJECT"};

template <size_t N>
constexpr Vocabulary vocabulary(const char* const (&names)[N], bool fallback) {
    return Vocabulary{names, N, fallback};
}

}  // namespace

const Vocabulary kObjectTypeWords = vocabulary(kObjectTypeNames, false);
const Vocabulary kColorWords = vocabulary(kColorNames, false);
const Vocabulary kFontWords = vocabulary(kFontNames, false);
const Vocabulary kAlignmentWords = vocabulary(kAlignmentNames, false);
const Vocabulary kFormStyleWords = vocabulary(kFormStyleNames, false);
const Vocabulary kControlStyleWords = vocabulary(kControlStyleNames, false);
const Vocabulary kBackLineWords = vocabulary(kBackLineNames, false);
const Vocabulary kScrollbarStyleWords = vocabulary(kOrientationNames, false);
const Vocabulary kScrollbarTypeWords = vocabulary(kOrientationNames, true);
const Vocabulary kLineStyleWords = vocabulary(kLineStyleNames, true);
const Vocabulary kDataTypeWords = vocabulary(kDataTypeNames, false);

const KindInfo& kind_info(Kind k) { return kKinds[type_code(k)]; }

const KindInfo* kind_of_code(uint32_t code) { return code < kKindCount ? &kKinds[code] : nullptr; }

const char* kind_keyword(uint32_t code) {
    const KindInfo* k = kind_of_code(code);
    return k ? k->keyword : nullptr;
}

std::span<const KindInfo> all_kinds() { return kKinds; }

std::span<const BlockLayout> record_blocks(Kind k) { return kRecordBlocks[type_code(k)]; }

std::span<const BlockLayout> control_style_blocks(uint32_t style) {
    if (style >= std::size(kControlStyleBlocks)) return {};
    return kControlStyleBlocks[style];
}

std::span<const FieldId> table_cell_fields() { return kCellFields; }

const BlockLayout& form_bitmap_block(uint32_t form_style) {
    return form_stores_bitmap(form_style) ? tables::kFormBitmapShown : tables::kFormBitmapNotStored;
}

const BlockLayout& control_subtype_block(uint32_t control_style) {
    return control_style == kCheckbox ? tables::kControlSubtypeNotStored : tables::kControlSubtype;
}

}  // namespace orrinrc::format
