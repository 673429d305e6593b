// FIELD definitions: record, statement routines and writer.
#include "resources/field.h"

FieldRecord field;

void field_object_type() {
    field.type = 2;
}

void write_field(BinWriter& w) {
    write_u16(w, field.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, field.type);
    close_block(w, inner);
    close_block(w, outer);
}
