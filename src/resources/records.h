// The records of one run: one per resource kind, filled by the statements of
// its definitions and carried over from one definition of the kind to the
// next, plus the two values that several kinds share.
#pragma once

#include <cstdint>

#include "resources/bitmap_object.h"
#include "resources/control.h"
#include "resources/field.h"
#include "resources/form.h"
#include "resources/line.h"
#include "resources/list.h"
#include "resources/menu.h"
#include "resources/schline.h"
#include "resources/scrollbar.h"
#include "resources/string_object.h"
#include "resources/table.h"
#include "resources/textbox.h"

namespace orrinrc {

struct Records {
    FormRecord form;
    ControlRecord control;
    ButtonData control_button;
    PushButtonData control_pushbutton;
    CheckboxData control_checkbox;
    PopupTriggerData control_popup;
    FieldRecord field;
    ListRecord list;
    MenuRecord menu;
    ScrollBarRecord scrollbar;
    TableRecord table;
    SchlineRecord schline;
    StringRecord string_object;
    BitmapObjectRecord bitmap_object;
    TextBoxRecord textbox;
    LineRecord line;

    // Bitmap counter shared by the bitmap readers, the check-box block of
    // controls and BITMAP objects: every FILE= line adds one.
    int bitmapnum = 0;
    // RELATED_TABLE_ID=, one value for every kind that has the statement;
    // never reset.
    uint16_t related_table_id = 0;
};

}  // namespace orrinrc
