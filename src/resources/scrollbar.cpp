// SCROLLBAR definitions: record, statement routines and writer.
#include "resources/scrollbar.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

void scrollbar_open(Records& records) {
    ScrollBarRecord& scrollbar = records.scrollbar;
    scrollbar.text.reset();
}

void scrollbar_object_type(Records& records) {
    ScrollBarRecord& scrollbar = records.scrollbar;
    scrollbar.text.reset();
    scrollbar.arrow1.clear_image();
    scrollbar.arrow2.clear_image();
}

FieldValue scrollbar_field(const Records& records, orrinrc::format::FieldId id, size_t) {
    const ScrollBarRecord& scrollbar = records.scrollbar;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    const ScrollBarRecord& r = scrollbar;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(r.bounds);
    case F::ScrollbarMax: return number_value_of(static_cast<uint32_t>(r.maximum));
    case F::ScrollbarMin: return number_value_of(static_cast<uint32_t>(r.minimum));
    case F::ScrollbarValue: return number_value_of(static_cast<uint32_t>(r.current_value));
    case F::ScrollbarPageSize: return number_value_of(static_cast<uint32_t>(r.page_size));
    case F::ScrollbarTotalLines: return number_value_of(static_cast<uint32_t>(r.total_num_lines));
    case F::ScrollbarStyle: return number_value_of(r.style);
    case F::ScrollbarType: return number_value_of(r.bar_type);
    case F::ScrollbarArrow1: return bitmap_value_of(r.arrow1);
    case F::ScrollbarArrow2: return bitmap_value_of(r.arrow2);
    case F::ScrollbarText: return text_value_of(r.text);
    case F::ScrollbarActive: return number_value_of(r.attrs[0]);
    case F::ScrollbarEnable: return number_value_of(r.attrs[1]);
    case F::ScrollbarVisible: return number_value_of(r.attrs[2]);
    default: return no_such_field();
    }
}

void write_scrollbar(BinWriter& w, const Records& records) {
    const ScrollBarRecord& scrollbar = records.scrollbar;
    write_record<scrollbar_field, orrinrc::format::Kind::Scrollbar>(w, records, scrollbar.id);
}

}  // namespace orrinrc
