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
    RecordFrame frame = begin_record(w, s.id, s.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, s.bounds);
    next_inner_block(w, frame);
    write_u8(w, s.style);
    next_inner_block(w, frame);
    write_cstring(w, s.text);
    next_inner_block(w, frame);
    write_u8(w, s.font_color);
    next_inner_block(w, frame);
    write_u8(w, s.background_color);
    next_inner_block(w, frame);
    write_u8(w, s.font);
    next_inner_block(w, frame);
    write_u8(w, s.alignment);
    next_inner_block(w, frame);
    write_u16(w, s.visible);
    end_record(w, frame);
}
