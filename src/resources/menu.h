// MENU definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "driver/resource_bin.h"

struct MenuRecord {
    uint16_t id = 0;
    uint8_t type = 0;
};

extern MenuRecord menu;

// The OBJECT.TYPE=MENU line.
void menu_object_type();

// Appends the record to resource.bin.
void write_menu(BinWriter& w);
