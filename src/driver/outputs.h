// Where the compiler puts resource.bin and resource.h. By default they are
// written in place in the current directory, as the language has them. With
// an output folder they are written to temporary files in that folder and
// renamed into place only when the run succeeds, so that a failed run leaves
// the previous outputs as they were and no temporary file behind.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "output/target.h"
#include "util/error.h"

namespace orrinrc {

struct OutputFile {
    std::string final_path;  // where it ends up
    std::string temp_path;   // where it is written; empty: in place
    FileTarget file;
};

struct OutputFiles {
    OutputFile bin;
    OutputFile header;
};

// Opens both outputs (an empty `dir`: in place). On failure prints the
// message of the output that cannot be created to `out` and returns its exit
// code (3 or 4); 0 on success. Messages name the outputs as "resource.bin"
// and "resource.h" whatever the folder.
int open_output_files(OutputFiles& files, const std::string& dir, FILE* out);

// After a run that succeeded: renames the temporary files into place. The
// error of the one that cannot be renamed (the temporary files are then
// removed).
std::optional<Error> commit_output_files(OutputFiles& files);

// After a run that failed: removes the temporary files, if any.
void discard_output_files(OutputFiles& files);

// Writes a Make-syntax dependency file: both outputs (or `target`, when it
// is not empty) depend on the input and on every picture read. The error
// (exit code 3) when it cannot.
std::optional<Error> write_depfile(const std::string& path, const OutputFiles& files, const std::string& target,
                                   const std::string& input, const std::vector<std::string>& pictures);

// A path escaped for a Make or Ninja dependency file.
std::string depfile_escape(const std::string& path);

}  // namespace orrinrc
