// orrinrc: compiles one resource text file into resource.bin and resource.h.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "driver/run.h"
#include "scanner/scanner.h"

using namespace orrinrc;

namespace {

// Buffer of standard output. It is given explicitly: the C library takes a
// size without a buffer as no more than a mode.
constexpr size_t kOutputBuffer = 64 * 1024;
char stdout_buffer[kOutputBuffer];

}  // namespace

int main(int argc, char** argv) {
    // Output files report their failures through the write calls: a file
    // size limit gives EFBIG instead of killing the run half-way, and a
    // standard output that nobody reads any more does not stop the build
    // (the trace is informational; resource.bin and resource.h are not).
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    // The trace has a line per resource: into a file or a pipe it goes in
    // large blocks. A terminal keeps its line buffering.
    if (!isatty(STDOUT_FILENO)) std::setvbuf(stdout, stdout_buffer, _IOFBF, kOutputBuffer);
    std::fputs("Resource Compiler for Orrin version 1.0\n"
               "Copyright (c) 2026 the orrinrc developers\n"
               "Turns a resource text file and its BMP pictures into resource.bin and resource.h\n"
               "\n",
               stdout);
    if (argc != 2) {
        std::printf("Usage:\n%s <resource text file>\ngenerates resource.bin and resource.h\n", argv[0]);
        return 1;
    }
    FILE* input = std::fopen(argv[1], "r");
    if (input == nullptr) {
        std::printf("Can't open file %s\n", argv[1]);
        return 2;
    }
    if (!bin_open(resource_bin, "resource.bin")) {
        std::printf("Can't open output file resource.bin\n");
        return 3;
    }
    if (!header_open(resource_h, "resource.h")) {
        std::printf("Can't open output file resource.h\n");
        return 4;
    }
    // Any exit that does not come through fail_run (the scanner's own fatal
    // errors) still leaves the outputs as an error exit does.
    std::atexit(save_outputs_at_exit);
    start_outputs();

    scan(input);

    std::fclose(input);
    finish_outputs();
    return 0;
}
