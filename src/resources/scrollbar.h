// SCROLLBAR definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

struct ScrollBarRecord {
    uint16_t id = 0;
    Bounds bounds;
    BitmapRecord arrow1;
    BitmapRecord arrow2;
    int32_t maximum = 0;
    int32_t minimum = 0;
    int32_t current_value = 0;
    int32_t page_size = 0;
    int32_t total_num_lines = 0;
    uint8_t bar_type = 0;  // SCROLLBAR_TYPE=
    uint8_t style = 0;     // SCROLLBAR_STYLE=
    Text text;
    // SCROLLBAR_ACTIVE, SCROLLBAR_ENABLE, SCROLLBAR_VISIBLE, in written order.
    uint16_t attrs[3] = {0, 0, 0};
};


// The "#SCROLLBAR" line: a new definition starts without a text.
void scrollbar_open(Records& records);

// The OBJECT.TYPE=SCROLLBAR line: also drops the text and both arrows' images.
void scrollbar_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue scrollbar_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_scrollbar(BinWriter& w, const Records& records);

}  // namespace orrinrc
