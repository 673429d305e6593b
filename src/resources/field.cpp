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
    RecordFrame frame = begin_record(w, field.id, field.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, field.bounds);
    next_inner_block(w, frame);
    write_cstring(w, field.text);
    for (uint8_t b : {field.style, field.back_line, field.font, field.font_color,
                      field.background_color, field.alignment}) {
        next_inner_block(w, frame);
        write_u8(w, b);
    }
    for (int32_t v : {field.max_num_chars, field.top_line_num, field.insert_pt_char_pos,
                      field.highlight_start, field.highlight_end}) {
        next_inner_block(w, frame);
        write_u32(w, static_cast<uint32_t>(v));
    }
    next_inner_block(w, frame);
    for (uint16_t a : field.attr) write_u16(w, a);
    end_record(w, frame);
}
