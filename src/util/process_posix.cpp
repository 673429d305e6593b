// Process set-up on POSIX systems.
#include "util/process.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace orrinrc::process {

void binary_standard_streams() {}

void ignore_broken_pipe() { ::signal(SIGPIPE, SIG_IGN); }

void ignore_file_size_limit() { ::signal(SIGXFSZ, SIG_IGN); }

bool is_terminal(FILE* stream) { return ::isatty(fileno(stream)) != 0; }

bool input_waiting(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
}

char* program_name(char* argv0) { return argv0; }

unsigned long id() { return static_cast<unsigned long>(::getpid()); }

}  // namespace orrinrc::process
