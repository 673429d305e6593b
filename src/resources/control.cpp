// CONTROL definitions: record, style data, statement routines and writer.
#include "resources/control.h"

#include <cstdio>

#include "driver/run.h"
#include "scanner/value_readers.h"

ControlRecord control;
ButtonData control_button;
PushButtonData control_pushbutton;
CheckboxData control_checkbox;
PopupTriggerData control_popup;

void control_open() {
    control.text.reset();
    // Item storage belongs to the definition that created it: a pop-up that
    // gives a count but no items of its own writes no texts of an older one.
    control_popup.items.clear();
    control_popup.count_given = false;
}

void control_object_type() {
    control.type = 1;
    control.text.reset();
    control.bitmap.clear_image();
}

void control_popup_count() {
    control_popup.item_counter = 0;
    control_popup.count_given = true;
}

Text* control_popup_next_item() {
    PopupTriggerData& p = control_popup;
    if (!p.count_given || p.item_counter >= p.item_count) return nullptr;
    if (p.item_counter == 0) p.items.assign(p.item_count, Text{});
    if (p.item_counter >= p.items.size()) return nullptr;
    return &p.items[p.item_counter++];
}

namespace {

void write_popup_items(BinWriter& w) {
    const PopupTriggerData& p = control_popup;
    // A slot without storage is none, and none writes nothing.
    for (size_t i = 0; i < p.item_count && i < p.items.size(); ++i) write_cstring(w, p.items[i]);
}

}  // namespace

void write_control(BinWriter& w) {
    if (control.style > CONTROL_POPUP_TRIGGER) {
        std::fprintf(stderr, "write_control unknown style %i\n", control.style);
        fail_run(1);
    }
    RecordFrame frame = begin_record(w, control.id, control.type);
    next_inner_block(w, frame);
    write_u16(w, related_table_id);
    next_inner_block(w, frame);
    write_bounds(w, control.bounds);
    next_inner_block(w, frame);
    write_u8(w, control.style);
    next_inner_block(w, frame);
    if (control.style != CONTROL_CHECKBOX) write_u8(w, control.subtype);
    next_inner_block(w, frame);
    write_cstring(w, control.text);
    next_inner_block(w, frame);
    write_u8(w, control.alignment);
    next_inner_block(w, frame);
    write_u16(w, control.enable);
    write_u16(w, control.active);
    write_u16(w, control.visible);

    next_inner_block(w, frame);
    switch (control.style) {
        case CONTROL_BUTTON:
            write_u16(w, control_button.radius);
            write_u8(w, control_button.color_on);
            write_u8(w, control_button.color_off);
            break;
        case CONTROL_PUSH_BUTTON:
            write_u8(w, control_pushbutton.color_on);
            write_u8(w, control_pushbutton.color_off);
            write_u16(w, control_pushbutton.group_id);
            write_u16(w, control_pushbutton.value);
            write_u16(w, control_pushbutton.radius);
            break;
        case CONTROL_REPEAT_BUTTON:
            write_bitmap_block(w, control.bitmap);
            break;
        case CONTROL_CHECKBOX:
            write_u16(w, control_checkbox.group_id);
            write_u16(w, control_checkbox.value);
            write_bitmap_block(w, control_checkbox.bitmap1);
            next_inner_block(w, frame);
            write_bitmap_block(w, control_checkbox.bitmap2);
            break;
        default:  // CONTROL_POPUP_TRIGGER
            write_u16(w, control_popup.radius);
            write_u16(w, control_popup.item_count);
            write_u16(w, static_cast<uint16_t>(control_popup.selected_item));
            write_u16(w, control_popup.top_item);
            write_popup_items(w);
            break;
    }
    end_record(w, frame);
}
