// FORM definitions: record, statement routines and writer.
#include "resources/form.h"
#include "resources/records.h"

#include "resources/record_writer.h"

namespace orrinrc {

namespace {

// Hands out objects[slot] and advances the slot, or null when the definition
// has no list yet or the list is full.
FormObjectEntry* next_entry(Records& records, size_t& slot) {
    FormRecord& form = records.form;
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

void form_object_type(Records& records) {
    FormRecord& form = records.form;
    form.title.reset();
    form.bitmap.clear_image();
}

void form_count_statement(Records& records) {
    FormRecord& form = records.form;
    form.id_slot = 0;
    form.type_slot = 0;
    form.count_given = true;
}

FormObjectEntry* form_next_id_entry(Records& records) {
    FormRecord& form = records.form;
    return next_entry(records, form.id_slot);
}

FormObjectEntry* form_next_type_entry(Records& records) {
    FormRecord& form = records.form;
    return next_entry(records, form.type_slot);
}

void form_definition_ended(Records& records) {
    FormRecord& form = records.form;
    form.count_given = false;
}

FieldValue form_field(const Records& records, orrinrc::format::FieldId id, size_t index) {
    const FormRecord& form = records.form;
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::Bounds: return bounds_value_of(form.bounds);
    case F::FormFocused: return number_value_of(form.focused);
    case F::FormStyle: return number_value_of(form.style);
    case F::FormTitle: return text_value_of(form.title);
    case F::FormBitmap: return bitmap_value_of(form.bitmap);
    case F::FormCount: return number_value_of(form.count);
    // As many entries as the count says; any beyond the list that exists
    // (a count given without object statements) are written as zeros.
    case F::FormObjectId: return number_value_of(index < form.objects.size() ? form.objects[index].id : 0);
    case F::FormObjectType: return number_value_of(index < form.objects.size() ? form.objects[index].type : 0);
    default: return no_such_field();
    }
}

// The bitmap block holds the picture only for the styles that show one
// (format::form_bitmap_block).
void write_form(BinWriter& w, const Records& records) {
    write_record<form_field, orrinrc::format::Kind::Form>(w, records, records.form.id);
}

}  // namespace orrinrc
