// Resource text, BMP and PNG output of orrinrc-dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "png_read.h"
#include "bitmap/bmp_import.h"
#include "dump/bmp_out.h"
#include "dump/pictures.h"
#include "dump/rc_text.h"
#include "dump/records.h"
#include "dump_test_util.h"
#include "util/process.h"

using namespace orrinrc;

namespace fs = std::filesystem;

namespace {

using namespace orrinrc::dump;

fs::path temp_path(const std::string& name) {
    return fs::temp_directory_path() / ("orrinrc-dump-" + std::to_string(orrinrc::process::id()) + "-" + name);
}

TEST(DumpText, WordValuesAndWhatTheWordReaderCanStore) {
    std::string s;
    ASSERT_TRUE(word_source(0, s));
    EXPECT_EQ(s, "0");
    ASSERT_TRUE(word_source(0x7FFFFFFF, s));
    EXPECT_EQ(s, "2147483647");
    // 65535 is written as itself; -1 only comes from -65537.
    ASSERT_TRUE(word_source(65535, s));
    EXPECT_EQ(s, "65535");
    ASSERT_TRUE(word_source(0xFFFFFFFF, s));
    EXPECT_EQ(s, "-65537");
    ASSERT_TRUE(word_source(static_cast<uint32_t>(-4464), s));
    EXPECT_EQ(s, "-70000");
    // The lowest storable negative value comes from the saturated minimum.
    ASSERT_TRUE(word_source(0x80010000, s));
    EXPECT_EQ(s, "-2147483648");
    EXPECT_FALSE(word_source(0x80000000, s));
    EXPECT_FALSE(word_source(0x8000FFFF, s));
}

TEST(DumpText, DefinitionsSetEveryValue) {
    const std::vector<Record> recs = decode_image(image({hex_bytes(kForm60), hex_bytes(kTable108)}));
    const std::vector<DefineLine> names = {{"MainForm", 1000}, {"Grid", 400}};
    const ResourceText out = write_resource_text(recs, &names);
    EXPECT_TRUE(out.problems.empty());
    for (const char* line :
         {"NAME=MainForm\n#FORM\nID=1000\nOBJECT.TYPE=FORM\nBOUNDS.X=0\n", "FOCUSED_OBJECT=0\nFORM_STYLE=NORMAL\n",
          "FORM_TITLE=Main\nNO_OF_OBJECTS=1\nOBJECT_ID=1001\nOBJECT_TYPE=CONTROL\n#END_FORM\n",
          // A table without a picture drops the one an earlier table loaded.
          "TABLE_BACKGROUND_COLOR=COLOR_WHITE\nTABLE_CELL_BITMAP.X=0\nTABLE_DATA_TYPE=TABLE_TEXT\n",
          "TABLE_VALUE=7\n", "TABLECELL_HAS_BITMAP=0\nTABLE_TEXT=A\nTABLE_ATTR.TABLE_ENABLE=1\n"})
        EXPECT_NE(out.text.find(line), std::string::npos) << line;
}

TEST(DumpText, ValuesTheLanguageCannotWriteAreNamed) {
    // A title holding a line end, a style without a keyword, an on/off word
    // of 2.
    Bytes form = hex_bytes(kForm60);
    form[40] = '\n';  // "Ma\nn"
    form[33] = 7;     // style
    Bytes control = hex_bytes(kControl69);
    control[55] = 2;  // CONTROL_ATTR.ENABLE
    const ResourceText out = write_resource_text(decode_image(image({form, control})), nullptr);
    ASSERT_EQ(out.problems.size(), 3u);
    EXPECT_NE(out.problems[0].find("record 1 at 0x000004 (FORM ID=1000), FORM_STYLE= is 7"), std::string::npos);
    EXPECT_NE(out.problems[1].find("FORM_TITLE= text holds a line end"), std::string::npos);
    EXPECT_NE(out.problems[2].find("record 2 at 0x000040 (CONTROL ID=1001), CONTROL_ATTR.ENABLE= is 2"),
              std::string::npos);

    // Bitmap data shorter than its rectangle: named, and no BMP is made.
    Bytes repeat = hex_bytes(
        "EA 03, 52 00 00 00, 05 00 00 00 01, 06 00 00 00 00 00, 0C 00 00 00 00 00 00 00 08 00 02 00, "
        "05 00 00 00 02, 05 00 00 00 00, 04 00 00 00, 05 00 00 00 00, 0A 00 00 00 00 00 00 00 00 00, "
        "1A 00 00 00 01 00 02 00 08 00 02 00 00 04 08 00 00 00 78 56 34 12 F0 DE BC 9A");
    repeat[68] = 9;  // HEIGHT=9
    const ResourceText pictures = write_resource_text(decode_image(image({repeat})), nullptr);
    ASSERT_EQ(pictures.problems.size(), 1u);
    EXPECT_NE(pictures.problems[0].find("CONTROL_BITMAP. 8 data bytes, but a 8 x 9 picture at depth 4 has 36"),
              std::string::npos)
        << pictures.problems[0];
    EXPECT_TRUE(pictures.files.empty());

    // resource.h that does not belong to the image.
    const std::vector<DefineLine> names = {{"A", 5}};
    const ResourceText named = write_resource_text(decode_image(image({hex_bytes(kForm60)})), &names);
    ASSERT_EQ(named.problems.size(), 1u);
    EXPECT_NE(named.problems[0].find("resource.h line 1 defines A as 5"), std::string::npos);
}

TEST(DumpText, CarriedOverValuesThatADefinitionCannotReset) {
    // A text box with a text, then one without: the compiler would repeat the
    // first text.
    const char* textbox =
        "%s, 78 00 00 00, 05 00 00 00 0A, 06 00 00 00 00 00, 0C 00 00 00 00 00 00 00 00 00 00 00, %s, "
        "05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 05 00 00 00 00, 08 00 00 00 00 00 00 00, "
        "08 00 00 00 00 00 00 00, 08 00 00 00 00 00 00 00, 08 00 00 00 00 00 00 00, 08 00 00 00 00 00 00 00, "
        "08 00 00 00 00 00 00 00, 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    Bytes with = hex_bytes(strf(textbox, "01 00", "06 00 00 00 41 00"));
    with[2] += 2;
    const Bytes without = hex_bytes(strf(textbox, "02 00", "04 00 00 00"));
    EXPECT_TRUE(write_resource_text(decode_image(image({without, with})), nullptr).problems.empty());
    const ResourceText out = write_resource_text(decode_image(image({with, without})), nullptr);
    ASSERT_EQ(out.problems.size(), 1u);
    EXPECT_NE(out.problems[0].find("(TEXTBOX ID=2), TEXTBOX_TEXT= is none"), std::string::npos);

    // A menu that declares items but stores none, after a menu with items.
    const Bytes empty_menu = hex_bytes(
        "F5 01, 2B 00 00 00, 05 00 00 00 04, 0C 00 00 00 00 00 00 00 50 00 28 00, 06 00 00 00 02 00, "
        "06 00 00 00 00 00, 04 00 00 00, 06 00 00 00 01 00");
    EXPECT_TRUE(write_resource_text(decode_image(image({empty_menu, hex_bytes(kMenu55)})), nullptr).problems.empty());
    EXPECT_EQ(write_resource_text(decode_image(image({hex_bytes(kMenu55), empty_menu})), nullptr).problems.size(),
              1u);
}

// Records built field by field, for the carry-over of check boxes.
Field number_field(FieldId id, uint32_t value) {
    Field f;
    f.id = id;
    f.value = value;
    return f;
}

Field picture_field(FieldId id, bool present) {
    Field f;
    f.id = id;
    if (present) {
        BitmapView& bm = f.set_bitmap();
        bm.present = true;
        bm.width = 1;
        bm.height = 1;
        bm.depth = 2;
        bm.size = 4;
        bm.words = {0};
    }
    return f;
}

Record control(uint16_t id, uint32_t style, std::vector<Field> own) {
    Record r;
    r.id = id;
    r.type = 1;
    r.layout = format::Kind::Control;
    r.fields = {number_field(FieldId::RelatedTableId, 0), number_field(FieldId::Bounds, 0),
                number_field(FieldId::ControlStyle, style)};
    if (style != format::kCheckbox) r.fields.push_back(number_field(FieldId::ControlSubtype, 0));
    for (FieldId f : {FieldId::ControlText, FieldId::ControlAlignment, FieldId::ControlEnable,
                      FieldId::ControlActive, FieldId::ControlVisible})
        r.fields.push_back(number_field(f, 0));
    for (Field& f : own) r.fields.push_back(std::move(f));
    return r;
}

Record checkbox(uint16_t id, uint32_t group, uint32_t value, bool first, bool second) {
    return control(id, format::kCheckbox,
                   {number_field(FieldId::CheckboxGroupId, group), number_field(FieldId::CheckboxValue, value),
                    picture_field(FieldId::CheckboxBitmap1, first), picture_field(FieldId::CheckboxBitmap2, second)});
}

Record repeat_button(uint16_t id) {
    return control(id, format::kRepeatButton, {picture_field(FieldId::RepeatBitmap, true)});
}

std::vector<std::string> checkbox_problems(const std::vector<Record>& records) {
    return write_resource_text(records, nullptr).problems;
}

// The compiler keeps a check box's group, value and pictures for the next
// one, and only GROUP_ID= clears the pictures, after which both must load.
TEST(DumpText, CheckBoxesWithoutTheFirstPicture) {
    // Written: only the second picture; the counter is raised from 0 to 2.
    const ResourceText second = write_resource_text({checkbox(1, 0, 1, false, true)}, nullptr);
    EXPECT_TRUE(second.problems.empty());
    EXPECT_NE(second.text.find("CONTROL_BITMAP.FILE=Q_TWO_BIT, counter_step.bmp\n"
                               "CONTROL_BITMAP.FILE=Q_TWO_BIT, counter_step.bmp\nCONTROL_ADD.CONTROL_VALUE=1\n"),
              std::string::npos)
        << second.text;
    // New values without pictures: the counter stays at 3 after the first.
    const ResourceText values =
        write_resource_text({checkbox(1, 0, 1, false, false), checkbox(2, 0, 0, false, false)}, nullptr);
    EXPECT_TRUE(values.problems.empty());
    EXPECT_EQ(values.files.size(), 1u);  // counter_step.bmp
    EXPECT_NE(values.text.find("counter_step.bmp\nCONTROL_ADD.CONTROL_VALUE=1\n"), std::string::npos);
    EXPECT_NE(values.text.find("CONTROL_ATTR.VISIBLE=0\nCONTROL_ADD.CONTROL_VALUE=0\n"), std::string::npos);

    // Refused, each with its reason.
    const struct {
        std::vector<Record> records;
        const char* why;
    } refused[] = {
        {{checkbox(1, 0, 0, true, false)}, "holds the first check-box picture only"},
        {{checkbox(1, 4, 0, true, true), checkbox(2, 4, 0, false, false)}, "keeps the pictures of the previous one"},
        {{checkbox(1, 4, 0, true, true), checkbox(2, 4, 0, false, true)}, "left a first one"},
        {{checkbox(1, 5, 0, false, true)}, "keeps the group of the previous check box (0)"},
        // Three pictures loaded since the start: the counter cannot go back to 2.
        {{repeat_button(1), repeat_button(2), repeat_button(3), checkbox(4, 0, 0, false, true)},
         "needs the bitmap counter at most at 2, but the pictures loaded since the last BITMAP definition or "
         "check-box group leave it at 3"},
    };
    for (const auto& c : refused) {
        const std::vector<std::string> problems = checkbox_problems(c.records);
        ASSERT_EQ(problems.size(), 1u) << c.why;
        EXPECT_NE(problems[0].find(c.why), std::string::npos) << problems[0];
    }
    // A value change without pictures after the same three pictures still fits.
    EXPECT_TRUE(
        checkbox_problems({repeat_button(1), repeat_button(2), repeat_button(3), checkbox(4, 0, 1, false, false)})
            .empty());
}

// A BMP written for stored words converts back to exactly those words,
// including pixels beyond the declared width in a row's last word.
TEST(DumpText, BmpFilesConvertBackToTheStoredWords) {
    struct Shape {
        int16_t width, height;
        uint8_t depth;
    };
    for (const Shape s : {Shape{8, 2, 4}, Shape{10, 3, 4}, Shape{1, 1, 4}, Shape{17, 2, 2}, Shape{40, 1, 2},
                          Shape{0, 3, 4}, Shape{9, 0, 2}}) {
        BitmapView bm;
        bm.present = true;
        bm.width = s.width;
        bm.height = s.height;
        bm.depth = s.depth;
        const long count = bm.words_per_row() * s.height;
        bm.size = static_cast<uint16_t>(count * 4);
        uint32_t seed = 0x9E3779B9u * (s.width + 3) + s.height;
        for (long i = 0; i < count; ++i) bm.words.push_back(seed = seed * 1664525u + 1013904223u);
        std::string why;
        ASSERT_TRUE(bitmap_reproducible(bm, why)) << why;

        const fs::path file = temp_path("shape.bmp");
        std::ofstream(file, std::ios::binary) << bmp_for(bm);
        BitmapRecord rec;
        rec.width = s.width;
        rec.height = s.height;
        rec.depth = s.depth;
        ASSERT_EQ(bmp_convert(rec, file.string().c_str()), "");
        EXPECT_EQ(rec.size, bm.size);
        EXPECT_EQ(rec.words, bm.words) << s.width << " x " << s.height << " at depth " << int{s.depth};
        fs::remove(file);
    }
}

TEST(DumpText, BitmapsNoBmpCanGive) {
    BitmapView bm;
    bm.present = true;
    bm.width = 8;
    bm.height = 1;
    bm.depth = 4;
    bm.size = 4;
    bm.words = {0};
    std::string why;
    EXPECT_TRUE(bitmap_reproducible(bm, why));
    bm.size = 8;  // not height x words per row
    EXPECT_FALSE(bitmap_reproducible(bm, why));
    bm.size = 4;
    bm.depth = 3;
    EXPECT_FALSE(bitmap_reproducible(bm, why));
    bm.depth = 4;
    bm.reserved = 1;
    EXPECT_FALSE(bitmap_reproducible(bm, why));
    bm.reserved = 0;
    bm.padding_zero = false;
    EXPECT_FALSE(bitmap_reproducible(bm, why));
    // No rows to convert, yet data that is not zero.
    bm.padding_zero = true;
    bm.width = -1;
    bm.height = -4;
    bm.size = 0;
    bm.words.clear();
    EXPECT_TRUE(bitmap_reproducible(bm, why));
}

TEST(DumpText, PngHoldsEveryPixelOfTheDeclaredRectangle) {
    // 3 x 2 at depth 2: rows 0b00 01 10 11... and 0b11 10 01 ...
    BitmapView bm;
    bm.present = true;
    bm.width = 3;
    bm.height = 2;
    bm.depth = 2;
    bm.size = 8;
    bm.words = {0x1B000000, 0xE4000000};
    std::string why;
    ASSERT_TRUE(bm.drawable(why)) << why;
    const fs::path file = temp_path("picture.png");
    ASSERT_TRUE(write_png(file.string(), bm, why)) << why;

    GreyPicture image;
    ASSERT_TRUE(read_grey_png(file.string(), image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (std::vector<uint8_t>{255, 170, 85, 0, 85, 170}));
    fs::remove(file);

    bm.words.pop_back();
    EXPECT_FALSE(bm.drawable(why));
}

}  // namespace
