// The record walk from both sides: every field that a kind's record can
// hold has a value in the kind's value function, a field without one stops
// the writer, and the blocks whose content depends on other values (FORM's
// bitmap, CONTROL's subtype and style blocks, TABLE's cells) read back as
// they were written.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "dump/records.h"
#include "format/format.h"
#include "output/target.h"
#include "resources/records.h"

using namespace orrinrc;
using format::FieldId;
using format::Kind;

namespace {

struct KindSource {
    Kind kind;
    FieldSource source;
};

// In type code order.
constexpr KindSource kSources[] = {
    {Kind::Form, form_field},       {Kind::Control, control_field}, {Kind::Field, field_field},
    {Kind::List, list_field},       {Kind::Menu, menu_field},       {Kind::Scrollbar, scrollbar_field},
    {Kind::Table, table_field},     {Kind::Schline, schline_field}, {Kind::String, string_field},
    {Kind::Bitmap, bitmap_field},   {Kind::Textbox, textbox_field}, {Kind::Line, line_field},
};
static_assert(std::size(kSources) == format::kKindCount, "one value function per kind");

// Every field that a record of `kind` can hold: its blocks, what its special
// blocks hold for every value that decides them, a control's style blocks,
// a table's cells.
std::vector<FieldId> fields_of(Kind kind) {
    std::vector<FieldId> out;
    const auto add = [&](const format::BlockLayout& b) {
        for (FieldId id : b.field_list()) out.push_back(id);
    };
    for (const format::BlockLayout& b : format::record_blocks(kind)) add(b);
    for (uint32_t style = 0; style < 8; ++style) {
        if (kind == Kind::Form) add(format::form_bitmap_block(style));
        if (kind != Kind::Control) continue;
        add(format::control_subtype_block(style));
        for (const format::BlockLayout& b : format::control_style_blocks(style)) add(b);
    }
    if (kind == Kind::Table)
        for (FieldId id : format::table_cell_fields()) out.push_back(id);
    return out;
}

TEST(RecordCodec, EveryFieldOfEveryKindHasAValue) {
    const Records records;
    for (size_t i = 0; i < std::size(kSources); ++i) {
        const auto [kind, source] = kSources[i];
        EXPECT_EQ(format::type_code(kind), i);
        for (FieldId id : fields_of(kind)) {
            if (id == FieldId::ObjectType) continue;  // written from the kind itself
            EXPECT_TRUE(source(records, id, 0).answered)
                << format::kind_keyword(kind) << " has no value for " << format::statement(id);
        }
    }
}

// Writes what `write` writes as a finished image.
template <typename Write>
dump::Bytes image_of(Write write) {
    MemoryTarget out;
    BinWriter w;
    bin_open(w, &out, "resource.bin");
    write_u32(w, 0);
    write(w);
    bin_finish(w);
    return dump::Bytes(out.bytes().begin(), out.bytes().end());
}

FieldValue line_without_thickness(const Records& records, FieldId id, size_t index) {
    return id == FieldId::LineThick ? no_such_field() : line_field(records, id, index);
}

FieldValue button_without_radius(const Records& records, FieldId id, size_t index) {
    return id == FieldId::ButtonRadius ? no_such_field() : control_field(records, id, index);
}

// Both ways a block is written: from the kind's table, and by the walk (a
// control's style blocks).
TEST(RecordCodec, AFieldWithoutAValueStopsTheWriter) {
    Records records;
    const auto expect_stop = [&](auto write, const std::string& message) {
        try {
            image_of(write);
            FAIL() << "written: " << message;
        } catch (const Error& e) {
            EXPECT_EQ(e.kind, ErrorKind::Internal);
            EXPECT_EQ(e.message, message);
            EXPECT_EQ(e.stream, Stream::Err);
        }
    };
    expect_stop([&](BinWriter& w) { write_record<line_without_thickness, Kind::Line>(w, records, 1); },
                "internal error: the LINE writer has no value for LINE_THICK= (field " +
                    std::to_string(static_cast<int>(FieldId::LineThick)) + ")\n");
    records.control.style = format::kButton;
    expect_stop([&](BinWriter& w) { write_record<button_without_radius, Kind::Control>(w, records, 1); },
                "internal error: the CONTROL writer has no value for CONTROL_ADD.RADIUS= (field " +
                    std::to_string(static_cast<int>(FieldId::ButtonRadius)) + ")\n");
}

BitmapRecord picture() {
    BitmapRecord bm;
    bm.width = 8;
    bm.height = 1;
    bm.depth = format::kFourBit;
    bm.size = 4;
    bm.words = {0x12345678};
    bm.loaded = true;
    return bm;
}

const dump::Field* only(const dump::Record& rec, FieldId id) {
    const dump::Field* f = rec.find(id);
    int n = 0;
    for (const dump::Field& each : rec.fields) n += each.id == id;
    return n == 1 ? f : nullptr;
}

TEST(RecordCodec, FormBitmapOnlyForTheStylesThatShowOne) {
    for (uint8_t style = format::kFormBackground; style <= format::kFormNonBitmapDialog; ++style) {
        Records records;
        records.form.style = style;
        records.form.bitmap = picture();
        const auto recs = dump::decode_image(image_of([&](BinWriter& w) { write_form(w, records); }));
        ASSERT_EQ(recs.size(), 1u);
        const dump::Field* bm = recs[0].find(FieldId::FormBitmap);
        if (!format::form_stores_bitmap(style)) {
            EXPECT_EQ(bm, nullptr) << int{style};
            continue;
        }
        ASSERT_NE(bm, nullptr) << int{style};
        EXPECT_EQ(bm->bitmap().words, picture().words);
    }

    // A picture where the style stores none is a fault of the bitmap block;
    // the style field's offset is where its value lies.
    Records records;
    records.form.style = format::kFormNormal;
    records.form.bitmap = picture();
    dump::Bytes bytes = image_of([&](BinWriter& w) { write_form(w, records); });
    const size_t style = dump::decode_image(bytes)[0].find(FieldId::FormStyle)->offset;
    ASSERT_EQ(bytes[style], format::kFormNormal);
    bytes[style] = format::kFormBackground;
    try {
        dump::decode_image(bytes);
        ADD_FAILURE() << "a background form with a picture was accepted";
    } catch (const dump::DumpError& e) {
        EXPECT_NE(e.what.find("inner block 6 of a FORM (bitmap, not stored for this form style) holds 18 bytes, "
                              "its layout has 0"),
                  std::string::npos)
            << e.what;
    }
}

TEST(RecordCodec, ControlSubtypeAndStyleBlocksForEveryStyle) {
    for (uint8_t style = format::kButton; style <= format::kPopupTrigger; ++style) {
        Records records;
        records.control.style = style;
        records.control.subtype = 7;
        records.control_button.radius = 3;
        records.control_pushbutton.group_id = 11;
        records.control.bitmap = picture();
        records.control_checkbox.value = 1;
        records.control_checkbox.bitmap2 = picture();
        records.control_popup.item_count = 2;
        records.control_popup.items = {Text("one"), Text()};
        const auto recs = dump::decode_image(image_of([&](BinWriter& w) { write_control(w, records); }));
        ASSERT_EQ(recs.size(), 1u);
        const dump::Record& rec = recs[0];
        const dump::Field* subtype = rec.find(FieldId::ControlSubtype);
        if (style == format::kCheckbox) {
            EXPECT_EQ(subtype, nullptr);
        } else {
            ASSERT_NE(subtype, nullptr) << int{style};
            EXPECT_EQ(subtype->value, 7u);
        }
        const auto value = [&](FieldId id) { return only(rec, id) ? only(rec, id)->value : 999u; };
        switch (style) {
        case format::kButton: EXPECT_EQ(value(FieldId::ButtonRadius), 3u); break;
        case format::kPushButton: EXPECT_EQ(value(FieldId::PushGroupId), 11u); break;
        case format::kRepeatButton: EXPECT_TRUE(rec.find(FieldId::RepeatBitmap)->bitmap().present); break;
        case format::kCheckbox:
            EXPECT_EQ(value(FieldId::CheckboxValue), 1u);
            EXPECT_FALSE(rec.find(FieldId::CheckboxBitmap1)->bitmap().present);
            EXPECT_TRUE(rec.find(FieldId::CheckboxBitmap2)->bitmap().present);
            break;
        default:
            EXPECT_EQ(value(FieldId::PopupCount), 2u);
            ASSERT_NE(only(rec, FieldId::PopupItem), nullptr);  // the item never given writes nothing
            EXPECT_EQ(only(rec, FieldId::PopupItem)->text, "one");
        }
    }
}

TEST(RecordCodec, TableCellsGivenAndCleared) {
    // A 3 x 2 grid with two cells given: the other four are written cleared.
    Records records;
    table_object_type(records);
    *table_num_rows_line(records) = 3;
    *table_num_columns_line(records) = 2;
    for (const char* text : {"a", "bc"}) {
        TableCell* cell = table_next_cell(records);
        ASSERT_NE(cell, nullptr);
        cell->value = -5;
        cell->font_color = format::kColorGrey2;
        cell->text = text;
    }
    table_end(records);
    const auto recs = dump::decode_image(image_of([&](BinWriter& w) { write_table(w, records); }));
    ASSERT_EQ(recs.size(), 1u);
    std::vector<std::string> texts;
    std::vector<uint32_t> values, colours;
    for (const dump::Field& f : recs[0].fields) {
        if (f.id == FieldId::CellText) texts.push_back(f.text ? "'" + *f.text + "'" : "none");
        if (f.id == FieldId::CellValue) values.push_back(f.value);
        if (f.id == FieldId::CellFontColor) colours.push_back(f.value);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"'a'", "'bc'", "none", "none", "none", "none"}));
    EXPECT_EQ(values, (std::vector<uint32_t>{0xFFFFFFFBu, 0xFFFFFFFBu, 0, 0, 0, 0}));
    EXPECT_EQ(colours, (std::vector<uint32_t>{2, 2, 0, 0, 0, 0}));
    EXPECT_EQ(only(recs[0], FieldId::TableVisible)->value, 0u);
}

}  // namespace
