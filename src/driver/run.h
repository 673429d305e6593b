// Run-wide state and exits. Every error ends the process from where it is
// detected; nothing is unwound.
#pragma once

#include <cstdint>
#include <cstdio>

#include "driver/resource_bin.h"

// The outputs of the run and the name of the next resource to end.
extern BinWriter resource_bin;
extern FILE* resource_h;
extern Text resource_name;

// Ends the run with `code` after an error: the complete records written so
// far stay in resource.bin (its total-length field stays 0) and the lines of
// resource.h and standard output written so far are flushed.
[[noreturn]] void fail_run(int code);

// Leaves the outputs as an error exit must: complete records on disk, the
// total-length field 0, resource.h closed.
void abandon_outputs();

// Closes resource.h; a failure to write it ends the run with exit code 4.
void close_resource_h();

// Appends "#define <name> <id>" to resource.h and releases the name.
void write_define(uint16_t id);

// Parse trace: the kind's keyword when a definition opens, the identifier at
// its OBJECT.TYPE= line ("ID=" always starts in column 11), the length of
// resource.bin when it ends.
void trace_open(const char* keyword);
void trace_id(const char* keyword, uint16_t id);
void trace_end();

// The end statement of every kind: checks that the resource has a name, runs
// the kind's writer, commits the record, writes the #define line and the end
// of the trace line.
void end_definition(uint16_t id, void (*writer)(BinWriter&));
