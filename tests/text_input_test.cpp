// The scanner's input routine: text-mode translation across read boundaries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scanner/text_input.h"
#include "util/files.h"
#include "util/process.h"

using namespace orrinrc;

namespace {

// Writes `raw` to a file and reads it back with reads of at most `chunk`,
// the file opened as the compiler opens its input: on every system the
// translation here is the only one.
std::string translate(const std::string& raw, size_t chunk = 8192) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("orrinrc-text-input-" + std::to_string(process::id()));
    std::ofstream(file, std::ios::binary) << raw;
    const int fd = files::open_read(file.string().c_str());
    EXPECT_GE(fd, 0);
    TextInput in;
    text_input_open(in, fd);
    std::string out;
    char buf[8192];
    for (long n; (n = text_input_read(in, buf, chunk)) > 0;) out.append(buf, static_cast<size_t>(n));
    files::close(fd);
    std::filesystem::remove(file);
    return out;
}

TEST(TextInput, LineEndsAndEndOfFileByte) {
    EXPECT_EQ(translate("a\r\nb\rc\n\r"), "a\nb\rc\n\r");
    EXPECT_EQ(translate("ab\x1a" "cd\r\n"), "ab");
    EXPECT_EQ(translate("\x1a" "#FORM\n"), "");
    EXPECT_EQ(translate("ab\r\x1a\n"), "ab\r");
    EXPECT_EQ(translate(std::string("a\0b\n", 4)), std::string("a\0b\n", 4));
}

TEST(TextInput, CrAtTheEndOfOneReadAndLfAtTheStartOfTheNext) {
    std::string raw(8191, 'x');
    raw += "\r\nyz\r";
    EXPECT_EQ(translate(raw), std::string(8191, 'x') + "\nyz\r");
    // Small reads by the scanner must not split a CR LF pair either.
    EXPECT_EQ(translate("ab\r\ncd\r\n", 1), "ab\ncd\n");
    EXPECT_EQ(translate("ab\r\ncd\r\n", 3), "ab\ncd\n");
}

}  // namespace
