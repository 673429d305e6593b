// Run-wide state and exits. Every error ends the process from where it is
// detected, through fail_run; nothing is unwound.
#pragma once

#include <cstdint>
#include <cstdio>

#include "driver/header_file.h"
#include "driver/resource_bin.h"

namespace orrinrc {

// The outputs of the run and the name of the next resource to end.
extern BinWriter resource_bin;
extern HeaderFile resource_h;
extern Text resource_name;

// Writes the total-length placeholder of resource.bin once both outputs are
// open; from here on every exit leaves the outputs as fail_run describes.
void start_outputs();

// The one error exit. Whoever detects an error prints its message and calls
// this with the exit code. It leaves resource.bin with every complete record
// that it could put on disk, no partial one, and the total-length field 0;
// resource.h with the whole lines of exactly those records; then ends the
// process with `code`.
// An output that fails while being saved here is reported with its own
// "can't write" message and is not written again; the other output is still
// saved (cut back to match, when resource.bin lost records). The run then
// ends with the code of the first output failure (3 or 4), since the outputs
// are not what the first message alone would promise; an error exit with
// two failing outputs ends with the code of the one that failed first.
[[noreturn]] void fail_run(int code);

// A failed write of an output: prints "error: can't write <path>: <reason>"
// and leaves through fail_run with `code` (3 for resource.bin, 4 for
// resource.h).
[[noreturn]] void fail_write(int code, const char* path, int err);

// Exit hook for exits that bypass fail_run (the scanner's own fatal errors):
// saves the outputs as fail_run does when the run is still open.
void save_outputs_at_exit();

// The normal end of the run: resource.bin complete with its total length,
// then resource.h. Failures end the run through fail_write.
void finish_outputs();

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

}  // namespace orrinrc
