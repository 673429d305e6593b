// Where resource.bin and resource.h go. By default they are written in
// place in the current directory, as the language has them. With an output
// folder they are written to temporary files in that folder and renamed
// into place only when the run succeeds, so that a failed run leaves the
// previous outputs as they were and no temporary file behind.
#pragma once

#include <string>
#include <vector>

namespace orrinrc {

// Opens both outputs (an empty `dir`: in place). On failure prints the
// message of the output that cannot be created and returns its exit code
// (3 or 4); 0 on success. Messages name the outputs as "resource.bin" and
// "resource.h" whatever the folder.
int open_output_files(const std::string& dir);

// After finish_outputs: renames the temporary files into place.
void commit_output_files();

// The error exit: removes the temporary files, if any.
void discard_output_files();

// The paths of the two outputs as the user names them (for a depfile).
std::vector<std::string> output_paths();

// Writes a Make-syntax dependency file: both outputs depend on the input
// and on every picture read; exit code 3 when it cannot be written.
void write_depfile(const std::string& path, const std::string& input, const std::vector<std::string>& pictures);

// A path escaped for a Make or Ninja dependency file.
std::string depfile_escape(const std::string& path);

}  // namespace orrinrc
