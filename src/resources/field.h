// FIELD definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct FieldRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern FieldRecord field;

// The OBJECT.TYPE=FIELD line.
void field_object_type();

// Appends the record to resource.bin.
void write_field(BinWriter& w);
