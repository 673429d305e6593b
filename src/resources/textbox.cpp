// TEXTBOX definitions: record, statement routines and writer.
#include "resources/textbox.h"

#include "scanner/value_readers.h"

TextBoxRecord textbox;

void textbox_object_type() {
    textbox.type = 10;
}

void write_textbox(BinWriter& w) {
    const TextBoxRecord& t = textbox;
    write_u16(w, t.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, t.type);
    inner = next_block(w, inner);
    write_u16(w, related_table_id);
    inner = next_block(w, inner);
    write_bounds(w, t.bounds);
    inner = next_block(w, inner);
    write_cstring(w, t.text);
    inner = next_block(w, inner);
    write_u8(w, t.style);
    inner = next_block(w, inner);
    write_u8(w, t.back_line);
    inner = next_block(w, inner);
    write_u8(w, t.font);
    inner = next_block(w, inner);
    write_u8(w, t.font_color);
    inner = next_block(w, inner);
    write_u8(w, t.background_color);
    for (int32_t pos : {t.max_num_chars, t.left_char_pos, t.right_char_pos, t.insert_pt_char_pos,
                        t.highlight_start_char_pos, t.highlight_end_char_pos}) {
        inner = next_block(w, inner);
        write_u32(w, static_cast<uint32_t>(pos));
    }
    inner = next_block(w, inner);
    for (uint16_t flag : {t.active, t.enable, t.dirty, t.highlight, t.insert_pt_visible, t.visible})
        write_u16(w, flag);
    close_block(w, inner);
    close_block(w, outer);
}
