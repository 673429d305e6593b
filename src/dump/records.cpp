// Per-kind decoding of resource.bin records into named fields.
#include "dump/records.h"

#include <unordered_set>

namespace {

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
constexpr Words words(const char* const (&names)[N], bool fallback) {
    return Words{names, N, fallback};
}

}  // namespace

const Words kObjectTypeWords = words(kObjectTypeNames, false);
const Words kColorWords = words(kColorNames, false);
const Words kFontWords = words(kFontNames, false);
const Words kAlignmentWords = words(kAlignmentNames, false);
const Words kFormStyleWords = words(kFormStyleNames, false);
const Words kControlStyleWords = words(kControlStyleNames, false);
const Words kBackLineWords = words(kBackLineNames, false);
const Words kScrollbarStyleWords = words(kOrientationNames, false);
const Words kScrollbarTypeWords = words(kOrientationNames, true);
const Words kLineStyleWords = words(kLineStyleNames, true);
const Words kDataTypeWords = words(kDataTypeNames, false);

const char* kind_keyword(uint32_t type) { return kObjectTypeWords.name(type); }

long Field::number() const {
    if (is_signed) return static_cast<int16_t>(value);
    return static_cast<long>(value);
}

const Field* Record::find(std::string_view key) const {
    for (const Field& f : fields)
        if (f.key == key) return &f;
    return nullptr;
}

namespace {

// Decodes the inner blocks of one record into its fields.
class Decoder {
public:
    Decoder(const Bytes& bytes, const RawRecord& raw, Record& rec) : bytes_(bytes), raw_(raw), rec_(rec) {}

    void expect_blocks(size_t n, const char* which = "") {
        if (raw_.inner.size() != n)
            throw DumpError{raw_.outer.start,
                            strf("%s%s record has %zu inner blocks, its layout has %zu", kind(), which,
                                 raw_.inner.size(), n)};
    }

    // Inner block n (counted from 1) for reading.
    Reader open(size_t n) const {
        const Block& b = raw_.inner.at(n - 1);
        return Reader(bytes_, b.content(), b.end());
    }

    // Inner block n, which must hold exactly `size` bytes.
    Reader fixed(size_t n, size_t size, const char* what) const {
        const Block& b = raw_.inner.at(n - 1);
        if (b.content_size() != size)
            throw DumpError{b.start, strf("inner block %zu of a %s (%s) holds %zu byte%s, its layout has %zu", n,
                                          kind(), what, b.content_size(), b.content_size() == 1 ? "" : "s", size)};
        return open(n);
    }

    // Blocks 2 and 3 of the eight kinds that have a related table: the
    // shared RELATED_TABLE_ID value, then the bounds.
    void related_table_and_bounds() {
        Reader b2 = fixed(2, 2, "related table");
        u16(b2, "RELATED_TABLE_ID=");
        Reader b3 = fixed(3, 8, "bounds");
        bounds(b3);
    }

    // Checks that a block of variable content has been read to its end.
    void finish(const Reader& r, size_t n, const char* what) const {
        if (!r.at_end())
            throw DumpError{r.pos(), strf("inner block %zu of a %s (%s) has %zu byte%s after its content", n, kind(),
                                          what, r.left(), r.left() == 1 ? "" : "s")};
    }

    Field& add(const char* key, FieldType type, size_t offset) {
        Field f;
        f.key = key;
        f.type = type;
        f.offset = offset;
        rec_.fields.push_back(std::move(f));
        return rec_.fields.back();
    }

    uint32_t u8(Reader& r, const char* key) {
        Field& f = add(key, FieldType::Number, r.pos());
        f.bytes = 1;
        f.value = r.u8(key);
        return f.value;
    }
    uint32_t u16(Reader& r, const char* key, bool is_signed = false) {
        Field& f = add(key, FieldType::Number, r.pos());
        f.bytes = 2;
        f.is_signed = is_signed;
        f.value = r.u16(key);
        return f.value;
    }
    void word(Reader& r, const char* key) { add(key, FieldType::Word32, r.pos()).value = r.u32(key); }
    void boolean(Reader& r, const char* key) { add(key, FieldType::Boolean, r.pos()).value = r.u16(key); }
    uint32_t choice(Reader& r, const char* key, const Words& w) {
        Field& f = add(key, FieldType::Choice, r.pos());
        f.words = &w;
        f.value = r.u8(key);
        return f.value;
    }
    void bounds(Reader& r) {
        Field& f = add("BOUNDS.", FieldType::Bounds, r.pos());
        f.bounds.x = static_cast<int16_t>(r.u16("bounds"));
        f.bounds.y = static_cast<int16_t>(r.u16("bounds"));
        f.bounds.width = static_cast<int16_t>(r.u16("bounds"));
        f.bounds.height = static_cast<int16_t>(r.u16("bounds"));
    }
    // A text that fills the rest of the reader: nothing (none) or its bytes
    // and one NUL.
    void text(Reader& r, const char* key) {
        Field& f = add(key, FieldType::Text, r.pos());
        if (!r.at_end()) f.text = r.cstring(key);
    }
    // A bitmap data block that fills the rest of the reader, or nothing.
    void bitmap(Reader& r, const char* key, const char* picture) {
        Field& f = add(key, FieldType::Bitmap, r.pos());
        f.picture = picture;
        BitmapView& bm = f.bitmap;
        if (r.at_end()) return;
        bm.present = true;
        bm.offset = r.pos();
        bm.x = static_cast<int16_t>(r.u16("bitmap header"));
        bm.y = static_cast<int16_t>(r.u16("bitmap header"));
        bm.width = static_cast<int16_t>(r.u16("bitmap header"));
        bm.height = static_cast<int16_t>(r.u16("bitmap header"));
        bm.reserved = r.u8("bitmap header");
        bm.depth = r.u8("bitmap header");
        bm.size = r.u16("bitmap header");
        bm.padding = (4 - bm.offset % 4) % 4;
        for (size_t i = 0; i < bm.padding; ++i)
            if (r.u8("bitmap padding") != 0) bm.padding_zero = false;
        const size_t count = bm.size / 4;
        if (r.left() / 4 < count)
            throw DumpError{r.pos(), strf("bitmap data of %u bytes runs past its block, which has %zu bytes left",
                                          bm.size, r.left())};
        bm.words.reserve(count);
        for (size_t i = 0; i < count; ++i) bm.words.push_back(r.u32("bitmap data"));
    }
    // Texts back to back, at most `count` of them, filling the rest.
    void texts(Reader& r, const char* key, uint32_t count, size_t n) {
        uint32_t seen = 0;
        while (!r.at_end()) {
            if (seen == count)
                throw DumpError{r.pos(), strf("inner block %zu of a %s holds more texts than the %u it declares", n,
                                              kind(), count)};
            text_at(r, key);
            ++seen;
        }
    }
    void text_at(Reader& r, const char* key) {
        Field& f = add(key, FieldType::Text, r.pos());
        f.text = r.cstring(key);
    }

    const char* kind() const { return kind_keyword(rec_.type); }

    const Bytes& bytes_;
    const RawRecord& raw_;
    Record& rec_;
};

void decode_form(Decoder& d) {
    d.expect_blocks(8);
    Reader b2 = d.fixed(2, 8, "bounds");
    d.bounds(b2);
    Reader b3 = d.fixed(3, 2, "focused object");
    d.u16(b3, "FOCUSED_OBJECT=");
    Reader b4 = d.fixed(4, 1, "style");
    const uint32_t style = d.choice(b4, "FORM_STYLE=", kFormStyleWords);
    Reader b5 = d.open(5);
    d.text(b5, "FORM_TITLE=");
    d.finish(b5, 5, "title");
    Reader b6 = d.open(6);
    if (style == 1 || style == 2) {
        d.bitmap(b6, "FORM_BITMAP.", "bitmap");
        d.finish(b6, 6, "bitmap");
    } else if (!b6.at_end()) {
        throw DumpError{b6.pos(), strf("inner block 6 of a FORM holds %zu bytes, a form of style %u stores no bitmap",
                                       b6.left(), style)};
    }
    Reader b7 = d.fixed(7, 2, "number of objects");
    const uint32_t count = d.u16(b7, "NO_OF_OBJECTS=");
    Reader b8 = d.fixed(8, size_t{count} * 3, "object list");
    for (uint32_t i = 0; i < count; ++i) {
        d.u16(b8, "OBJECT_ID=");
        d.choice(b8, "OBJECT_TYPE=", kObjectTypeWords);
    }
}

void decode_control(Decoder& d, const RawRecord& raw) {
    if (raw.inner.size() < 8) d.expect_blocks(9);
    d.related_table_and_bounds();
    Reader b4 = d.fixed(4, 1, "style");
    const uint32_t style = d.choice(b4, "CONTROL_STYLE=", kControlStyleWords);
    if (style > kPopupTrigger)
        throw DumpError{b4.pos() - 1, strf("unknown control style %u (the styles are 0 to 4)", style)};
    d.expect_blocks(style == kCheckbox ? 10 : 9, strf(" (%s)", kControlStyleWords.name(style)).c_str());
    if (style == kCheckbox) {
        d.fixed(5, 0, "subtype, not stored for a check box");
    } else {
        Reader b5 = d.fixed(5, 1, "subtype");
        d.u8(b5, "CONTROL_SUBTYPE=");
    }
    Reader b6 = d.open(6);
    d.text(b6, "CONTROL_TEXT=");
    d.finish(b6, 6, "text");
    Reader b7 = d.fixed(7, 1, "text alignment");
    d.choice(b7, "TEXT_ALIGNMENT=", kAlignmentWords);
    Reader b8 = d.fixed(8, 6, "attributes");
    d.boolean(b8, "CONTROL_ATTR.ENABLE=");
    d.boolean(b8, "CONTROL_ATTR.ACTIVE=");
    d.boolean(b8, "CONTROL_ATTR.VISIBLE=");
    switch (style) {
    case kButton: {
        Reader b9 = d.fixed(9, 4, "button");
        d.u16(b9, "CONTROL_ADD.RADIUS=");
        d.choice(b9, "CONTROL_ADD.COLOR_ON=", kColorWords);
        d.choice(b9, "CONTROL_ADD.COLOR_OFF=", kColorWords);
        break;
    }
    case kPushButton: {
        Reader b9 = d.fixed(9, 8, "push button");
        d.choice(b9, "CONTROL_ADD.COLOR_ON=", kColorWords);
        d.choice(b9, "CONTROL_ADD.COLOR_OFF=", kColorWords);
        d.u16(b9, "CONTROL_ADD.GROUP_ID=");
        d.boolean(b9, "CONTROL_ADD.CONTROL_VALUE=");
        d.u16(b9, "CONTROL_ADD.RADIUS=");
        break;
    }
    case kRepeatButton: {
        Reader b9 = d.open(9);
        d.bitmap(b9, "CONTROL_BITMAP.", "bitmap");
        d.finish(b9, 9, "bitmap");
        break;
    }
    case kCheckbox: {
        Reader b9 = d.open(9);
        d.u16(b9, "CONTROL_ADD.GROUP_ID=");
        d.boolean(b9, "CONTROL_VALUE=");
        d.bitmap(b9, "CONTROL_BITMAP.", "bitmap1");
        d.finish(b9, 9, "check box");
        Reader b10 = d.open(10);
        d.bitmap(b10, "CONTROL_BITMAP.", "bitmap2");
        d.finish(b10, 10, "second bitmap");
        break;
    }
    default: {
        Reader b9 = d.open(9);
        d.u16(b9, "CONTROL_ADD.RADIUS=");
        const uint32_t count = d.u16(b9, "CONTROL_ADD.NUM_OBJECTS=");
        d.u16(b9, "CONTROL_ADD.SELECTED_ITEM=", true);
        d.u16(b9, "CONTROL_ADD.TOP_ITEM_NUM=");
        d.texts(b9, "CONTROL_ADD.ITEM=", count, 9);
        break;
    }
    }
}

void decode_field(Decoder& d) {
    d.expect_blocks(16);
    d.related_table_and_bounds();
    Reader b4 = d.open(4);
    d.text(b4, "FIELD_TEXT=");
    d.finish(b4, 4, "text");
    Reader b5 = d.fixed(5, 1, "style");
    d.u8(b5, "FIELD_STYLE=");
    Reader b6 = d.fixed(6, 1, "back line");
    d.choice(b6, "FIELD_BACK_LINE=", kBackLineWords);
    Reader b7 = d.fixed(7, 1, "font");
    d.choice(b7, "FIELD_FONT=", kFontWords);
    Reader b8 = d.fixed(8, 1, "font colour");
    d.choice(b8, "FIELD_FONT_COLOR=", kColorWords);
    Reader b9 = d.fixed(9, 1, "background colour");
    d.choice(b9, "FIELD_BACKGROUND_COLOR=", kColorWords);
    Reader b10 = d.fixed(10, 1, "text alignment");
    d.choice(b10, "FIELD_TEXTMENT=", kAlignmentWords);
    const char* const words[] = {"FIELD_MAX_NUM_CHARS=", "FIELD_TOP_LINE_NUM=", "FIELD_INSERT_PT_CHAR_POS=",
                                 "FIELD_HIGHLIGHT_START=", "FIELD_HIGHLIGHT_END="};
    for (size_t i = 0; i < 5; ++i) {
        Reader b = d.fixed(11 + i, 4, words[i]);
        d.word(b, words[i]);
    }
    Reader b16 = d.fixed(16, 16, "attributes");
    for (const char* key : {"FIELD_ATTR.FIELD_ACTIVE=", "FIELD_ATTR.FIELD_ENABLE=", "FIELD_ATTR.FIELD_DIRTY=",
                            "FIELD_ATTR.FIELD_HIGHLIGHT=", "FIELD_ATTR.FIELD_INSERT_PT_VISIBLE=",
                            "FIELD_ATTR.FIELD_SCROLLBAR=", "FIELD_ATTR.FIELD_FULL_SIZE=", "FIELD_ATTR.FIELD_VISIBLE="})
        d.boolean(b16, key);
}

void decode_list(Decoder& d) {
    d.expect_blocks(15);
    d.related_table_and_bounds();
    Reader b4 = d.fixed(4, 2, "number of related objects");
    const uint32_t related = d.u16(b4, "LIST_NUM_RELATED_LIST_OBJECT=");
    Reader b5 = d.fixed(5, size_t{related} * 2, "related objects");
    for (uint32_t i = 0; i < related; ++i) d.u16(b5, "LIST_RELATED_OBJECT=");
    Reader b6 = d.fixed(6, 2, "total number of items");
    const uint32_t total = d.u16(b6, "LIST_TOTAL_NUM_ITEMS=");
    Reader b7 = d.fixed(7, 2, "items on display");
    d.u16(b7, "LIST_NUM_ITEMS_ON_DISPLAY=");
    Reader b8 = d.fixed(8, 2, "top item");
    d.u16(b8, "LIST_TOP_ITEM_NUM=");
    Reader b9 = d.fixed(9, 1, "text alignment");
    d.choice(b9, "LIST_TEXT_ALIGNMENT=", kAlignmentWords);
    Reader b10 = d.fixed(10, 2, "selected item");
    d.u16(b10, "LIST_SELECTED_ITEM=", true);
    Reader b11 = d.fixed(11, 1, "style");
    d.u8(b11, "LIST_STYLE=");
    Reader b12 = d.fixed(12, 1, "text colour");
    d.choice(b12, "LIST_TEXT_COLOR=", kColorWords);
    Reader b13 = d.fixed(13, 1, "background colour");
    d.choice(b13, "LIST_BACKGROUND_COLOR=", kColorWords);
    Reader b14 = d.open(14);
    d.texts(b14, "LIST_ITEM=", total, 14);
    Reader b15 = d.fixed(15, 10, "attributes");
    for (const char* key : {"LIST_ATTR.LIST_ENABLE=", "LIST_ATTR.LIST_VISIBLE=", "LIST_ATTR.LIST_ACTIVE=",
                            "LIST_ATTR.LIST_SET_SCROLL=", "LIST_ATTR.LIST_SYNCHRONOUS="})
        d.boolean(b15, key);
}

void decode_menu(Decoder& d) {
    d.expect_blocks(6);
    Reader b2 = d.fixed(2, 8, "bounds");
    d.bounds(b2);
    Reader b3 = d.fixed(3, 2, "number of items");
    const uint32_t count = d.u16(b3, "MENU_NUM_ITEMS=");
    Reader b4 = d.fixed(4, 2, "selected item");
    d.u16(b4, "MENU_SELECTED_ITEM=", true);
    Reader b5 = d.open(5);
    d.texts(b5, "MENU_ITEM=", count, 5);
    Reader b6 = d.fixed(6, 2, "visible");
    d.boolean(b6, "MENU_VISIBLE=");
}

void decode_scrollbar(Decoder& d) {
    d.expect_blocks(14);
    d.related_table_and_bounds();
    const char* const words[] = {"SCROLLBAR_MAX=", "SCROLLBAR_MIN=", "SCROLLBAR_CURRENT_VALUE=",
                                 "SCROLLBAR_PAGESIZE=", "SCROLLBAR_TOTAL_NUM_LINES="};
    for (size_t i = 0; i < 5; ++i) {
        Reader b = d.fixed(4 + i, 4, words[i]);
        d.word(b, words[i]);
    }
    Reader b9 = d.fixed(9, 1, "style");
    d.choice(b9, "SCROLLBAR_STYLE=", kScrollbarStyleWords);
    Reader b10 = d.fixed(10, 1, "type");
    d.choice(b10, "SCROLLBAR_TYPE=", kScrollbarTypeWords);
    Reader b11 = d.open(11);
    d.bitmap(b11, "SCROLLBAR_ARROW1_BITMAP.", "arrow1");
    d.finish(b11, 11, "arrow 1");
    Reader b12 = d.open(12);
    d.bitmap(b12, "SCROLLBAR_ARROW2_BITMAP.", "arrow2");
    d.finish(b12, 12, "arrow 2");
    Reader b13 = d.open(13);
    d.text(b13, "SCROLLBAR_TEXT=");
    d.finish(b13, 13, "text");
    Reader b14 = d.fixed(14, 6, "attributes");
    for (const char* key :
         {"SCROLLBAR_ATTR.SCROLLBAR_ACTIVE=", "SCROLLBAR_ATTR.SCROLLBAR_ENABLE=", "SCROLLBAR_ATTR.SCROLLBAR_VISIBLE="})
        d.boolean(b14, key);
}

// The 15 fixed bytes of a table cell.
constexpr size_t kCellFixed = 15;

// Whether the fixed part of a cell at `at` holds values that the language can
// give a cell (data type, font, alignment 0-2, colours 0-3, flags 0/1).
bool cell_in_range(const Bytes& b, size_t at) {
    return b[at] <= 2 && b[at + 3] <= 2 && b[at + 8] <= 2 && b[at + 9] <= 3 && b[at + 10] <= 3 &&
           b[at + 11] <= 1 && b[at + 12] == 0 && b[at + 13] <= 1 && b[at + 14] == 0;
}

// Where each cell's text lies. A cell is 15 bytes, then either nothing or a
// NUL-terminated text, so the block alone does not say which cells have one;
// this finds a split that fills the block exactly, preferring one in which
// every cell holds values that the language can give it. Returns for each
// cell whether a text follows its fixed part; throws when no split exists.
std::vector<bool> split_cells(const Bytes& b, const Block& block, uint64_t count, size_t n) {
    const size_t begin = block.content(), end = block.end();
    if (count > (end - begin) / kCellFixed)
        throw DumpError{block.start, strf("inner block %zu of a TABLE holds %zu bytes, too few for %llu cells of %zu "
                                          "bytes",
                                          n, end - begin, static_cast<unsigned long long>(count), kCellFixed)};
    // next_nul[i - begin]: the first NUL at or after i, or end.
    std::vector<size_t> next_nul(end - begin + 1, end);
    for (size_t i = end; i-- > begin;) next_nul[i - begin] = b[i] == 0 ? i : next_nul[i + 1 - begin];

    struct Frame {
        uint64_t cell;
        size_t at;
        int tried;  // 0: not yet visited; 1: no-text tried; 2: text tried
    };
    constexpr uint64_t kBudget = 4'000'000;
    for (bool strict : {true, false}) {
        std::unordered_set<uint64_t> failed;
        std::vector<Frame> stack{{0, begin, 0}};
        uint64_t visits = 0;
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.cell == count) {
                if (f.at == end) {
                    std::vector<bool> has_text;
                    has_text.reserve(count);
                    for (size_t i = 0; i + 1 < stack.size(); ++i) has_text.push_back(stack[i].tried == 2);
                    return has_text;
                }
                stack.pop_back();
                continue;
            }
            const uint64_t key = f.cell << 32 ^ (f.at - begin);
            if (f.tried == 0) {
                if (++visits > kBudget)
                    throw DumpError{block.start, strf("the texts of the cells in inner block %zu of a TABLE cannot be "
                                                      "told apart within a reasonable effort",
                                                      n)};
                const bool room = end - f.at >= (count - f.cell) * kCellFixed;
                if (!room || failed.count(key) || (strict && !cell_in_range(b, f.at))) {
                    stack.pop_back();
                    continue;
                }
            }
            if (f.tried == 0) {
                f.tried = 1;
                const size_t at = f.at + kCellFixed;
                stack.push_back({f.cell + 1, at, 0});
                continue;
            }
            if (f.tried == 1) {
                f.tried = 2;
                const size_t nul = next_nul[f.at + kCellFixed - begin];
                if (nul < end) {
                    const uint64_t cell = f.cell + 1;
                    stack.push_back({cell, nul + 1, 0});
                }
                continue;
            }
            failed.insert(key);
            stack.pop_back();
        }
    }
    throw DumpError{block.start, strf("inner block %zu of a TABLE cannot be split into %llu cells", n,
                                      static_cast<unsigned long long>(count))};
}

void decode_table(Decoder& d, const Bytes& bytes, const RawRecord& raw) {
    d.expect_blocks(13);
    Reader b2 = d.fixed(2, 8, "bounds");
    d.bounds(b2);
    Reader b3 = d.fixed(3, 2, "number of columns");
    const uint32_t columns = d.u16(b3, "TABLE_NUM_COLUMN=");
    Reader b4 = d.fixed(4, 2, "number of rows");
    const uint32_t rows = d.u16(b4, "TABLE_NUM_ROW=");
    Reader b5 = d.fixed(5, size_t{columns} * 2, "column widths");
    for (uint32_t i = 0; i < columns; ++i) d.u16(b5, "TABLE_COLUMN_WIDTH=", true);
    Reader b6 = d.fixed(6, size_t{rows} * 2, "row heights");
    for (uint32_t i = 0; i < rows; ++i) d.u16(b6, "TABLE_ROW_HEIGHT=", true);
    Reader b7 = d.fixed(7, 2, "top row");
    d.u16(b7, "TABLE_TOP_ROW_NUM=");
    Reader b8 = d.fixed(8, 2, "left column");
    d.u16(b8, "TABLE_LEFT_COL_NUM=");
    Reader b9 = d.fixed(9, 1, "style");
    d.u8(b9, "TABLE_STYLE=");
    Reader b10 = d.fixed(10, 1, "background colour");
    d.choice(b10, "TABLE_BACKGROUND_COLOR=", kColorWords);
    Reader b11 = d.open(11);
    d.bitmap(b11, "TABLE_CELL_BITMAP.", "bitmap");
    d.finish(b11, 11, "bitmap");

    const uint64_t count = uint64_t{rows} * columns;
    const std::vector<bool> has_text = split_cells(bytes, raw.inner[11], count, 12);
    Reader b12 = d.open(12);
    for (uint64_t i = 0; i < count; ++i) {
        d.choice(b12, "TABLE_DATA_TYPE=", kDataTypeWords);
        d.u16(b12, "TABLE_UI_OBJECT_ID=");
        d.choice(b12, "TABLE_FONT=", kFontWords);
        d.word(b12, "TABLE_VALUE=");
        d.choice(b12, "TABLE_TEXTMENT=", kAlignmentWords);
        d.choice(b12, "TABLE_FONT_COLOR=", kColorWords);
        d.choice(b12, "TABLE_BACKGROUND_COLOR=", kColorWords);
        d.boolean(b12, "TABLE_CELL_HIGHLIGHT=");
        d.boolean(b12, "TABLECELL_HAS_BITMAP=");
        Field& text = d.add("TABLE_TEXT=", FieldType::Text, b12.pos());
        if (has_text[i]) text.text = b12.cstring("TABLE_TEXT=");
    }
    d.finish(b12, 12, "cells");
    Reader b13 = d.fixed(13, 10, "attributes");
    for (const char* key : {"TABLE_ATTR.TABLE_ENABLE=", "TABLE_ATTR.TABLE_SCROLLBAR=", "TABLE_ATTR.TABLE_ACTIVE=",
                            "TABLE_ATTR.TABLE_HIGHLIGHT_ENABLE=", "TABLE_ATTR.TABLE_VISIBLE="})
        d.boolean(b13, key);
}

void decode_schline(Decoder& d) {
    d.expect_blocks(3);
    Reader b2 = d.fixed(2, 8, "bounds");
    d.bounds(b2);
    Reader b3 = d.fixed(3, 6, "attributes");
    for (const char* key : {"SCHLINE_ATTR.ENABLE=", "SCHLINE_ATTR.ACTIVE=", "SCHLINE_ATTR.VISIBLE="})
        d.boolean(b3, key);
}

void decode_string(Decoder& d) {
    d.expect_blocks(10);
    d.related_table_and_bounds();
    Reader b4 = d.fixed(4, 1, "style");
    d.u8(b4, "STRING_STYLE=");
    Reader b5 = d.open(5);
    d.text(b5, "STRING_TEXT=");
    d.finish(b5, 5, "text");
    Reader b6 = d.fixed(6, 1, "font colour");
    d.choice(b6, "STRING_FONT_COLOR=", kColorWords);
    Reader b7 = d.fixed(7, 1, "background colour");
    d.choice(b7, "STRING_BACKGROUND_COLOR=", kColorWords);
    Reader b8 = d.fixed(8, 1, "font");
    d.choice(b8, "STRING_FONT=", kFontWords);
    Reader b9 = d.fixed(9, 1, "alignment");
    d.choice(b9, "STRING_ALIGNMENT=", kAlignmentWords);
    Reader b10 = d.fixed(10, 2, "visible");
    d.boolean(b10, "STRING_ATTR.VISIBLE=");
}

void decode_bitmap(Decoder& d) {
    d.expect_blocks(7);
    d.related_table_and_bounds();
    Reader b4 = d.fixed(4, 1, "style");
    d.u8(b4, "BITMAP_STYLE=");
    Reader b5 = d.open(5);
    d.bitmap(b5, "BITMAP1_BITMAP.", "bitmap1");
    d.finish(b5, 5, "bitmap 1");
    Reader b6 = d.open(6);
    d.bitmap(b6, "BITMAP2_BITMAP.", "bitmap2");
    d.finish(b6, 6, "bitmap 2");
    Reader b7 = d.fixed(7, 6, "attributes");
    for (const char* key : {"BITMAP_ATTR.BITMAP_ENABLE=", "BITMAP_ATTR.BITMAP_ACTIVE=", "BITMAP_ATTR.BITMAP_VISIBLE="})
        d.boolean(b7, key);
}

void decode_textbox(Decoder& d) {
    d.expect_blocks(16);
    d.related_table_and_bounds();
    Reader b4 = d.open(4);
    d.text(b4, "TEXTBOX_TEXT=");
    d.finish(b4, 4, "text");
    Reader b5 = d.fixed(5, 1, "style");
    d.u8(b5, "TEXTBOX_STYLE=");
    Reader b6 = d.fixed(6, 1, "back line");
    d.choice(b6, "TEXTBOX_BACK_LINE=", kBackLineWords);
    Reader b7 = d.fixed(7, 1, "font");
    d.choice(b7, "TEXTBOX_FONT=", kFontWords);
    Reader b8 = d.fixed(8, 1, "font colour");
    d.choice(b8, "TEXTBOX_FONT_COLOR=", kColorWords);
    Reader b9 = d.fixed(9, 1, "background colour");
    d.choice(b9, "TEXTBOX_BACKGROUND_COLOR=", kColorWords);
    const char* const words[] = {"TEXTBOX_MAX_NUM_CHARS=",          "TEXTBOX_LEFT_CHAR_POS=",
                                 "TEXTBOX_RIGHT_CHAR_POS=",         "TEXTBOX_INSERT_PT_CHAR_POS=",
                                 "TEXTBOX_HIGHLIGHT_START_CHAR_POS=", "TEXTBOX_HIGHLIGHT_END_CHAR_POS="};
    for (size_t i = 0; i < 6; ++i) {
        Reader b = d.fixed(10 + i, 4, words[i]);
        d.word(b, words[i]);
    }
    Reader b16 = d.fixed(16, 12, "attributes");
    for (const char* key : {"TEXTBOX_ATTR.TEXTBOX_ACTIVE=", "TEXTBOX_ATTR.TEXTBOX_ENABLE=",
                            "TEXTBOX_ATTR.TEXTBOX_DIRTY=", "TEXTBOX_ATTR.TEXTBOX_HIGHLIGHT=",
                            "TEXTBOX_ATTR.TEXTBOX_INSERT_PT_VISIBLE=", "TEXTBOX_ATTR.TEXTBOX_VISIBLE="})
        d.boolean(b16, key);
}

void decode_line(Decoder& d) {
    d.expect_blocks(9);
    d.related_table_and_bounds();
    Reader b4 = d.fixed(4, 1, "colour");
    d.choice(b4, "LINE_COLOR=", kColorWords);
    Reader b5 = d.fixed(5, 1, "style");
    d.choice(b5, "LINE_STYLE=", kLineStyleWords);
    Reader b6 = d.fixed(6, 2, "thickness");
    d.u16(b6, "LINE_THICK=");
    Reader b7 = d.fixed(7, 2, "end point X");
    d.u16(b7, "LINE_ENDPT_X=");
    Reader b8 = d.fixed(8, 2, "end point Y");
    d.u16(b8, "LINE_ENDPT_Y=");
    Reader b9 = d.fixed(9, 2, "visible");
    d.boolean(b9, "LINE_ATTR.LINE_VISIBLE=");
}

}  // namespace

Record decode_record(const Bytes& bytes, const RawRecord& raw) {
    Record rec;
    rec.offset = raw.offset;
    rec.end = raw.outer.end();
    rec.id = raw.id;
    const Block& first = raw.inner.front();
    if (first.content_size() != 1)
        throw DumpError{first.start, strf("inner block 1 holds %zu bytes, the object type block holds 1",
                                          first.content_size())};
    rec.type = bytes[first.content()];
    if (kind_keyword(rec.type) == nullptr)
        throw DumpError{first.content(), strf("unknown object type code %u (the codes are 0 to 11)", rec.type)};

    Decoder d(bytes, raw, rec);
    switch (rec.type) {
    case kForm: decode_form(d); break;
    case kControl: decode_control(d, raw); break;
    case kField: decode_field(d); break;
    case kList: decode_list(d); break;
    case kMenu: decode_menu(d); break;
    case kScrollbar: decode_scrollbar(d); break;
    case kTable: decode_table(d, bytes, raw); break;
    case kSchline: decode_schline(d); break;
    case kString: decode_string(d); break;
    case kBitmap: decode_bitmap(d); break;
    case kTextbox: decode_textbox(d); break;
    default: decode_line(d); break;
    }
    return rec;
}

std::vector<Record> decode_image(const Bytes& bytes) {
    std::vector<Record> records;
    walk_image(bytes, [&](Record& rec) { records.push_back(std::move(rec)); });
    return records;
}
