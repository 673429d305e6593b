// LIST definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct ListRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern ListRecord list;

// The OBJECT.TYPE=LIST line.
void list_object_type();

// Appends the record to resource.bin.
void write_list(BinWriter& w);
