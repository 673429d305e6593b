// LINE definitions: record, statement routines and writer.
#include "resources/line.h"

#include "scanner/value_readers.h"

LineRecord line;

void line_object_type() {
    line.type = 11;
}

void write_line(BinWriter& w) {
    RecordFrame frame = begin_record(w, line.id, line.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, line.bounds);
    next_inner_block(w, frame);
    write_u8(w, line.color);
    next_inner_block(w, frame);
    write_u8(w, line.style);
    next_inner_block(w, frame);
    write_u16(w, line.thick);
    next_inner_block(w, frame);
    write_u16(w, line.endpt_x);
    next_inner_block(w, frame);
    write_u16(w, line.endpt_y);
    next_inner_block(w, frame);
    write_u16(w, line.visible);
    end_record(w, frame);
}
