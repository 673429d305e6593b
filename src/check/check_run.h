// One check of one input: the compiler's scanner and record logic run in
// this process with a Checker as the listener, the outputs dropped.
#pragma once

#include <cstdio>
#include <string>

#include "check/checker.h"
#include "run/run.h"
#include "scanner/text_input.h"

namespace orrinrc::check {

// Checks `source` (read from its start), naming it `name` in diagnostics,
// which go to `out`. `run` gives the picture folders, the base folder and a
// cancel flag; its listener is the checker's own. Returns the check's exit
// code: 0, 1 for an error (or a warning with -Werror), 2 when the input
// cannot be read.
int check_source(const std::string& name, const SourceText& source, const CheckOptions& options, RunOptions run,
                 FILE* out);

}  // namespace orrinrc::check
