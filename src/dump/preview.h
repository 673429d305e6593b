// Previews of forms: each FORM record drawn with the objects it lists, as a
// layout sketch in the device's grey levels (the device's own drawing is not
// known here; this shows where things are and what they hold).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dump/canvas.h"
#include "dump/records.h"

namespace orrinrc::dump {

// An object a form lists, in the order of its list: its identifier, its
// record when the image holds one of the listed kind (else null), and that
// record's bounds (in the form's coordinates, as drawn).
struct FormObject {
    uint32_t id = 0;
    const Record* record = nullptr;
    StoredBounds b;
};

// The objects `form` lists, looked up in `records` as render_form does; the
// pointers point into `records`.
std::vector<FormObject> form_objects(const Record& form, const std::vector<Record>& records);

// Draws one form. `records` is every record of the image, in which the
// form's objects are looked up by identifier (and kind).
Canvas render_form(const Record& form, const std::vector<Record>& records);

}  // namespace orrinrc::dump
