// The preview's file watcher, on the system's notification (Linux) or by
// polling (elsewhere; these run under Wine too): a save in place, a save by
// writing a new file and renaming it over the old, and a name that appears
// beside a watched file when the folders are watched, are each a change;
// a burst of saves is one.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "preview/watch.h"
#include "test_files.h"

namespace fs = std::filesystem;
using namespace orrinrc;
using namespace std::chrono_literals;

namespace {

class Watching : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fresh_test_folder("orrinrc-watch-");
        write("a.rc", "first");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    // A file system keeps times in steps of a few milliseconds: a save
    // right after the last look could carry the same time.
    static void later() { std::this_thread::sleep_for(20ms); }

    fs::path dir;
    preview::Watcher watcher;
};

TEST_F(Watching, ASaveInPlaceOfTheSameSizeIsAChangeAndQuietIsNot) {
    watcher.watch({at("a.rc")}, false);
    EXPECT_FALSE(watcher.wait(120ms));
    later();
    write("a.rc", "fixed");
    EXPECT_TRUE(watcher.wait(2000ms));
    EXPECT_FALSE(watcher.wait(120ms));
}

TEST_F(Watching, ASaveByRenamingANewFileOverTheOldIsAChange) {
    watcher.watch({at("a.rc")}, false);
    later();
    write("a.rc.tmp", "second text");
    fs::rename(dir / "a.rc.tmp", dir / "a.rc");
    EXPECT_TRUE(watcher.wait(2000ms));
}

TEST_F(Watching, ANewNameBesideTheFilesCountsOnlyWhenTheFoldersAreWatched) {
    watcher.watch({at("a.rc")}, false);
    later();
    write("missing.bmp", "BM");
    EXPECT_FALSE(watcher.wait(150ms));

    watcher.watch({at("a.rc")}, true);
    later();
    write("another.bmp", "BM");
    EXPECT_TRUE(watcher.wait(2000ms));
}

TEST_F(Watching, ABurstOfSavesIsOneChange) {
    watcher.watch({at("a.rc")}, false);
    std::thread saving([this] {
        for (int i = 0; i < 5; ++i) {
            later();
            write("a.rc", "save " + std::to_string(i));
        }
    });
    // Still for 200 ms after the saves at most 20 ms apart: the burst is one.
    EXPECT_TRUE(preview::wait_for_burst(watcher, 2000ms, 200ms, 5000ms));
    saving.join();
    EXPECT_FALSE(watcher.wait(150ms));
}

}  // namespace
