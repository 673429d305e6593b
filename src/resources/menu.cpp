// MENU definitions: record, statement routines and writer.
#include "resources/menu.h"

MenuRecord menu;

void menu_object_type() {
    menu.type = 4;
}

void write_menu(BinWriter& w) {
    write_u16(w, menu.id);
    uint64_t outer = open_block(w);
    uint64_t inner = open_block(w);
    write_u8(w, menu.type);
    close_block(w, inner);
    close_block(w, outer);
}
