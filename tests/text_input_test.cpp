// The scanner's input routine: text-mode translation across read boundaries.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "scanner/text_input.h"

using namespace orrinrc;

namespace {

// Feeds `raw` through a pipe and reads it back with reads of at most `chunk`.
std::string translate(const std::string& raw, size_t chunk = 8192) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    EXPECT_EQ(write(fds[1], raw.data(), raw.size()), static_cast<ssize_t>(raw.size()));
    close(fds[1]);
    TextInput in;
    text_input_open(in, fds[0]);
    std::string out;
    char buf[8192];
    for (long n; (n = text_input_read(in, buf, chunk)) > 0;) out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
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
