// The parse trace and the resource.h lines, written by hand for speed, must
// be exactly what their printf formats give.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "run/run.h"

using namespace orrinrc;

namespace {

std::string format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

const unsigned kIds[] = {0, 7, 42, 999, 1000, 9999, 10000, 65535};

// A run whose trace goes into `trace`.
struct TraceRun {
    RunOptions options;
    std::string trace;
    Run run{options, Console(&trace)};
};

TEST(TraceFormat, IdentifierStartsInColumnElevenAndIsLeftAligned) {
    for (const char* keyword : {"FORM", "CONTROL", "SCROLLBAR", "LINE"}) {
        for (unsigned id : kIds) {
            int pad = 10 - static_cast<int>(std::string(keyword).size());
            TraceRun t;
            trace_id(t.run, keyword, static_cast<uint16_t>(id));
            EXPECT_EQ(t.trace, format("%*sID=%-4u", pad, "", id))
                << keyword << " " << id;
        }
    }
}

TEST(TraceFormat, EndShowsTheLengthInHexAndDecimal) {
    for (uint64_t length : {0ull, 4ull, 64ull, 0xFFFFFFull, 0x1000000ull, 0xFFFFFFFFull}) {
        TraceRun t;
        t.run.resource_bin.base = length;  // pos() is base plus the buffered bytes
        trace_end(t.run);
        EXPECT_EQ(t.trace, format(" end=0x%06llx %llu\n", static_cast<unsigned long long>(length),
                                  static_cast<unsigned long long>(length)));
    }
}

// write_define appends the line to resource.h's buffer, which holds far
// less than its flush size here.
std::string define_line(Run& run, uint16_t id) {
    write_define(run, id);
    return run.resource_h.buf;
}

TEST(DefineLine, NameIsPaddedToFortyColumnsAndNeverCut) {
    for (size_t length : {0u, 1u, 39u, 40u, 41u, 60u}) {
        for (unsigned id : kIds) {
            std::string name(length, 'N');
            TraceRun t;
            t.run.resource_name = name;
            EXPECT_EQ(define_line(t.run, static_cast<uint16_t>(id)), format("#define %-40s %u\n", name.c_str(), id))
                << length << " " << id;
            EXPECT_FALSE(t.run.resource_name.has_value());
        }
    }
}

TEST(DefineLine, NameEndsAtItsFirstNul) {
    TraceRun t;
    t.run.resource_name = std::string("Ab\0cd", 5);
    EXPECT_EQ(define_line(t.run, 5), format("#define %-40s %u\n", "Ab", 5u));
}

}  // namespace
