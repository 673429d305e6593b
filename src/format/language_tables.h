// The tables of the resource language (format/language.h): every statement
// and every value word, as constant expressions, so that the scanner can
// name the entry of each of its rules at build time. A statement that sets a
// field takes its spelling from the field's description (format/layouts.h):
// whole in a definition, after its opener ("CONTROL_ATTR.") in a sub-state.
#pragma once

#include <iterator>
#include <string_view>

namespace orrinrc::format {

namespace language {

using F = FieldId;
using K = Kind;
using S = State;

// The part of a field's statement after its opener: "CONTROL_ATTR.ENABLE="
// is "ENABLE=" in CONTROL_ATTR. A statement with no dot before its end is
// whole ("CONTROL_VALUE=", "CONTROL_BITMAP.").
constexpr const char* after_opener(const char* statement) {
    for (const char* p = statement; *p != '\0'; ++p)
        if (*p == '.') return p[1] != '\0' ? p + 1 : statement;
    return statement;
}

// A statement of a definition that sets a field, spelled as the field's statement.
constexpr StatementInfo def(S state, K kind, F field, S enters, Forms forms = {}) {
    return {state, kind, false, field_info(field).statement, forms, true, field, enters, Role::Sets};
}
// A statement of a sub-state that sets a field, spelled after its opener.
constexpr StatementInfo sub(S state, K kind, F field, S enters, Forms forms = {}) {
    return {state, kind, false, after_opener(field_info(field).statement), forms, false, field, enters, Role::Sets};
}
// Any other statement, spelled here.
constexpr StatementInfo other(S state, K kind, const char* spelling, F field, S enters, Role role, bool prefixed,
                              Forms forms = {}) {
    return {state, kind, false, spelling, forms, prefixed, field, enters, role};
}
// A statement of a value reader or of every state: belongs to no one kind.
constexpr StatementInfo shared(S state, const char* spelling, S enters, Role role) {
    return {state, K::Form, true, spelling, {}, false, F::None, enters, role};
}

// The statements every definition has.
#define ORRINRC_DEFINITION_FRAME(STATE, KIND, WORD)                                       \
    other(S::Initial, K::KIND, "#" WORD, F::None, S::STATE, Role::Opens, false),                \
        other(S::STATE, K::KIND, "#END_" WORD, F::None, S::Initial, Role::Ends, false),        \
        other(S::STATE, K::KIND, "ID=", F::None, S::ReadUshort, Role::Id, false, {"I="}),       \
        other(S::STATE, K::KIND, "OBJECT.TYPE=" WORD, F::ObjectType, S::STATE, Role::ObjectType, true)

inline constexpr StatementInfo kStatements[] = {
    // ------------------------------------------------ every state, readers
    shared(S::Initial, "NAME=", S::ReadString, Role::Name),
    shared(S::ReadBounds, "X=", S::ReadShort, Role::X),
    shared(S::ReadBounds, "Y=", S::ReadShort, Role::Y),
    shared(S::ReadBounds, "WIDTH=", S::ReadShort, Role::Width),
    shared(S::ReadBounds, "HEIGHT=", S::ReadShort, Role::Height),
    shared(S::ReadBitmap, "X=", S::ReadShort, Role::X),
    shared(S::ReadBitmap, "Y=", S::ReadShort, Role::Y),
    shared(S::ReadBitmap, "WIDTH=", S::ReadShort, Role::Width),
    shared(S::ReadBitmap, "HEIGHT=", S::ReadShort, Role::Height),
    shared(S::ReadBitmap, "FILE=", S::ReadBitmapFile, Role::File),

    // ------------------------------------------------ FORM
    ORRINRC_DEFINITION_FRAME(Form, Form, "FORM"),
    def(S::Form, K::Form, F::Bounds, S::ReadBounds),
    def(S::Form, K::Form, F::FormFocused, S::ReadUshort),
    def(S::Form, K::Form, F::FormStyle, S::FormStyle),
    def(S::Form, K::Form, F::FormTitle, S::ReadString),
    def(S::Form, K::Form, F::FormBitmap, S::ReadBitmap),
    def(S::Form, K::Form, F::FormCount, S::ReadUshort),
    def(S::Form, K::Form, F::FormObjectId, S::ReadUshort, {"UIOBJECT?ID="}),
    def(S::Form, K::Form, F::FormObjectType, S::ReadType, {"UIOBJECT?TYPE="}),

    // ------------------------------------------------ CONTROL
    ORRINRC_DEFINITION_FRAME(Control, Control, "CONTROL"),
    def(S::Control, K::Control, F::RelatedTableId, S::ReadUshort),
    def(S::Control, K::Control, F::Bounds, S::ReadBounds),
    def(S::Control, K::Control, F::ControlStyle, S::ControlStyle),
    def(S::Control, K::Control, F::ControlSubtype, S::ControlSubtype),
    def(S::Control, K::Control, F::ControlText, S::ReadString),
    def(S::Control, K::Control, F::ControlAlignment, S::ReadAlignment, {"TEXTMENT="}),
    other(S::Control, K::Control, "CONTROL_ATTR.", F::None, S::ControlAttr, Role::Opener, true),
    // CONTROL_ADD. opens the block of the style the control has at that moment.
    other(S::Control, K::Control, "CONTROL_ADD.", F::None, S::ControlAddButton, Role::Opener, true, {"CONTROL_ADD_ATTR."}),
    other(S::Control, K::Control, "CONTROL_ADD.", F::None, S::ControlAddPushbutton, Role::Opener, true, {"CONTROL_ADD_ATTR."}),
    other(S::Control, K::Control, "CONTROL_ADD.", F::None, S::ControlAddCheckbox, Role::Opener, true, {"CONTROL_ADD_ATTR."}),
    other(S::Control, K::Control, "CONTROL_ADD.", F::None, S::ControlAddPopuptrigger, Role::Opener, true, {"CONTROL_ADD_ATTR."}),
    def(S::Control, K::Control, F::RepeatBitmap, S::ReadBitmap),
    sub(S::ControlAttr, K::Control, F::ControlEnable, S::ReadBoolean),
    sub(S::ControlAttr, K::Control, F::ControlActive, S::ReadBoolean),
    sub(S::ControlAttr, K::Control, F::ControlVisible, S::ReadBoolean),
    sub(S::ControlAddButton, K::Control, F::ButtonRadius, S::ReadUshort),
    sub(S::ControlAddButton, K::Control, F::ButtonColorOn, S::ReadColor),
    sub(S::ControlAddButton, K::Control, F::ButtonColorOff, S::ReadColor),
    sub(S::ControlAddPushbutton, K::Control, F::PushColorOn, S::ReadColor),
    sub(S::ControlAddPushbutton, K::Control, F::PushColorOff, S::ReadColor),
    sub(S::ControlAddPushbutton, K::Control, F::PushGroupId, S::ReadUshort),
    sub(S::ControlAddPushbutton, K::Control, F::PushValue, S::ReadBoolean),
    sub(S::ControlAddPushbutton, K::Control, F::PushRadius, S::ReadUshort),
    // The check-box block takes its statements after CONTROL_ADD. and at the
    // start of its following lines, where they may have a prefix.
    {S::ControlAddCheckbox, K::Control, false, after_opener(field_info(F::CheckboxGroupId).statement),
     {"CONTROL_ADD.GROUP_ID="}, true, F::CheckboxGroupId, S::ReadUshort, Role::Sets},
    {S::ControlAddCheckbox, K::Control, false, field_info(F::CheckboxValue).statement,
     {"CONTROL_ADD.CONTROL_VALUE="}, true, F::CheckboxValue, S::ReadBoolean, Role::Sets},
    // The first picture, then the second, each until its FILE= line.
    {S::ControlAddCheckbox, K::Control, false, field_info(F::CheckboxBitmap1).statement, {}, true,
     F::CheckboxBitmap1, S::ReadBitmap, Role::Sets},
    {S::ControlAddCheckbox, K::Control, false, field_info(F::CheckboxBitmap2).statement, {}, true,
     F::CheckboxBitmap2, S::ReadBitmap, Role::Sets},
    sub(S::ControlAddPopuptrigger, K::Control, F::PopupRadius, S::ReadUshort),
    sub(S::ControlAddPopuptrigger, K::Control, F::PopupCount, S::ReadUshort, {"NUM_OF_OBJECTS="}),
    sub(S::ControlAddPopuptrigger, K::Control, F::PopupSelected, S::ReadShort),
    sub(S::ControlAddPopuptrigger, K::Control, F::PopupTop, S::ReadUshort),
    sub(S::ControlAddPopuptrigger, K::Control, F::PopupItem, S::ReadString, {"ITEM[A-Z0-9_]*="}),

    // ------------------------------------------------ FIELD
    ORRINRC_DEFINITION_FRAME(Field, Field, "FIELD"),
    def(S::Field, K::Field, F::RelatedTableId, S::ReadUshort),
    def(S::Field, K::Field, F::Bounds, S::ReadBounds),
    def(S::Field, K::Field, F::FieldText, S::ReadString),
    def(S::Field, K::Field, F::FieldStyle, S::FieldStyle),
    def(S::Field, K::Field, F::FieldBackLine, S::FieldBackLine),
    def(S::Field, K::Field, F::FieldFont, S::ReadFont),
    def(S::Field, K::Field, F::FieldFontColor, S::ReadColor),
    def(S::Field, K::Field, F::FieldBackgroundColor, S::ReadColor),
    def(S::Field, K::Field, F::FieldAlignment, S::ReadAlignment),
    def(S::Field, K::Field, F::FieldMaxChars, S::ReadWord),
    def(S::Field, K::Field, F::FieldTopLine, S::ReadWord),
    def(S::Field, K::Field, F::FieldInsertPos, S::ReadWord),
    def(S::Field, K::Field, F::FieldHighlightStart, S::ReadWord),
    def(S::Field, K::Field, F::FieldHighlightEnd, S::ReadWord),
    other(S::Field, K::Field, "FIELD_ATTR.", F::None, S::FieldAttr, Role::Opener, true),
    sub(S::FieldAttr, K::Field, F::FieldActive, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldEnable, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldDirty, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldHighlight, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldInsertPtVisible, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldScrollbar, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldFullSize, S::ReadBoolean),
    sub(S::FieldAttr, K::Field, F::FieldVisible, S::ReadBoolean),

    // ------------------------------------------------ LIST
    ORRINRC_DEFINITION_FRAME(List, List, "LIST"),
    def(S::List, K::List, F::RelatedTableId, S::ReadUshort),
    def(S::List, K::List, F::Bounds, S::ReadBounds),
    def(S::List, K::List, F::ListRelatedCount, S::ReadUshort),
    def(S::List, K::List, F::ListRelatedObject, S::ReadUshort, {"LIST_RELATED_OBJECT[0-9_][0-9]*="}),
    // Past the declared number of related objects the value is read and dropped.
    other(S::List, K::List, "LIST_RELATED_OBJECT=", F::None, S::ReadSkip, Role::Past, true, {"LIST_RELATED_OBJECT[0-9_][0-9]*="}),
    def(S::List, K::List, F::ListTotal, S::ReadUshort),
    def(S::List, K::List, F::ListOnDisplay, S::ReadUshort),
    def(S::List, K::List, F::ListTopItem, S::ReadUshort),
    def(S::List, K::List, F::ListAlignment, S::ReadAlignment, {"LIST_TEXTMENT="}),
    def(S::List, K::List, F::ListSelected, S::ReadShort),
    def(S::List, K::List, F::ListStyle, S::ListStyle),
    def(S::List, K::List, F::ListTextColor, S::ReadColor),
    def(S::List, K::List, F::ListBackgroundColor, S::ReadColor),
    def(S::List, K::List, F::ListItem, S::ReadString, {"LIST_ITEM[A-Z0-9_]*="}),
    // Past the total number of items the line stores nothing and reads no value.
    other(S::List, K::List, "LIST_ITEM=", F::None, S::List, Role::Past, true, {"LIST_ITEM[A-Z0-9_]*="}),
    other(S::List, K::List, "LIST_ATTR.", F::None, S::ListAttr, Role::Opener, true),
    sub(S::ListAttr, K::List, F::ListEnable, S::ReadBoolean),
    sub(S::ListAttr, K::List, F::ListVisible, S::ReadBoolean),
    sub(S::ListAttr, K::List, F::ListActive, S::ReadBoolean),
    sub(S::ListAttr, K::List, F::ListSetScroll, S::ReadBoolean),
    sub(S::ListAttr, K::List, F::ListSynchronous, S::ReadBoolean),

    // ------------------------------------------------ MENU
    ORRINRC_DEFINITION_FRAME(Menu, Menu, "MENU"),
    def(S::Menu, K::Menu, F::Bounds, S::ReadBounds),
    def(S::Menu, K::Menu, F::MenuCount, S::ReadUshort),
    def(S::Menu, K::Menu, F::MenuSelected, S::ReadShort),
    def(S::Menu, K::Menu, F::MenuItem, S::ReadString, {"MENU_ITEM[S0-9][0-9]*="}),
    def(S::Menu, K::Menu, F::MenuVisible, S::ReadBoolean),

    // ------------------------------------------------ SCROLLBAR
    ORRINRC_DEFINITION_FRAME(Scrollbar, Scrollbar, "SCROLLBAR"),
    def(S::Scrollbar, K::Scrollbar, F::RelatedTableId, S::ReadUshort),
    def(S::Scrollbar, K::Scrollbar, F::Bounds, S::ReadBounds),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarMax, S::ReadWord),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarMin, S::ReadWord),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarValue, S::ReadWord),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarPageSize, S::ReadWord),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarTotalLines, S::ReadWord),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarStyle, S::ScrollbarStyle),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarType, S::ScrollbarType),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarArrow1, S::ReadBitmap),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarArrow2, S::ReadBitmap),
    def(S::Scrollbar, K::Scrollbar, F::ScrollbarText, S::ReadString, {"STRING_TEXT="}),
    other(S::Scrollbar, K::Scrollbar, "SCROLLBAR_ATTR.", F::None, S::ScrollbarAttr, Role::Opener, true),
    sub(S::ScrollbarAttr, K::Scrollbar, F::ScrollbarActive, S::ReadBoolean),
    sub(S::ScrollbarAttr, K::Scrollbar, F::ScrollbarEnable, S::ReadBoolean),
    sub(S::ScrollbarAttr, K::Scrollbar, F::ScrollbarVisible, S::ReadBoolean),

    // ------------------------------------------------ TABLE
    ORRINRC_DEFINITION_FRAME(Table, Table, "TABLE"),
    def(S::Table, K::Table, F::Bounds, S::ReadBounds),
    def(S::Table, K::Table, F::TableColumns, S::ReadUshort),
    def(S::Table, K::Table, F::TableRows, S::ReadUshort),
    def(S::Table, K::Table, F::TableColumnWidth, S::ReadShort, {"TABLE_COLUMN_WIDTH[0-9]*="}),
    def(S::Table, K::Table, F::TableRowHeight, S::ReadShort, {"TABLE_ROW_HEIGHT[0-9]*="}),
    def(S::Table, K::Table, F::TableTopRow, S::ReadUshort),
    def(S::Table, K::Table, F::TableLeftColumn, S::ReadUshort),
    def(S::Table, K::Table, F::TableStyle, S::TableStyle),
    // The table's own colour before its first cell, the current cell's after.
    def(S::Table, K::Table, F::TableBackgroundColor, S::ReadColor),
    def(S::Table, K::Table, F::CellBackgroundColor, S::ReadColor),
    def(S::Table, K::Table, F::TableBitmap, S::ReadBitmap, {"TABLE_CELL_BITMAP?"}),
    def(S::Table, K::Table, F::CellDataType, S::TableDataType),
    def(S::Table, K::Table, F::CellUiObjectId, S::ReadUshort),
    def(S::Table, K::Table, F::CellFont, S::ReadFont),
    def(S::Table, K::Table, F::CellValue, S::ReadWord),
    def(S::Table, K::Table, F::CellAlignment, S::ReadAlignment),
    def(S::Table, K::Table, F::CellFontColor, S::ReadColor),
    def(S::Table, K::Table, F::CellHighlight, S::ReadBoolean),
    def(S::Table, K::Table, F::CellHasBitmap, S::ReadBoolean),
    def(S::Table, K::Table, F::CellText, S::ReadString),
    other(S::Table, K::Table, "TABLE_ATTR.", F::None, S::TableAttr, Role::Opener, true),
    sub(S::TableAttr, K::Table, F::TableEnable, S::ReadBoolean),
    sub(S::TableAttr, K::Table, F::TableScrollbar, S::ReadBoolean),
    sub(S::TableAttr, K::Table, F::TableActive, S::ReadBoolean),
    sub(S::TableAttr, K::Table, F::TableHighlightEnable, S::ReadBoolean),
    sub(S::TableAttr, K::Table, F::TableVisible, S::ReadBoolean),

    // ------------------------------------------------ SCHLINE
    ORRINRC_DEFINITION_FRAME(Schline, Schline, "SCHLINE"),
    def(S::Schline, K::Schline, F::Bounds, S::ReadBounds, {"BOUNDS?"}),
    other(S::Schline, K::Schline, "SCHLINE_ATTR.", F::None, S::SchlineAttr, Role::Opener, true, {"SCHLINE_ATTR?"}),
    sub(S::SchlineAttr, K::Schline, F::SchlineEnable, S::ReadBoolean, {"SCHLINE_ENABLE="}),
    sub(S::SchlineAttr, K::Schline, F::SchlineActive, S::ReadBoolean, {"SCHLINE_ACTIVE="}),
    sub(S::SchlineAttr, K::Schline, F::SchlineVisible, S::ReadBoolean, {"SCHLINE_VISIBLE="}),

    // ------------------------------------------------ STRING
    ORRINRC_DEFINITION_FRAME(String, String, "STRING"),
    def(S::String, K::String, F::RelatedTableId, S::ReadUshort),
    def(S::String, K::String, F::Bounds, S::ReadBounds, {"BOUNDS?"}),
    def(S::String, K::String, F::StringStyle, S::StringStyle),
    def(S::String, K::String, F::StringText, S::ReadString, {"STRING?TEXT="}),
    def(S::String, K::String, F::StringFontColor, S::ReadColor, {"STRING_COLOR="}),
    def(S::String, K::String, F::StringBackgroundColor, S::ReadColor, {"STRING_B[A-Z]*_COLOR="}),
    def(S::String, K::String, F::StringFont, S::ReadFont),
    def(S::String, K::String, F::StringAlignment, S::ReadAlignment, {"STRING_[A-Z]*MENT="}),
    other(S::String, K::String, "STRING_ATTR.", F::None, S::StringAttr, Role::Opener, true, {"STRING_ATTR?"}),
    sub(S::StringAttr, K::String, F::StringVisible, S::ReadBoolean, {"STRING_VISIBLE="}),

    // ------------------------------------------------ BITMAP
    ORRINRC_DEFINITION_FRAME(Bitmap, Bitmap, "BITMAP"),
    def(S::Bitmap, K::Bitmap, F::RelatedTableId, S::ReadUshort),
    // The first four BOUNDS lines fill the bounds; later ones describe the
    // picture that is due.
    def(S::Bitmap, K::Bitmap, F::Bounds, S::ReadBounds, {"BOUNDS?"}),
    other(S::Bitmap, K::Bitmap, "BOUNDS.", F::BitmapPicture1, S::ReadBitmap, Role::Sets, true, {"BOUNDS?"}),
    other(S::Bitmap, K::Bitmap, "BOUNDS.", F::BitmapPicture2, S::ReadBitmap, Role::Sets, true, {"BOUNDS?"}),
    def(S::Bitmap, K::Bitmap, F::BitmapStyle, S::BitmapStyle, {"BITMAP[._]STYLE="}),
    // The digit does not choose the picture: the first one is due until its FILE= line.
    def(S::Bitmap, K::Bitmap, F::BitmapPicture1, S::ReadBitmap, {"BITMAP_BITMAP?", "BITMAP[0-9]_BITMAP?"}),
    def(S::Bitmap, K::Bitmap, F::BitmapPicture2, S::ReadBitmap, {"BITMAP_BITMAP?", "BITMAP[0-9]_BITMAP?"}),
    other(S::Bitmap, K::Bitmap, "BITMAP_ATTR.", F::None, S::BitmapAttr, Role::Opener, true, {"BITMAP_ATTR?"}),
    sub(S::BitmapAttr, K::Bitmap, F::BitmapEnable, S::ReadBoolean),
    sub(S::BitmapAttr, K::Bitmap, F::BitmapActive, S::ReadBoolean),
    sub(S::BitmapAttr, K::Bitmap, F::BitmapVisible, S::ReadBoolean),

    // ------------------------------------------------ TEXTBOX
    ORRINRC_DEFINITION_FRAME(Textbox, Textbox, "TEXTBOX"),
    def(S::Textbox, K::Textbox, F::RelatedTableId, S::ReadUshort),
    def(S::Textbox, K::Textbox, F::Bounds, S::ReadBounds, {"BOUNDS[._]"}),
    def(S::Textbox, K::Textbox, F::TextboxText, S::ReadString),
    def(S::Textbox, K::Textbox, F::TextboxStyle, S::TextboxStyle),
    def(S::Textbox, K::Textbox, F::TextboxBackLine, S::TextboxBackLine),
    def(S::Textbox, K::Textbox, F::TextboxFont, S::ReadFont),
    def(S::Textbox, K::Textbox, F::TextboxFontColor, S::ReadColor),
    def(S::Textbox, K::Textbox, F::TextboxBackgroundColor, S::ReadColor),
    def(S::Textbox, K::Textbox, F::TextboxMaxChars, S::ReadWord),
    def(S::Textbox, K::Textbox, F::TextboxLeftPos, S::ReadWord),
    def(S::Textbox, K::Textbox, F::TextboxRightPos, S::ReadWord),
    def(S::Textbox, K::Textbox, F::TextboxInsertPos, S::ReadWord),
    def(S::Textbox, K::Textbox, F::TextboxHighlightStart, S::ReadWord),
    def(S::Textbox, K::Textbox, F::TextboxHighlightEnd, S::ReadWord),
    other(S::Textbox, K::Textbox, "TEXTBOX_ATTR.", F::None, S::TextboxAttr, Role::Opener, true, {"TEXTBOX_ATTR[._]"}),
    sub(S::TextboxAttr, K::Textbox, F::TextboxActive, S::ReadBoolean),
    sub(S::TextboxAttr, K::Textbox, F::TextboxEnable, S::ReadBoolean),
    sub(S::TextboxAttr, K::Textbox, F::TextboxDirty, S::ReadBoolean),
    sub(S::TextboxAttr, K::Textbox, F::TextboxHighlight, S::ReadBoolean),
    sub(S::TextboxAttr, K::Textbox, F::TextboxInsertPtVisible, S::ReadBoolean),
    sub(S::TextboxAttr, K::Textbox, F::TextboxVisible, S::ReadBoolean),

    // ------------------------------------------------ LINE
    ORRINRC_DEFINITION_FRAME(Line, Line, "LINE"),
    def(S::Line, K::Line, F::RelatedTableId, S::ReadUshort),
    def(S::Line, K::Line, F::Bounds, S::ReadBounds, {"BOUNDS?"}),
    def(S::Line, K::Line, F::LineColor, S::ReadColor),
    def(S::Line, K::Line, F::LineStyle, S::LineStyle),
    def(S::Line, K::Line, F::LineThick, S::ReadUshort),
    def(S::Line, K::Line, F::LineEndX, S::ReadUshort),
    def(S::Line, K::Line, F::LineEndY, S::ReadUshort),
    def(S::Line, K::Line, F::LineVisible, S::ReadBoolean),
};

#undef ORRINRC_DEFINITION_FRAME

// A word whose canonical spelling a vocabulary keeps, and one spelled here.
constexpr WordInfo word(S state, const Vocabulary& words, uint8_t code, Forms forms = {}) {
    return {state, code, &words, nullptr, forms};
}
constexpr WordInfo own_word(S state, const char* spelling, uint8_t code, Forms forms = {}) {
    return {state, code, nullptr, spelling, forms};
}

inline constexpr WordInfo kWords[] = {
    own_word(S::ReadShort, "NO_SELECTION", 0),
    own_word(S::ReadBoolean, "FALSE", 0, {"F[A-Z]*"}),
    own_word(S::ReadBoolean, "TRUE", 1, {"T[A-Z]*"}),
    word(S::ReadType, kObjectTypeWords, type_code(K::Form)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Control)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Field)),
    word(S::ReadType, kObjectTypeWords, type_code(K::List)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Menu)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Scrollbar)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Table)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Schline)),
    word(S::ReadType, kObjectTypeWords, type_code(K::String)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Bitmap)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Textbox)),
    word(S::ReadType, kObjectTypeWords, type_code(K::Line)),
    word(S::ReadColor, kColorWords, kColorWhite, {"COLOR_W[A-Z0-9]*"}),
    word(S::ReadColor, kColorWords, kColorGrey1),
    word(S::ReadColor, kColorWords, kColorGrey2),
    word(S::ReadColor, kColorWords, kColorBlack, {"COLOR_B[A-Z0-9]*"}),
    word(S::ReadFont, kFontWords, kSmallFont, {"NORMAL_FONT"}),
    word(S::ReadFont, kFontWords, kMediumFont, {"NORMAL"}),
    word(S::ReadFont, kFontWords, kLargeFont),
    // A blank value is left alignment.
    word(S::ReadAlignment, kAlignmentWords, kLeft, {""}),
    word(S::ReadAlignment, kAlignmentWords, kCentre),
    word(S::ReadAlignment, kAlignmentWords, kRight),
    word(S::ReadBitmapFile, kDepthWords, kTwoBit),
    word(S::ReadBitmapFile, kDepthWords, kFourBit),
    word(S::FormStyle, kFormStyleWords, kFormBackground),
    word(S::FormStyle, kFormStyleWords, kFormNormal),
    word(S::FormStyle, kFormStyleWords, kFormBitmapDialog),
    word(S::FormStyle, kFormStyleWords, kFormNonBitmapDialog),
    word(S::ControlStyle, kControlStyleWords, kButton),
    word(S::ControlStyle, kControlStyleWords, kPushButton),
    word(S::ControlStyle, kControlStyleWords, kRepeatButton),
    word(S::ControlStyle, kControlStyleWords, kCheckbox),
    word(S::ControlStyle, kControlStyleWords, kPopupTrigger),
    // A blank subtype is 0; a number is the other way to give it.
    own_word(S::ControlSubtype, "", 0),
    word(S::FieldBackLine, kBackLineWords, kNoLine, {"WITHOUT[A-Z_]*", "NO[A-Z_]*"}),
    word(S::FieldBackLine, kBackLineWords, kDottedBackLine, {"DOT[A-Z_]*"}),
    word(S::FieldBackLine, kBackLineWords, kGreyLine, {"GREY[A-Z_]*"}),
    word(S::ScrollbarStyle, kScrollbarStyleWords, kVertical, {"SCROLLBAR_STYLE_0"}),
    word(S::ScrollbarStyle, kScrollbarStyleWords, kHorizontal),
    word(S::ScrollbarType, kScrollbarTypeWords, kVertical),
    word(S::ScrollbarType, kScrollbarTypeWords, kHorizontal),
    word(S::TableDataType, kDataTypeWords, kTableText),
    word(S::TableDataType, kDataTypeWords, kTableValue),
    word(S::TableDataType, kDataTypeWords, kTableUiObject),
    word(S::TextboxBackLine, kBackLineWords, kNoLine, {"NO[A-Z_]*"}),
    word(S::TextboxBackLine, kBackLineWords, kDottedBackLine, {"DOT[A-Z_]*"}),
    word(S::TextboxBackLine, kBackLineWords, kGreyLine, {"GREY[A-Z_]*"}),
    word(S::LineStyle, kLineStyleWords, kDottedLine),
    word(S::LineStyle, kLineStyleWords, kNonDottedLine),
};

inline constexpr size_t kStatementCount = std::size(kStatements);
inline constexpr size_t kWordCount = std::size(kWords);

// "Any field" and "any state" for the look-ups below.
inline constexpr F kAnyField = F::Count_;
inline constexpr S kAnyState = S::Count_;

constexpr bool same_text(const char* a, std::string_view b) { return std::string_view(a) == b; }

// The position of the one statement of `state` spelled `spelling` (its
// canonical spelling) that sets `field` and enters `enters`, where these are
// given. For the scanner's rules at build time: no such statement, or more
// than one, stops the build.
consteval uint16_t statement_id(S state, std::string_view spelling, F field = kAnyField, S enters = kAnyState) {
    size_t found = kStatementCount;
    for (size_t i = 0; i < kStatementCount; ++i) {
        const StatementInfo& s = kStatements[i];
        if (s.state != state || !same_text(s.spelling, spelling)) continue;
        if (field != kAnyField && s.field != field) continue;
        if (enters != kAnyState && s.enters != enters) continue;
        if (found != kStatementCount) throw "more than one statement answers this look-up";
        found = i;
    }
    if (found == kStatementCount) throw "no such statement in the language's tables";
    return static_cast<uint16_t>(found);
}

// The position of the word of `state` with this code.
consteval uint16_t word_id(S state, unsigned code) {
    size_t found = kWordCount;
    for (size_t i = 0; i < kWordCount; ++i) {
        if (kWords[i].state != state || kWords[i].code != code) continue;
        if (found != kWordCount) throw "more than one word answers this look-up";
        found = i;
    }
    if (found == kWordCount) throw "no such word in the language's tables";
    return static_cast<uint16_t>(found);
}

// A statement of a sub-state that sets a field is the rest of that field's
// statement after the opener that enters the sub-state.
constexpr bool starts_with(const char* text, const char* head) {
    while (*head != '\0')
        if (*text++ != *head++) return false;
    return true;
}
constexpr bool sub_statements_follow_openers() {
    for (const StatementInfo& s : kStatements) {
        if (s.field == F::None) continue;
        const std::string_view whole_statement = field_info(s.field).statement;
        if (whole_statement == s.spelling || !whole_statement.ends_with(s.spelling)) continue;
        bool opened = false;
        for (const StatementInfo& opener : kStatements) {
            if (opener.enters != s.state || opener.state == s.state) continue;
            const char* whole = field_info(s.field).statement;
            if (starts_with(whole, opener.spelling) && same_text(whole + std::string_view(opener.spelling).size(), s.spelling))
                opened = true;
        }
        if (!opened) return false;
    }
    return true;
}
static_assert(sub_statements_follow_openers(), "a sub-state's statement is its field's statement after the opener");

}  // namespace language

using language::kStatements;
using language::kWords;

}  // namespace orrinrc::format
