// The readable listing of a resource.bin image.
#pragma once

#include <cstdio>
#include <string>

#include "dump/records.h"

namespace orrinrc::dump {

// A text quoted for display: control bytes, the quote and the backslash as
// escapes (\n, \r, \t, \", \\, \xHH); other bytes as they are.
std::string quote_text(const std::string& text);

// Prints one record: its offset, identifier, name (empty when unknown),
// kind, and every field under its statement's keyword.
void print_record(FILE* out, const Record& rec, const std::string& name);

}  // namespace orrinrc::dump
