// Decoding and checking of resource.bin images by orrinrc-dump.
#include <gtest/gtest.h>

#include <string>

#include "dump/records.h"
#include "dump_test_util.h"

namespace {

using namespace orrinrc::dump;

// The fault that decoding the image stops at.
DumpError fault(const Bytes& bytes) {
    try {
        decode_image(bytes);
    } catch (const DumpError& e) {
        return e;
    }
    ADD_FAILURE() << "image was accepted";
    return DumpError{0, ""};
}

std::string value_of(const Record& rec, FieldId id) {
    const Field* f = rec.find(id);
    if (!f) return "<missing>";
    switch (f->encoding()) {
    case Encoding::Text: return f->text ? *f->text : "<none>";
    case Encoding::Choice: return f->info().words->word(f->value) ? f->info().words->word(f->value) : "?";
    case Encoding::Word: return std::to_string(static_cast<int32_t>(f->value));
    default: return std::to_string(f->number());
    }
}

TEST(DumpRecords, WorkedExamplesDecodeUnderTheirKeywords) {
    const std::vector<Record> recs =
        decode_image(image({hex_bytes(kForm60), hex_bytes(kControl69), hex_bytes(kField123), hex_bytes(kList107),
                            hex_bytes(kMenu55), hex_bytes(kTable108)}));
    ASSERT_EQ(recs.size(), 6u);
    EXPECT_EQ(recs[0].offset, 4u);
    EXPECT_EQ(recs[0].end, 64u);
    EXPECT_EQ(std::string(recs[0].keyword()), "FORM");
    EXPECT_EQ(value_of(recs[0], FieldId::FormStyle), "NORMAL");
    EXPECT_EQ(value_of(recs[0], FieldId::FormTitle), "Main");
    EXPECT_EQ(value_of(recs[0], FieldId::FormObjectType), "CONTROL");
    EXPECT_FALSE(recs[0].find(FieldId::FormBitmap)->bitmap().present);

    EXPECT_EQ(recs[1].id, 1001);
    EXPECT_EQ(value_of(recs[1], FieldId::ControlAlignment), "CENTRE");
    EXPECT_EQ(value_of(recs[1], FieldId::ButtonColorOn), "COLOR_BLACK");
    EXPECT_EQ(value_of(recs[1], FieldId::ButtonRadius), "3");

    EXPECT_EQ(value_of(recs[2], FieldId::FieldText), "<none>");
    EXPECT_EQ(value_of(recs[2], FieldId::FieldMaxChars), "20");
    EXPECT_EQ(value_of(recs[2], FieldId::FieldVisible), "1");

    EXPECT_EQ(value_of(recs[3], FieldId::RelatedTableId), "7");
    EXPECT_EQ(value_of(recs[3], FieldId::ListRelatedObject), "9");
    int items = 0;
    for (const Field& f : recs[3].fields) items += f.id == FieldId::ListItem;
    EXPECT_EQ(items, 2);

    EXPECT_EQ(value_of(recs[4], FieldId::MenuItem), "Open");
    EXPECT_EQ(value_of(recs[4], FieldId::MenuVisible), "1");

    EXPECT_EQ(value_of(recs[5], FieldId::CellDataType), "TABLE_TEXT");
    EXPECT_EQ(value_of(recs[5], FieldId::CellValue), "7");
    EXPECT_EQ(value_of(recs[5], FieldId::CellText), "A");
    EXPECT_EQ(value_of(recs[5], FieldId::TableVisible), "1");
}

TEST(DumpRecords, ContainerFaultsNameTheirOffset) {
    // Too short for the total-length field.
    EXPECT_EQ(fault(hex_bytes("05 00")).offset, 0u);
    // Total length that is not the file size, and one that is 0.
    Bytes wrong = image({hex_bytes(kForm60)});
    wrong[0] += 1;
    EXPECT_NE(fault(wrong).what.find("file is 64 bytes"), std::string::npos);
    wrong[0] = 0;
    EXPECT_NE(fault(wrong).what.find("is 0"), std::string::npos);
    // A truncated record: the file ends inside the outer block.
    Bytes form = hex_bytes(kForm60);
    form.resize(30);
    const DumpError cut = fault(image({form}));
    EXPECT_EQ(cut.offset, 6u);
    EXPECT_NE(cut.what.find("runs past"), std::string::npos);
    // A lone byte after the last record.
    Bytes tail = hex_bytes(kForm60);
    tail.push_back(1);
    EXPECT_EQ(fault(image({tail})).offset, 64u);
}

TEST(DumpRecords, InnerBlockFaults) {
    // The title block claims more bytes than its outer block has.
    Bytes past = hex_bytes(kForm60);
    past[34] = 0x40;  // length of inner block 5 (title) at file offset 38
    const DumpError e1 = fault(image({past}));
    EXPECT_EQ(e1.offset, 38u);
    EXPECT_NE(e1.what.find("inner block 5"), std::string::npos);
    // An inner length below 4.
    Bytes small = hex_bytes(kForm60);
    small[34] = 2;
    EXPECT_NE(fault(image({small})).what.find("less than its own"), std::string::npos);
    // Unknown object type code.
    Bytes type = hex_bytes(kForm60);
    type[10] = 12;
    const DumpError e2 = fault(image({type}));
    EXPECT_EQ(e2.offset, 14u);
    EXPECT_NE(e2.what.find("unknown object type code 12"), std::string::npos);
    // A menu's type code on a form's blocks: the number of blocks is wrong.
    Bytes kind = hex_bytes(kForm60);
    kind[10] = 4;
    EXPECT_NE(fault(image({kind})).what.find("MENU record has 8 inner blocks, its layout has 6"), std::string::npos);
    // Bounds block of the wrong size: the control's bounds hold 10 bytes.
    Bytes bounds = hex_bytes(kControl69);
    bounds.insert(bounds.begin() + 29, {0, 0});
    bounds[17] = 0x0E;  // bounds block length
    bounds[2] += 2;     // outer length
    const DumpError e3 = fault(image({bounds}));
    EXPECT_NE(e3.what.find("inner block 3 of a CONTROL (bounds) holds 10 bytes, its layout has 8"),
              std::string::npos);
    // A style outside 0-4 leaves the number of style blocks unknown; the
    // fault is the style's byte.
    Bytes style = hex_bytes(kControl69);
    style[33] = 9;
    const DumpError e4 = fault(image({style}));
    EXPECT_EQ(e4.offset, 4u + 33);
    EXPECT_NE(e4.what.find("unknown control style 9"), std::string::npos);
    // A text without its NUL.
    Bytes nul = hex_bytes(kForm60);
    nul[42] = '!';
    EXPECT_NE(fault(image({nul})).what.find("no terminating NUL"), std::string::npos);
    // More items than declared.
    Bytes menu = hex_bytes(kMenu55);
    menu[27] = 1;  // MENU_NUM_ITEMS=1, two texts stored
    EXPECT_NE(fault(image({menu})).what.find("more texts than the 1"), std::string::npos);
}

// Table cells carry an optional text each; the split that keeps every cell's
// values in range is taken.
TEST(DumpRecords, TableCellsWithAndWithoutTexts) {
    // Two columns, one row: the first cell has no text, the second "xy".
    const Bytes table = hex_bytes(
        "91 01, 7C 00 00 00, 05 00 00 00 06, 0C 00 00 00 00 00 00 00 32 00 14 00, 06 00 00 00 02 00, "
        "06 00 00 00 01 00, 08 00 00 00 19 00 19 00, 06 00 00 00 14 00, 06 00 00 00 00 00, 06 00 00 00 00 00, "
        "05 00 00 00 00, 05 00 00 00 00, 04 00 00 00, "
        "25 00 00 00 01 00 00 00 07 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 78 79 00, "
        "0E 00 00 00 01 00 00 00 00 00 00 00 01 00");
    const std::vector<Record> recs = decode_image(image({table}));
    std::vector<std::string> texts;
    for (const Field& f : recs[0].fields)
        if (f.id == FieldId::CellText) texts.push_back(f.text ? *f.text : "<none>");
    EXPECT_EQ(texts, (std::vector<std::string>{"<none>", "xy"}));

    // One byte too many for any split.
    Bytes odd = table;
    odd.insert(odd.end() - 14, 0x41);
    odd[2] += 1;
    odd[75] += 1;  // cells block length
    EXPECT_NE(fault(image({odd})).what.find("cannot be split into 2 cells"), std::string::npos);
}

// A table record around a cells block: `cells` cells in one row.
Bytes table_with_cells(uint16_t cells, const Bytes& content) {
    Bytes inner;
    const auto block = [&](const Bytes& b) {
        const uint32_t n = static_cast<uint32_t>(b.size() + 4);
        for (int i = 0; i < 4; ++i) inner.push_back(static_cast<uint8_t>(n >> (8 * i)));
        inner.insert(inner.end(), b.begin(), b.end());
    };
    block({6});
    block(Bytes(8, 0));
    block({static_cast<uint8_t>(cells), static_cast<uint8_t>(cells >> 8)});
    block({1, 0});
    block(Bytes(2u * cells, 0));
    block({10, 0});
    block({0, 0});
    block({0, 0});
    block({0});
    block({0});
    block({});
    block(content);
    block(Bytes(10, 0));
    Bytes rec = {1, 0};
    const uint32_t outer = static_cast<uint32_t>(inner.size() + 4);
    for (int i = 0; i < 4; ++i) rec.push_back(static_cast<uint8_t>(outer >> (8 * i)));
    rec.insert(rec.end(), inner.begin(), inner.end());
    return rec;
}

// Cells as the compiler writes them, many with zero bytes and empty texts,
// always split so that every cell holds values the language can give it.
TEST(DumpRecords, EveryCompiledCellsBlockSplits) {
    uint32_t seed = 12345;
    const auto next = [&](uint32_t below) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % below;
    };
    for (int round = 0; round < 300; ++round) {
        const uint16_t cells = static_cast<uint16_t>(1 + next(round < 290 ? 40 : 3000));
        const uint32_t zeros = next(4);  // how often a byte is zero
        Bytes content;
        for (uint16_t c = 0; c < cells; ++c) {
            const auto any = [&] { return static_cast<uint8_t>(next(4) < zeros ? 0 : 1 + next(255)); };
            content.insert(content.end(), {static_cast<uint8_t>(next(3)), any(), any(), static_cast<uint8_t>(next(3)),
                                           any(), any(), any(), any(), static_cast<uint8_t>(next(3)),
                                           static_cast<uint8_t>(next(4)), static_cast<uint8_t>(next(4)),
                                           static_cast<uint8_t>(next(2)), 0, static_cast<uint8_t>(next(2)), 0});
            if (next(2)) {
                for (uint32_t n = next(zeros == 3 ? 1 : 6); n > 0; --n)
                    content.push_back(static_cast<uint8_t>(1 + next(255)));
                content.push_back(0);
            }
        }
        std::vector<Record> recs;
        try {
            recs = decode_image(image({table_with_cells(cells, content)}));
        } catch (const DumpError& e) {
            FAIL() << "round " << round << ": " << e.what;
        }
        size_t count = 0;
        for (const Field& f : recs[0].fields) {
            count += f.id == FieldId::CellText;
            if (f.id == FieldId::CellFontColor || f.id == FieldId::CellBackgroundColor) {
                EXPECT_LE(f.value, 3u);
            }
            if (f.id == FieldId::CellHighlight || f.id == FieldId::CellHasBitmap) {
                EXPECT_LE(f.value, 1u);
            }
        }
        EXPECT_EQ(count, cells);
    }
}

TEST(DumpRecords, BitmapBlocksAndTheirPadding) {
    // A repeat button whose bitmap block starts at file offset 66 (two
    // padding bytes), 8 x 2 pixels at depth 4: one word per row.
    const Bytes control = hex_bytes(
        "EA 03, 52 00 00 00, 05 00 00 00 01, 06 00 00 00 00 00, 0C 00 00 00 00 00 00 00 08 00 02 00, "
        "05 00 00 00 02, 05 00 00 00 00, 04 00 00 00, 05 00 00 00 00, 0A 00 00 00 00 00 00 00 00 00, "
        "1A 00 00 00 01 00 02 00 08 00 02 00 00 04 08 00 00 00 78 56 34 12 F0 DE BC 9A");
    const std::vector<Record> recs = decode_image(image({control}));
    const BitmapView& bm = recs[0].find(FieldId::RepeatBitmap)->bitmap();
    ASSERT_TRUE(bm.present);
    EXPECT_EQ(bm.offset, 66u);
    EXPECT_EQ(bm.padding, 2u);
    EXPECT_EQ(bm.x, 1);
    EXPECT_EQ(bm.depth, 4);
    EXPECT_EQ(bm.words, (std::vector<uint32_t>{0x12345678, 0x9ABCDEF0}));

    // Data size that runs past the block.
    Bytes big = control;
    big[72] = 0x10;  // data size
    EXPECT_NE(fault(image({big})).what.find("runs past its block"), std::string::npos);
}

}  // namespace
