// LIST definitions: record, statement routines and writer.
#include "resources/list.h"

ListRecord list;

void list_object_type() {
    list.type = 3;
}

void write_list(BinWriter& w) {
    write_u16(w, list.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, list.type);
    close_block(w, inner);
    close_block(w, outer);
}
