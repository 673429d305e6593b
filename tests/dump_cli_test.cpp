// orrinrc-dump as a program: malformed images, and the round trip
// compile -> decompile -> compile over the golden inputs and the example.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "dump/container.h"
#include "format/format.h"
#include "dump_test_util.h"

namespace fs = std::filesystem;

namespace {

using namespace orrinrc::dump;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command in `dir`; returns its exit code.
int run_in(const fs::path& dir, const std::string& command) {
    const std::string script = "cd " + quote(dir.string()) + " && " + command;
    const int status = std::system(("timeout 60 bash -c " + quote(script)).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DumpCli : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        work_ = fs::temp_directory_path() / ("orrinrc-dump-cli-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(work_);
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    int dump(const Bytes& bytes, const std::string& options = "") {
        std::ofstream(work_ / "resource.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return run_in(work_, quote(ORRINRC_DUMP_BIN) + " " + options + " resource.bin > out.txt 2> err.txt");
    }
    std::string err() const { return slurp(work_ / "err.txt"); }

    fs::path work_;
};

TEST_F(DumpCli, MalformedFilesStopWithOneMessageAndExitCode1) {
    Bytes past = hex_bytes(kForm60);
    past[34] = 0x40;
    Bytes type = hex_bytes(kForm60);
    type[10] = 12;
    Bytes blocks = hex_bytes(kForm60);  // without its object list: seven blocks fit no kind
    blocks.resize(blocks.size() - 7);
    blocks[2] -= 7;
    Bytes wrong_total = image({hex_bytes(kForm60)});
    wrong_total[1] = 1;
    const struct {
        Bytes bytes;
        const char* message;
    } cases[] = {
        {hex_bytes("04 00"), "offset 0x000000: the file is 2 bytes long, too short for the 4-byte total-length field"},
        {wrong_total, "offset 0x000000: total-length field says 320 bytes but the file is 64 bytes long"},
        {image({past}), "offset 0x000026: inner block 5 of length 64 runs past its parent, which ends at 0x000040"},
        {image({type}), "offset 0x00000e: unknown object type code 12"},
        {image({blocks}), "offset 0x000006: FORM record has 7 inner blocks, its layout has 8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dump(c.bytes), 1) << c.message;
        const std::string e = err();
        EXPECT_NE(e.find(c.message), std::string::npos) << e;
        EXPECT_EQ(std::count(e.begin(), e.end(), '\n'), 1) << e;
    }
    // The listing shows the records before the fault.
    EXPECT_EQ(dump(image({hex_bytes(kMenu55), type})), 1);
    EXPECT_NE(slurp(work_ / "out.txt").find("MENU_ITEM=\"Quit\""), std::string::npos);
}

TEST_F(DumpCli, TextModeRefusesValuesTheLanguageCannotWrite) {
    Bytes form = hex_bytes(kForm60);
    form[40] = '\r';
    EXPECT_EQ(dump(image({form}), "--text out"), 1);
    EXPECT_NE(err().find("FORM_TITLE= text holds a carriage return"), std::string::npos) << err();
    EXPECT_FALSE(fs::exists(work_ / "out" / "resource.rc"));
}

// Whether every record of a compiled image is written in full; a kind whose
// writer is still a stub writes only its object type block.
bool complete_records(const fs::path& bin, std::string& stub) {
    ImageReader image;
    if (!image.open(bin.string())) return true;
    try {
        image.start();
        RawRecord raw;
        while (image.next(raw)) {
            if (raw.inner.size() == 1) {
                stub = strf("object type %u", raw.window()[raw.inner[0].content()]);
                return false;
            }
        }
    } catch (const DumpError&) {
    }
    return true;
}

// Compiles the input in `dir`, decompiles the result with --text, compiles
// that again and compares resource.bin and resource.h.
void round_trip(const fs::path& dir, const std::string& input) {
    ASSERT_EQ(run_in(dir, quote(ORRINRC_BIN) + " " + quote(input) + " > /dev/null"), 0);
    std::string stub;
    if (!complete_records(dir / "resource.bin", stub)) GTEST_SKIP() << "the compiler writes " << stub << " as a stub";
    ASSERT_EQ(run_in(dir, quote(ORRINRC_DUMP_BIN) + " --text decompiled resource.bin resource.h > dump.txt 2>&1"), 0)
        << slurp(dir / "dump.txt");
    ASSERT_EQ(run_in(dir / "decompiled", quote(ORRINRC_BIN) + " resource.rc > trace.txt"), 0)
        << slurp(dir / "decompiled" / "trace.txt");
    EXPECT_TRUE(slurp(dir / "resource.bin") == slurp(dir / "decompiled" / "resource.bin")) << "resource.bin differs";
    EXPECT_EQ(slurp(dir / "resource.h"), slurp(dir / "decompiled" / "resource.h"));
    // The listing of the same image must go through too.
    EXPECT_EQ(run_in(dir, quote(ORRINRC_DUMP_BIN) + " resource.bin resource.h > listing.txt"), 0);
}

std::vector<std::string> compiling_golden_cases() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR)) {
        const fs::path dir = entry.path();
        if (!fs::exists(dir / "input.rc") || fs::exists(dir / "args") || fs::exists(dir / "setup")) continue;
        if (slurp(dir / "expected" / "exit_code") != "0\n") continue;
        names.push_back(dir.filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Inputs of the round trip besides the golden cases.
fs::path dump_cases() { return fs::path(GOLDEN_DIR).parent_path() / "dump_cases"; }

class DumpRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(DumpRoundTrip, RecompilesToTheSameBytes) {
    const fs::path work =
        fs::temp_directory_path() / ("orrinrc-dump-rt-" + std::to_string(getpid()) + "-" + GetParam());
    fs::remove_all(work);
    fs::create_directories(work);
    if (GetParam() == "example") {
        fs::copy(EXAMPLES_DIR, work, fs::copy_options::recursive);
        round_trip(work, "example.rc");
    } else if (fs::exists(dump_cases() / GetParam())) {
        fs::copy(dump_cases() / GetParam(), work, fs::copy_options::recursive);
        round_trip(work, "input.rc");
    } else {
        fs::copy(fs::path(GOLDEN_DIR) / GetParam(), work, fs::copy_options::recursive);
        fs::remove_all(work / "expected");
        round_trip(work, "input.rc");
    }
    fs::remove_all(work);
}

std::vector<std::string> round_trip_inputs() {
    std::vector<std::string> names = compiling_golden_cases();
    for (const auto& entry : fs::directory_iterator(dump_cases())) names.push_back(entry.path().filename().string());
    names.push_back("example");
    return names;
}

INSTANTIATE_TEST_SUITE_P(Inputs, DumpRoundTrip, ::testing::ValuesIn(round_trip_inputs()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

class DumpCases : public DumpCli {};

// Earlier compilers stored type code 0 for a definition without its
// OBJECT.TYPE= line, before the blocks of the definition's own kind. Such
// records are listed with a note and decompiled as their kind, so compiling
// the text again gives each its own code back and changes nothing else.
TEST_F(DumpCases, RecordsWithTypeCodeZeroAreTheirBlocksKind) {
    fs::copy(EXAMPLES_DIR, work_, fs::copy_options::recursive);
    ASSERT_EQ(run_in(work_, quote(ORRINRC_BIN) + " example.rc > /dev/null"), 0);
    const std::string original = slurp(work_ / "resource.bin");
    Bytes old(original.begin(), original.end());
    std::set<std::string> kinds;
    {
        ImageReader image;
        image.open_memory(old.data(), old.size());
        image.start();
        RawRecord raw;
        while (image.next(raw)) {
            uint8_t& code = old[raw.inner[0].content()];
            if (code == 0) continue;
            kinds.insert(orrinrc::format::kind_keyword(code));
            code = 0;
        }
    }
    ASSERT_GE(kinds.size(), 8u);
    std::ofstream(work_ / "old.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(old.data()), static_cast<std::streamsize>(old.size()));

    ASSERT_EQ(run_in(work_, quote(ORRINRC_DUMP_BIN) + " old.bin resource.h > list.txt"), 0);
    const std::string list = slurp(work_ / "list.txt");
    for (const std::string& kind : kinds)
        EXPECT_NE(list.find("(object type code 0: the definition had no OBJECT.TYPE= line; the blocks are a " + kind +
                            "'s)"),
                  std::string::npos)
            << kind;

    ASSERT_EQ(run_in(work_, quote(ORRINRC_DUMP_BIN) + " --text again old.bin resource.h > text.txt 2>&1"), 0)
        << slurp(work_ / "text.txt");
    EXPECT_NE(slurp(work_ / "text.txt").find("note: record 2 at 0x"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(work_))
        if (entry.path().extension() == ".bmp") fs::copy(entry.path(), work_ / "again");
    ASSERT_EQ(run_in(work_ / "again", quote(ORRINRC_BIN) + " resource.rc > /dev/null"), 0);
    EXPECT_TRUE(slurp(work_ / "again" / "resource.bin") == original);
}

// A long table whose cells are all zero, every other one with an empty text:
// very many splits of the cells block give its bytes, and one is found at
// once.
TEST_F(DumpCases, LongRunsOfEmptyCellTexts) {
    std::string rc = "NAME=Long\n#TABLE\nID=1\nOBJECT.TYPE=TABLE\nTABLE_NUM_COLUMN=1\nTABLE_NUM_ROW=4000\n";
    for (int i = 0; i < 4000; ++i) {
        rc += "TABLE_DATA_TYPE=TABLE_TEXT\n";
        if (i % 2 == 0) rc += "TABLE_TEXT=\n";
    }
    rc += "#END_TABLE\n";
    std::ofstream(work_ / "input.rc") << rc;
    round_trip(work_, "input.rc");
}

}  // namespace
