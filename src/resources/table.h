// TABLE definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct TableRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern TableRecord table;

// The OBJECT.TYPE=TABLE line.
void table_object_type();

// Appends the record to resource.bin.
void write_table(BinWriter& w);
