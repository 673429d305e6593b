// The tables of the resource.bin format: every field's description and every
// kind's inner blocks, in order. The record walk (format/codec.h) goes
// through them for the compiler's writers and the dump tool's decoder alike.
#pragma once

#include <iterator>

#include "format/format.h"

namespace orrinrc::format {

namespace tables {

using F = FieldId;
using E = Encoding;

constexpr FieldInfo number(F id, E e, const char* statement) { return {id, e, statement, nullptr, nullptr, F::None}; }
constexpr FieldInfo choice(F id, const char* statement, const Vocabulary& w) {
    return {id, E::Choice, statement, &w, nullptr, F::None};
}
constexpr FieldInfo text(F id, const char* statement, F count = F::None) {
    return {id, E::Text, statement, nullptr, nullptr, count};
}
constexpr FieldInfo picture(F id, const char* statement, const char* name) {
    return {id, E::Bitmap, statement, nullptr, name, F::None};
}

inline constexpr FieldInfo kFieldInfos[] = {
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
static_assert(std::size(kFieldInfos) == kFieldCount, "one field description per field identifier");

constexpr bool field_infos_in_order() {
    for (size_t i = 0; i < kFieldCount; ++i)
        if (static_cast<size_t>(kFieldInfos[i].id) != i) return false;
    return true;
}
static_assert(field_infos_in_order(), "the field descriptions are indexed by field identifier");

}  // namespace tables

constexpr const FieldInfo& field_info(FieldId id) { return tables::kFieldInfos[static_cast<size_t>(id)]; }
inline const char* statement(FieldId id) { return field_info(id).statement; }

namespace tables {


// Blocks 1 to 3 of the eight kinds that have a related table.
#define TYPE_RELATED_BOUNDS                                                             \
    BlockLayout("object type", {F::ObjectType}), BlockLayout("related table", {F::RelatedTableId}),         \
        BlockLayout("bounds", {F::Bounds})

inline constexpr BlockLayout kFormBlocks[] = {
    BlockLayout("object type", {F::ObjectType}),
    BlockLayout("bounds", {F::Bounds}),
    BlockLayout("focused object", {F::FormFocused}),
    BlockLayout("style", {F::FormStyle}),
    BlockLayout("title", {F::FormTitle}),
    BlockLayout("bitmap", {F::FormBitmap}, F::None, kFormBitmapBlock),  // only for the styles that show it
    BlockLayout("number of objects", {F::FormCount}),
    BlockLayout("object list", {F::FormObjectId, F::FormObjectType}, F::FormCount),
};

inline constexpr BlockLayout kControlBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("style", {F::ControlStyle}),
    BlockLayout("subtype", {F::ControlSubtype}, F::None, kControlSubtypeBlock),  // empty for a check box
    BlockLayout("text", {F::ControlText}),
    BlockLayout("text alignment", {F::ControlAlignment}),
    BlockLayout("attributes", {F::ControlEnable, F::ControlActive, F::ControlVisible}),
};

inline constexpr BlockLayout kButtonBlocks[] = {BlockLayout("button", {F::ButtonRadius, F::ButtonColorOn, F::ButtonColorOff})};
inline constexpr BlockLayout kPushButtonBlocks[] = {
    BlockLayout("push button", {F::PushColorOn, F::PushColorOff, F::PushGroupId, F::PushValue, F::PushRadius})};
inline constexpr BlockLayout kRepeatButtonBlocks[] = {BlockLayout("bitmap", {F::RepeatBitmap})};
inline constexpr BlockLayout kCheckboxBlocks[] = {
    BlockLayout("check box", {F::CheckboxGroupId, F::CheckboxValue, F::CheckboxBitmap1}),
    BlockLayout("second bitmap", {F::CheckboxBitmap2}),
};
inline constexpr BlockLayout kPopupTriggerBlocks[] = {
    BlockLayout("pop-up trigger", {F::PopupRadius, F::PopupCount, F::PopupSelected, F::PopupTop, F::PopupItem})};

inline constexpr BlockLayout kFieldBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("text", {F::FieldText}),
    BlockLayout("style", {F::FieldStyle}),
    BlockLayout("back line", {F::FieldBackLine}),
    BlockLayout("font", {F::FieldFont}),
    BlockLayout("font colour", {F::FieldFontColor}),
    BlockLayout("background colour", {F::FieldBackgroundColor}),
    BlockLayout("text alignment", {F::FieldAlignment}),
    BlockLayout("FIELD_MAX_NUM_CHARS=", {F::FieldMaxChars}),
    BlockLayout("FIELD_TOP_LINE_NUM=", {F::FieldTopLine}),
    BlockLayout("FIELD_INSERT_PT_CHAR_POS=", {F::FieldInsertPos}),
    BlockLayout("FIELD_HIGHLIGHT_START=", {F::FieldHighlightStart}),
    BlockLayout("FIELD_HIGHLIGHT_END=", {F::FieldHighlightEnd}),
    BlockLayout("attributes", {F::FieldActive, F::FieldEnable, F::FieldDirty, F::FieldHighlight, F::FieldInsertPtVisible,
                     F::FieldScrollbar, F::FieldFullSize, F::FieldVisible}),
};

inline constexpr BlockLayout kListBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("number of related objects", {F::ListRelatedCount}),
    BlockLayout("related objects", {F::ListRelatedObject}, F::ListRelatedCount),
    BlockLayout("total number of items", {F::ListTotal}),
    BlockLayout("items on display", {F::ListOnDisplay}),
    BlockLayout("top item", {F::ListTopItem}),
    BlockLayout("text alignment", {F::ListAlignment}),
    BlockLayout("selected item", {F::ListSelected}),
    BlockLayout("style", {F::ListStyle}),
    BlockLayout("text colour", {F::ListTextColor}),
    BlockLayout("background colour", {F::ListBackgroundColor}),
    BlockLayout("items", {F::ListItem}),
    BlockLayout("attributes", {F::ListEnable, F::ListVisible, F::ListActive, F::ListSetScroll, F::ListSynchronous}),
};

inline constexpr BlockLayout kMenuBlocks[] = {
    BlockLayout("object type", {F::ObjectType}),
    BlockLayout("bounds", {F::Bounds}),
    BlockLayout("number of items", {F::MenuCount}),
    BlockLayout("selected item", {F::MenuSelected}),
    BlockLayout("items", {F::MenuItem}),
    BlockLayout("visible", {F::MenuVisible}),
};

inline constexpr BlockLayout kScrollbarBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("SCROLLBAR_MAX=", {F::ScrollbarMax}),
    BlockLayout("SCROLLBAR_MIN=", {F::ScrollbarMin}),
    BlockLayout("SCROLLBAR_CURRENT_VALUE=", {F::ScrollbarValue}),
    BlockLayout("SCROLLBAR_PAGESIZE=", {F::ScrollbarPageSize}),
    BlockLayout("SCROLLBAR_TOTAL_NUM_LINES=", {F::ScrollbarTotalLines}),
    BlockLayout("style", {F::ScrollbarStyle}),
    BlockLayout("type", {F::ScrollbarType}),
    BlockLayout("arrow 1", {F::ScrollbarArrow1}),
    BlockLayout("arrow 2", {F::ScrollbarArrow2}),
    BlockLayout("text", {F::ScrollbarText}),
    BlockLayout("attributes", {F::ScrollbarActive, F::ScrollbarEnable, F::ScrollbarVisible}),
};

inline constexpr BlockLayout kTableBlocks[] = {
    BlockLayout("object type", {F::ObjectType}),
    BlockLayout("bounds", {F::Bounds}),
    BlockLayout("number of columns", {F::TableColumns}),
    BlockLayout("number of rows", {F::TableRows}),
    BlockLayout("column widths", {F::TableColumnWidth}, F::TableColumns),
    BlockLayout("row heights", {F::TableRowHeight}, F::TableRows),
    BlockLayout("top row", {F::TableTopRow}),
    BlockLayout("left column", {F::TableLeftColumn}),
    BlockLayout("style", {F::TableStyle}),
    BlockLayout("background colour", {F::TableBackgroundColor}),
    BlockLayout("bitmap", {F::TableBitmap}),
    BlockLayout("cells", {F::CellDataType}, F::None, kTableCellsBlock),  // rows x columns cells, kCellFields
    BlockLayout("attributes", {F::TableEnable, F::TableScrollbar, F::TableActive, F::TableHighlightEnable, F::TableVisible}),
};

inline constexpr FieldId kCellFields[] = {F::CellDataType,  F::CellUiObjectId,      F::CellFont,      F::CellValue,
                               F::CellAlignment, F::CellFontColor,       F::CellBackgroundColor,
                               F::CellHighlight, F::CellHasBitmap,       F::CellText};

constexpr bool cell_fields_fixed_then_text() {
    size_t bytes = 0;
    for (FieldId id : kCellFields) {
        if (id == F::CellText) return id == std::end(kCellFields)[-1] && bytes == kCellFixedBytes;
        if (fixed_width(field_info(id).encoding) == 0) return false;
        bytes += fixed_width(field_info(id).encoding);
    }
    return false;
}
static_assert(cell_fields_fixed_then_text(), "a cell is kCellFixedBytes of fixed fields, then its text");

// What the special blocks of forms and controls hold in a given record
// (form_bitmap_block, control_subtype_block).
inline constexpr BlockLayout kFormBitmapShown("bitmap", {F::FormBitmap});
inline constexpr BlockLayout kFormBitmapNotStored("bitmap, not stored for this form style", {});
inline constexpr BlockLayout kControlSubtype("subtype", {F::ControlSubtype});
inline constexpr BlockLayout kControlSubtypeNotStored("subtype, not stored for a check box", {});

inline constexpr BlockLayout kSchlineBlocks[] = {
    BlockLayout("object type", {F::ObjectType}),
    BlockLayout("bounds", {F::Bounds}),
    BlockLayout("attributes", {F::SchlineEnable, F::SchlineActive, F::SchlineVisible}),
};

inline constexpr BlockLayout kStringBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("style", {F::StringStyle}),
    BlockLayout("text", {F::StringText}),
    BlockLayout("font colour", {F::StringFontColor}),
    BlockLayout("background colour", {F::StringBackgroundColor}),
    BlockLayout("font", {F::StringFont}),
    BlockLayout("alignment", {F::StringAlignment}),
    BlockLayout("visible", {F::StringVisible}),
};

inline constexpr BlockLayout kBitmapBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("style", {F::BitmapStyle}),
    BlockLayout("bitmap 1", {F::BitmapPicture1}),
    BlockLayout("bitmap 2", {F::BitmapPicture2}),
    BlockLayout("attributes", {F::BitmapEnable, F::BitmapActive, F::BitmapVisible}),
};

inline constexpr BlockLayout kTextboxBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("text", {F::TextboxText}),
    BlockLayout("style", {F::TextboxStyle}),
    BlockLayout("back line", {F::TextboxBackLine}),
    BlockLayout("font", {F::TextboxFont}),
    BlockLayout("font colour", {F::TextboxFontColor}),
    BlockLayout("background colour", {F::TextboxBackgroundColor}),
    BlockLayout("TEXTBOX_MAX_NUM_CHARS=", {F::TextboxMaxChars}),
    BlockLayout("TEXTBOX_LEFT_CHAR_POS=", {F::TextboxLeftPos}),
    BlockLayout("TEXTBOX_RIGHT_CHAR_POS=", {F::TextboxRightPos}),
    BlockLayout("TEXTBOX_INSERT_PT_CHAR_POS=", {F::TextboxInsertPos}),
    BlockLayout("TEXTBOX_HIGHLIGHT_START_CHAR_POS=", {F::TextboxHighlightStart}),
    BlockLayout("TEXTBOX_HIGHLIGHT_END_CHAR_POS=", {F::TextboxHighlightEnd}),
    BlockLayout("attributes", {F::TextboxActive, F::TextboxEnable, F::TextboxDirty, F::TextboxHighlight,
                     F::TextboxInsertPtVisible, F::TextboxVisible}),
};

inline constexpr BlockLayout kLineBlocks[] = {
    TYPE_RELATED_BOUNDS,
    BlockLayout("colour", {F::LineColor}),
    BlockLayout("style", {F::LineStyle}),
    BlockLayout("thickness", {F::LineThick}),
    BlockLayout("end point X", {F::LineEndX}),
    BlockLayout("end point Y", {F::LineEndY}),
    BlockLayout("visible", {F::LineVisible}),
};

#undef TYPE_RELATED_BOUNDS

inline constexpr std::span<const BlockLayout> kRecordBlocks[kKindCount] = {
    kFormBlocks,   kControlBlocks, kFieldBlocks,  kListBlocks,   kMenuBlocks,    kScrollbarBlocks,
    kTableBlocks,  kSchlineBlocks, kStringBlocks, kBitmapBlocks, kTextboxBlocks, kLineBlocks,
};

inline constexpr std::span<const BlockLayout> kControlStyleBlocks[] = {
    kButtonBlocks, kPushButtonBlocks, kRepeatButtonBlocks, kCheckboxBlocks, kPopupTriggerBlocks,
};

}  // namespace tables

using tables::kCellFields;
using tables::kControlStyleBlocks;
using tables::kFieldInfos;
using tables::kRecordBlocks;

}  // namespace orrinrc::format
