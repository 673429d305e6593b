// MENU definitions: record, statement routines and writer.
#include "resources/menu.h"
#include "driver/record_writer.h"

namespace orrinrc {

MenuRecord menu;

namespace {

// Entries filled since the last MENU_NUM_ITEMS= line; persists like the record.
size_t item_counter = 0;
// Whether the current definition has given MENU_NUM_ITEMS=, which alone makes
// room for item lines.
bool items_declared = false;

}  // namespace

// The OBJECT.TYPE=MENU line: a menu resets nothing between definitions.
void menu_object_type() {}

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

namespace {

FieldValue menu_field(orrinrc::format::FieldId id, size_t index) {
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::Bounds: return bounds_value_of(menu.bounds);
    case F::MenuCount: return number_value_of(menu.num_items);
    case F::MenuSelected: return number_value_of(static_cast<uint16_t>(menu.selected_item));
    // A count raised without item lines since leaves entries that the table
    // does not hold: they are written as no text.
    case F::MenuItem: return index < menu.items.size() ? text_value_of(menu.items[index]) : FieldValue{};
    case F::MenuVisible: return number_value_of(menu.visible);
    default: return {};
    }
}

}  // namespace

void write_menu(BinWriter& w) {
    write_record<menu_field, orrinrc::format::Kind::Menu>(w, menu.id);
}

}  // namespace orrinrc
