// The control writer's guard against a style it has no layout for.
#include <gtest/gtest.h>

#include "output/target.h"
#include "resources/records.h"

using namespace orrinrc;

namespace {

TEST(WriteControl, UnknownStyleRaisesItsErrorWithoutWriting) {
    NullTarget out;
    BinWriter w;
    bin_open(w, &out, "resource.bin");
    Records r;
    r.control.style = 5;
    try {
        write_control(w, r);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind, ErrorKind::UnknownControlStyle);
        EXPECT_EQ(e.message, "write_control unknown style 5\n");
        EXPECT_EQ(e.stream, Stream::Err);
        EXPECT_EQ(e.exit_code, 1);
    }
    EXPECT_TRUE(w.buf.empty());
}

}  // namespace
