// SCROLLBAR definitions: record, statement routines and writer.
#include "resources/scrollbar.h"

#include "scanner/value_readers.h"

ScrollBarRecord scrollbar;

void scrollbar_open() {
    scrollbar.text.reset();
}

void scrollbar_object_type() {
    scrollbar.type = 5;
    scrollbar.text.reset();
    scrollbar.arrow1.clear_image();
    scrollbar.arrow2.clear_image();
}

void write_scrollbar(BinWriter& w) {
    const ScrollBarRecord& r = scrollbar;
    RecordFrame frame = begin_record(w, r.id, r.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, r.bounds);
    // The values run maximum, minimum, current value; then the style comes
    // before the type.
    for (int32_t value : {r.maximum, r.minimum, r.current_value, r.page_size, r.total_num_lines}) {
        next_inner_block(w, frame);
        write_u32(w, static_cast<uint32_t>(value));
    }
    next_inner_block(w, frame);
    write_u8(w, r.style);
    next_inner_block(w, frame);
    write_u8(w, r.bar_type);
    next_inner_block(w, frame);
    write_bitmap_block(w, r.arrow1);
    next_inner_block(w, frame);
    write_bitmap_block(w, r.arrow2);
    next_inner_block(w, frame);
    write_cstring(w, r.text);
    next_inner_block(w, frame);
    for (uint16_t attr : r.attrs) write_u16(w, attr);
    end_record(w, frame);
}
