// TABLE definitions: a grid with column widths, row heights and one cell
// record per grid position.
#pragma once

#include <cstdint>
#include <vector>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

struct TableCell {
    uint8_t data_type = 0;  // 0 text, 1 value, 2 user-interface object
    uint16_t ui_object_id = 0;
    uint8_t font = 0;
    int32_t value = 0;
    uint8_t alignment = 0;
    uint8_t font_color = 0;
    uint8_t background_color = 0;
    uint16_t highlight = 0;
    uint16_t has_bitmap = 0;
    Text text;
};

struct TableRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint16_t num_columns = 0;
    uint16_t num_rows = 0;
    // Width and height tables, each created by the first of its lines after
    // the count statement; the counters are the next entry to fill.
    std::vector<int16_t> column_widths;
    size_t column_width_count = 0;
    std::vector<int16_t> row_heights;
    size_t row_height_count = 0;
    uint16_t top_row_num = 0;
    uint16_t left_col_num = 0;
    uint8_t style = 0;
    uint8_t background_color = 0;
    BitmapRecord bitmap;
    // The cells given so far, in the order of their TABLE_DATA_TYPE= lines.
    // Room is rows x columns from the moment the first one was given; the
    // grid positions never given are written as cleared cells, so a large
    // declared grid costs memory only for the cells that the text describes.
    std::vector<TableCell> cells;
    uint64_t cell_room = 0;
    // Index of the cell that cell statements fill; -1 while the definition
    // has started no cell.
    int64_t current_cell = -1;
    // TABLE_ENABLE, TABLE_SCROLLBAR, TABLE_ACTIVE, TABLE_HIGHLIGHT_ENABLE,
    // TABLE_VISIBLE, in written order.
    uint16_t attrs[5] = {0, 0, 0, 0, 0};
};


// The OBJECT.TYPE=TABLE line: no cell is current.
void table_object_type(Records& records);

// After "#END_TABLE": the next definition starts with no cell current.
void table_end(Records& records);

// TABLE_NUM_COLUMN= and TABLE_NUM_ROW=: the count to read into, with its
// entry counter reset; nullptr once this definition has started its cells
// (the grid may no longer change).
uint16_t* table_num_columns_line(Records& records);
uint16_t* table_num_rows_line(Records& records);

// TABLE_COLUMN_WIDTH= and TABLE_ROW_HEIGHT=: the next entry, creating a
// cleared table at the first line after the count; nullptr when every entry
// is already filled.
int16_t* table_next_column_width(Records& records);
int16_t* table_next_row_height(Records& records);

// TABLE_DATA_TYPE=: starts the next cell (without a text); nullptr when the
// grid has no room left.
TableCell* table_next_cell(Records& records);

// The cell that cell statements fill; nullptr before this definition's first
// TABLE_DATA_TYPE= line.
TableCell* table_current_cell(Records& records);

// TABLE_BACKGROUND_COLOR=: the table's colour until a cell is current, the
// current cell's colour afterwards.
uint8_t* table_background_color_target(Records& records);

// The value of each field of the record, for the writer.
FieldValue table_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin. A record whose outer block would pass
// the 32-bit length ends the run before any cell is written.
void write_table(BinWriter& w, const Records& records);

}  // namespace orrinrc
