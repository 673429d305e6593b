// LINE definitions: record, statement routines and writer.
#include "resources/line.h"
#include "resources/records.h"

#include "resources/record_writer.h"

namespace orrinrc {

// The OBJECT.TYPE=LINE line: a line resets nothing between definitions.
void line_object_type(Records&) {}

FieldValue line_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const LineRecord& line = records.line;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(line.bounds);
    case F::LineColor: return number_value_of(line.color);
    case F::LineStyle: return number_value_of(line.style);
    case F::LineThick: return number_value_of(line.thick);
    case F::LineEndX: return number_value_of(line.endpt_x);
    case F::LineEndY: return number_value_of(line.endpt_y);
    case F::LineVisible: return number_value_of(line.visible);
    default: return no_such_field();
    }
}

void write_line(BinWriter& w, const Records& records) {
    const LineRecord& line = records.line;
    write_record<line_field, orrinrc::format::Kind::Line>(w, records, line.id);
}

}  // namespace orrinrc
