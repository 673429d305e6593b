// One check of one input, in the calling process: the compiler's scanner and
// record logic run with a Checker as the listener, the outputs written to
// /dev/null. The compiler's records are global run state, so a process
// checks one input and then ends: callers fork a child per input.
#pragma once

#include <cstdio>
#include <string>

#include "check/checker.h"

namespace orrinrc::check {

// Checks `input` (read from its start), naming it `name` in diagnostics,
// which go to `out`. What the compiler's code prints goes to a scratch file.
// Ends the process with the check's exit code; never returns.
[[noreturn]] void check_in_this_process(const std::string& name, FILE* input, const CheckOptions& options, FILE* out);

}  // namespace orrinrc::check
