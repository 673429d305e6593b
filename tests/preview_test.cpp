// Form previews: the canvas is the form's rectangle, objects are drawn at
// their bounds by kind, missing objects are hatched, hidden ones outlined,
// and the PNG is the canvas scaled up with sharp pixels.
#include <gtest/gtest.h>


#include <cstdlib>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "png_read.h"
#include "dump/canvas.h"
#include "dump/container.h"
#include "dump/preview.h"
#include "dump/records.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace orrinrc::dump;

namespace {

// Compiles `text` (with the pictures of `pictures_from`, if any) and
// decodes its records.
std::vector<Record> compile(const std::string& text, const fs::path& pictures_from = {}) {
    const fs::path dir = fs::temp_directory_path() / ("orrinrc-preview-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (!pictures_from.empty())
        for (const auto& e : fs::directory_iterator(pictures_from))
            if (e.path().extension() == ".bmp") fs::copy(e.path(), dir / e.path().filename());
    std::ofstream(dir / "input.rc") << text;
    const std::string cmd = "cd '" + dir.string() + "' && '" + ORRINRC_BIN + "' input.rc > /dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    const std::string bin = read_file(dir / "resource.bin");
    fs::remove_all(dir);
    return decode_image(Bytes(bin.begin(), bin.end()));
}

const char* const kForm =
    "NAME=F\n#FORM\nID=1\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=60\nBOUNDS.HEIGHT=40\nNO_OF_OBJECTS=3\n"
    "UIOBJECT.ID=2\nUIOBJECT.TYPE=CONTROL\nUIOBJECT.ID=3\nUIOBJECT.TYPE=LINE\nUIOBJECT.ID=99\nUIOBJECT.TYPE=FIELD\n"
    "#END_FORM\n"
    "NAME=B\n#CONTROL\nID=2\nOBJECT.TYPE=CONTROL\nBOUNDS.X=10\nBOUNDS.Y=5\nBOUNDS.WIDTH=30\nBOUNDS.HEIGHT=12\n"
    "CONTROL_STYLE=BUTTON\nCONTROL_TEXT=Go\nCONTROL_ATTR.VISIBLE=1\n#END_CONTROL\n"
    "NAME=L\n#LINE\nID=3\nOBJECT.TYPE=LINE\nBOUNDS.X=0\nBOUNDS.Y=30\nLINE_ENDPT_X=59\nLINE_ENDPT_Y=30\n"
    "LINE_COLOR=COLOR_BLACK\nLINE_STYLE=NON_DOTTED_LINE\nLINE_THICK=1\nLINE_ATTR.LINE_VISIBLE=0\n#END_LINE\n";

TEST(Preview, ObjectsAtTheirBoundsMissingOnesHatchedHiddenOnesOutlined) {
    const std::vector<Record> records = compile(kForm);
    ASSERT_EQ(records.size(), 3u);
    const Canvas c = render_form(records[0], records);
    ASSERT_GE(c.width(), 60);  // the legend may be wider than a narrow form
    EXPECT_EQ(c.at(10, 10), 0);   // the button's left frame
    EXPECT_EQ(c.at(39, 10), 0);   // and its right one
    EXPECT_EQ(c.at(45, 10), 255); // beside it, the form's white
    // The hidden line is only its outline: grey dashes, no black line.
    bool black = false;
    for (int x = 30; x < 60; ++x) black |= c.at(x, 30) == 0;
    EXPECT_FALSE(black);
    // Identifier 99 is listed but defined nowhere: in the legend under the
    // form, where it covers nothing; the form's own pixels stay as drawn.
    ASSERT_GT(c.height(), 40);
    EXPECT_EQ(c.at(0, 38), 255);
    EXPECT_EQ(c.at(0, 40), 0);  // the line between the form and its legend
    bool accent = false;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) accent |= c.accented(x, y);
    EXPECT_FALSE(accent);  // nothing reaches outside or overlaps
}

// Objects that reach outside the form or overlap a visible sibling are
// framed in the accent colour and named under the form; a form without
// such mistakes is its rectangle alone, in greys.
TEST(Preview, LayoutMistakesAreMarkedInTheAccentColour) {
    const std::string form =
        "NAME=F\n#FORM\nID=1\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=100\nBOUNDS.HEIGHT=60\nNO_OF_OBJECTS=3\n"
        "UIOBJECT.ID=2\nUIOBJECT.TYPE=CONTROL\nUIOBJECT.ID=3\nUIOBJECT.TYPE=CONTROL\nUIOBJECT.ID=4\n"
        "UIOBJECT.TYPE=CONTROL\n#END_FORM\n";
    auto button = [](int id, int x, int y, int visible) {
        return "NAME=B" + std::to_string(id) + "\n#CONTROL\nID=" + std::to_string(id) +
               "\nOBJECT.TYPE=CONTROL\nBOUNDS.X=" + std::to_string(x) + "\nBOUNDS.Y=" + std::to_string(y) +
               "\nBOUNDS.WIDTH=30\nBOUNDS.HEIGHT=10\nCONTROL_STYLE=BUTTON\nCONTROL_ATTR.VISIBLE=" +
               std::to_string(visible) + "\n#END_CONTROL\n";
    };
    auto accent_at = [](const Canvas& c, int x, int y) { return x < c.width() && y < c.height() && c.accented(x, y); };
    {
        // 2 and 3 overlap; 4 reaches past the right edge.
        const std::vector<Record> records = compile(form + button(2, 0, 0, 1) + button(3, 20, 5, 1) + button(4, 80, 40, 1));
        const Canvas c = render_form(records[0], records);
        EXPECT_GT(c.height(), 60);
        EXPECT_GE(c.width(), 100);
        EXPECT_TRUE(accent_at(c, 0, 0));    // 2's frame
        EXPECT_TRUE(accent_at(c, 49, 14));  // 3's bottom-right corner
        EXPECT_TRUE(accent_at(c, 80, 45));  // 4's left edge
        EXPECT_FALSE(accent_at(c, 60, 30));
        int legend_accent = 0;
        for (int y = 61; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) legend_accent += c.accented(x, y);
        EXPECT_GT(legend_accent, 0);
    }
    {
        // Side by side, inside; a hidden one may share a place.
        const std::vector<Record> records = compile(form + button(2, 0, 0, 1) + button(3, 40, 0, 1) + button(4, 0, 0, 0));
        const Canvas c = render_form(records[0], records);
        EXPECT_EQ(c.width(), 100);
        EXPECT_EQ(c.height(), 60);
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) ASSERT_FALSE(c.accented(x, y)) << x << "," << y;
    }
}

TEST(Preview, PngIsTheCanvasScaledWithSharpPixels) {
    Canvas c(3, 2);
    c.dot(1, 0, 0);
    const fs::path file = fs::temp_directory_path() / ("orrinrc-preview-" + std::to_string(getpid()) + ".png");
    std::string error;
    ASSERT_TRUE(c.write_png(file.string(), 4, error)) << error;
    GreyPicture image;
    ASSERT_TRUE(read_grey_png(file.string(), image));
    EXPECT_EQ(image.width, 12);
    EXPECT_EQ(image.height, 8);
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 12; ++x) EXPECT_EQ(image.pixels[y * 12 + x], (x / 4 == 1 && y / 4 == 0) ? 0 : 255);
    fs::remove(file);
}

TEST(Preview, TextsUseTheThreeSizes) {
    EXPECT_LT(Canvas::text_width("Ab", TextSize::Small), Canvas::text_width("Ab", TextSize::Normal));
    EXPECT_LT(Canvas::text_width("Ab", TextSize::Normal), Canvas::text_width("Ab", TextSize::Large));
    Canvas c(40, 20);
    c.text(0, 0, "I", TextSize::Large, 0);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ink += c.at(x, y) == 0;
    EXPECT_EQ(ink, 4 * 11);  // the 11 dots of the glyph, each 2 x 2
}

// The example's main form at scale 1, pixel by pixel against the PNG kept
// in tests/preview/ (ORRINRC_UPDATE_GOLDEN=1 rewrites it after a change that
// is meant; look at the picture before committing it).
TEST(Preview, ExampleFormMatchesItsGoldenPicture) {
    const std::vector<Record> records = compile(read_file(fs::path(EXAMPLES_DIR) / "example.rc"), EXAMPLES_DIR);
    const Record* form = nullptr;
    for (const Record& r : records)
        if (r.kind() == orrinrc::format::Kind::Form) form = &r;
    ASSERT_NE(form, nullptr);
    const fs::path golden = fs::path(GOLDEN_DIR).parent_path() / "preview" / "example-main-form.png";
    const fs::path drawn = fs::temp_directory_path() / ("orrinrc-preview-" + std::to_string(getpid()) + "-form.png");
    std::string error;
    ASSERT_TRUE(render_form(*form, records).write_png(drawn.string(), 1, error)) << error;
    if (std::getenv("ORRINRC_UPDATE_GOLDEN") != nullptr) fs::copy_file(drawn, golden, fs::copy_options::overwrite_existing);
    // As RGB: the marks of layout mistakes are in colour.
    GreyPicture want, got;
    ASSERT_TRUE(read_png(golden.string(), want, 3));
    ASSERT_TRUE(read_png(drawn.string(), got, 3));
    fs::remove(drawn);
    EXPECT_EQ(want.width, got.width);
    EXPECT_EQ(want.height, got.height);
    size_t differ = 0;
    for (size_t i = 0; i < want.pixels.size() && i < got.pixels.size(); ++i) differ += want.pixels[i] != got.pixels[i];
    EXPECT_EQ(differ, 0u);
}

// Every kind draws inside its bounds, however much it holds.
TEST(Preview, EveryKindDrawsOnlyInsideItsBounds) {
    const std::string form =
        "NAME=F\n#FORM\nID=1\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=100\nBOUNDS.HEIGHT=80\nNO_OF_OBJECTS=1\n"
        "UIOBJECT.ID=2\nUIOBJECT.TYPE=";
    const std::string bounds = "BOUNDS.X=20\nBOUNDS.Y=20\nBOUNDS.WIDTH=40\nBOUNDS.HEIGHT=20\n";
    const std::string long_text = "A text far longer than the forty pixels of its box";
    const struct {
        const char* kind;
        std::string body;
    } objects[] = {
        {"CONTROL", "CONTROL_STYLE=BUTTON\nCONTROL_TEXT=" + long_text + "\nCONTROL_ATTR.VISIBLE=1\n"},
        {"CONTROL", "CONTROL_STYLE=CHECKBOX\nCONTROL_TEXT=" + long_text + "\nCONTROL_ATTR.VISIBLE=1\n"},
        {"CONTROL", "CONTROL_STYLE=POPUP_TRIGGER\nCONTROL_TEXT=" + long_text + "\nCONTROL_ATTR.VISIBLE=1\n"},
        {"FIELD", "FIELD_TEXT=" + long_text + "\nFIELD_BACK_LINE=DOTTED_LINE\nFIELD_FONT_COLOR=COLOR_BLACK\n"
                  "FIELD_ATTR.FIELD_VISIBLE=1\n"},
        {"LIST", "LIST_TOTAL_NUM_ITEMS=5\nLIST_ITEM=" + long_text + "\nLIST_ITEM=b\nLIST_ITEM=c\nLIST_ITEM=d\n"
                 "LIST_ITEM=e\nLIST_NUM_ITEMS_ON_DISPLAY=5\nLIST_TEXT_COLOR=COLOR_BLACK\nLIST_ATTR.LIST_VISIBLE=1\n"},
        {"MENU", "MENU_NUM_ITEMS=3\nMENU_ITEM=" + long_text + "\nMENU_ITEM=b\nMENU_ITEM=c\nMENU_VISIBLE=1\n"},
        {"SCROLLBAR", "SCROLLBAR_MAX=10\nSCROLLBAR_CURRENT_VALUE=10\nSCROLLBAR_ATTR.SCROLLBAR_VISIBLE=1\n"},
        {"TABLE", "TABLE_NUM_ROW=2\nTABLE_NUM_COLUMN=2\nTABLE_COLUMN_WIDTH=30\nTABLE_COLUMN_WIDTH=30\n"
                  "TABLE_ROW_HEIGHT=15\nTABLE_ROW_HEIGHT=15\nTABLE_DATA_TYPE=TABLE_TEXT\nTABLE_TEXT=" + long_text +
                  "\nTABLE_FONT_COLOR=COLOR_BLACK\nTABLE_ATTR.TABLE_VISIBLE=1\n"},
        {"SCHLINE", "SCHLINE_ATTR.VISIBLE=1\n"},
        {"STRING", "STRING_TEXT=" + long_text + "\nSTRING_FONT=LARGE_FONT\nSTRING_FONT_COLOR=COLOR_BLACK\n"
                   "STRING_ATTR.VISIBLE=1\n"},
        {"TEXTBOX", "TEXTBOX_TEXT=" + long_text + "\nTEXTBOX_FONT_COLOR=COLOR_BLACK\nTEXTBOX_BACK_LINE=GREY_LINE\n"
                    "TEXTBOX_ATTR.TEXTBOX_VISIBLE=1\n"},
    };
    for (const auto& o : objects) {
        const std::string object = std::string("NAME=O\n#") + o.kind + "\nID=2\nOBJECT.TYPE=" + o.kind + "\n" + bounds +
                                   o.body + "#END_" + o.kind + "\n";
        const std::vector<Record> records = compile(form + o.kind + "\n#END_FORM\n" + object);
        ASSERT_EQ(records.size(), 2u) << o.kind;
        const Canvas c = render_form(records[0], records);
        int inside = 0, outside = 0;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) {
                if (c.at(x, y) == 255) continue;
                (x >= 20 && x < 60 && y >= 20 && y < 40 ? inside : outside) += 1;
            }
        EXPECT_GT(inside, 0) << o.kind << ": nothing drawn";
        EXPECT_EQ(outside, 0) << o.kind << ": drawn outside its bounds";
    }
}

// The preview draws every form of every golden case that compiles.
TEST(Preview, DrawsTheFormsOfEveryGoldenCase) {
    size_t forms = 0;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR)) {
        const fs::path d = entry.path();
        if (!fs::is_regular_file(d / "input.rc") || fs::exists(d / "setup") || fs::exists(d / "args") ||
            fs::exists(d / "tool"))
            continue;
        if (read_file(d / "expected" / "exit_code") != "0\n") continue;
        const std::vector<Record> records = compile(read_file(d / "input.rc"), d);
        for (const Record& r : records) {
            if (r.kind() != orrinrc::format::Kind::Form) continue;
            const Canvas c = render_form(r, records);
            EXPECT_GE(c.width(), 1) << d.filename();
            ++forms;
        }
    }
    EXPECT_GT(forms, 10u);
}

}  // namespace
