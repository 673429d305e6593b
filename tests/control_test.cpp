// The control writer's guard against a style it has no layout for.
#include <gtest/gtest.h>

#include "resources/control.h"

using namespace orrinrc;

namespace {

TEST(WriteControlDeathTest, UnknownStyleEndsTheRunWithoutWriting) {
    EXPECT_EXIT(
        {
            BinWriter w;
            control.style = 5;
            write_control(w);
        },
        ::testing::ExitedWithCode(1), "^write_control unknown style 5\n$");
}

}  // namespace
