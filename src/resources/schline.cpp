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
    inner = next_block(w, inner);
    write_bounds(w, schline.bounds);
    inner = next_block(w, inner);
    // The flags go out as enable, active, visible whatever order they came in.
    write_u16(w, schline.enable);
    write_u16(w, schline.active);
    write_u16(w, schline.visible);
    close_block(w, inner);
    close_block(w, outer);
}
