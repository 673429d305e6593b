// STRING definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct StringRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern StringRecord string_object;

// The OBJECT.TYPE=STRING line.
void string_object_type();

// Appends the record to resource.bin.
void write_string(BinWriter& w);
