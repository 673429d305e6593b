// TEXTBOX definitions: record, statement routines and writer.
#include "resources/textbox.h"

#include "scanner/value_readers.h"

TextBoxRecord textbox;

void textbox_object_type() {
    textbox.type = 10;
}

void write_textbox(BinWriter& w) {
    const TextBoxRecord& t = textbox;
    RecordFrame frame = begin_record(w, t.id, t.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, t.bounds);
    next_inner_block(w, frame);
    write_cstring(w, t.text);
    next_inner_block(w, frame);
    write_u8(w, t.style);
    next_inner_block(w, frame);
    write_u8(w, t.back_line);
    next_inner_block(w, frame);
    write_u8(w, t.font);
    next_inner_block(w, frame);
    write_u8(w, t.font_color);
    next_inner_block(w, frame);
    write_u8(w, t.background_color);
    for (int32_t pos : {t.max_num_chars, t.left_char_pos, t.right_char_pos, t.insert_pt_char_pos,
                        t.highlight_start_char_pos, t.highlight_end_char_pos}) {
        next_inner_block(w, frame);
        write_u32(w, static_cast<uint32_t>(pos));
    }
    next_inner_block(w, frame);
    for (uint16_t flag : {t.active, t.enable, t.dirty, t.highlight, t.insert_pt_visible, t.visible})
        write_u16(w, flag);
    end_record(w, frame);
}
