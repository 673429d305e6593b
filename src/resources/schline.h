// SCHLINE definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// A rectangle with three state flags. Nothing is reset between definitions.
struct SchlineRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint16_t visible = 0;
    uint16_t active = 0;
    uint16_t enable = 0;
};


// The OBJECT.TYPE=SCHLINE line.
void schline_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue schline_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_schline(BinWriter& w, const Records& records);

}  // namespace orrinrc
