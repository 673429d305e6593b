// The tables of the resource.bin format: every field's spec and every
// kind's inner blocks, in order. They are constant expressions, so that the
// compiler's writers can be unrolled from them at build time while the dump
// tool walks the same tables at run time.
#pragma once

#include <iterator>

#include "format/format.h"

namespace orrinrc::format {

namespace tables {

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

inline constexpr FieldSpec kFieldSpecs[] = {
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

inline constexpr size_t kFieldCount = static_cast<size_t>(F::Count_);
static_assert(std::size(kFieldSpecs) == kFieldCount, "one field spec per field identifier");

constexpr bool field_specs_in_order() {
    for (size_t i = 0; i < kFieldCount; ++i)
        if (static_cast<size_t>(kFieldSpecs[i].id) != i) return false;
    return true;
}
static_assert(field_specs_in_order(), "the field specs are indexed by field identifier");


// Blocks 1 to 3 of the eight kinds that have a related table.
#define TYPE_RELATED_BOUNDS                                                             \
    BlockSpec("object type", {F::ObjectType}), BlockSpec("related table", {F::RelatedTableId}),         \
        BlockSpec("bounds", {F::Bounds})

inline constexpr BlockSpec kFormBlocks[] = {
    BlockSpec("object type", {F::ObjectType}),
    BlockSpec("bounds", {F::Bounds}),
    BlockSpec("focused object", {F::FormFocused}),
    BlockSpec("style", {F::FormStyle}),
    BlockSpec("title", {F::FormTitle}),
    BlockSpec("bitmap", {F::FormBitmap}, F::None, true),  // only for the styles that show it
    BlockSpec("number of objects", {F::FormCount}),
    BlockSpec("object list", {F::FormObjectId, F::FormObjectType}, F::FormCount),
};

inline constexpr BlockSpec kControlBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("style", {F::ControlStyle}),
    BlockSpec("subtype", {F::ControlSubtype}, F::None, true),  // empty for a check box
    BlockSpec("text", {F::ControlText}),
    BlockSpec("text alignment", {F::ControlAlignment}),
    BlockSpec("attributes", {F::ControlEnable, F::ControlActive, F::ControlVisible}),
};

inline constexpr BlockSpec kButtonBlocks[] = {BlockSpec("button", {F::ButtonRadius, F::ButtonColorOn, F::ButtonColorOff})};
inline constexpr BlockSpec kPushButtonBlocks[] = {
    BlockSpec("push button", {F::PushColorOn, F::PushColorOff, F::PushGroupId, F::PushValue, F::PushRadius})};
inline constexpr BlockSpec kRepeatButtonBlocks[] = {BlockSpec("bitmap", {F::RepeatBitmap})};
inline constexpr BlockSpec kCheckboxBlocks[] = {
    BlockSpec("check box", {F::CheckboxGroupId, F::CheckboxValue, F::CheckboxBitmap1}),
    BlockSpec("second bitmap", {F::CheckboxBitmap2}),
};
inline constexpr BlockSpec kPopupTriggerBlocks[] = {
    BlockSpec("pop-up trigger", {F::PopupRadius, F::PopupCount, F::PopupSelected, F::PopupTop, F::PopupItem})};

inline constexpr BlockSpec kFieldBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("text", {F::FieldText}),
    BlockSpec("style", {F::FieldStyle}),
    BlockSpec("back line", {F::FieldBackLine}),
    BlockSpec("font", {F::FieldFont}),
    BlockSpec("font colour", {F::FieldFontColor}),
    BlockSpec("background colour", {F::FieldBackgroundColor}),
    BlockSpec("text alignment", {F::FieldAlignment}),
    BlockSpec("FIELD_MAX_NUM_CHARS=", {F::FieldMaxChars}),
    BlockSpec("FIELD_TOP_LINE_NUM=", {F::FieldTopLine}),
    BlockSpec("FIELD_INSERT_PT_CHAR_POS=", {F::FieldInsertPos}),
    BlockSpec("FIELD_HIGHLIGHT_START=", {F::FieldHighlightStart}),
    BlockSpec("FIELD_HIGHLIGHT_END=", {F::FieldHighlightEnd}),
    BlockSpec("attributes", {F::FieldActive, F::FieldEnable, F::FieldDirty, F::FieldHighlight, F::FieldInsertPtVisible,
                     F::FieldScrollbar, F::FieldFullSize, F::FieldVisible}),
};

inline constexpr BlockSpec kListBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("number of related objects", {F::ListRelatedCount}),
    BlockSpec("related objects", {F::ListRelatedObject}, F::ListRelatedCount),
    BlockSpec("total number of items", {F::ListTotal}),
    BlockSpec("items on display", {F::ListOnDisplay}),
    BlockSpec("top item", {F::ListTopItem}),
    BlockSpec("text alignment", {F::ListAlignment}),
    BlockSpec("selected item", {F::ListSelected}),
    BlockSpec("style", {F::ListStyle}),
    BlockSpec("text colour", {F::ListTextColor}),
    BlockSpec("background colour", {F::ListBackgroundColor}),
    BlockSpec("items", {F::ListItem}),
    BlockSpec("attributes", {F::ListEnable, F::ListVisible, F::ListActive, F::ListSetScroll, F::ListSynchronous}),
};

inline constexpr BlockSpec kMenuBlocks[] = {
    BlockSpec("object type", {F::ObjectType}),
    BlockSpec("bounds", {F::Bounds}),
    BlockSpec("number of items", {F::MenuCount}),
    BlockSpec("selected item", {F::MenuSelected}),
    BlockSpec("items", {F::MenuItem}),
    BlockSpec("visible", {F::MenuVisible}),
};

inline constexpr BlockSpec kScrollbarBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("SCROLLBAR_MAX=", {F::ScrollbarMax}),
    BlockSpec("SCROLLBAR_MIN=", {F::ScrollbarMin}),
    BlockSpec("SCROLLBAR_CURRENT_VALUE=", {F::ScrollbarValue}),
    BlockSpec("SCROLLBAR_PAGESIZE=", {F::ScrollbarPageSize}),
    BlockSpec("SCROLLBAR_TOTAL_NUM_LINES=", {F::ScrollbarTotalLines}),
    BlockSpec("style", {F::ScrollbarStyle}),
    BlockSpec("type", {F::ScrollbarType}),
    BlockSpec("arrow 1", {F::ScrollbarArrow1}),
    BlockSpec("arrow 2", {F::ScrollbarArrow2}),
    BlockSpec("text", {F::ScrollbarText}),
    BlockSpec("attributes", {F::ScrollbarActive, F::ScrollbarEnable, F::ScrollbarVisible}),
};

inline constexpr BlockSpec kTableBlocks[] = {
    BlockSpec("object type", {F::ObjectType}),
    BlockSpec("bounds", {F::Bounds}),
    BlockSpec("number of columns", {F::TableColumns}),
    BlockSpec("number of rows", {F::TableRows}),
    BlockSpec("column widths", {F::TableColumnWidth}, F::TableColumns),
    BlockSpec("row heights", {F::TableRowHeight}, F::TableRows),
    BlockSpec("top row", {F::TableTopRow}),
    BlockSpec("left column", {F::TableLeftColumn}),
    BlockSpec("style", {F::TableStyle}),
    BlockSpec("background colour", {F::TableBackgroundColor}),
    BlockSpec("bitmap", {F::TableBitmap}),
    BlockSpec("cells", {F::CellDataType}, F::None, true),  // rows x columns cells, table_cell_fields
    BlockSpec("attributes", {F::TableEnable, F::TableScrollbar, F::TableActive, F::TableHighlightEnable, F::TableVisible}),
};

inline constexpr FieldId kCellFields[] = {F::CellDataType,  F::CellUiObjectId,      F::CellFont,      F::CellValue,
                               F::CellAlignment, F::CellFontColor,       F::CellBackgroundColor,
                               F::CellHighlight, F::CellHasBitmap,       F::CellText};

inline constexpr BlockSpec kSchlineBlocks[] = {
    BlockSpec("object type", {F::ObjectType}),
    BlockSpec("bounds", {F::Bounds}),
    BlockSpec("attributes", {F::SchlineEnable, F::SchlineActive, F::SchlineVisible}),
};

inline constexpr BlockSpec kStringBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("style", {F::StringStyle}),
    BlockSpec("text", {F::StringText}),
    BlockSpec("font colour", {F::StringFontColor}),
    BlockSpec("background colour", {F::StringBackgroundColor}),
    BlockSpec("font", {F::StringFont}),
    BlockSpec("alignment", {F::StringAlignment}),
    BlockSpec("visible", {F::StringVisible}),
};

inline constexpr BlockSpec kBitmapBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("style", {F::BitmapStyle}),
    BlockSpec("bitmap 1", {F::BitmapPicture1}),
    BlockSpec("bitmap 2", {F::BitmapPicture2}),
    BlockSpec("attributes", {F::BitmapEnable, F::BitmapActive, F::BitmapVisible}),
};

inline constexpr BlockSpec kTextboxBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("text", {F::TextboxText}),
    BlockSpec("style", {F::TextboxStyle}),
    BlockSpec("back line", {F::TextboxBackLine}),
    BlockSpec("font", {F::TextboxFont}),
    BlockSpec("font colour", {F::TextboxFontColor}),
    BlockSpec("background colour", {F::TextboxBackgroundColor}),
    BlockSpec("TEXTBOX_MAX_NUM_CHARS=", {F::TextboxMaxChars}),
    BlockSpec("TEXTBOX_LEFT_CHAR_POS=", {F::TextboxLeftPos}),
    BlockSpec("TEXTBOX_RIGHT_CHAR_POS=", {F::TextboxRightPos}),
    BlockSpec("TEXTBOX_INSERT_PT_CHAR_POS=", {F::TextboxInsertPos}),
    BlockSpec("TEXTBOX_HIGHLIGHT_START_CHAR_POS=", {F::TextboxHighlightStart}),
    BlockSpec("TEXTBOX_HIGHLIGHT_END_CHAR_POS=", {F::TextboxHighlightEnd}),
    BlockSpec("attributes", {F::TextboxActive, F::TextboxEnable, F::TextboxDirty, F::TextboxHighlight,
                     F::TextboxInsertPtVisible, F::TextboxVisible}),
};

inline constexpr BlockSpec kLineBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockSpec("colour", {F::LineColor}),
    BlockSpec("style", {F::LineStyle}),
    BlockSpec("thickness", {F::LineThick}),
    BlockSpec("end point X", {F::LineEndX}),
    BlockSpec("end point Y", {F::LineEndY}),
    BlockSpec("visible", {F::LineVisible}),
};

#undef TYPE_RELATED_BOUNDS

inline constexpr std::span<const BlockSpec> kRecordBlocks[kKindCount] = {
    kFormBlocks,   kControlBlocks, kFieldBlocks,  kListBlocks,   kMenuBlocks,    kScrollbarBlocks,
    kTableBlocks,  kSchlineBlocks, kStringBlocks, kBitmapBlocks, kTextboxBlocks, kLineBlocks,
};

inline constexpr std::span<const BlockSpec> kControlStyleBlocks[] = {
    kButtonBlocks, kPushButtonBlocks, kRepeatButtonBlocks, kCheckboxBlocks, kPopupTriggerBlocks,
};

}  // namespace tables

using tables::kCellFields;
using tables::kControlStyleBlocks;
using tables::kFieldSpecs;
using tables::kRecordBlocks;

constexpr const FieldSpec& field_spec(FieldId id) { return kFieldSpecs[static_cast<size_t>(id)]; }
inline const char* statement(FieldId id) { return field_spec(id).statement; }

// The blocks of `kind` after its object type block; for a control, with
// `style` 0..4, the blocks of that style instead.
constexpr std::span<const BlockSpec> layout_blocks(Kind kind, int style = -1) {
    if (style >= 0) return kControlStyleBlocks[style];
    return kRecordBlocks[type_code(kind)].subspan(1);
}

}  // namespace orrinrc::format
