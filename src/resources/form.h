// FORM definitions: the record that their statements fill and its writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// One object of a form: its identifier and object type code.
struct FormObjectEntry {
    uint16_t id = 0;
    uint8_t type = 0;
};

struct FormRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint16_t focused = 0;
    uint8_t style = 0;  // a format::FormStyle
    Text title;
    BitmapRecord bitmap;
    uint16_t count = 0;  // NO_OF_OBJECTS=

    // The object list. Its size is set from `count` by the first object
    // statement after NO_OF_OBJECTS=; identifier and type statements fill
    // their own next slot, so the n-th identifier pairs with the n-th type.
    std::vector<FormObjectEntry> objects;
    size_t id_slot = 0;
    size_t type_slot = 0;

    // Whether the definition being read has given NO_OF_OBJECTS= yet: object
    // statements before it have no list to go into.
    bool count_given = false;
};


// The OBJECT.TYPE=FORM line: no title, no image data.
void form_object_type(Records& records);

// NO_OF_OBJECTS=: both slot counters start again at 0.
void form_count_statement(Records& records);

// An identifier or type statement of the object list: sizes the list when it
// is the first one after NO_OF_OBJECTS=, then hands out the entry of the next
// slot and advances that counter. Returns null when the list has no room for
// it (nothing is changed then).
FormObjectEntry* form_next_id_entry(Records& records);
FormObjectEntry* form_next_type_entry(Records& records);

// After #END_FORM: the next definition has not given NO_OF_OBJECTS= yet.
void form_definition_ended(Records& records);

// The value of each field of the record, for the writer.
FieldValue form_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_form(BinWriter& w, const Records& records);

}  // namespace orrinrc
