// The facts of the resource.bin format, in one place for every program: the
// kinds with their type codes and statements, the words of keyword values
// with their codes, and the ordered inner blocks of each kind's record with
// the fields they hold. The compiler's writers, the dump tool's decoders,
// its listing and its resource-text writer all walk these tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace orrinrc::format {

// ---------------------------------------------------------------- kinds

// The twelve resource kinds; the value of each is its object type code, the
// byte that opens every record and the value of an OBJECT_TYPE= entry.
enum class Kind : uint8_t { Form, Control, Field, List, Menu, Scrollbar, Table, Schline, String, Bitmap, Textbox, Line };
inline constexpr size_t kKindCount = 12;

constexpr uint8_t type_code(Kind k) { return static_cast<uint8_t>(k); }

struct KindInfo {
    Kind kind;
    const char* keyword;         // "FORM": trace keyword and OBJECT.TYPE= word
    const char* open_statement;  // "#FORM"
    const char* end_statement;   // "#END_FORM"
};

// The statements of every definition that are no field of its record: the
// name that resource.h defines and the identifier before the outer block.
inline constexpr const char* kNameStatement = "NAME=";
inline constexpr const char* kIdStatement = "ID=";
// The statement that opens a control's style statements. In a check box it
// opens the check-box block, whose statements may follow it on its line.
inline constexpr const char* kControlAddStatement = "CONTROL_ADD.";

const KindInfo& kind_info(Kind k);
// The kind of a stored type code, or nullptr for a code that names none.
const KindInfo* kind_of_code(uint32_t code);
inline const char* kind_keyword(Kind k) { return kind_info(k).keyword; }
// The keyword of a stored type code, or nullptr.
const char* kind_keyword(uint32_t code);
std::span<const KindInfo> all_kinds();

// ---------------------------------------------------------------- values

enum FormStyle : uint8_t { kFormBackground, kFormNormal, kFormBitmapDialog, kFormNonBitmapDialog };
enum ControlStyle : uint8_t { kButton, kPushButton, kRepeatButton, kCheckbox, kPopupTrigger };
enum Color : uint8_t { kColorWhite, kColorGrey1, kColorGrey2, kColorBlack };
enum Font : uint8_t { kSmallFont, kMediumFont, kLargeFont };
enum Alignment : uint8_t { kLeft, kCentre, kRight };
enum BackLine : uint8_t { kNoLine, kDottedBackLine, kGreyLine };
enum Orientation : uint8_t { kVertical, kHorizontal };
enum LineStyle : uint8_t { kDottedLine, kNonDottedLine };
enum DataType : uint8_t { kTableText, kTableValue, kTableUiObject };

// Bits per pixel of a stored picture, and the words of the FILE= line.
enum Depth : uint8_t { kTwoBit = 2, kFourBit = 4 };
inline constexpr const char* kTwoBitWord = "Q_TWO_BIT";
inline constexpr const char* kFourBitWord = "Q_FOUR_BIT";

// The words that a keyword value takes, indexed by the stored code (the
// canonical spelling; the scanner accepts a few more). With
// `number_fallback` the language also accepts a plain number for the field.
struct Vocabulary {
    const char* const* words;
    size_t count;
    bool number_fallback;

    // The word of a code, or nullptr when the code has none.
    const char* word(uint32_t code) const { return code < count ? words[code] : nullptr; }
};

extern const Vocabulary kObjectTypeWords;
extern const Vocabulary kColorWords;
extern const Vocabulary kFontWords;
extern const Vocabulary kAlignmentWords;
extern const Vocabulary kFormStyleWords;
extern const Vocabulary kControlStyleWords;
extern const Vocabulary kBackLineWords;
extern const Vocabulary kScrollbarStyleWords;
extern const Vocabulary kScrollbarTypeWords;
extern const Vocabulary kLineStyleWords;
extern const Vocabulary kDataTypeWords;

// ---------------------------------------------------------------- fields

// How a field is stored.
enum class Encoding : uint8_t {
    U8,       // one byte, a number
    U16,      // two bytes, an unsigned number
    S16,      // two bytes, a signed number
    Word,     // four bytes, read by the word reader
    Boolean,  // two bytes, an on/off value
    Choice,   // one byte, a code that the language writes as a word
    Text,     // bytes and a NUL, or nothing for none
    Bounds,   // X, Y, WIDTH, HEIGHT as four signed 16-bit values
    Bitmap,   // a bitmap data block, or nothing
};

// Bytes of a fixed-width encoding; 0 for texts and bitmaps.
constexpr size_t fixed_width(Encoding e) {
    switch (e) {
    case Encoding::U8:
    case Encoding::Choice: return 1;
    case Encoding::U16:
    case Encoding::S16:
    case Encoding::Boolean: return 2;
    case Encoding::Word: return 4;
    case Encoding::Bounds: return 8;
    default: return 0;
    }
}

// Every field of every record. Each has a statement that sets it; the
// order within a kind is the order of its record.
enum class FieldId : uint8_t {
    None,
    ObjectType,
    RelatedTableId,
    Bounds,
    // FORM
    FormFocused, FormStyle, FormTitle, FormBitmap, FormCount, FormObjectId, FormObjectType,
    // CONTROL
    ControlStyle, ControlSubtype, ControlText, ControlAlignment, ControlEnable, ControlActive, ControlVisible,
    ButtonRadius, ButtonColorOn, ButtonColorOff,
    PushColorOn, PushColorOff, PushGroupId, PushValue, PushRadius,
    RepeatBitmap,
    CheckboxGroupId, CheckboxValue, CheckboxBitmap1, CheckboxBitmap2,
    PopupRadius, PopupCount, PopupSelected, PopupTop, PopupItem,
    // FIELD
    FieldText, FieldStyle, FieldBackLine, FieldFont, FieldFontColor, FieldBackgroundColor, FieldAlignment,
    FieldMaxChars, FieldTopLine, FieldInsertPos, FieldHighlightStart, FieldHighlightEnd,
    FieldActive, FieldEnable, FieldDirty, FieldHighlight, FieldInsertPtVisible, FieldScrollbar, FieldFullSize,
    FieldVisible,
    // LIST
    ListRelatedCount, ListRelatedObject, ListTotal, ListOnDisplay, ListTopItem, ListAlignment, ListSelected,
    ListStyle, ListTextColor, ListBackgroundColor, ListItem,
    ListEnable, ListVisible, ListActive, ListSetScroll, ListSynchronous,
    // MENU
    MenuCount, MenuSelected, MenuItem, MenuVisible,
    // SCROLLBAR
    ScrollbarMax, ScrollbarMin, ScrollbarValue, ScrollbarPageSize, ScrollbarTotalLines, ScrollbarStyle,
    ScrollbarType, ScrollbarArrow1, ScrollbarArrow2, ScrollbarText, ScrollbarActive, ScrollbarEnable,
    ScrollbarVisible,
    // TABLE
    TableColumns, TableRows, TableColumnWidth, TableRowHeight, TableTopRow, TableLeftColumn, TableStyle,
    TableBackgroundColor, TableBitmap,
    CellDataType, CellUiObjectId, CellFont, CellValue, CellAlignment, CellFontColor, CellBackgroundColor,
    CellHighlight, CellHasBitmap, CellText,
    TableEnable, TableScrollbar, TableActive, TableHighlightEnable, TableVisible,
    // SCHLINE
    SchlineEnable, SchlineActive, SchlineVisible,
    // STRING
    StringStyle, StringText, StringFontColor, StringBackgroundColor, StringFont, StringAlignment, StringVisible,
    // BITMAP
    BitmapStyle, BitmapPicture1, BitmapPicture2, BitmapEnable, BitmapActive, BitmapVisible,
    // TEXTBOX
    TextboxText, TextboxStyle, TextboxBackLine, TextboxFont, TextboxFontColor, TextboxBackgroundColor,
    TextboxMaxChars, TextboxLeftPos, TextboxRightPos, TextboxInsertPos, TextboxHighlightStart,
    TextboxHighlightEnd, TextboxActive, TextboxEnable, TextboxDirty, TextboxHighlight, TextboxInsertPtVisible,
    TextboxVisible,
    // LINE
    LineColor, LineStyle, LineThick, LineEndX, LineEndY, LineVisible,
    Count_
};

struct FieldInfo {
    FieldId id;
    Encoding encoding;
    const char* statement;         // the statement that sets it: "FORM_STYLE=", "BOUNDS."
    const Vocabulary* words;       // Choice: its words
    const char* picture;           // Bitmap: the picture's name within its record
    FieldId count;                 // Text: a list of at most that field's value texts
};

// Every field's description, indexed by its identifier (format/layouts.h).
constexpr const FieldInfo& field_info(FieldId id);
inline const char* statement(FieldId id);

// ---------------------------------------------------------------- blocks

// The blocks whose content depends on values stored before them; the record
// walk (format/codec.h) decides what each one holds.
enum SpecialBlock : uint8_t {
    kRegularBlock,
    kFormBitmapBlock,       // the picture, only for the form styles that show one
    kControlSubtypeBlock,   // the subtype, not stored for a check box
    kTableCellsBlock,       // rows x columns cells (table_cell_fields)
};

// One inner block of a record: the fields it holds in order. A block with a
// `repeat` field holds its fields that many times over (entry lists). A
// special block's fields say what it may hold; the record walk says what it
// holds in a given record.
struct BlockLayout {
    const char* what;
    FieldId fields[8] = {};
    uint8_t field_count = 0;
    FieldId repeat = FieldId::None;
    SpecialBlock special = kRegularBlock;
    bool has_variable = false;  // a field is a text or a bitmap
    uint16_t fixed_bytes = 0;   // of the fixed-width fields, one pass

    constexpr BlockLayout(const char* what_, std::initializer_list<FieldId> f, FieldId repeat_ = FieldId::None,
                          SpecialBlock special_ = kRegularBlock)
        : what(what_), repeat(repeat_), special(special_) {
        for (FieldId id : f) {
            fields[field_count++] = id;
            const size_t width = fixed_width(field_info(id).encoding);
            if (width == 0) has_variable = true;
            fixed_bytes = static_cast<uint16_t>(fixed_bytes + width);
        }
    }
    constexpr std::span<const FieldId> field_list() const { return {fields, field_count}; }
    // The bytes of one pass over the fields, or 0 when one of them is a
    // text or a bitmap.
    constexpr size_t fixed_size() const { return has_variable ? 0 : fixed_bytes; }
    // Whether a field is a text or a bitmap, so that the block's size is
    // known only from its content.
    constexpr bool variable() const { return has_variable; }
};

// The inner blocks of a kind's record, in order, the object type block
// first. For CONTROL these are the blocks every style has; the style's own
// blocks follow (control_style_blocks).
std::span<const BlockLayout> record_blocks(Kind k);
// The blocks that follow the attribute block of a control of this style;
// empty for a style outside 0..4.
std::span<const BlockLayout> control_style_blocks(uint32_t style);
// The fields of one table cell, in stored order, its text last.
std::span<const FieldId> table_cell_fields();
// Bytes of a cell before its text.
inline constexpr size_t kCellFixedBytes = 15;

// Whether a form of this style stores its bitmap.
constexpr bool form_stores_bitmap(uint32_t style) { return style == kFormNormal || style == kFormBitmapDialog; }

// What a special block of a form or a control holds, by the value that
// decides it: FORM's bitmap block by the form's style, CONTROL's subtype
// block by the control's style. Each is a regular block, empty when the
// record stores nothing there.
const BlockLayout& form_bitmap_block(uint32_t form_style);
const BlockLayout& control_subtype_block(uint32_t control_style);

}  // namespace orrinrc::format

#include "format/layouts.h"
