// LINE definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct LineRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern LineRecord line;

// The OBJECT.TYPE=LINE line.
void line_object_type();

// Appends the record to resource.bin.
void write_line(BinWriter& w);
