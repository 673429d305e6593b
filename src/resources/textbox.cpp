// TEXTBOX definitions: record, statement routines and writer.
#include "resources/textbox.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

// The OBJECT.TYPE=TEXTBOX line: a text box resets nothing between definitions.
void textbox_object_type(Records&) {}

FieldValue textbox_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const TextBoxRecord& textbox = records.textbox;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    const TextBoxRecord& t = textbox;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(t.bounds);
    case F::TextboxText: return text_value_of(t.text);
    case F::TextboxStyle: return number_value_of(t.style);
    case F::TextboxBackLine: return number_value_of(t.back_line);
    case F::TextboxFont: return number_value_of(t.font);
    case F::TextboxFontColor: return number_value_of(t.font_color);
    case F::TextboxBackgroundColor: return number_value_of(t.background_color);
    case F::TextboxMaxChars: return number_value_of(static_cast<uint32_t>(t.max_num_chars));
    case F::TextboxLeftPos: return number_value_of(static_cast<uint32_t>(t.left_char_pos));
    case F::TextboxRightPos: return number_value_of(static_cast<uint32_t>(t.right_char_pos));
    case F::TextboxInsertPos: return number_value_of(static_cast<uint32_t>(t.insert_pt_char_pos));
    case F::TextboxHighlightStart: return number_value_of(static_cast<uint32_t>(t.highlight_start_char_pos));
    case F::TextboxHighlightEnd: return number_value_of(static_cast<uint32_t>(t.highlight_end_char_pos));
    case F::TextboxActive: return number_value_of(t.active);
    case F::TextboxEnable: return number_value_of(t.enable);
    case F::TextboxDirty: return number_value_of(t.dirty);
    case F::TextboxHighlight: return number_value_of(t.highlight);
    case F::TextboxInsertPtVisible: return number_value_of(t.insert_pt_visible);
    case F::TextboxVisible: return number_value_of(t.visible);
    default: return no_such_field();
    }
}

void write_textbox(BinWriter& w, const Records& records) {
    const TextBoxRecord& textbox = records.textbox;
    write_record<textbox_field, orrinrc::format::Kind::Textbox>(w, records, textbox.id);
}

}  // namespace orrinrc
