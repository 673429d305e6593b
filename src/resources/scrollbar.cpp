// SCROLLBAR definitions: record, statement routines and writer.
#include "resources/scrollbar.h"
#include "driver/record_writer.h"

#include "scanner/value_readers.h"

namespace orrinrc {

ScrollBarRecord scrollbar;

void scrollbar_open() {
    scrollbar.text.reset();
}

void scrollbar_object_type() {
    scrollbar.text.reset();
    scrollbar.arrow1.clear_image();
    scrollbar.arrow2.clear_image();
}

namespace {

FieldValue scrollbar_field(orrinrc::format::FieldId id, size_t) {
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
    default: return {};
    }
}

}  // namespace

void write_scrollbar(BinWriter& w) {
    write_record<scrollbar_field, orrinrc::format::Kind::Scrollbar>(w, scrollbar.id);
}

}  // namespace orrinrc
