// Hostile inputs that are too large to keep as golden files: they are built
// here, compiled by the real binary in a temporary folder, and the outputs
// are checked for the structure that every loader relies on.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bitmap/bmp_import.h"

#include "test_files.h"

using namespace orrinrc;

namespace fs = std::filesystem;

namespace {

void write_file(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
}

uint32_t le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

// Walks resource.bin the way the device does: the total length (0 after a
// run that failed), then records of an identifier and an outer block whose
// inner blocks fill it exactly. Returns the number of records, or -1 (with a
// failure) when a length does not add up.
long walk_records(const std::string& bin, bool finished = true) {
    if (bin.size() < 4 || le32(bin, 0) != (finished ? bin.size() : 0)) {
        ADD_FAILURE() << "total length " << (bin.size() < 4 ? 0 : le32(bin, 0)) << " for " << bin.size() << " bytes";
        return -1;
    }
    long records = 0;
    for (size_t at = 4; at < bin.size(); ++records) {
        if (bin.size() - at < 10) return ADD_FAILURE() << "record cut at " << at, -1;
        const size_t outer = le32(bin, at + 2);
        const size_t end = at + 2 + outer;
        if (outer < 9 || end > bin.size()) return ADD_FAILURE() << "outer block at " << at + 2, -1;
        size_t inner = at + 6;
        while (inner < end) {
            const size_t len = le32(bin, inner);
            if (len < 4 || inner + len > end) return ADD_FAILURE() << "inner block at " << inner, -1;
            inner += len;
        }
        at = end;
    }
    return records;
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orrinrc-hostile-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Compiles `input` (written as input.rc) with the given shell redirection
    // of standard output, after the shell commands `setup`; returns the exit
    // code and records the run time.
    int compile(const std::string& input, const std::string& redirect = "> stdout.txt", const std::string& setup = "") {
        write_file(dir / "input.rc", input);
        const std::string cmd = "cd '" + dir.string() + "' && " + setup + " timeout 120 '" + ORRINRC_BIN +
                                "' input.rc 2> stderr.txt " + redirect;
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(("bash -c " + quote(cmd)).c_str());
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Nothing here is a fatal scanner error: anything on standard error
        // is a sanitizer report or a crash.
        EXPECT_EQ(out("stderr.txt"), "");
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string out(const char* name) { return read_file(dir / name); }

    static std::string quote(const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }

    fs::path dir;
    double seconds = 0;
};

// Work must stay linear in the length of a line: a scanner that rescans a
// line from each of its characters, or the whole token after each small
// read, takes minutes on these.
constexpr double kLinearSeconds = 20;

TEST_F(Hostile, LineOfMegabytesInAStringValue) {
    const std::string text(4 << 20, 'a');
    ASSERT_EQ(compile("NAME=S\n#STRING\nID=1\nOBJECT.TYPE=STRING\nSTRING_TEXT=" + text + "\n#END_STRING\n"), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    const std::string bin = out("resource.bin");
    EXPECT_EQ(walk_records(bin), 1);
    EXPECT_NE(bin.find(text + '\0'), std::string::npos);
}

TEST_F(Hostile, TextThatNeverCompletesAValue) {
    // Blanks with no line end at the top level are copied out.
    ASSERT_EQ(compile(std::string(1 << 20, ' ') + "x\n"), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_NE(out("stdout.txt").find(std::string(1 << 20, ' ') + "x"), std::string::npos);

    // A string line broken by a lone CR: the text after the CR is the value.
    const std::string head = "NAME=S\n#STRING\nID=1\nOBJECT.TYPE=STRING\nSTRING_TEXT=";
    ASSERT_EQ(compile(head + std::string(1 << 20, 'a') + "\rtail\n#END_STRING\n"), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_NE(out("resource.bin").find(std::string("tail") + '\0'), std::string::npos);

    // A string line that the end of the input cuts off.
    compile(head + std::string(1 << 20, 'a'));
    EXPECT_LT(seconds, kLinearSeconds);

    // Digits past a list's related-object count, with no line end.
    ASSERT_EQ(compile("NAME=L\n#LIST\nID=1\nOBJECT.TYPE=LIST\nLIST_NUM_RELATED_LIST_OBJECT=0\nLIST_RELATED_OBJECT=" +
                      std::string(1 << 20, '7') + "x\n#END_LIST\n"),
              0);
    EXPECT_LT(seconds, kLinearSeconds);
}

TEST_F(Hostile, LineOfMegabytesAsAPrefixOrAComment) {
    const std::string big(4 << 20, 'p');
    ASSERT_EQ(compile("//" + big + "\nNAME=S\n#STRING\nID=1\nOBJECT.TYPE=STRING\n(" + big +
                      ") STRING_TEXT=ok\n#END_STRING\n"),
              0);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_NE(out("resource.bin").find(std::string("ok") + '\0'), std::string::npos);

    // The syntax error echoes the whole offending line.
    ASSERT_EQ(compile("NAME=S\n#STRING\nID=1\n(" + big + "\n"), 1);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_NE(out("stdout.txt").find("error: STRING\n(" + big + "\n"), std::string::npos);
}

// A NUL inside a token makes the scanner rescan the token from its start:
// runs of NULs in comments, prefixes and values must not cost time
// quadratic in their length.
TEST_F(Hostile, RunsOfNulBytes) {
    const std::string nuls(1 << 20, '\0');
    const std::string head = "NAME=S\n#STRING\nID=1\nOBJECT.TYPE=STRING\n";
    ASSERT_EQ(compile("//" + nuls + "\n" + head + "//" + nuls + "\nSTRING_TEXT=ab" + nuls + "\n#END_STRING\n"), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    const std::string bin = out("resource.bin");
    EXPECT_EQ(walk_records(bin), 1);
    EXPECT_NE(bin.find(std::string("\x07\x00\x00\x00" "ab\0", 7)), std::string::npos);  // the text ends at its NUL

    ASSERT_EQ(compile("NAME=" + nuls + "\r" + nuls + "\r\n" + head + "#END_STRING\n"), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_EQ(walk_records(out("resource.bin")), 1);

    // A prefix that holds a NUL is no prefix: the line is an error.
    ASSERT_EQ(compile(head + "(" + nuls + ") STRING_TEXT=x\n#END_STRING\n"), 1);
    EXPECT_LT(seconds, kLinearSeconds);

    // A comment line that the end of the input cuts off is no comment.
    ASSERT_EQ(compile("//" + nuls), 0);
    EXPECT_LT(seconds, kLinearSeconds);
    EXPECT_NE(out("stdout.txt").find("//" + nuls), std::string::npos);
}

// One small definition of every kind.
std::string every_kind(int n) {
    static const char* const kinds[] = {"FORM",   "CONTROL", "FIELD",  "LIST",   "MENU",    "SCROLLBAR",
                                        "TABLE",  "SCHLINE", "STRING", "BITMAP", "TEXTBOX", "LINE"};
    std::string s;
    for (const char* k : kinds) {
        s += "NAME=N" + std::to_string(n) + k + "\n#" + k + "\nID=" + std::to_string(n % 65536) +
             "\nOBJECT.TYPE=" + k + "\n#END_" + k + "\n";
    }
    return s;
}

TEST_F(Hostile, ThousandsOfDefinitionsWithNobodyReadingTheTrace) {
    std::string input;
    for (int i = 0; i < 500; ++i) input += every_kind(i);
    // The reader of standard output goes away after a few bytes: the
    // compiler still completes both files and succeeds.
    ASSERT_EQ(compile(input, "| head -c 100 > stdout.txt; exit ${PIPESTATUS[0]}"), 0);
    EXPECT_EQ(walk_records(out("resource.bin")), 6000);
    const std::string h = out("resource.h");
    EXPECT_EQ(std::count(h.begin(), h.end(), '\n'), 6000);
    EXPECT_NE(h.find("#define N499LINE"), std::string::npos);
}

TEST_F(Hostile, StandardOutputOnAFullDisk) {
    const std::string input = every_kind(1);
    ASSERT_EQ(compile(input), 0);
    const std::string bin = out("resource.bin"), h = out("resource.h");
    ASSERT_EQ(compile(input, "> /dev/full"), 0);
    EXPECT_EQ(out("resource.bin"), bin);
    EXPECT_EQ(out("resource.h"), h);
}

// An output that fails after thousands of records: every record that
// reached resource.bin whole stays, nothing after it, and resource.h holds
// the whole line of each of those records and no other.
TEST_F(Hostile, ResourceHFailsAfterManyRecords) {
    std::string input;
    for (int i = 0; i < 40000; ++i)
        input += "NAME=Form" + std::to_string(i) + "\n#FORM\nID=" + std::to_string(i) + "\n#END_FORM\n";
    fs::create_symlink("/dev/full", dir / "resource.h");
    ASSERT_EQ(compile(input), 4);
    const std::string trace = out("stdout.txt");
    EXPECT_NE(trace.find("error: can't write resource.h: No space left on device\n"), std::string::npos);
    // resource.h fails once its first 64 KB go out, at the line of a record
    // that is complete: that record is kept with every one that ended before
    // it (each has its " end=" in the trace).
    long ended = 0;
    for (size_t at = trace.find(" end="); at != std::string::npos; at = trace.find(" end=", at + 1)) ++ended;
    EXPECT_GT(ended, 1000);
    EXPECT_EQ(walk_records(out("resource.bin"), false), ended + 1);
}

// resource.h fails first; saving resource.bin then fails too. Both are
// reported, the first failure's exit code stands, and resource.bin keeps
// the records that fitted, cut back to a record boundary.
TEST_F(Hostile, SecondFailureWhileSaving) {
    std::string input;
    for (int i = 0; i < 40000; ++i)
        input += "NAME=Form" + std::to_string(i) + "\n#FORM\nID=" + std::to_string(i) + "\n#END_FORM\n";
    fs::create_symlink("/dev/full", dir / "resource.h");
    // 32 KB: less than the records buffered when resource.h fails. The
    // trace goes through a pipe, which the limit does not apply to.
    ASSERT_EQ(compile(input, "| tail -c 200 > stdout.txt; exit ${PIPESTATUS[0]}", "ulimit -f 32 &&"), 4);
    const std::string trace = out("stdout.txt");
    EXPECT_NE(trace.find("error: can't write resource.h: No space left on device\n"
                         "error: can't write resource.bin: File too large\n"),
              std::string::npos)
        << trace;
    const std::string bin = out("resource.bin");
    EXPECT_LE(bin.size(), 32u * 1024);
    EXPECT_GT(walk_records(bin, false), 500);
}

TEST_F(Hostile, ResourceBinFailsAfterManyRecords) {
    std::string input;
    for (int i = 0; i < 40000; ++i)
        input += "NAME=S" + std::to_string(i) + "\n#STRING\nID=" + std::to_string(i) +
                 "\nOBJECT.TYPE=STRING\nSTRING_TEXT=" + std::string(100, 't') + "\n#END_STRING\n";
    // 512 KB: the second block of records that goes out passes the limit.
    // The trace and resource.h stay well below it.
    ASSERT_EQ(compile(input, "> stdout.txt", "ulimit -f 512 &&"), 3);
    EXPECT_NE(out("stdout.txt").find("error: can't write resource.bin: File too large\n"), std::string::npos);
    const std::string bin = out("resource.bin"), h = out("resource.h");
    EXPECT_GT(bin.size(), 256u * 1024);
    const long records = walk_records(bin, false);
    EXPECT_GT(records, 1000);
    ASSERT_FALSE(h.empty());
    EXPECT_EQ(h.back(), '\n');
    EXPECT_EQ(std::count(h.begin(), h.end(), '\n'), records);
    const std::string last = "S" + std::to_string(records - 1);
    EXPECT_EQ(h.substr(h.rfind("#define ") + 8, last.size() + 1), last + " ");
}

TEST_F(Hostile, CountsOf65535WithNoEntries) {
    const std::string input =
        "NAME=F\n#FORM\nID=1\nOBJECT.TYPE=FORM\nNO_OF_OBJECTS=65535\n#END_FORM\n"
        "NAME=L\n#LIST\nID=2\nOBJECT.TYPE=LIST\nLIST_TOTAL_NUM_ITEMS=65535\n"
        "LIST_NUM_RELATED_LIST_OBJECT=65535\n#END_LIST\n"
        "NAME=M\n#MENU\nID=3\nOBJECT.TYPE=MENU\nMENU_NUM_ITEMS=65535\n#END_MENU\n"
        "NAME=C\n#CONTROL\nID=4\nOBJECT.TYPE=CONTROL\nCONTROL_STYLE=POPUP_TRIGGER\n"
        "CONTROL_ADD.NUM_OBJECTS=65535\n#END_CONTROL\n"
        "NAME=T\n#TABLE\nID=5\nOBJECT.TYPE=TABLE\nTABLE_NUM_COLUMN=65535\nTABLE_NUM_ROW=1\n#END_TABLE\n"
        "NAME=U\n#TABLE\nID=6\nOBJECT.TYPE=TABLE\nTABLE_NUM_COLUMN=1\nTABLE_NUM_ROW=65535\n#END_TABLE\n";
    ASSERT_EQ(compile(input), 0) << out("stdout.txt");
    const std::string bin = out("resource.bin");
    EXPECT_EQ(walk_records(bin), 6);
    // A table of r rows and c columns without texts is 87 + 2c + 2r + 15rc
    // bytes: the widths, heights and cells never given are written cleared.
    const size_t table = 87 + 2 * 65535 + 2 + 15 * 65535;
    EXPECT_GT(bin.size(), 2 * table);
    EXPECT_EQ(bin.substr(bin.size() - table, 2), std::string("\x06\x00", 2));  // the second table's ID
}

// BMP headers with extreme fields: every conversion either fails with its
// message or gives exactly the data that the record announces.
TEST(HostileBmp, ExtremeHeaderFields) {
    const fs::path path = fs::temp_directory_path() / ("orrinrc-hostile-bmp-" + std::to_string(getpid()));
    struct Case {
        uint32_t offset;
        int32_t width, height;
        uint16_t bpp;
        uint32_t header = 40;
        uint32_t compression = 0;
    };
    const Case cases[] = {
        {0xFFFFFFFFu, 8, 1, 8},         {54 + 1024, 0x7FFFFFFF, 1, 8},     {54 + 1024, 8, 0x7FFFFFFF, 8},
        {54 + 1024, 8, INT32_MIN, 8},   {54 + 1024, 8, -0x7FFFFFFF, 24},   {54 + 1024, INT32_MIN, 1, 8},
        {54 + 1024, 0x7FFFFFFF, 2, 32}, {54 + 1024, 0x40000000, 2, 24},    {54, 8, 1, 0xFFFF},
        {54, 8, 1, 0x7FFF},             {54, 8, 1, 0},                     {54 + 1024, 8, 1, 8, 0xFFFFFFFFu},
        {0, 0x7FFFFFFF, 0x7FFFFFFF, 1}, {0x80000000u, 0x12345, -3, 4},
        // Run-length compressed: a stream of runs of 90 pixels.
        {54 + 1024, 0x7FFFFFFF, 0x7FFFFFFF, 8, 40, 1}, {54 + 64, 0x7FFFFFFF, 0x7FFFFFFF, 4, 40, 2},
        {54 + 1024, 90, 0x7FFFFFFF, 8, 40, 1},         {0xFFFFFFFFu, 8, 1, 8, 40, 1},
    };
    for (const Case& c : cases) {
        std::string f(54 + 1024 + 64, '\x5A');
        auto put = [&](size_t at, uint32_t v, int n) {
            for (int i = 0; i < n; ++i) f[at + i] = char(v >> (8 * i));
        };
        put(0, 'B' | 'M' << 8, 2);
        put(10, c.offset, 4);
        put(14, c.header, 4);
        put(18, uint32_t(c.width), 4);
        put(22, uint32_t(c.height), 4);
        put(28, c.bpp, 2);
        put(30, c.compression, 4);
        write_file(path, f);
        for (auto [w, h, d] : {std::tuple{8, 2, 4}, {16383, 1, 2}, {-32768, -32768, 4}, {32767, 4, 4}}) {
            BitmapRecord bm;
            bm.width = int16_t(w);
            bm.height = int16_t(h);
            bm.depth = uint8_t(d);
            const std::string msg = bmp_convert(bm, path.c_str());
            SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " bpp " + std::to_string(c.bpp));
            if (msg.empty()) {
                EXPECT_TRUE(bm.loaded);
                EXPECT_EQ(size_t{bm.size}, bm.words.size() * 4);
                EXPECT_EQ(int64_t{bm.size}, int64_t{h} * ((w * d + 31) / 32) * 4);
            } else {
                EXPECT_EQ(msg.rfind("error: ", 0), 0u) << msg;
                EXPECT_FALSE(bm.loaded);
            }
        }
    }
    fs::remove(path);
}

}  // namespace
