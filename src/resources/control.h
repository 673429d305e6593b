// CONTROL definitions: the record that their statements fill, the data of
// each style, the routines that the rules call, and the writer.
#pragma once

#include <cstdint>
#include <vector>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

struct ControlRecord {
    uint16_t id = 0;
    Text text;
    Bounds bounds;
    uint8_t style = 0;  // a format::ControlStyle
    uint8_t subtype = 0;
    uint8_t alignment = 0;
    uint16_t enable = 0;
    uint16_t active = 0;
    uint16_t visible = 0;
    BitmapRecord bitmap;  // the picture of a repeat button
};

struct ButtonData {
    uint16_t radius = 0;
    uint8_t color_on = 0;
    uint8_t color_off = 0;
};

struct PushButtonData {
    uint8_t color_on = 0;
    uint8_t color_off = 0;
    uint16_t group_id = 0;
    uint16_t value = 0;
    uint16_t radius = 0;
};

struct CheckboxData {
    uint16_t group_id = 0;
    uint16_t value = 0;
    BitmapRecord bitmap1;
    BitmapRecord bitmap2;
};

struct PopupTriggerData {
    uint16_t radius = 0;
    uint16_t item_count = 0;
    int16_t selected_item = 0;
    uint16_t top_item = 0;
    // Item texts of the current definition only: created (all none) by the
    // first ITEM line after NUM_OBJECTS=, dropped when a control opens.
    std::vector<Text> items;
    uint16_t item_counter = 0;  // the next item slot
    bool count_given = false;   // NUM_OBJECTS= seen in this definition
};

// The "#CONTROL" line: the text becomes none and the pop-up items of an
// earlier definition are no longer reachable.
void control_open(Records& records);

// The OBJECT.TYPE=CONTROL line.
void control_object_type(Records& records);

// NUM_OBJECTS= of a pop-up trigger, before its count is read.
void control_popup_count(Records& records);

// ITEM line of a pop-up trigger: the slot that receives the text, creating
// the item storage at the first item after NUM_OBJECTS=. Returns nullptr when
// the definition has no NUM_OBJECTS= or all its slots are filled.
Text* control_popup_next_item(Records& records);

// The value of each field of the record, for the writer.
FieldValue control_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin; a style outside 0..4 ends the run.
void write_control(BinWriter& w, const Records& records);

}  // namespace orrinrc
