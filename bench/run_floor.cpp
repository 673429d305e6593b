// The floor under orrinrc-check's CPU time: one run of a resource text with
// both outputs going nowhere, and with --listener a listener that ignores
// every event. bench/bench.sh times it next to the compile and the check:
// whatever a checker that follows the scanner does, it costs at least the
// run with the empty listener.
//
//   orrinrc-bench-floor [--listener] FILE
//
// Prints nothing; the exit code is the compiler's.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "run/listener.h"
#include "scanner/compile.h"

using namespace orrinrc;

int main(int argc, char** argv) {
    const bool listen = argc == 3 && std::strcmp(argv[1], "--listener") == 0;
    if (argc != 2 && !listen) {
        std::fputs("usage: orrinrc-bench-floor [--listener] FILE\n", stderr);
        return 2;
    }
    const int fd = open(argv[argc - 1], O_RDONLY);
    if (fd < 0) {
        std::perror(argv[argc - 1]);
        return 2;
    }
    RunListener listener;  // ignores every event
    RunOptions options;
    if (listen) options.listener = &listener;
    NullTarget bin, header;
    const RunResult result = compile(SourceText{fd, {}}, options, CompileOutputs{&bin, &header, Console()});
    close(fd);
    return result.exit_code;
}
