// The table writer on grids much larger than the cells the text gives: the
// missing cells stream out cleared, and stored cells never read past the grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/target.h"
#include "resources/records.h"
#include "util/process.h"

using namespace orrinrc;

namespace {

using Bytes = std::vector<uint8_t>;

// Writes the current table record into a fresh file and returns its bytes.
Bytes written_table(const Records& records) {
    const auto path = std::filesystem::temp_directory_path() / ("orrinrc-table-" + std::to_string(process::id()));
    FileTarget file;
    EXPECT_TRUE(file.open(path.string().c_str()));
    BinWriter w;
    bin_open(w, &file, "resource.bin");
    write_u32(w, 0);
    write_table(w, records);
    bin_finish(w);
    EXPECT_EQ(file.close(), 0);
    Bytes all;
    {
        std::ifstream in(path, std::ios::binary);
        all.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Closed first: Windows removes no open file.
    std::filesystem::remove(path);
    return all;
}

uint32_t u32_at(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Declares an r x c table and gives its first cell a value and a text.
void declare_grid(Records& r, uint16_t rows, uint16_t columns) {
    table_object_type(r);
    *table_num_rows_line(r) = rows;
    *table_num_columns_line(r) = columns;
    TableCell* cell = table_next_cell(r);
    ASSERT_NE(cell, nullptr);
    cell->value = 0x01020304;
    cell->text = "hi";
    table_end(r);
}

TEST(TableWriter, LargeGridWithOneGivenCellStreamsClearedCells) {
    Records r;
    declare_grid(r, 1000, 1000);
    EXPECT_EQ(r.table.cells.size(), 1u);
    const Bytes file = written_table(r);
    // 87 + 2c + 2r + 15rc bytes, plus the text "hi" and its NUL.
    const size_t record = 87 + 2000 + 2000 + 15ull * 1000 * 1000 + 3;
    ASSERT_EQ(file.size(), 4 + record);
    EXPECT_EQ(u32_at(file, 6), record - 2);  // outer block
    // Cells block: after the id, the outer length and the blocks before it
    // (5 + 12 + 6 + 6 + 2004 + 2004 + 6 + 6 + 5 + 5 + 4 bytes).
    const size_t cells = 4 + 2 + 4 + 5 + 12 + 6 + 6 + 2004 + 2004 + 6 + 6 + 5 + 5 + 4;
    EXPECT_EQ(u32_at(file, cells), 4 + 15ull * 1000 * 1000 + 3);
    EXPECT_EQ(u32_at(file, cells + 4 + 4), 0x01020304u);
    EXPECT_EQ(std::string(file.begin() + cells + 4 + 15, file.begin() + cells + 4 + 18), std::string("hi\0", 3));
    // Every other cell is cleared, up to the 14-byte attribute block.
    const size_t rest = cells + 4 + 18;
    EXPECT_EQ(std::count(file.begin() + rest, file.end() - 14, 0), static_cast<long>(file.size() - 14 - rest));
    EXPECT_EQ(u32_at(file, file.size() - 14), 14u);
}

TEST(TableWriter, SmallerGridWritesOnlyItsShareOfEarlierCells) {
    // A 2 x 2 definition fills all four cells; a fifth has no room, and the
    // grid cannot change while its cells are being given.
    Records r;
    table_object_type(r);
    *table_num_rows_line(r) = 2;
    *table_num_columns_line(r) = 2;
    for (int i = 0; i < 4; ++i) {
        TableCell* cell = table_next_cell(r);
        ASSERT_NE(cell, nullptr);
        cell->text = "abc";
    }
    EXPECT_EQ(table_next_cell(r), nullptr);
    EXPECT_EQ(table_num_rows_line(r), nullptr);
    EXPECT_EQ(table_num_columns_line(r), nullptr);
    table_end(r);

    // The next definition shrinks the grid to 1 x 2 and gives no cells: the
    // first two stored cells are written, the other two are not.
    table_object_type(r);
    *table_num_rows_line(r) = 1;
    const Bytes file = written_table(r);
    EXPECT_EQ(file.size(), 4 + 87 + 2 * 2 + 2 * 1 + 15 * 2 + 2 * 4);
    table_end(r);
}

}  // namespace
