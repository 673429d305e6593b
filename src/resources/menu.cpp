// MENU definitions: record, statement routines and writer.
#include "resources/menu.h"
#include "resources/records.h"
#include "resources/record_writer.h"

namespace orrinrc {

// The OBJECT.TYPE=MENU line: a menu resets nothing between definitions.
void menu_object_type(Records&) {}

void menu_num_items(Records& records) {
    MenuRecord& menu = records.menu;
    menu.item_counter = 0;
    menu.items_declared = true;
}

Text* menu_next_item(Records& records) {
    MenuRecord& menu = records.menu;
    if (!menu.items_declared) return nullptr;
    if (menu.item_counter == 0) menu.items.assign(menu.num_items, Text{});
    if (menu.item_counter >= menu.items.size()) return nullptr;
    return &menu.items[menu.item_counter++];
}

void menu_definition_ended(Records& records) {
    MenuRecord& menu = records.menu;
    menu.items_declared = false;
}

FieldValue menu_field(const Records& records, orrinrc::format::FieldId id, size_t index) {
    const MenuRecord& menu = records.menu;
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::Bounds: return bounds_value_of(menu.bounds);
    case F::MenuCount: return number_value_of(menu.num_items);
    case F::MenuSelected: return number_value_of(static_cast<uint16_t>(menu.selected_item));
    // A count raised without item lines since leaves entries that the table
    // does not hold: they are written as no text.
    case F::MenuItem: return index < menu.items.size() ? text_value_of(menu.items[index]) : no_text();
    case F::MenuVisible: return number_value_of(menu.visible);
    default: return no_such_field();
    }
}

void write_menu(BinWriter& w, const Records& records) {
    const MenuRecord& menu = records.menu;
    write_record<menu_field, orrinrc::format::Kind::Menu>(w, records, menu.id);
}

}  // namespace orrinrc
