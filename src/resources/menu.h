// MENU definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>
#include <vector>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// A list of item texts with a selected item and a visible flag. Nothing is
// reset between definitions.
struct MenuRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint16_t num_items = 0;
    int16_t selected_item = 0;
    // Made num_items long, all entries none, by the first item line after a
    // MENU_NUM_ITEMS= line; item lines fill it in line order.
    std::vector<Text> items;
    uint16_t visible = 0;
    // Entries filled since the last MENU_NUM_ITEMS= line; persists like the
    // record.
    size_t item_counter = 0;
    // Whether the current definition has given MENU_NUM_ITEMS=, which alone
    // makes room for item lines.
    bool items_declared = false;
};


// The OBJECT.TYPE=MENU line.
void menu_object_type(Records& records);

// MENU_NUM_ITEMS=: the next item line starts a new item table.
void menu_num_items(Records& records);

// A MENU_ITEM= line: the entry that receives its text, or nullptr when the
// line has no room (the table is full, or the definition has given no
// MENU_NUM_ITEMS= line).
Text* menu_next_item(Records& records);

// After #END_MENU: the next definition needs its own MENU_NUM_ITEMS= line
// before item lines.
void menu_definition_ended(Records& records);

// The value of each field of the record, for the writer.
FieldValue menu_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_menu(BinWriter& w, const Records& records);

}  // namespace orrinrc
