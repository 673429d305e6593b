// orrinrc: compiles one resource text file into resource.bin and resource.h.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "bitmap/bmp_import.h"
#include "driver/outputs.h"
#include "driver/run.h"
#include "scanner/scanner.h"

using namespace orrinrc;

namespace {

// Buffers of standard output and resource.h. They are given explicitly: the
// C library takes a size without a buffer as no more than a mode.
constexpr size_t kOutputBuffer = 64 * 1024;
char stdout_buffer[kOutputBuffer];

constexpr const char* kBanner =
    "Resource Compiler for Orrin version 1.0\n"
    "Copyright (c) 2026 the orrinrc developers\n"
    "Turns a resource text file and its BMP pictures into resource.bin and resource.h\n"
    "\n";

constexpr const char* kOptions =
    "Options:\n"
    "  -o, --output-dir DIR   write resource.bin and resource.h into DIR, replacing them only\n"
    "                         when the run succeeds\n"
    "  -I, --picture-dir DIR  look up a relative picture name that does not exist as written\n"
    "                         in DIR (repeatable, in order)\n"
    "  --depfile FILE         on success, write a Make-syntax dependency file\n"
    "  -q, --quiet            no banner and no trace when the run succeeds\n"
    "  --help                 this text\n"
    "  --version              the version\n";

struct Command {
    std::string input;
    std::string output_dir;
    std::vector<std::string> picture_dirs;
    std::string depfile;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Reads the command line; false when it is not the options above plus
// exactly one input. An argument that is no option is the input, whatever
// it starts with, so that `orrinrc FILE` stays what it always was.
bool parse(int argc, char** argv, Command& c) {
    int inputs = 0;
    bool options_done = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& to) {
            if (i + 1 >= argc) return false;
            to = argv[++i];
            return true;
        };
        std::string dir;
        if (options_done) {
            c.input = arg;
            ++inputs;
        } else if (arg == "--") {
            options_done = true;
        } else if (arg == "-o" || arg == "--output-dir") {
            if (!value(c.output_dir)) return false;
        } else if (arg == "-I" || arg == "--picture-dir") {
            if (!value(dir)) return false;
            c.picture_dirs.push_back(dir);
        } else if (arg == "--depfile") {
            if (!value(c.depfile)) return false;
        } else if (arg == "-q" || arg == "--quiet") {
            c.quiet = true;
        } else if (arg == "--help") {
            c.help = true;
        } else if (arg == "--version") {
            c.version = true;
        } else {
            c.input = arg;
            ++inputs;
        }
    }
    return c.help || c.version || inputs == 1;
}

// With --quiet, standard output goes to a scratch file: thrown away when the
// run succeeds, copied out when it ends in an error.
int quiet_stdout = -1;

void release_quiet_output() {
    if (quiet_stdout < 0) return;
    std::fflush(stdout);
    const off_t end = lseek(STDOUT_FILENO, 0, SEEK_CUR);
    char buf[65536];
    for (off_t at = 0; at < end;) {
        const ssize_t n = pread(STDOUT_FILENO, buf, sizeof buf, at);
        if (n <= 0) break;
        if (write(quiet_stdout, buf, static_cast<size_t>(n)) != n) break;
        at += n;
    }
}

void start_quiet() {
    FILE* scratch = std::tmpfile();
    if (scratch == nullptr) return;  // the trace then simply shows
    std::fflush(stdout);
    quiet_stdout = dup(STDOUT_FILENO);
    dup2(fileno(scratch), STDOUT_FILENO);
    std::atexit(release_quiet_output);
}

}  // namespace

int main(int argc, char** argv) {
    // Output files report their failures through the write calls: a file
    // size limit gives EFBIG instead of killing the run half-way, and a
    // standard output that nobody reads any more does not stop the build
    // (the trace is informational; resource.bin and resource.h are not).
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    Command command;
    const bool understood = parse(argc, argv, command);
    if (understood && command.quiet && !command.help && !command.version) start_quiet();
    // The trace has a line per resource: into a file or a pipe it goes in
    // large blocks. A terminal keeps its line buffering.
    if (!isatty(STDOUT_FILENO)) std::setvbuf(stdout, stdout_buffer, _IOFBF, kOutputBuffer);
    std::fputs(kBanner, stdout);
    if (!understood) {
        std::printf("Usage:\n%s <resource text file>\ngenerates resource.bin and resource.h\n", argv[0]);
        return 1;
    }
    if (command.version) return 0;
    if (command.help) {
        std::printf("Usage:\n%s [options] <resource text file>\ngenerates resource.bin and resource.h\n\n%s", argv[0],
                    kOptions);
        return 0;
    }
    FILE* input = std::fopen(command.input.c_str(), "r");
    if (input == nullptr) {
        std::printf("Can't open file %s\n", command.input.c_str());
        return 2;
    }
    if (const int code = open_output_files(command.output_dir)) return code;
    set_picture_dirs(command.picture_dirs);
    // Any exit that does not come through fail_run (the scanner's own fatal
    // errors) still leaves the outputs as an error exit does.
    std::atexit(save_outputs_at_exit);
    start_outputs();

    scan(input);

    std::fclose(input);
    finish_outputs();
    commit_output_files();
    if (!command.depfile.empty()) write_depfile(command.depfile, command.input, pictures_read());
    if (quiet_stdout >= 0) {
        // Success: the banner and the trace are dropped.
        std::fflush(stdout);
        dup2(quiet_stdout, STDOUT_FILENO);
        quiet_stdout = -1;
    }
    return 0;
}
