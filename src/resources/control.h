// CONTROL definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct ControlRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern ControlRecord control;

// The OBJECT.TYPE=CONTROL line.
void control_object_type();

// Appends the record to resource.bin.
void write_control(BinWriter& w);
