// FORM definitions: record, statement routines and writer.
#include "resources/form.h"

FormRecord form;

namespace {

// Hands out objects[slot] and advances the slot, or null when the definition
// has no list yet or the list is full.
FormObjectEntry* next_entry(size_t& slot) {
    if (!form.count_given) return nullptr;
    if (form.id_slot == 0 && form.type_slot == 0) {
        // New slots are value-initialised (0); the ones the list already had
        // keep their contents.
        form.objects.resize(form.count);
    }
    if (slot >= form.objects.size()) return nullptr;
    return &form.objects[slot++];
}

}  // namespace

void form_object_type() {
    form.type = 0;
    form.title.reset();
    form.bitmap.clear_image();
}

void form_count_statement() {
    form.id_slot = 0;
    form.type_slot = 0;
    form.count_given = true;
}

FormObjectEntry* form_next_id_entry() {
    return next_entry(form.id_slot);
}

FormObjectEntry* form_next_type_entry() {
    return next_entry(form.type_slot);
}

void form_definition_ended() {
    form.count_given = false;
}

void write_form(BinWriter& w) {
    RecordFrame frame = begin_record(w, form.id, form.type);
    next_inner_block(w, frame);
    write_bounds(w, form.bounds);
    next_inner_block(w, frame);
    write_u16(w, form.focused);
    next_inner_block(w, frame);
    write_u8(w, form.style);
    next_inner_block(w, frame);
    write_cstring(w, form.title);
    next_inner_block(w, frame);
    if (form.style == kFormNormal || form.style == kFormBitmapDialog) write_bitmap_block(w, form.bitmap);
    next_inner_block(w, frame);
    write_u16(w, form.count);
    next_inner_block(w, frame);
    // As many entries as the count says; any beyond the list that exists
    // (a count given without object statements) are written as zeros.
    for (size_t i = 0; i < form.count; ++i) {
        FormObjectEntry entry;
        if (i < form.objects.size()) entry = form.objects[i];
        write_u16(w, entry.id);
        write_u8(w, entry.type);
    }
    end_record(w, frame);
}
