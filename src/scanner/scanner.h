// The resource language scanner.
#pragma once

#include <cstdio>

namespace orrinrc {

// Scans the whole input, writing each resource as its definition ends.
// Returns at the end of the input; errors end the process.
void scan(FILE* input);

}  // namespace orrinrc
