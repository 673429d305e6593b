// The byte writer: block framing, shared encodings and the bitmap data block.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/resource_bin.h"

using namespace orrinrc;

namespace {

using Bytes = std::vector<uint8_t>;

// Runs `body` on a fresh writer and returns the finished file's bytes after
// the 4-byte total-length field (which is checked against the size).
template <typename Body>
Bytes written(Body body, size_t lead = 0) {
    MemoryTarget out;
    BinWriter w;
    bin_open(w, &out, "resource.bin");
    write_u32(w, 0);
    for (size_t i = 0; i < lead; ++i) write_u8(w, 0xEE);
    body(w);
    bin_finish(w);
    Bytes all(out.bytes().begin(), out.bytes().end());
    EXPECT_GE(all.size(), 4u);
    const uint32_t total = all[0] | all[1] << 8 | all[2] << 16 | static_cast<uint32_t>(all[3]) << 24;
    EXPECT_EQ(total, all.size());
    return Bytes(all.begin() + 4 + static_cast<long>(lead), all.end());
}

TEST(BlockFraming, EmptyAndOneByteBlocks) {
    EXPECT_EQ(written([](BinWriter& w) { close_block(w, open_block(w)); }), (Bytes{4, 0, 0, 0}));
    EXPECT_EQ(written([](BinWriter& w) {
                  uint64_t b = open_block(w);
                  write_u8(w, 0x1FF);
                  close_block(w, b);
              }),
              (Bytes{5, 0, 0, 0, 0xFF}));
}

TEST(BlockFraming, NestedBlocksAndNextBlock) {
    Bytes got = written([](BinWriter& w) {
        write_u16(w, 1000);
        uint64_t outer = open_block(w);
        uint64_t inner = open_block(w);
        write_u8(w, 7);
        inner = next_block(w, inner);
        write_u16(w, 0x1234);
        close_block(w, inner);
        close_block(w, outer);
    });
    EXPECT_EQ(got, (Bytes{0xE8, 0x03, 15, 0, 0, 0, 5, 0, 0, 0, 7, 6, 0, 0, 0, 0x34, 0x12}));
}

TEST(Encodings, StringsForTextEmptyTextAndNone) {
    auto block = [](Text t) {
        return written([&](BinWriter& w) {
            uint64_t b = open_block(w);
            write_cstring(w, t);
            close_block(w, b);
        });
    };
    EXPECT_EQ(block(std::string("OK")), (Bytes{7, 0, 0, 0, 'O', 'K', 0}));
    EXPECT_EQ(block(std::string()), (Bytes{5, 0, 0, 0, 0}));
    EXPECT_EQ(block(std::nullopt), (Bytes{4, 0, 0, 0}));
    // A NUL read from the input ends the stored text.
    EXPECT_EQ(block(std::string("A\0B", 3)), (Bytes{6, 0, 0, 0, 'A', 0}));
}

TEST(Encodings, BoundsAndIntegersAreLittleEndianAndUnchanged) {
    Bytes got = written([](BinWriter& w) {
        uint64_t b = open_block(w);
        write_bounds(w, Bounds{-1, 10, 160, 20});
        close_block(w, b);
        write_u32(w, 0xFFFFEE90u);
    });
    EXPECT_EQ(got, (Bytes{0x0C, 0, 0, 0, 0xFF, 0xFF, 0x0A, 0, 0xA0, 0, 0x14, 0, 0x90, 0xEE, 0xFF, 0xFF}));
}

// The data words of a bitmap start at a file offset that is a multiple of 4,
// whatever the offset of the block's header.
TEST(BitmapBlock, PaddingFollowsTheAbsoluteFileOffset) {
    BitmapRecord bm;
    bm.x = 1;
    bm.y = 2;
    bm.width = 8;
    bm.height = 1;
    bm.depth = 4;
    bm.size = 4;
    bm.words = {0x01234567u};
    bm.loaded = true;
    const Bytes header = {1, 0, 2, 0, 8, 0, 1, 0, 0, 4, 4, 0};
    for (size_t lead = 0; lead < 4; ++lead) {
        Bytes got = written([&](BinWriter& w) { write_bitmap_block(w, bm); }, lead);
        const size_t pad = (4 - (4 + lead) % 4) % 4;
        Bytes want = header;
        want.insert(want.end(), pad, 0);
        want.insert(want.end(), {0x67, 0x45, 0x23, 0x01});
        EXPECT_EQ(got, want) << "block at offset " << 4 + lead;
    }
    bm.loaded = false;
    EXPECT_TRUE(written([&](BinWriter& w) { write_bitmap_block(w, bm); }).empty());
}

// A record bigger than the write buffer still gets the right lengths, patched
// in the file.
TEST(BlockFraming, LargeRecordPatchesFlushedPlaceholders) {
    const std::string big(9 * 1024 * 1024, 'x');
    Bytes got = written([&](BinWriter& w) {
        uint64_t outer = open_block(w);
        uint64_t inner = open_block(w);
        write_cstring(w, big);
        close_block(w, inner);
        close_block(w, outer);
        bin_commit_record(w);
    });
    ASSERT_EQ(got.size(), big.size() + 9);
    const uint32_t outer_len = got[0] | got[1] << 8 | got[2] << 16 | static_cast<uint32_t>(got[3]) << 24;
    const uint32_t inner_len = got[4] | got[5] << 8 | got[6] << 16 | static_cast<uint32_t>(got[7]) << 24;
    EXPECT_EQ(outer_len, big.size() + 9);
    EXPECT_EQ(inner_len, big.size() + 5);
}

}  // namespace
