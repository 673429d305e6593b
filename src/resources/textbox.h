// TEXTBOX definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct TextBoxRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern TextBoxRecord textbox;

// The OBJECT.TYPE=TEXTBOX line.
void textbox_object_type();

// Appends the record to resource.bin.
void write_textbox(BinWriter& w);
