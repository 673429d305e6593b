// A statement as a line writes it ("(1) Form_Style =") in the form that
// messages quote it ("FORM_STYLE=").
#pragma once

#include <string>
#include <string_view>

namespace orrinrc::check {

// A statement as the scanner takes it: without its line prefix, blanks and
// line end, in capitals. Written to `out`; the view is of `out`.
std::string_view normal_statement(std::string_view spelling, std::string& out);

}  // namespace orrinrc::check
