// The resource.h stream: whole "#define" lines, buffered and written with
// plain writes so that the run always knows which lines reached the file.
#pragma once

#include <cstdint>
#include <string>

#include "output/target.h"

namespace orrinrc {

// Lines are appended whole to `buf`, whose first byte sits at file offset
// `base`; the buffer therefore always starts at the beginning of a line.
// Every byte before `base` has reached the file, also after a write that
// failed half-way; `whole` is then the length of the whole lines among them.
struct HeaderFile {
    OutputTarget* out = nullptr;  // none: closed
    std::string path;
    std::string buf;
    uint64_t base = 0;
    uint64_t whole = 0;
    bool failed = false;  // a write failed: nothing more is written to the file

    uint64_t pos() const { return base + buf.size(); }
};

// Starts writing to `out`; `path` names the output in messages.
void header_open(HeaderFile& h, OutputTarget* out, const char* path);

// These return 0 or the errno of a failure (and set `failed`); a file that
// has failed before is not written to and reports nothing more.
//
// Writes the buffered lines up to file offset `end`, a line end.
int header_flush(HeaderFile& h, uint64_t end);
// Puts the lines before `end` on disk, cuts the file back to `end` (or to
// its last whole line after a failure, whichever is shorter), drops the rest
// of the buffer and closes.
int header_close_at(HeaderFile& h, uint64_t end);

}  // namespace orrinrc
