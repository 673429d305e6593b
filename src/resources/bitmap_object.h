// BITMAP definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct BitmapObjectRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern BitmapObjectRecord bitmap_object;

// The OBJECT.TYPE=BITMAP line.
void bitmap_object_type();

// Appends the record to resource.bin.
void write_bitmap(BinWriter& w);
