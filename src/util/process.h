// What a program sets up about its process and standard streams, where
// systems differ. process_posix.cpp and process_windows.cpp implement this;
// the build takes the one for its target.
#pragma once

#include <cstdio>

namespace orrinrc::process {

// Standard input, output and error carry bytes as they are: no line end is
// translated on the way (a no-op where streams never translate).
void binary_standard_streams();
// A reader that went away makes writes fail instead of ending the process.
void ignore_broken_pipe();
// A file size limit makes writes fail instead of ending the process.
void ignore_file_size_limit();
bool is_terminal(FILE* stream);
// Whether bytes can be read from `fd` now without waiting.
bool input_waiting(int fd);
// The program's name as its usage text shows it, from argv[0] (which it may
// shorten in place). Windows hands a program the whole path of its file:
// there the name is the file's, without its folder and ".exe", as a command
// prompt user types it.
char* program_name(char* argv0);
// A number that tells this process from the others running now, for names
// of temporary files.
unsigned long id();

}  // namespace orrinrc::process
