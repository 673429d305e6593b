// SCHLINE definitions: record, statement routines and writer.
#include "resources/schline.h"
#include "driver/record_writer.h"

namespace orrinrc {

SchlineRecord schline;

// The OBJECT.TYPE=SCHLINE line: a SCHLINE resets nothing between definitions.
void schline_object_type() {}

namespace {

FieldValue schline_field(orrinrc::format::FieldId id, size_t) {
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::Bounds: return bounds_value_of(schline.bounds);
    // The flags go out as enable, active, visible whatever order they came in.
    case F::SchlineEnable: return number_value_of(schline.enable);
    case F::SchlineActive: return number_value_of(schline.active);
    case F::SchlineVisible: return number_value_of(schline.visible);
    default: return {};
    }
}

}  // namespace

void write_schline(BinWriter& w) {
    write_record<schline_field, orrinrc::format::Kind::Schline>(w, schline.id);
}

}  // namespace orrinrc
