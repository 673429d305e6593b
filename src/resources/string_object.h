// STRING definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// A fixed text in a rectangle of a form. The OBJECT.TYPE=STRING line clears
// the text; every other field carries over between definitions.
struct StringRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint8_t font_color = 0;
    uint8_t background_color = 0;
    uint8_t style = 0;
    Text text;
    uint8_t alignment = 0;
    uint8_t font = 0;
    uint16_t visible = 0;
};


// The OBJECT.TYPE=STRING line.
void string_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue string_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_string(BinWriter& w, const Records& records);

}  // namespace orrinrc
