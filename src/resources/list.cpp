// LIST definitions: record, statement routines and writer.
#include "resources/list.h"

#include "scanner/value_readers.h"

ListRecord list;

namespace {

// Entry counters of the two tables; like the record they carry over from one
// list definition to the next.
size_t related_counter = 0;
size_t item_counter = 0;

}  // namespace

void list_object_type() {
    list.type = 3;
}

void list_restart_related() {
    related_counter = 0;
}

void list_restart_items() {
    item_counter = 0;
}

uint16_t* list_next_related() {
    if (related_counter == 0) list.related.assign(list.num_related, 0);
    if (related_counter >= list.related.size()) return nullptr;
    return &list.related[related_counter++];
}

Text* list_next_item() {
    if (item_counter == 0) list.items.assign(list.total_items, std::nullopt);
    if (item_counter >= list.items.size()) return nullptr;
    return &list.items[item_counter++];
}

void write_list(BinWriter& w) {
    RecordFrame frame = begin_record(w, list.id, list.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, list.bounds);
    next_inner_block(w, frame);
    write_u16(w, list.num_related);
    // The tables may be shorter than their counts (a count given without
    // entry lines keeps the earlier table, or none): missing entries are 0
    // and no text.
    next_inner_block(w, frame);
    for (size_t i = 0; i < list.num_related; ++i)
        write_u16(w, i < list.related.size() ? list.related[i] : 0);
    for (uint16_t v : {list.total_items, list.items_on_display, list.top_item}) {
        next_inner_block(w, frame);
        write_u16(w, v);
    }
    next_inner_block(w, frame);
    write_u8(w, list.alignment);
    next_inner_block(w, frame);
    write_u16(w, static_cast<uint16_t>(list.selected_item));
    for (uint8_t b : {list.style, list.text_color, list.background_color}) {
        next_inner_block(w, frame);
        write_u8(w, b);
    }
    next_inner_block(w, frame);
    for (size_t i = 0; i < list.total_items && i < list.items.size(); ++i)
        write_cstring(w, list.items[i]);
    next_inner_block(w, frame);
    for (uint16_t a : list.attr) write_u16(w, a);
    end_record(w, frame);
}
