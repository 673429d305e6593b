// CONTROL definitions: record, style data, statement routines and writer.
#include "resources/control.h"
#include "resources/records.h"

#include "util/error.h"

#include "resources/record_writer.h"

namespace orrinrc {

void control_open(Records& records) {
    ControlRecord& control = records.control;
    PopupTriggerData& control_popup = records.control_popup;
    control.text.reset();
    // Item storage belongs to the definition that created it: a pop-up that
    // gives a count but no items of its own writes no texts of an older one.
    control_popup.items.clear();
    control_popup.count_given = false;
}

void control_object_type(Records& records) {
    ControlRecord& control = records.control;
    control.text.reset();
    control.bitmap.clear_image();
}

void control_popup_count(Records& records) {
    PopupTriggerData& control_popup = records.control_popup;
    control_popup.item_counter = 0;
    control_popup.count_given = true;
}

Text* control_popup_next_item(Records& records) {
    PopupTriggerData& control_popup = records.control_popup;
    PopupTriggerData& p = control_popup;
    if (!p.count_given || p.item_counter >= p.item_count) return nullptr;
    if (p.item_counter == 0) p.items.assign(p.item_count, Text{});
    if (p.item_counter >= p.items.size()) return nullptr;
    return &p.items[p.item_counter++];
}

FieldValue control_field(const Records& records, orrinrc::format::FieldId id, size_t index) {
    const ControlRecord& control = records.control;
    const ButtonData& control_button = records.control_button;
    const PushButtonData& control_pushbutton = records.control_pushbutton;
    const CheckboxData& control_checkbox = records.control_checkbox;
    const PopupTriggerData& control_popup = records.control_popup;
    const uint16_t related_table_id = records.related_table_id;
    using F = orrinrc::format::FieldId;
    switch (id) {
    case F::RelatedTableId: return number_value_of(related_table_id);
    case F::Bounds: return bounds_value_of(control.bounds);
    case F::ControlStyle: return number_value_of(control.style);
    case F::ControlSubtype: return number_value_of(control.subtype);
    case F::ControlText: return text_value_of(control.text);
    case F::ControlAlignment: return number_value_of(control.alignment);
    case F::ControlEnable: return number_value_of(control.enable);
    case F::ControlActive: return number_value_of(control.active);
    case F::ControlVisible: return number_value_of(control.visible);
    case F::ButtonRadius: return number_value_of(control_button.radius);
    case F::ButtonColorOn: return number_value_of(control_button.color_on);
    case F::ButtonColorOff: return number_value_of(control_button.color_off);
    case F::PushColorOn: return number_value_of(control_pushbutton.color_on);
    case F::PushColorOff: return number_value_of(control_pushbutton.color_off);
    case F::PushGroupId: return number_value_of(control_pushbutton.group_id);
    case F::PushValue: return number_value_of(control_pushbutton.value);
    case F::PushRadius: return number_value_of(control_pushbutton.radius);
    case F::RepeatBitmap: return bitmap_value_of(control.bitmap);
    case F::CheckboxGroupId: return number_value_of(control_checkbox.group_id);
    case F::CheckboxValue: return number_value_of(control_checkbox.value);
    case F::CheckboxBitmap1: return bitmap_value_of(control_checkbox.bitmap1);
    case F::CheckboxBitmap2: return bitmap_value_of(control_checkbox.bitmap2);
    case F::PopupRadius: return number_value_of(control_popup.radius);
    case F::PopupCount: return number_value_of(control_popup.item_count);
    case F::PopupSelected: return number_value_of(static_cast<uint16_t>(control_popup.selected_item));
    case F::PopupTop: return number_value_of(control_popup.top_item);
    // A slot without storage is none, and none writes nothing.
    case F::PopupItem:
        return index < control_popup.items.size() ? text_value_of(control_popup.items[index]) : no_text();
    default: return no_such_field();
    }
}

// A check box stores no subtype; the style chooses the blocks after the
// common ones. A style without blocks is refused before anything is written.
void write_control(BinWriter& w, const Records& records) {
    const ControlRecord& control = records.control;
    if (orrinrc::format::control_style_blocks(control.style).empty())
        raise(unknown_control_style_error(control.style));
    write_record<control_field, orrinrc::format::Kind::Control>(w, records, control.id);
}

}  // namespace orrinrc
