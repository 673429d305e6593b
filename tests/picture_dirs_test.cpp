// The server's picture folders from the build: the listing that
// orrinrc_add_resources writes, found from the document's folder up.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lsp/picture_dirs.h"

namespace fs = std::filesystem;
using orrinrc::lsp::listed_picture_dirs;
using orrinrc::lsp::picture_dirs_for;

namespace {

using Dirs = std::vector<std::string>;

TEST(PictureDirs, TheListingGivesEachTextItsOwnFolders) {
    const std::string listing =
        "# comment\ntext=/p/a.rc\ndir=/p\ndir=/p/art\ntext=/p/b.rc\r\ndir=/q\r\ntext=/p/c.rc\n";
    EXPECT_EQ(listed_picture_dirs(listing, "/p/a.rc"), (Dirs{"/p", "/p/art"}));
    EXPECT_EQ(listed_picture_dirs(listing, "/p/b.rc"), (Dirs{"/q"}));  // CR LF lines too
    EXPECT_EQ(listed_picture_dirs(listing, "/p/c.rc"), Dirs{});        // listed, with no folder
    EXPECT_EQ(listed_picture_dirs(listing, "/p/d.rc"), std::nullopt);
    EXPECT_EQ(listed_picture_dirs(listing, "/p/x/../a.rc"), (Dirs{"/p", "/p/art"}));
}

TEST(PictureDirs, FoundAboveTheDocumentAndInBuildFolders) {
    const fs::path root = fs::temp_directory_path() / ("orrinrc-picture-dirs-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "src/ui");
    fs::create_directories(root / "build-debug");
    fs::create_directories(root / "other");
    const std::string doc = (root / "src/ui/app.rc").string();
    std::ofstream(doc) << "";
    // No listing anywhere: the -I folders alone.
    EXPECT_EQ(picture_dirs_for({"/given"}, doc), Dirs{"/given"});
    // A listing in a folder that is no build folder is not looked at.
    std::ofstream(root / "other" / orrinrc::lsp::kPictureDirsFile) << "text=" << doc << "\ndir=/other\n";
    EXPECT_EQ(picture_dirs_for({}, doc), Dirs{});
    // One in build-debug, two folders up: after the -I folders.
    std::ofstream(root / "build-debug" / orrinrc::lsp::kPictureDirsFile) << "text=" << doc << "\ndir=/art\n";
    EXPECT_EQ(picture_dirs_for({"/given"}, doc), (Dirs{"/given", "/art"}));
    // A nearer listing that does not name the document is passed over.
    std::ofstream(root / "src" / orrinrc::lsp::kPictureDirsFile) << "text=/elsewhere.rc\ndir=/no\n";
    EXPECT_EQ(picture_dirs_for({}, doc), Dirs{"/art"});
    fs::remove_all(root);
}

}  // namespace
