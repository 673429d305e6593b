// Form previews: the canvas is the form's rectangle, objects are drawn at
// their bounds by kind, missing objects are hatched, hidden ones outlined,
// and the PNG is the canvas scaled up with sharp pixels.
#include <gtest/gtest.h>

#include <png.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "dump/canvas.h"
#include "dump/container.h"
#include "dump/preview.h"
#include "dump/records.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace orrinrc::dump;

namespace {

// Compiles `text` and decodes its records.
std::vector<Record> compile(const std::string& text) {
    const fs::path dir = fs::temp_directory_path() / ("orrinrc-preview-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
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
    ASSERT_EQ(c.width(), 60);
    ASSERT_EQ(c.height(), 40);
    EXPECT_EQ(c.at(10, 10), 0);   // the button's left frame
    EXPECT_EQ(c.at(39, 10), 0);   // and its right one
    EXPECT_EQ(c.at(45, 10), 255); // beside it, the form's white
    // The hidden line is only its outline: grey dashes, no black line.
    bool black = false;
    for (int x = 30; x < 60; ++x) black |= c.at(x, 30) == 0;
    EXPECT_FALSE(black);
    // Identifier 99 is listed but defined nowhere: a hatched box at the
    // bottom left, just above the form's last row.
    EXPECT_EQ(c.at(0, 38), 0);
    EXPECT_EQ(c.at(0, 39), 255);
}

TEST(Preview, PngIsTheCanvasScaledWithSharpPixels) {
    Canvas c(3, 2);
    c.dot(1, 0, 0);
    const fs::path file = fs::temp_directory_path() / ("orrinrc-preview-" + std::to_string(getpid()) + ".png");
    std::string error;
    ASSERT_TRUE(c.write_png(file.string(), 4, error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.c_str()));
    image.format = PNG_FORMAT_GRAY;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 12u);
    EXPECT_EQ(image.height, 8u);
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 12; ++x) EXPECT_EQ(pixels[y * 12 + x], (x / 4 == 1 && y / 4 == 0) ? 0 : 255);
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

}  // namespace
