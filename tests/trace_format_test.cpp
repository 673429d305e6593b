// The parse trace and the resource.h lines, written by hand for speed, must
// be exactly what their printf formats give.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "driver/run.h"

using namespace orrinrc;

namespace {

// Runs `body` with standard output sent to a temporary file; returns it.
template <typename Body>
std::string captured_stdout(Body body) {
    std::fflush(stdout);
    FILE* sink = std::tmpfile();
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(sink), STDOUT_FILENO);
    body();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string out;
    std::rewind(sink);
    for (int c; (c = std::fgetc(sink)) != EOF;) out += static_cast<char>(c);
    std::fclose(sink);
    return out;
}

std::string format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

const unsigned kIds[] = {0, 7, 42, 999, 1000, 9999, 10000, 65535};

TEST(TraceFormat, IdentifierStartsInColumnElevenAndIsLeftAligned) {
    for (const char* keyword : {"FORM", "CONTROL", "SCROLLBAR", "LINE"}) {
        for (unsigned id : kIds) {
            int pad = 10 - static_cast<int>(std::string(keyword).size());
            EXPECT_EQ(captured_stdout([&] { trace_id(keyword, static_cast<uint16_t>(id)); }),
                      format("%*sID=%-4u", pad, "", id))
                << keyword << " " << id;
        }
    }
}

TEST(TraceFormat, EndShowsTheLengthInHexAndDecimal) {
    for (uint64_t length : {0ull, 4ull, 64ull, 0xFFFFFFull, 0x1000000ull, 0xFFFFFFFFull}) {
        resource_bin.base = length;  // pos() is base plus the buffered bytes
        resource_bin.buf.clear();
        EXPECT_EQ(captured_stdout([] { trace_end(); }),
                  format(" end=0x%06llx %llu\n", static_cast<unsigned long long>(length),
                         static_cast<unsigned long long>(length)));
    }
    resource_bin.base = 0;
}

// write_define appends the line to resource.h's buffer, which holds far
// less than its flush size here.
std::string define_line(uint16_t id) {
    resource_h.buf.clear();
    write_define(id);
    std::string got = resource_h.buf;
    resource_h.buf.clear();
    return got;
}

TEST(DefineLine, NameIsPaddedToFortyColumnsAndNeverCut) {
    for (size_t length : {0u, 1u, 39u, 40u, 41u, 60u}) {
        for (unsigned id : kIds) {
            std::string name(length, 'N');
            resource_name = name;
            EXPECT_EQ(define_line(static_cast<uint16_t>(id)), format("#define %-40s %u\n", name.c_str(), id))
                << length << " " << id;
            EXPECT_FALSE(resource_name.has_value());
        }
    }
}

TEST(DefineLine, NameEndsAtItsFirstNul) {
    resource_name = std::string("Ab\0cd", 5);
    EXPECT_EQ(define_line(5), format("#define %-40s %u\n", "Ab", 5u));
}

}  // namespace
