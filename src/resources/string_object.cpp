// STRING definitions: record, statement routines and writer.
#include "resources/string_object.h"

#include "scanner/value_readers.h"

StringRecord string_object;

void string_object_type() {
    string_object.type = 8;
    // A text given before this line belongs to no definition: it is dropped.
    string_object.text.reset();
}

void write_string(BinWriter& w) {
    const StringRecord& s = string_object;
    write_u16(w, s.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, s.type);
    inner = next_block(w, inner);
    write_u16(w, related_table_id);
    inner = next_block(w, inner);
    write_bounds(w, s.bounds);
    inner = next_block(w, inner);
    write_u8(w, s.style);
    inner = next_block(w, inner);
    write_cstring(w, s.text);
    inner = next_block(w, inner);
    write_u8(w, s.font_color);
    inner = next_block(w, inner);
    write_u8(w, s.background_color);
    inner = next_block(w, inner);
    write_u8(w, s.font);
    inner = next_block(w, inner);
    write_u8(w, s.alignment);
    inner = next_block(w, inner);
    write_u16(w, s.visible);
    close_block(w, inner);
    close_block(w, outer);
}
