// CONTROL definitions: record, statement routines and writer.
#include "resources/control.h"

ControlRecord control;

void control_object_type() {
    control.type = 1;
}

void write_control(BinWriter& w) {
    write_u16(w, control.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, control.type);
    close_block(w, inner);
    close_block(w, outer);
}
