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

// Draws one form. `records` is every record of the image, in which the
// form's objects are looked up by identifier (and kind).
Canvas render_form(const Record& form, const std::vector<Record>& records);

}  // namespace orrinrc::dump
