// SCHLINE definitions: record, statement routines and writer.
#include "resources/schline.h"

SchlineRecord schline;

void schline_object_type() {
    schline.type = 7;
}

void write_schline(BinWriter& w) {
    RecordFrame frame = begin_record(w, schline.id, schline.type);
    next_inner_block(w, frame);
    write_bounds(w, schline.bounds);
    next_inner_block(w, frame);
    // The flags go out as enable, active, visible whatever order they came in.
    write_u16(w, schline.enable);
    write_u16(w, schline.active);
    write_u16(w, schline.visible);
    end_record(w, frame);
}
