// TEXTBOX definitions: record, statement routines and writer.
#include "resources/textbox.h"

TextBoxRecord textbox;

void textbox_object_type() {
    textbox.type = 10;
}

void write_textbox(BinWriter& w) {
    write_u16(w, textbox.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, textbox.type);
    close_block(w, inner);
    close_block(w, outer);
}
