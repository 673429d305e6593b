// BITMAP definitions: record, statement routines and writer.
#include "resources/bitmap_object.h"

BitmapObjectRecord bitmap_object;

void bitmap_object_type() {
    bitmap_object.type = 9;
}

void write_bitmap(BinWriter& w) {
    write_u16(w, bitmap_object.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, bitmap_object.type);
    close_block(w, inner);
    close_block(w, outer);
}
