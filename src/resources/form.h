// FORM definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct FormRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern FormRecord form;

// The OBJECT.TYPE=FORM line.
void form_object_type();

// Appends the record to resource.bin.
void write_form(BinWriter& w);
