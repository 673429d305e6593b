// LINE definitions: record, statement routines and writer.
#include "resources/line.h"

LineRecord line;

void line_object_type() {
    line.type = 11;
}

void write_line(BinWriter& w) {
    write_u16(w, line.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, line.type);
    close_block(w, inner);
    close_block(w, outer);
}
