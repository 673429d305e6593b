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
    write_u16(w, r.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, r.type);
    inner = next_block(w, inner);
    write_u16(w, related_table_id);
    inner = next_block(w, inner);
    write_bounds(w, r.bounds);
    // The values run maximum, minimum, current value; then the style comes
    // before the type.
    for (int32_t value : {r.maximum, r.minimum, r.current_value, r.page_size, r.total_num_lines}) {
        inner = next_block(w, inner);
        write_u32(w, static_cast<uint32_t>(value));
    }
    inner = next_block(w, inner);
    write_u8(w, r.style);
    inner = next_block(w, inner);
    write_u8(w, r.bar_type);
    inner = next_block(w, inner);
    write_bitmap_block(w, r.arrow1);
    inner = next_block(w, inner);
    write_bitmap_block(w, r.arrow2);
    inner = next_block(w, inner);
    write_cstring(w, r.text);
    inner = next_block(w, inner);
    for (uint16_t attr : r.attrs) write_u16(w, attr);
    close_block(w, inner);
    close_block(w, outer);
}
