// SCROLLBAR definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct ScrollBarRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern ScrollBarRecord scrollbar;

// The OBJECT.TYPE=SCROLLBAR line.
void scrollbar_object_type();

// Appends the record to resource.bin.
void write_scrollbar(BinWriter& w);
