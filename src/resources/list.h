// LIST definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>
#include <vector>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// Number of on/off attributes of a list, in the order they are written:
// ENABLE, VISIBLE, ACTIVE, SET_SCROLL, SYNCHRONOUS.
constexpr int kListAttrCount = 5;

struct ListRecord {
    uint16_t id = 0;
    Bounds bounds;
    uint16_t num_related = 0;
    std::vector<uint16_t> related;  // created by the first related-object line after the count
    uint16_t total_items = 0;
    uint16_t items_on_display = 0;
    uint16_t top_item = 0;
    std::vector<Text> items;  // created by the first item line after the total
    uint8_t alignment = 0;
    int16_t selected_item = 0;
    uint8_t style = 0;
    uint8_t text_color = 0;
    uint8_t background_color = 0;
    uint16_t attr[kListAttrCount] = {};
    // Entry counters of the two tables; like the record they carry over from
    // one list definition to the next.
    size_t related_counter = 0;
    size_t item_counter = 0;
};


// The OBJECT.TYPE=LIST line.
void list_object_type(Records& records);

// LIST_NUM_RELATED_LIST_OBJECT= and LIST_TOTAL_NUM_ITEMS=: the next entry
// line starts a new table.
void list_restart_related(Records& records);
void list_restart_items(Records& records);

// A LIST_RELATED_OBJECT= line: the entry its value goes to, or nullptr when
// the table is already full (the value is then dropped).
uint16_t* list_next_related(Records& records);

// A LIST_ITEM= line: the entry its text goes to, or nullptr when the table is
// already full (the line then stores nothing).
Text* list_next_item(Records& records);

// The value of each field of the record, for the writer.
FieldValue list_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_list(BinWriter& w, const Records& records);

}  // namespace orrinrc
