// FORM definitions: record, statement routines and writer.
#include "resources/form.h"

FormRecord form;

void form_object_type() {
    form.type = 0;
}

void write_form(BinWriter& w) {
    write_u16(w, form.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, form.type);
    close_block(w, inner);
    close_block(w, outer);
}
