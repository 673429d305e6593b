// SCHLINE definitions: record, statement routines and writer.
#include "resources/schline.h"

SchlineRecord schline;

void schline_object_type() {
    schline.type = 7;
}

void write_schline(BinWriter& w) {
    write_u16(w, schline.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, schline.type);
    close_block(w, inner);
    close_block(w, outer);
}
