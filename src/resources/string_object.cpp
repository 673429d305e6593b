// STRING definitions: record, statement routines and writer.
#include "resources/string_object.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

void string_object_type(Records& records) {
    StringRecord& string_object = records.string_object;
    // A text given before this line belongs to no definition: it is dropped.
    string_object.text.reset();
}

FieldValue string_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const StringRecord& string_object = records.string_object;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    const StringRecord& s = string_object;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(s.bounds);
    case F::StringStyle: return number_value_of(s.style);
    case F::StringText: return text_value_of(s.text);
    case F::StringFontColor: return number_value_of(s.font_color);
    case F::StringBackgroundColor: return number_value_of(s.background_color);
    case F::StringFont: return number_value_of(s.font);
    case F::StringAlignment: return number_value_of(s.alignment);
    case F::StringVisible: return number_value_of(s.visible);
    default: return no_such_field();
    }
}

void write_string(BinWriter& w, const Records& records) {
    const StringRecord& string_object = records.string_object;
    write_record<string_field, orrinrc::format::Kind::String>(w, records, string_object.id);
}

}  // namespace orrinrc
