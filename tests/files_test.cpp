// The calls on files that differ between systems, held to what the compiler
// relies on everywhere: a replacement in one step over an existing file,
// positioned writes that leave appends where they were, regular files only
// where a picture or resource.bin is read, and dependency files that Make
// and Ninja read on every system. These run under Wine too.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "driver/outputs.h"
#include "output/target.h"
#include "test_files.h"
#include "util/files.h"

namespace fs = std::filesystem;
using namespace orrinrc;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fresh_test_folder("orrinrc-files-");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    fs::path dir;
};

TEST_F(Files, ReplaceTakesThePlaceOfAnExistingFileOrFailsLeavingBoth) {
    write("new", "new\r\n");
    write("old", "old");
    ASSERT_EQ(files::replace(at("new").c_str(), at("old").c_str()), 0);
    EXPECT_EQ(read_file(dir / "old"), "new\r\n");
    EXPECT_FALSE(fs::exists(dir / "new"));

    // Nothing to move: the target stays.
    EXPECT_EQ(files::replace(at("gone").c_str(), at("old").c_str()), ENOENT);
    EXPECT_EQ(read_file(dir / "old"), "new\r\n");

    // A folder in the way: an error, and the file stays where it was.
    write("next", "next");
    fs::create_directories(dir / "folder" / "inside");
    EXPECT_NE(files::replace(at("next").c_str(), at("folder").c_str()), 0);
    EXPECT_EQ(read_file(dir / "next"), "next");
    EXPECT_TRUE(fs::is_directory(dir / "folder" / "inside"));
}

TEST_F(Files, WritesAtAnOffsetLeaveAppendsAtTheEnd) {
    FileTarget file;
    ASSERT_TRUE(file.open(at("out.bin").c_str()));
    size_t done = 0;
    ASSERT_EQ(file.append("\0\0\0\0abc\n", 8, done), 0);
    ASSERT_EQ(file.write_at(0, "\x08\0\0\0", 4), 0);
    ASSERT_EQ(file.append("de\r\n", 4, done), 0);
    EXPECT_EQ(done, 4u);
    ASSERT_EQ(file.truncate(10), 0);
    ASSERT_EQ(file.close(), 0);
    EXPECT_EQ(read_file(dir / "out.bin"), std::string("\x08\0\0\0abc\nde", 10));
}

TEST_F(Files, OnlyRegularFilesOpenForReadingAsPicturesAndImages) {
    write("pic.bmp", "BM\r\n\x1a!");
    uint64_t size = 0;
    const int fd = files::open_regular(at("pic.bmp").c_str(), size);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(size, 6u);
    char bytes[8] = {};
    // Binary mode: CR LF and the 0x1A byte come through as they are.
    EXPECT_EQ(files::read_at(fd, bytes, sizeof bytes, 1), 5);
    EXPECT_EQ(std::string(bytes, 5), "M\r\n\x1a!");
    files::close(fd);

    fs::create_directories(dir / "pics.bmp");
    EXPECT_LT(files::open_regular(at("pics.bmp").c_str(), size), 0);
    EXPECT_EQ(files::status(at("pics.bmp").c_str()).kind, files::Kind::Folder);
    // A folder opens for reading, as on POSIX systems, and its reads fail.
    const int folder = files::open_read(at("pics.bmp").c_str());
    ASSERT_GE(folder, 0);
    EXPECT_EQ(files::status(folder).kind, files::Kind::Folder);
    EXPECT_LT(files::read(folder, bytes, sizeof bytes), 0);
    files::close(folder);
    EXPECT_EQ(files::status(at("none.bmp").c_str()).kind, files::Kind::Missing);
}

TEST_F(Files, NamesAreUtf8) {
    const std::string folder = at("Bilder \xc3\xa4\xc3\xb6\xc3\xbc \xe6\x97\xa5");
    fs::create_directories(fs::path(std::u8string(folder.begin(), folder.end())));
    const std::string name = folder + "/f\xc3\xa9.bmp";
    FileTarget file;
    ASSERT_TRUE(file.open(name.c_str()));
    size_t done = 0;
    ASSERT_EQ(file.append("BM", 2, done), 0);
    ASSERT_EQ(file.close(), 0);
    EXPECT_EQ(files::status(name.c_str()).kind, files::Kind::Regular);
    const std::string moved = folder + "/\xc3\xa0.bmp";
    EXPECT_EQ(files::replace(name.c_str(), moved.c_str()), 0);
    uint64_t size = 0;
    const int fd = files::open_regular(moved.c_str(), size);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(size, 2u);
    if (fd >= 0) files::close(fd);
}

TEST_F(Files, OutputFolderRunReplacesThePreviousOutputs) {
    write("resource.bin", "old bin");
    write("resource.h", "old h");
    OutputFiles outputs;
    ASSERT_EQ(open_output_files(outputs, dir.string(), stdout), 0);
    size_t done = 0;
    ASSERT_EQ(outputs.bin.file.append("new bin", 7, done), 0);
    ASSERT_EQ(outputs.header.file.append("new h\n", 6, done), 0);
    ASSERT_EQ(outputs.bin.file.close(), 0);
    ASSERT_EQ(outputs.header.file.close(), 0);
    // The previous outputs stay until the run succeeds.
    EXPECT_EQ(read_file(dir / "resource.bin"), "old bin");
    ASSERT_FALSE(commit_output_files(outputs).has_value());
    EXPECT_EQ(read_file(dir / "resource.bin"), "new bin");
    EXPECT_EQ(read_file(dir / "resource.h"), "new h\n");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 2u);  // no temporary file left

    // A folder where resource.h goes: exit code 4, and no temporary file.
    fs::remove(dir / "resource.h");
    fs::create_directories(dir / "resource.h" / "inside");
    ASSERT_EQ(open_output_files(outputs, dir.string(), stdout), 0);
    ASSERT_EQ(outputs.bin.file.close(), 0);
    ASSERT_EQ(outputs.header.file.close(), 0);
    const auto failure = commit_output_files(outputs);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->exit_code, 4);
    entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST(DepfileEscape, WindowsPathsKeepDriveLettersAndBackslashes) {
    EXPECT_EQ(depfile_escape("C:\\Users\\dev\\app.rc"), "C:\\Users\\dev\\app.rc");
    EXPECT_EQ(depfile_escape("C:/Program Files/app/logo.bmp"), "C:/Program\\ Files/app/logo.bmp");
    EXPECT_EQ(depfile_escape("D:\\My Pictures\\logo.bmp"), "D:\\My\\ Pictures\\logo.bmp");
    // A backslash right before a blank is doubled, then the blank escaped.
    EXPECT_EQ(depfile_escape("C:\\art\\ logo.bmp"), "C:\\art\\\\\\ logo.bmp");
}

}  // namespace
