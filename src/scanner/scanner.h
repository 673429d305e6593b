// The resource language scanner.
#pragma once

#include "scanner/text_input.h"

namespace orrinrc {

struct Run;

// Scans the whole text, writing each resource as its definition ends.
// Returns at the end of the text; an error is raised with its offset.
void scan(Run& run, const SourceText& source);

}  // namespace orrinrc
