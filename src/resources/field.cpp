// FIELD definitions: record, statement routines and writer.
#include "resources/field.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

void field_object_type(Records& records) {
    FieldRecord& field = records.field;
    // Each field starts without text; everything else carries over from the
    // previous field definition.
    field.text.reset();
}

FieldValue field_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const FieldRecord& field = records.field;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    const FieldRecord& f = field;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(f.bounds);
    case F::FieldText: return text_value_of(f.text);
    case F::FieldStyle: return number_value_of(f.style);
    case F::FieldBackLine: return number_value_of(f.back_line);
    case F::FieldFont: return number_value_of(f.font);
    case F::FieldFontColor: return number_value_of(f.font_color);
    case F::FieldBackgroundColor: return number_value_of(f.background_color);
    case F::FieldAlignment: return number_value_of(f.alignment);
    case F::FieldMaxChars: return number_value_of(static_cast<uint32_t>(f.max_num_chars));
    case F::FieldTopLine: return number_value_of(static_cast<uint32_t>(f.top_line_num));
    case F::FieldInsertPos: return number_value_of(static_cast<uint32_t>(f.insert_pt_char_pos));
    case F::FieldHighlightStart: return number_value_of(static_cast<uint32_t>(f.highlight_start));
    case F::FieldHighlightEnd: return number_value_of(static_cast<uint32_t>(f.highlight_end));
    default:
        // The eight attribute words, in their stored order.
        if (id >= F::FieldActive && id <= F::FieldVisible)
            return number_value_of(f.attr[static_cast<int>(id) - static_cast<int>(F::FieldActive)]);
        return no_such_field();
    }
}

void write_field(BinWriter& w, const Records& records) {
    const FieldRecord& field = records.field;
    write_record<field_field, orrinrc::format::Kind::Field>(w, records, field.id);
}

}  // namespace orrinrc
