// The tables of the resource.bin format.
#include "format/format.h"

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

namespace {

using F = FieldId;
using E = Encoding;

constexpr FieldSpec number(F id, E e, const char* statement) { return {id, e, statement, nullptr, nullptr, F::None}; }
constexpr FieldSpec choice(F id, const char* statement, const Vocabulary& w) {
    return {id, E::Choice, statement, &w, nullptr, F::None};
}
constexpr FieldSpec text(F id, const char* statement, F count = F::None) {
    return {id, E::Text, statement, nullptr, nullptr, count};
}
constexpr FieldSpec picture(F id, const char* statement, const char* name) {
    return {id, E::Bitmap, statement, nullptr, name, F::None};
}

}  // namespace

constexpr FieldSpec kFieldSpecs[] = {
    number(F::None, E::U8, ""),
    choice(F::ObjectType, "OBJECT.TYPE=", kObjectTypeWords),
    number(F::RelatedTableId, E::U16, "RELATED_TABLE_ID="),
    number(F::Bounds, E::Bounds, "BOUNDS."),
    // FORM
    number(F::FormFocused, E::U16, "FOCUSED_OBJECT="),
    choice(F::FormStyle, "FORM_STYLE=", kFormStyleWords),
    text(F::FormTitle, "FORM_TITLE="),
    picture(F::FormBitmap, "FORM_BITMAP.", "bitmap"),
    number(F::FormCount, E::U16, "NO_OF_OBJECTS="),
    number(F::FormObjectId, E::U16, "OBJECT_ID="),
    choice(F::FormObjectType, "OBJECT_TYPE=", kObjectTypeWords),
    // CONTROL
    choice(F::ControlStyle, "CONTROL_STYLE=", kControlStyleWords),
    number(F::ControlSubtype, E::U8, "CONTROL_SUBTYPE="),
    text(F::ControlText, "CONTROL_TEXT="),
    choice(F::ControlAlignment, "TEXT_ALIGNMENT=", kAlignmentWords),
    number(F::ControlEnable, E::Boolean, "CONTROL_ATTR.ENABLE="),
    number(F::ControlActive, E::Boolean, "CONTROL_ATTR.ACTIVE="),
    number(F::ControlVisible, E::Boolean, "CONTROL_ATTR.VISIBLE="),
    number(F::ButtonRadius, E::U16, "CONTROL_ADD.RADIUS="),
    choice(F::ButtonColorOn, "CONTROL_ADD.COLOR_ON=", kColorWords),
    choice(F::ButtonColorOff, "CONTROL_ADD.COLOR_OFF=", kColorWords),
    choice(F::PushColorOn, "CONTROL_ADD.COLOR_ON=", kColorWords),
    choice(F::PushColorOff, "CONTROL_ADD.COLOR_OFF=", kColorWords),
    number(F::PushGroupId, E::U16, "CONTROL_ADD.GROUP_ID="),
    number(F::PushValue, E::Boolean, "CONTROL_ADD.CONTROL_VALUE="),
    number(F::PushRadius, E::U16, "CONTROL_ADD.RADIUS="),
    picture(F::RepeatBitmap, "CONTROL_BITMAP.", "bitmap"),
    number(F::CheckboxGroupId, E::U16, "CONTROL_ADD.GROUP_ID="),
    number(F::CheckboxValue, E::Boolean, "CONTROL_VALUE="),
    picture(F::CheckboxBitmap1, "CONTROL_BITMAP.", "bitmap1"),
    picture(F::CheckboxBitmap2, "CONTROL_BITMAP.", "bitmap2"),
    number(F::PopupRadius, E::U16, "CONTROL_ADD.RADIUS="),
    number(F::PopupCount, E::U16, "CONTROL_ADD.NUM_OBJECTS="),
    number(F::PopupSelected, E::S16, "CONTROL_ADD.SELECTED_ITEM="),
    number(F::PopupTop, E::U16, "CONTROL_ADD.TOP_ITEM_NUM="),
    text(F::PopupItem, "CONTROL_ADD.ITEM=", F::PopupCount),
    // FIELD
    text(F::FieldText, "FIELD_TEXT="),
    number(F::FieldStyle, E::U8, "FIELD_STYLE="),
    choice(F::FieldBackLine, "FIELD_BACK_LINE=", kBackLineWords),
    choice(F::FieldFont, "FIELD_FONT=", kFontWords),
    choice(F::FieldFontColor, "FIELD_FONT_COLOR=", kColorWords),
    choice(F::FieldBackgroundColor, "FIELD_BACKGROUND_COLOR=", kColorWords),
    choice(F::FieldAlignment, "FIELD_TEXTMENT=", kAlignmentWords),
    number(F::FieldMaxChars, E::Word, "FIELD_MAX_NUM_CHARS="),
    number(F::FieldTopLine, E::Word, "FIELD_TOP_LINE_NUM="),
    number(F::FieldInsertPos, E::Word, "FIELD_INSERT_PT_CHAR_POS="),
    number(F::FieldHighlightStart, E::Word, "FIELD_HIGHLIGHT_START="),
    number(F::FieldHighlightEnd, E::Word, "FIELD_HIGHLIGHT_END="),
    number(F::FieldActive, E::Boolean, "FIELD_ATTR.FIELD_ACTIVE="),
    number(F::FieldEnable, E::Boolean, "FIELD_ATTR.FIELD_ENABLE="),
    number(F::FieldDirty, E::Boolean, "FIELD_ATTR.FIELD_DIRTY="),
    number(F::FieldHighlight, E::Boolean, "FIELD_ATTR.FIELD_HIGHLIGHT="),
    number(F::FieldInsertPtVisible, E::Boolean, "FIELD_ATTR.FIELD_INSERT_PT_VISIBLE="),
    number(F::FieldScrollbar, E::Boolean, "FIELD_ATTR.FIELD_SCROLLBAR="),
    number(F::FieldFullSize, E::Boolean, "FIELD_ATTR.FIELD_FULL_SIZE="),
    number(F::FieldVisible, E::Boolean, "FIELD_ATTR.FIELD_VISIBLE="),
    // LIST
    number(F::ListRelatedCount, E::U16, "LIST_NUM_RELATED_LIST_OBJECT="),
    number(F::ListRelatedObject, E::U16, "LIST_RELATED_OBJECT="),
    number(F::ListTotal, E::U16, "LIST_TOTAL_NUM_ITEMS="),
    number(F::ListOnDisplay, E::U16, "LIST_NUM_ITEMS_ON_DISPLAY="),
    number(F::ListTopItem, E::U16, "LIST_TOP_ITEM_NUM="),
    choice(F::ListAlignment, "LIST_TEXT_ALIGNMENT=", kAlignmentWords),
    number(F::ListSelected, E::S16, "LIST_SELECTED_ITEM="),
    number(F::ListStyle, E::U8, "LIST_STYLE="),
    choice(F::ListTextColor, "LIST_TEXT_COLOR=", kColorWords),
    choice(F::ListBackgroundColor, "LIST_BACKGROUND_COLOR=", kColorWords),
    text(F::ListItem, "LIST_ITEM=", F::ListTotal),
    number(F::ListEnable, E::Boolean, "LIST_ATTR.LIST_ENABLE="),
    number(F::ListVisible, E::Boolean, "LIST_ATTR.LIST_VISIBLE="),
    number(F::ListActive, E::Boolean, "LIST_ATTR.LIST_ACTIVE="),
    number(F::ListSetScroll, E::Boolean, "LIST_ATTR.LIST_SET_SCROLL="),
    number(F::ListSynchronous, E::Boolean, "LIST_ATTR.LIST_SYNCHRONOUS="),
    // MENU
    number(F::MenuCount, E::U16, "MENU_NUM_ITEMS="),
    number(F::MenuSelected, E::S16, "MENU_SELECTED_ITEM="),
    text(F::MenuItem, "MENU_ITEM=", F::MenuCount),
    number(F::MenuVisible, E::Boolean, "MENU_VISIBLE="),
    // SCROLLBAR
    number(F::ScrollbarMax, E::Word, "SCROLLBAR_MAX="),
    number(F::ScrollbarMin, E::Word, "SCROLLBAR_MIN="),
    number(F::ScrollbarValue, E::Word, "SCROLLBAR_CURRENT_VALUE="),
    number(F::ScrollbarPageSize, E::Word, "SCROLLBAR_PAGESIZE="),
    number(F::ScrollbarTotalLines, E::Word, "SCROLLBAR_TOTAL_NUM_LINES="),
    choice(F::ScrollbarStyle, "SCROLLBAR_STYLE=", kScrollbarStyleWords),
    choice(F::ScrollbarType, "SCROLLBAR_TYPE=", kScrollbarTypeWords),
    picture(F::ScrollbarArrow1, "SCROLLBAR_ARROW1_BITMAP.", "arrow1"),
    picture(F::ScrollbarArrow2, "SCROLLBAR_ARROW2_BITMAP.", "arrow2"),
    text(F::ScrollbarText, "SCROLLBAR_TEXT="),
    number(F::ScrollbarActive, E::Boolean, "SCROLLBAR_ATTR.SCROLLBAR_ACTIVE="),
    number(F::ScrollbarEnable, E::Boolean, "SCROLLBAR_ATTR.SCROLLBAR_ENABLE="),
    number(F::ScrollbarVisible, E::Boolean, "SCROLLBAR_ATTR.SCROLLBAR_VISIBLE="),
    // TABLE
    number(F::TableColumns, E::U16, "TABLE_NUM_COLUMN="),
    number(F::TableRows, E::U16, "TABLE_NUM_ROW="),
    number(F::TableColumnWidth, E::S16, "TABLE_COLUMN_WIDTH="),
    number(F::TableRowHeight, E::S16, "TABLE_ROW_HEIGHT="),
    number(F::TableTopRow, E::U16, "TABLE_TOP_ROW_NUM="),
    number(F::TableLeftColumn, E::U16, "TABLE_LEFT_COL_NUM="),
    number(F::TableStyle, E::U8, "TABLE_STYLE="),
    choice(F::TableBackgroundColor, "TABLE_BACKGROUND_COLOR=", kColorWords),
    picture(F::TableBitmap, "TABLE_CELL_BITMAP.", "bitmap"),
    choice(F::CellDataType, "TABLE_DATA_TYPE=", kDataTypeWords),
    number(F::CellUiObjectId, E::U16, "TABLE_UI_OBJECT_ID="),
    choice(F::CellFont, "TABLE_FONT=", kFontWords),
    number(F::CellValue, E::Word, "TABLE_VALUE="),
    choice(F::CellAlignment, "TABLE_TEXTMENT=", kAlignmentWords),
    choice(F::CellFontColor, "TABLE_FONT_COLOR=", kColorWords),
    choice(F::CellBackgroundColor, "TABLE_BACKGROUND_COLOR=", kColorWords),
    number(F::CellHighlight, E::Boolean, "TABLE_CELL_HIGHLIGHT="),
    number(F::CellHasBitmap, E::Boolean, "TABLECELL_HAS_BITMAP="),
    text(F::CellText, "TABLE_TEXT="),
    number(F::TableEnable, E::Boolean, "TABLE_ATTR.TABLE_ENABLE="),
    number(F::TableScrollbar, E::Boolean, "TABLE_ATTR.TABLE_SCROLLBAR="),
    number(F::TableActive, E::Boolean, "TABLE_ATTR.TABLE_ACTIVE="),
    number(F::TableHighlightEnable, E::Boolean, "TABLE_ATTR.TABLE_HIGHLIGHT_ENABLE="),
    number(F::TableVisible, E::Boolean, "TABLE_ATTR.TABLE_VISIBLE="),
    // SCHLINE
    number(F::SchlineEnable, E::Boolean, "SCHLINE_ATTR.ENABLE="),
    number(F::SchlineActive, E::Boolean, "SCHLINE_ATTR.ACTIVE="),
    number(F::SchlineVisible, E::Boolean, "SCHLINE_ATTR.VISIBLE="),
    // STRING
    number(F::StringStyle, E::U8, "STRING_STYLE="),
    text(F::StringText, "STRING_TEXT="),
    choice(F::StringFontColor, "STRING_FONT_COLOR=", kColorWords),
    choice(F::StringBackgroundColor, "STRING_BACKGROUND_COLOR=", kColorWords),
    choice(F::StringFont, "STRING_FONT=", kFontWords),
    choice(F::StringAlignment, "STRING_ALIGNMENT=", kAlignmentWords),
    number(F::StringVisible, E::Boolean, "STRING_ATTR.VISIBLE="),
    // BITMAP
    number(F::BitmapStyle, E::U8, "BITMAP_STYLE="),
    picture(F::BitmapPicture1, "BITMAP1_BITMAP.", "bitmap1"),
    picture(F::BitmapPicture2, "BITMAP2_BITMAP.", "bitmap2"),
    number(F::BitmapEnable, E::Boolean, "BITMAP_ATTR.BITMAP_ENABLE="),
    number(F::BitmapActive, E::Boolean, "BITMAP_ATTR.BITMAP_ACTIVE="),
    number(F::BitmapVisible, E::Boolean, "BITMAP_ATTR.BITMAP_VISIBLE="),
    // TEXTBOX
    text(F::TextboxText, "TEXTBOX_TEXT="),
    number(F::TextboxStyle, E::U8, "TEXTBOX_STYLE="),
    choice(F::TextboxBackLine, "TEXTBOX_BACK_LINE=", kBackLineWords),
    choice(F::TextboxFont, "TEXTBOX_FONT=", kFontWords),
    choice(F::TextboxFontColor, "TEXTBOX_FONT_COLOR=", kColorWords),
    choice(F::TextboxBackgroundColor, "TEXTBOX_BACKGROUND_COLOR=", kColorWords),
    number(F::TextboxMaxChars, E::Word, "TEXTBOX_MAX_NUM_CHARS="),
    number(F::TextboxLeftPos, E::Word, "TEXTBOX_LEFT_CHAR_POS="),
    number(F::TextboxRightPos, E::Word, "TEXTBOX_RIGHT_CHAR_POS="),
    number(F::TextboxInsertPos, E::Word, "TEXTBOX_INSERT_PT_CHAR_POS="),
    number(F::TextboxHighlightStart, E::Word, "TEXTBOX_HIGHLIGHT_START_CHAR_POS="),
    number(F::TextboxHighlightEnd, E::Word, "TEXTBOX_HIGHLIGHT_END_CHAR_POS="),
    number(F::TextboxActive, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_ACTIVE="),
    number(F::TextboxEnable, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_ENABLE="),
    number(F::TextboxDirty, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_DIRTY="),
    number(F::TextboxHighlight, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_HIGHLIGHT="),
    number(F::TextboxInsertPtVisible, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_INSERT_PT_VISIBLE="),
    number(F::TextboxVisible, E::Boolean, "TEXTBOX_ATTR.TEXTBOX_VISIBLE="),
    // LINE
    choice(F::LineColor, "LINE_COLOR=", kColorWords),
    choice(F::LineStyle, "LINE_STYLE=", kLineStyleWords),
    number(F::LineThick, E::U16, "LINE_THICK="),
    number(F::LineEndX, E::U16, "LINE_ENDPT_X="),
    number(F::LineEndY, E::U16, "LINE_ENDPT_Y="),
    number(F::LineVisible, E::Boolean, "LINE_ATTR.LINE_VISIBLE="),
};

namespace {

constexpr size_t kFieldCount = static_cast<size_t>(F::Count_);
static_assert(std::size(kFieldSpecs) == kFieldCount, "one field spec per field identifier");

constexpr bool fields_in_order() {
    for (size_t i = 0; i < kFieldCount; ++i)
        if (static_cast<size_t>(kFieldSpecs[i].id) != i) return false;
    return true;
}
static_assert(fields_in_order(), "the field specs are indexed by field identifier");

using B = BlockSpec;

// Blocks 1 to 3 of the eight kinds that have a related table.
#define TYPE_RELATED_BOUNDS                                                             \
    B("object type", {F::ObjectType}), B("related table", {F::RelatedTableId}),         \
        B("bounds", {F::Bounds})

const BlockSpec kFormBlocks[] = {
    B("object type", {F::ObjectType}),
    B("bounds", {F::Bounds}),
    B("focused object", {F::FormFocused}),
    B("style", {F::FormStyle}),
    B("title", {F::FormTitle}),
    B("bitmap", {F::FormBitmap}, F::None, true),  // only for the styles that show it
    B("number of objects", {F::FormCount}),
    B("object list", {F::FormObjectId, F::FormObjectType}, F::FormCount),
};

const BlockSpec kControlBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("style", {F::ControlStyle}),
    B("subtype", {F::ControlSubtype}, F::None, true),  // empty for a check box
    B("text", {F::ControlText}),
    B("text alignment", {F::ControlAlignment}),
    B("attributes", {F::ControlEnable, F::ControlActive, F::ControlVisible}),
};

const BlockSpec kButtonBlocks[] = {B("button", {F::ButtonRadius, F::ButtonColorOn, F::ButtonColorOff})};
const BlockSpec kPushButtonBlocks[] = {
    B("push button", {F::PushColorOn, F::PushColorOff, F::PushGroupId, F::PushValue, F::PushRadius})};
const BlockSpec kRepeatButtonBlocks[] = {B("bitmap", {F::RepeatBitmap})};
const BlockSpec kCheckboxBlocks[] = {
    B("check box", {F::CheckboxGroupId, F::CheckboxValue, F::CheckboxBitmap1}),
    B("second bitmap", {F::CheckboxBitmap2}),
};
const BlockSpec kPopupTriggerBlocks[] = {
    B("pop-up trigger", {F::PopupRadius, F::PopupCount, F::PopupSelected, F::PopupTop, F::PopupItem})};

const BlockSpec kFieldBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("text", {F::FieldText}),
    B("style", {F::FieldStyle}),
    B("back line", {F::FieldBackLine}),
    B("font", {F::FieldFont}),
    B("font colour", {F::FieldFontColor}),
    B("background colour", {F::FieldBackgroundColor}),
    B("text alignment", {F::FieldAlignment}),
    B("FIELD_MAX_NUM_CHARS=", {F::FieldMaxChars}),
    B("FIELD_TOP_LINE_NUM=", {F::FieldTopLine}),
    B("FIELD_INSERT_PT_CHAR_POS=", {F::FieldInsertPos}),
    B("FIELD_HIGHLIGHT_START=", {F::FieldHighlightStart}),
    B("FIELD_HIGHLIGHT_END=", {F::FieldHighlightEnd}),
    B("attributes", {F::FieldActive, F::FieldEnable, F::FieldDirty, F::FieldHighlight, F::FieldInsertPtVisible,
                     F::FieldScrollbar, F::FieldFullSize, F::FieldVisible}),
};

const BlockSpec kListBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("number of related objects", {F::ListRelatedCount}),
    B("related objects", {F::ListRelatedObject}, F::ListRelatedCount),
    B("total number of items", {F::ListTotal}),
    B("items on display", {F::ListOnDisplay}),
    B("top item", {F::ListTopItem}),
    B("text alignment", {F::ListAlignment}),
    B("selected item", {F::ListSelected}),
    B("style", {F::ListStyle}),
    B("text colour", {F::ListTextColor}),
    B("background colour", {F::ListBackgroundColor}),
    B("items", {F::ListItem}),
    B("attributes", {F::ListEnable, F::ListVisible, F::ListActive, F::ListSetScroll, F::ListSynchronous}),
};

const BlockSpec kMenuBlocks[] = {
    B("object type", {F::ObjectType}),
    B("bounds", {F::Bounds}),
    B("number of items", {F::MenuCount}),
    B("selected item", {F::MenuSelected}),
    B("items", {F::MenuItem}),
    B("visible", {F::MenuVisible}),
};

const BlockSpec kScrollbarBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("SCROLLBAR_MAX=", {F::ScrollbarMax}),
    B("SCROLLBAR_MIN=", {F::ScrollbarMin}),
    B("SCROLLBAR_CURRENT_VALUE=", {F::ScrollbarValue}),
    B("SCROLLBAR_PAGESIZE=", {F::ScrollbarPageSize}),
    B("SCROLLBAR_TOTAL_NUM_LINES=", {F::ScrollbarTotalLines}),
    B("style", {F::ScrollbarStyle}),
    B("type", {F::ScrollbarType}),
    B("arrow 1", {F::ScrollbarArrow1}),
    B("arrow 2", {F::ScrollbarArrow2}),
    B("text", {F::ScrollbarText}),
    B("attributes", {F::ScrollbarActive, F::ScrollbarEnable, F::ScrollbarVisible}),
};

const BlockSpec kTableBlocks[] = {
    B("object type", {F::ObjectType}),
    B("bounds", {F::Bounds}),
    B("number of columns", {F::TableColumns}),
    B("number of rows", {F::TableRows}),
    B("column widths", {F::TableColumnWidth}, F::TableColumns),
    B("row heights", {F::TableRowHeight}, F::TableRows),
    B("top row", {F::TableTopRow}),
    B("left column", {F::TableLeftColumn}),
    B("style", {F::TableStyle}),
    B("background colour", {F::TableBackgroundColor}),
    B("bitmap", {F::TableBitmap}),
    B("cells", {F::CellDataType}, F::None, true),  // rows x columns cells, table_cell_fields
    B("attributes", {F::TableEnable, F::TableScrollbar, F::TableActive, F::TableHighlightEnable, F::TableVisible}),
};

const FieldId kCellFields[] = {F::CellDataType,  F::CellUiObjectId,      F::CellFont,      F::CellValue,
                               F::CellAlignment, F::CellFontColor,       F::CellBackgroundColor,
                               F::CellHighlight, F::CellHasBitmap,       F::CellText};

const BlockSpec kSchlineBlocks[] = {
    B("object type", {F::ObjectType}),
    B("bounds", {F::Bounds}),
    B("attributes", {F::SchlineEnable, F::SchlineActive, F::SchlineVisible}),
};

const BlockSpec kStringBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("style", {F::StringStyle}),
    B("text", {F::StringText}),
    B("font colour", {F::StringFontColor}),
    B("background colour", {F::StringBackgroundColor}),
    B("font", {F::StringFont}),
    B("alignment", {F::StringAlignment}),
    B("visible", {F::StringVisible}),
};

const BlockSpec kBitmapBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("style", {F::BitmapStyle}),
    B("bitmap 1", {F::BitmapPicture1}),
    B("bitmap 2", {F::BitmapPicture2}),
    B("attributes", {F::BitmapEnable, F::BitmapActive, F::BitmapVisible}),
};

const BlockSpec kTextboxBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("text", {F::TextboxText}),
    B("style", {F::TextboxStyle}),
    B("back line", {F::TextboxBackLine}),
    B("font", {F::TextboxFont}),
    B("font colour", {F::TextboxFontColor}),
    B("background colour", {F::TextboxBackgroundColor}),
    B("TEXTBOX_MAX_NUM_CHARS=", {F::TextboxMaxChars}),
    B("TEXTBOX_LEFT_CHAR_POS=", {F::TextboxLeftPos}),
    B("TEXTBOX_RIGHT_CHAR_POS=", {F::TextboxRightPos}),
    B("TEXTBOX_INSERT_PT_CHAR_POS=", {F::TextboxInsertPos}),
    B("TEXTBOX_HIGHLIGHT_START_CHAR_POS=", {F::TextboxHighlightStart}),
    B("TEXTBOX_HIGHLIGHT_END_CHAR_POS=", {F::TextboxHighlightEnd}),
    B("attributes", {F::TextboxActive, F::TextboxEnable, F::TextboxDirty, F::TextboxHighlight,
                     F::TextboxInsertPtVisible, F::TextboxVisible}),
};

const BlockSpec kLineBlocks[] = {
    TYPE_RELATED_BOUNDS,
    B("colour", {F::LineColor}),
    B("style", {F::LineStyle}),
    B("thickness", {F::LineThick}),
    B("end point X", {F::LineEndX}),
    B("end point Y", {F::LineEndY}),
    B("visible", {F::LineVisible}),
};

#undef TYPE_RELATED_BOUNDS

const std::span<const BlockSpec> kRecordBlocks[kKindCount] = {
    kFormBlocks,   kControlBlocks, kFieldBlocks,  kListBlocks,   kMenuBlocks,    kScrollbarBlocks,
    kTableBlocks,  kSchlineBlocks, kStringBlocks, kBitmapBlocks, kTextboxBlocks, kLineBlocks,
};

const std::span<const BlockSpec> kControlStyleBlocks[] = {
    kButtonBlocks, kPushButtonBlocks, kRepeatButtonBlocks, kCheckboxBlocks, kPopupTriggerBlocks,
};

}  // namespace

size_t BlockSpec::fixed_size() const {
    size_t size = 0;
    for (FieldId id : field_list()) {
        const size_t width = fixed_width(field_spec(id).encoding);
        if (width == 0) return 0;
        size += width;
    }
    return size;
}

std::span<const BlockSpec> record_blocks(Kind k) { return kRecordBlocks[type_code(k)]; }

std::span<const BlockSpec> control_style_blocks(uint32_t style) {
    if (style >= std::size(kControlStyleBlocks)) return {};
    return kControlStyleBlocks[style];
}

std::span<const FieldId> table_cell_fields() { return kCellFields; }

}  // namespace orrinrc::format
