// TABLE definitions: record, statement routines and writer.
#include "resources/table.h"
#include "resources/records.h"

#include "resources/record_writer.h"

namespace orrinrc {

namespace {

int16_t* next_entry(std::vector<int16_t>& entries, size_t& counter, uint16_t count) {
    if (counter == 0) entries.assign(count, 0);
    if (counter >= entries.size()) return nullptr;
    return &entries[counter++];
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

// A stored cell, or a cleared one for a position beyond those stored.
const TableCell& cell(const TableRecord& r, size_t index) {
    static const TableCell kCleared;
    return index < r.cells.size() ? r.cells[index] : kCleared;
}

}  // namespace

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
    // The cells inside the grid, in the order they were given; the writer
    // asks only for those that are stored.
    case F::CellDataType: return number_value_of(cell(r, index).data_type);
    case F::CellUiObjectId: return number_value_of(cell(r, index).ui_object_id);
    case F::CellFont: return number_value_of(cell(r, index).font);
    case F::CellValue: return number_value_of(static_cast<uint32_t>(cell(r, index).value));
    case F::CellAlignment: return number_value_of(cell(r, index).alignment);
    case F::CellFontColor: return number_value_of(cell(r, index).font_color);
    case F::CellBackgroundColor: return number_value_of(cell(r, index).background_color);
    case F::CellHighlight: return number_value_of(cell(r, index).highlight);
    case F::CellHasBitmap: return number_value_of(cell(r, index).has_bitmap);
    case F::CellText: return text_value_of(cell(r, index).text);
    case F::TableEnable: return number_value_of(r.attrs[0]);
    case F::TableScrollbar: return number_value_of(r.attrs[1]);
    case F::TableActive: return number_value_of(r.attrs[2]);
    case F::TableHighlightEnable: return number_value_of(r.attrs[3]);
    case F::TableVisible: return number_value_of(r.attrs[4]);
    default: return no_such_field();
    }
}

// The cells are rows x columns at the current counts; the ones stored may be
// fewer (never given: written cleared) or more (a larger earlier table).
void write_table(BinWriter& w, const Records& records) {
    const TableRecord& table = records.table;
    write_record<table_field, orrinrc::format::Kind::Table>(w, records, table.id, table.cells.size());
}

}  // namespace orrinrc
