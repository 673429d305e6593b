// FIELD definitions: record, statement routines and writer.
#include "resources/field.h"

#include "scanner/value_readers.h"

FieldRecord field;

void field_object_type() {
    field.type = 2;
    // Each field starts without text; everything else carries over from the
    // previous field definition.
    field.text.reset();
}

void write_field(BinWriter& w) {
    write_u16(w, field.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, field.type);
    inner = next_block(w, inner);
    write_u16(w, related_table_id);
    inner = next_block(w, inner);
    write_bounds(w, field.bounds);
    inner = next_block(w, inner);
    write_cstring(w, field.text);
    for (uint8_t b : {field.style, field.back_line, field.font, field.font_color,
                      field.background_color, field.alignment}) {
        inner = next_block(w, inner);
        write_u8(w, b);
    }
    for (int32_t v : {field.max_num_chars, field.top_line_num, field.insert_pt_char_pos,
                      field.highlight_start, field.highlight_end}) {
        inner = next_block(w, inner);
        write_u32(w, static_cast<uint32_t>(v));
    }
    inner = next_block(w, inner);
    for (uint16_t a : field.attr) write_u16(w, a);
    close_block(w, inner);
    close_block(w, outer);
}
