// TABLE definitions: record, statement routines and writer.
#include "resources/table.h"

TableRecord table;

void table_object_type() {
    table.type = 6;
}

void write_table(BinWriter& w) {
    write_u16(w, table.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, table.type);
    close_block(w, inner);
    close_block(w, outer);
}
