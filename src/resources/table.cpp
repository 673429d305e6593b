// TABLE definitions: record, statement routines and writer.
#include "resources/table.h"
#include "resources/records.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "output/record_writer.h"

namespace orrinrc {

namespace {

// A cell's fixed part, written in the order of the table's cell fields
// (type, object, font, value, alignment, colours, two flags), then its text.
constexpr size_t kCellBytes = orrinrc::format::kCellFixedBytes;

int16_t* next_entry(std::vector<int16_t>& entries, size_t& counter, uint16_t count) {
    if (counter == 0) entries.assign(count, 0);
    if (counter >= entries.size()) return nullptr;
    return &entries[counter++];
}

size_t text_bytes(const Text& text) {
    // The stored text ends at its first NUL, as written.
    return text ? std::strlen(text->c_str()) + 1 : 0;
}

void write_cell(BinWriter& w, const TableCell& c) {
    uint8_t b[kCellBytes];
    uint32_t value = static_cast<uint32_t>(c.value);
    b[0] = c.data_type;
    b[1] = static_cast<uint8_t>(c.ui_object_id);
    b[2] = static_cast<uint8_t>(c.ui_object_id >> 8);
    b[3] = c.font;
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(value >> (8 * i));
    b[8] = c.alignment;
    b[9] = c.font_color;
    b[10] = c.background_color;
    b[11] = static_cast<uint8_t>(c.highlight);
    b[12] = static_cast<uint8_t>(c.highlight >> 8);
    b[13] = static_cast<uint8_t>(c.has_bitmap);
    b[14] = static_cast<uint8_t>(c.has_bitmap >> 8);
    write_bytes(w, b, kCellBytes);
    write_cstring(w, c.text);
}

// Grid positions that no cell line filled: cleared cells without text,
// written in chunks so that a large grid streams out in flat memory.
void write_cleared_cells(BinWriter& w, uint64_t count) {
    static const uint8_t zeros[kCellBytes * 1024] = {};
    while (count > 0) {
        uint64_t n = std::min<uint64_t>(count, 1024);
        write_bytes(w, zeros, static_cast<size_t>(n * kCellBytes));
        count -= n;
    }
}

}  // namespace

void table_object_type(Records& records) {
    TableRecord& table = records.table;
    table.current_cell = -1;
}

void table_end(Records& records) {
    TableRecord& table = records.table;
    table.current_cell = -1;
}

uint16_t* table_num_columns_line(Records& records) {
    TableRecord& table = records.table;
    if (table.current_cell >= 0) return nullptr;
    table.column_width_count = 0;
    return &table.num_columns;
}

uint16_t* table_num_rows_line(Records& records) {
    TableRecord& table = records.table;
    if (table.current_cell >= 0) return nullptr;
    table.row_height_count = 0;
    return &table.num_rows;
}

int16_t* table_next_column_width(Records& records) {
    TableRecord& table = records.table;
    return next_entry(table.column_widths, table.column_width_count, table.num_columns);
}

int16_t* table_next_row_height(Records& records) {
    TableRecord& table = records.table;
    return next_entry(table.row_heights, table.row_height_count, table.num_rows);
}

TableCell* table_next_cell(Records& records) {
    TableRecord& table = records.table;
    if (table.current_cell < 0) {
        table.cells.clear();
        table.cell_room = uint64_t{table.num_rows} * table.num_columns;
    }
    if (static_cast<uint64_t>(table.current_cell + 1) >= table.cell_room) return nullptr;
    table.cells.emplace_back();
    ++table.current_cell;
    return &table.cells.back();
}

TableCell* table_current_cell(Records& records) {
    TableRecord& table = records.table;
    if (table.current_cell < 0) return nullptr;
    return &table.cells[static_cast<size_t>(table.current_cell)];
}

uint8_t* table_background_color_target(Records& records) {
    TableRecord& table = records.table;
    TableCell* cell = table_current_cell(records);
    return cell != nullptr ? &cell->background_color : &table.background_color;
}

namespace {

FieldValue table_field(const Records& records, orrinrc::format::FieldId id, size_t index) {
    const TableRecord& table = records.table;
    using F = orrinrc::format::FieldId;
    const TableRecord& r = table;
    switch (id) {
    case F::Bounds: return bounds_value_of(r.bounds);
    case F::TableColumns: return number_value_of(r.num_columns);
    case F::TableRows: return number_value_of(r.num_rows);
    // The width and height tables may be shorter than their counts: the
    // entries that were never created are written as 0.
    case F::TableColumnWidth:
        return number_value_of(index < r.column_widths.size() ? static_cast<uint16_t>(r.column_widths[index]) : 0);
    case F::TableRowHeight:
        return number_value_of(index < r.row_heights.size() ? static_cast<uint16_t>(r.row_heights[index]) : 0);
    case F::TableTopRow: return number_value_of(r.top_row_num);
    case F::TableLeftColumn: return number_value_of(r.left_col_num);
    case F::TableStyle: return number_value_of(r.style);
    case F::TableBackgroundColor: return number_value_of(r.background_color);
    case F::TableBitmap: return bitmap_value_of(r.bitmap);
    case F::TableEnable: return number_value_of(r.attrs[0]);
    case F::TableScrollbar: return number_value_of(r.attrs[1]);
    case F::TableActive: return number_value_of(r.attrs[2]);
    case F::TableHighlightEnable: return number_value_of(r.attrs[3]);
    case F::TableVisible: return number_value_of(r.attrs[4]);
    default: return {};
    }
}

// The cells are rows x columns at the current counts; the ones stored may be
// fewer (never given) or more (a larger earlier table).
void write_cells(BinWriter& w, const RecordFrame& frame, const Records& records) {
    const TableRecord& table = records.table;
    const TableRecord& r = table;
    const uint64_t grid = uint64_t{r.num_rows} * r.num_columns;
    const size_t stored = static_cast<size_t>(std::min<uint64_t>(grid, r.cells.size()));
    // A grid too large for the 32-bit block lengths is refused before its
    // gigabytes are written: the outer block ends after the cells and the
    // 14-byte attribute block.
    uint64_t cell_bytes = grid * kCellBytes;
    for (size_t i = 0; i < stored; ++i) cell_bytes += text_bytes(r.cells[i].text);
    const uint64_t outer_length = (w.pos() - frame.outer) + cell_bytes + 4 + 10;
    check_block_length(frame.outer, outer_length);
    for (size_t i = 0; i < stored; ++i) write_cell(w, r.cells[i]);
    write_cleared_cells(w, grid - stored);
}

}  // namespace

void write_table(BinWriter& w, const Records& records) {
    const TableRecord& table = records.table;
    namespace format = orrinrc::format;
    RecordFrame frame = begin_record(w, table.id, format::type_code(format::Kind::Table));
    write_blocks<table_field, format::Kind::Table>(w, records, frame, [&](const format::BlockLayout&) { write_cells(w, frame, records); });
    end_record(w, frame);
}

}  // namespace orrinrc
