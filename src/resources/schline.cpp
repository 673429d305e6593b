// SCHLINE definitions: record, statement routines and writer.
#include "resources/schline.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

// The OBJECT.TYPE=SCHLINE line: a SCHLINE resets nothing between definitions.
void schline_object_type(Records&) {}

FieldValue schline_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const SchlineRecord& schline = records.schline;
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::Bounds: return bounds_value_of(schline.bounds);
    // The flags go out as enable, active, visible whatever order they came in.
    case F::SchlineEnable: return number_value_of(schline.enable);
    case F::SchlineActive: return number_value_of(schline.active);
    case F::SchlineVisible: return number_value_of(schline.visible);
    default: return no_such_field();
    }
}

void write_schline(BinWriter& w, const Records& records) {
    const SchlineRecord& schline = records.schline;
    write_record<schline_field, orrinrc::format::Kind::Schline>(w, records, schline.id);
}

}  // namespace orrinrc
