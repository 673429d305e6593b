// LINE definitions: record, statement routines and writer.
#include "resources/line.h"

#include "scanner/value_readers.h"

LineRecord line;

void line_object_type() {
    line.type = 11;
}

void write_line(BinWriter& w) {
    write_u16(w, line.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, line.type);
    inner = next_block(w, inner);
    write_u16(w, related_table_id);
    inner = next_block(w, inner);
    write_bounds(w, line.bounds);
    inner = next_block(w, inner);
    write_u8(w, line.color);
    inner = next_block(w, inner);
    write_u8(w, line.style);
    inner = next_block(w, inner);
    write_u16(w, line.thick);
    inner = next_block(w, inner);
    write_u16(w, line.endpt_x);
    inner = next_block(w, inner);
    write_u16(w, line.endpt_y);
    inner = next_block(w, inner);
    write_u16(w, line.visible);
    close_block(w, inner);
    close_block(w, outer);
}
