// FIELD definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// Number of on/off attributes of a field, in the order they are written:
// ACTIVE, ENABLE, DIRTY, HIGHLIGHT, INSERT_PT_VISIBLE, SCROLLBAR, FULL_SIZE,
// VISIBLE.
constexpr int kFieldAttrCount = 8;

struct FieldRecord {
    uint16_t id = 0;
    Bounds bounds;
    Text text;  // reset to none by every OBJECT.TYPE=FIELD line
    uint8_t style = 0;
    uint8_t back_line = 0;  // 0 none, 1 dotted, 2 grey
    uint8_t font = 0;
    uint8_t font_color = 0;
    uint8_t background_color = 0;
    uint8_t alignment = 0;
    int32_t max_num_chars = 0;
    int32_t top_line_num = 0;
    int32_t insert_pt_char_pos = 0;
    int32_t highlight_start = 0;
    int32_t highlight_end = 0;
    uint16_t attr[kFieldAttrCount] = {};
};


// The OBJECT.TYPE=FIELD line.
void field_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue field_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_field(BinWriter& w, const Records& records);

}  // namespace orrinrc
