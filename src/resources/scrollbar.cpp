// SCROLLBAR definitions: record, statement routines and writer.
#include "resources/scrollbar.h"

ScrollBarRecord scrollbar;

void scrollbar_object_type() {
    scrollbar.type = 5;
}

void write_scrollbar(BinWriter& w) {
    write_u16(w, scrollbar.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, scrollbar.type);
    close_block(w, inner);
    close_block(w, outer);
}
