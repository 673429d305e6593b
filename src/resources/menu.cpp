// MENU definitions: record, statement routines and writer.
#include "resources/menu.h"

MenuRecord menu;

namespace {

// Entries filled since the last MENU_NUM_ITEMS= line; persists like the record.
size_t item_counter = 0;
// Whether the current definition has given MENU_NUM_ITEMS=, which alone makes
// room for item lines.
bool items_declared = false;

}  // namespace

void menu_object_type() {
    menu.type = 4;
}

void menu_num_items() {
    item_counter = 0;
    items_declared = true;
}

Text* menu_next_item() {
    if (!items_declared) return nullptr;
    if (item_counter == 0) menu.items.assign(menu.num_items, Text{});
    if (item_counter >= menu.items.size()) return nullptr;
    return &menu.items[item_counter++];
}

void menu_definition_ended() {
    items_declared = false;
}

void write_menu(BinWriter& w) {
    RecordFrame frame = begin_record(w, menu.id, menu.type);
    next_inner_block(w, frame);
    write_bounds(w, menu.bounds);
    next_inner_block(w, frame);
    write_u16(w, menu.num_items);
    next_inner_block(w, frame);
    write_u16(w, static_cast<uint16_t>(menu.selected_item));
    next_inner_block(w, frame);
    // A count raised without item lines since leaves entries that the table
    // does not hold: they are written as no text.
    for (size_t i = 0; i < menu.num_items && i < menu.items.size(); ++i) write_cstring(w, menu.items[i]);
    next_inner_block(w, frame);
    write_u16(w, menu.visible);
    end_record(w, frame);
}
