// LINE definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// A straight line on a form. Nothing is reset between definitions.
struct LineRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint8_t color = 0;
    uint8_t style = 0;  // 0 dotted, 1 solid, or the number given
    uint16_t thick = 0;
    uint16_t endpt_x = 0;
    uint16_t endpt_y = 0;
    uint16_t visible = 0;
};


// The OBJECT.TYPE=LINE line.
void line_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue line_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_line(BinWriter& w, const Records& records);

}  // namespace orrinrc
