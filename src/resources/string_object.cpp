// STRING definitions: record, statement routines and writer.
#include "resources/string_object.h"

StringRecord string_object;

void string_object_type() {
    string_object.type = 8;
}

void write_string(BinWriter& w) {
    write_u16(w, string_object.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, string_object.type);
    close_block(w, inner);
    close_block(w, outer);
}
