// The compiler's options: an output folder replaced only on success, picture
// folders, a dependency file, quiet runs, help and version. Without options
// the compiler behaves as it always has; the golden cases hold that.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "driver/outputs.h"
#include "programs.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("orrinrc-options-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy(fs::path(EXAMPLES_DIR) / "example.rc", dir / "example.rc");
        for (const char* pic : {"logo.bmp", "box_on.bmp", "box_off.bmp", "arrow_up.bmp", "arrow_down.bmp"})
            fs::copy(fs::path(EXAMPLES_DIR) / pic, dir / pic);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the compiler in `dir` with `args`; standard output in `stdout_text`.
    int compile(const std::string& args) {
        const std::string cmd =
            "cd " + shell_quote(dir.string()) + " && " + program_command("orrinrc", ORRINRC_BIN) + " " + args + " > .out 2> .err";
        const int status = std::system(cmd.c_str());
        stdout_text = read_file(dir / ".out");
        error_text = read_file(dir / ".err");
        // Only a wrong command line says something on standard error.
        if (stdout_text.find("Usage:") == std::string::npos) {
            EXPECT_EQ(error_text, "");
        }
        fs::remove(dir / ".out");
        fs::remove(dir / ".err");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void write(const fs::path& p, const std::string& text) { std::ofstream(dir / p, std::ios::binary) << text; }
    bool no_temporary_files(const fs::path& folder) {
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().find(".tmp") != std::string::npos) return false;
        return true;
    }

    fs::path dir;
    std::string stdout_text;
    std::string error_text;
};

TEST_F(Options, OutputFolderGetsTheSameOutputsAndTraceAsARunInPlace) {
    ASSERT_EQ(compile("example.rc"), 0);
    const std::string in_place_trace = stdout_text;
    fs::create_directories(dir / "out");
    ASSERT_EQ(compile("-o out example.rc"), 0);
    EXPECT_EQ(stdout_text, in_place_trace);
    EXPECT_EQ(read_file(dir / "out/resource.bin"), read_file(dir / "resource.bin"));
    EXPECT_EQ(read_file(dir / "out/resource.h"), read_file(dir / "resource.h"));
    EXPECT_TRUE(no_temporary_files(dir / "out"));
}

TEST_F(Options, FailedRunLeavesThePreviousOutputsAndNoTemporaryFile) {
    fs::create_directories(dir / "out");
    ASSERT_EQ(compile("--output-dir out example.rc"), 0);
    const std::string bin = read_file(dir / "out/resource.bin"), header = read_file(dir / "out/resource.h");
    std::string broken = read_file(dir / "example.rc");
    broken.replace(broken.find("FORM_STYLE=NORMAL"), 17, "FORM_STYLE=NORMALL");
    write("broken.rc", broken);
    ASSERT_EQ(compile("broken.rc"), 1);
    const std::string in_place_messages = stdout_text;
    ASSERT_EQ(compile("-o out broken.rc"), 1);
    EXPECT_EQ(stdout_text, in_place_messages);  // the messages are as without the option
    EXPECT_EQ(read_file(dir / "out/resource.bin"), bin);
    EXPECT_EQ(read_file(dir / "out/resource.h"), header);
    EXPECT_TRUE(no_temporary_files(dir / "out"));
    // A folder that does not exist: the message and exit code of an output
    // that cannot be created.
    EXPECT_EQ(compile("-o missing example.rc"), 3);
    EXPECT_NE(stdout_text.find("Can't open output file resource.bin\n"), std::string::npos);
}

TEST_F(Options, PictureFoldersAreSearchedInOrderAfterTheNameAsWritten) {
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    fs::rename(dir / "logo.bmp", dir / "b/logo.bmp");
    fs::copy(dir / "box_on.bmp", dir / "a/logo.bmp");  // another picture, found first
    ASSERT_EQ(compile("-I b example.rc"), 0);
    const std::string from_b = read_file(dir / "resource.bin");
    ASSERT_EQ(compile("-I a -I b example.rc"), 0);
    EXPECT_NE(read_file(dir / "resource.bin"), from_b);
    fs::copy(dir / "b/logo.bmp", dir / "logo.bmp");  // as written wins over the folders
    ASSERT_EQ(compile("-I a example.rc"), 0);
    EXPECT_EQ(read_file(dir / "resource.bin"), from_b);
    fs::remove(dir / "logo.bmp");
    EXPECT_EQ(compile("example.rc"), 1);
    EXPECT_NE(stdout_text.find("error: can't open file logo.bmp"), std::string::npos);
}

TEST_F(Options, DependencyFileNamesTheInputAndEveryPictureOnce) {
    fs::create_directories(dir / "my pics");
    fs::rename(dir / "logo.bmp", dir / "my pics/logo.bmp");
    ASSERT_EQ(compile("-I 'my pics' --depfile deps.d example.rc"), 0);
    EXPECT_EQ(read_file(dir / "deps.d"),
              "resource.bin resource.h: example.rc \\\n  my\\ pics/logo.bmp \\\n  box_off.bmp \\\n  box_on.bmp \\\n"
              "  arrow_up.bmp \\\n  arrow_down.bmp\n");
    fs::remove(dir / "deps.d");
    write("broken.rc", "NAME=A\n#FORM\n");
    EXPECT_EQ(compile("--depfile deps.d broken.rc"), 1);
    EXPECT_FALSE(fs::exists(dir / "deps.d"));
}

TEST_F(Options, UnchangedOutputsKeepTheirFilesAndTimeStamps) {
    fs::create_directories(dir / "out");
    ASSERT_EQ(compile("-o out example.rc"), 0);
    const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(dir / "out/resource.bin", old_time);
    fs::last_write_time(dir / "out/resource.h", old_time);
    // The same text again: nothing is replaced.
    ASSERT_EQ(compile("-o out --depfile out/d --depfile-target out/stamp example.rc"), 0);
    EXPECT_EQ(fs::last_write_time(dir / "out/resource.bin"), old_time);
    EXPECT_EQ(fs::last_write_time(dir / "out/resource.h"), old_time);
    EXPECT_TRUE(no_temporary_files(dir / "out"));
    EXPECT_EQ(read_file(dir / "out/d").substr(0, 23), "out/stamp: example.rc \\");
    // A new name changes resource.h only.
    std::string renamed = read_file(dir / "example.rc");
    renamed.replace(renamed.find("NAME=FORM_MAIN"), 14, "NAME=FORM_HOME");
    write("example.rc", renamed);
    ASSERT_EQ(compile("-o out example.rc"), 0);
    EXPECT_EQ(fs::last_write_time(dir / "out/resource.bin"), old_time);
    EXPECT_NE(fs::last_write_time(dir / "out/resource.h"), old_time);
    EXPECT_NE(read_file(dir / "out/resource.h").find("FORM_HOME"), std::string::npos);
    // An output of other bytes, even of the same length, is replaced.
    std::string bin = read_file(dir / "out/resource.bin");
    bin[bin.size() - 1] ^= 1;
    write("out/resource.bin", bin);
    ASSERT_EQ(compile("-o out example.rc"), 0);
    EXPECT_NE(read_file(dir / "out/resource.bin"), bin);
    EXPECT_TRUE(no_temporary_files(dir / "out"));
}

TEST_F(Options, NamesWithLettersBeyondAsciiAreFoundAndWrittenAsGiven) {
    // A picture folder, an input and an output folder named in UTF-8.
    const std::string pics = "Bilder \xc3\xa4\xc3\xb6\xc3\xbc", input = "r\xc3\xa9sum\xc3\xa9.rc", out = "sortie \xc3\xa0";
    fs::create_directories(dir / fs::path(std::u8string(pics.begin(), pics.end())));
    fs::create_directories(dir / fs::path(std::u8string(out.begin(), out.end())));
    fs::rename(dir / "logo.bmp", dir / fs::path(std::u8string(pics.begin(), pics.end())) / "logo.bmp");
    fs::rename(dir / "example.rc", dir / fs::path(std::u8string(input.begin(), input.end())));
    ASSERT_EQ(compile("-q -I '" + pics + "' -o '" + out + "' --depfile deps.d '" + input + "'"), 0) << stdout_text;
    EXPECT_EQ(read_file(dir / "deps.d"),
              "sortie\\ \xc3\xa0/resource.bin sortie\\ \xc3\xa0/resource.h: r\xc3\xa9sum\xc3\xa9.rc \\\n"
              "  Bilder\\ \xc3\xa4\xc3\xb6\xc3\xbc/logo.bmp \\\n  box_off.bmp \\\n  box_on.bmp \\\n"
              "  arrow_up.bmp \\\n  arrow_down.bmp\n");
    EXPECT_GT(fs::file_size(dir / fs::path(std::u8string(out.begin(), out.end())) / "resource.bin"), 4u);
}

TEST(DepfileEscape, BlanksDollarsAndHashesAsMakeAndNinjaReadThem) {
    EXPECT_EQ(orrinrc::depfile_escape("a b"), "a\\ b");
    EXPECT_EQ(orrinrc::depfile_escape("cost$1"), "cost$$1");
    EXPECT_EQ(orrinrc::depfile_escape("n#1"), "n\\#1");
    EXPECT_EQ(orrinrc::depfile_escape("dir\\ x"), "dir\\\\\\ x");
    EXPECT_EQ(orrinrc::depfile_escape("plain/path.bmp"), "plain/path.bmp");
}

TEST_F(Options, QuietIsSilentOnSuccessAndTellsAllOnFailure) {
    ASSERT_EQ(compile("-q example.rc"), 0);
    EXPECT_EQ(stdout_text, "");
    write("broken.rc", "NAME=A\n#FORM\nID=1\nFORM_STYLE=ROUND\n#END_FORM\n");
    ASSERT_EQ(compile("broken.rc"), 1);
    const std::string loud = stdout_text;
    ASSERT_EQ(compile("--quiet broken.rc"), 1);
    EXPECT_EQ(stdout_text, loud);
}

TEST_F(Options, HelpVersionAndWrongCommandLines) {
    EXPECT_EQ(compile("--version"), 0);
    EXPECT_NE(stdout_text.find("version 1.0"), std::string::npos);
    EXPECT_EQ(compile("--help"), 0);
    EXPECT_NE(stdout_text.find("--output-dir DIR"), std::string::npos);
    EXPECT_EQ(compile("-o"), 1);  // an option without its value
    EXPECT_NE(stdout_text.find("Usage:"), std::string::npos);
    EXPECT_EQ(error_text, "orrinrc: option -o needs a value\n");
    EXPECT_EQ(compile("-q a.rc b.rc"), 1);
    EXPECT_EQ(error_text, "");
    EXPECT_EQ(compile("--bogus a.rc b.rc"), 1);
    EXPECT_EQ(error_text, "orrinrc: unknown option --bogus (write -- before an input whose name starts with -)\n");
    // An argument that is no option is the input, whatever it starts with.
    EXPECT_EQ(compile("-weird.rc"), 2);
    EXPECT_NE(stdout_text.find("Can't open file -weird.rc"), std::string::npos);
}

}  // namespace
