// TEXTBOX definitions: the record that their statements fill and its writer.
#pragma once

#include <cstdint>

#include "output/resource_bin.h"
#include "resources/record_writer.h"

namespace orrinrc {

struct Records;

// One editable text area. Nothing is reset between definitions: a field that
// a definition leaves out, the text included, keeps its previous value.
struct TextBoxRecord {
    uint16_t id = 0;
    Bounds bounds;
    Text text;
    uint8_t style = 0;
    uint8_t back_line = 0;  // 0 none, 1 dotted, 2 grey
    uint8_t font = 0;
    uint8_t font_color = 0;
    uint8_t background_color = 0;
    // Character positions, read as 32-bit words.
    int32_t max_num_chars = 0;
    int32_t left_char_pos = 0;
    int32_t right_char_pos = 0;
    int32_t insert_pt_char_pos = 0;
    int32_t highlight_start_char_pos = 0;
    int32_t highlight_end_char_pos = 0;
    // State flags, each 0 or 1.
    uint16_t active = 0;
    uint16_t enable = 0;
    uint16_t dirty = 0;
    uint16_t highlight = 0;
    uint16_t insert_pt_visible = 0;
    uint16_t visible = 0;
};


// The OBJECT.TYPE=TEXTBOX line.
void textbox_object_type(Records& records);

// The value of each field of the record, for the writer.
FieldValue textbox_field(const Records& records, format::FieldId id, size_t index);

// Appends the record to resource.bin.
void write_textbox(BinWriter& w, const Records& records);

}  // namespace orrinrc
