// Number lines: the hand-written conversion must read every text exactly as
// base-10 strtoll followed by saturation at the 32-bit limits.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "scanner/value_readers.h"

using namespace orrinrc;

namespace {

int32_t reference(const char* text) {
    long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

TEST(NumberValue, ReadsLikeStrtollWithSaturation) {
    const char* const texts[] = {
        "", "\n", "-\n", "+\n", "  \t\r\n", "0\n", "5  \n", "-5\r\n", "+12\n", "007\n", "-0\n",
        "300\n", "65535\n", "65536\n", "70000\n", "-70000\n", "2147483647\n", "2147483648\n",
        "-2147483647\n", "-2147483648\n", "-2147483649\n", "4294967296\n", "-4294967296\n",
        "9223372036854775807\n", "9223372036854775808\n", "-9223372036854775809\n",
        "99999999999999999999999999999\n", "-99999999999999999999999999999\n", "12abc", " \t 42\n",
        "\v\f7", "--1", "+-1", "1 2", "21474836470\n", "214748364799\n", "0000000000002147483648\n"};
    for (const char* t : texts) EXPECT_EQ(number_value(t), reference(t)) << '"' << t << '"';
}

TEST(NumberValue, EveryMagnitudeAroundTheLimits) {
    for (long long base : {0LL, 65536LL, 2147483647LL, 4294967296LL}) {
        for (long long d = -3; d <= 3; ++d) {
            for (const char* sign : {"", "+", "-"}) {
                std::string t = sign + std::to_string(base + d) + "\n";
                if (base + d < 0) continue;
                EXPECT_EQ(number_value(t.c_str()), reference(t.c_str())) << t;
            }
        }
    }
}

}  // namespace
