// orrinrc: compiles one resource text file into resource.bin and resource.h.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "driver/outputs.h"
#include "scanner/compile.h"
#include "util/files.h"
#include "util/process.h"

using namespace orrinrc;

namespace {

// Buffers of standard output and resource.h. They are given explicitly: the
// C library takes a size without a buffer as no more than a mode.
constexpr size_t kOutputBuffer = 64 * 1024;
char stdout_buffer[kOutputBuffer];

constexpr const char* kBanner =
    "Resource Compiler for Orrin version " ORRINRC_VERSION "\n"
    "Copyright (c) 2026 the orrinrc developers\n"
    "Turns a resource text file and its BMP pictures into resource.bin and resource.h\n"
    "\n";

constexpr const char* kOptions =
    "Options:\n"
    "  -o, --output-dir DIR   write resource.bin and resource.h into DIR, replacing them only\n"
    "                         when the run succeeds and their bytes change\n"
    "  -I, --picture-dir DIR  look up a relative picture name that does not exist as written\n"
    "                         in DIR (repeatable, in order)\n"
    "  --depfile FILE         on success, write a Make-syntax dependency file\n"
    "  --depfile-target NAME  the dependency file makes NAME depend on the files read, instead\n"
    "                         of resource.bin and resource.h (for a stamp file)\n"
    "  -q, --quiet            no banner and no trace when the run succeeds\n"
    "  --help                 this text\n"
    "  --version              the version\n";

struct Command {
    std::string input;
    std::string output_dir;
    std::vector<std::string> picture_dirs;
    std::string depfile;
    std::string depfile_target;
    bool quiet = false;
    bool help = false;
    bool version = false;
    // What makes a command line wrong, for the message after the usage:
    // an option without its value, or (with more than one input) the first
    // input that looks like an option.
    std::string problem;
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
            if (i + 1 >= argc) {
                c.problem = "option " + arg + " needs a value";
                return false;
            }
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
        } else if (arg == "--depfile-target") {
            if (!value(c.depfile_target)) return false;
        } else if (arg == "-q" || arg == "--quiet") {
            c.quiet = true;
        } else if (arg == "--help") {
            c.help = true;
        } else if (arg == "--version") {
            c.version = true;
        } else {
            if (arg.size() > 1 && arg[0] == '-' && c.problem.empty())
                c.problem = "unknown option " + arg + " (write -- before an input whose name starts with -)";
            c.input = arg;
            ++inputs;
        }
    }
    if (inputs == 1) c.problem.clear();
    return c.help || c.version || inputs == 1;
}

// Prints what a run's errors print, in order.
void print_errors(const RunResult& result, FILE* out) {
    auto print = [&](const Error& e) {
        if (!e.note.empty()) std::fwrite(e.note.data(), 1, e.note.size(), stderr);
        std::fwrite(e.message.data(), 1, e.message.size(), e.stream == Stream::Err ? stderr : out);
    };
    if (result.error) print(*result.error);
    for (const Error& e : result.output_failures) print(e);
}

// With --quiet, standard output goes to a scratch file: thrown away when the
// run succeeds, copied out when it ends in an error.
void release_quiet_output(FILE* scratch) {
    std::fflush(scratch);
    std::rewind(scratch);
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, scratch)) > 0;) std::fwrite(buf, 1, n, stdout);
}

// Compiles the input; returns the exit code. Everything for standard output
// goes to `out`.
int compile_command(const Command& command, FILE* out) {
    const int input = files::open_read(command.input.c_str());
    if (input < 0) {
        std::fprintf(out, "Can't open file %s\n", command.input.c_str());
        return 2;
    }
    OutputFiles files;
    if (const int code = open_output_files(files, command.output_dir, out)) {
        files::close(input);
        return code;
    }
    RunOptions options;
    options.picture_dirs = command.picture_dirs;
    const RunResult result =
        compile(SourceText{input, {}}, options, CompileOutputs{&files.bin.file, &files.header.file, Console(out)});
    files::close(input);
    if (!result.ok()) {
        print_errors(result, out);
        discard_output_files(files);
        return result.exit_code;
    }
    std::optional<Error> failure = commit_output_files(files);
    if (!failure && !command.depfile.empty())
        failure = write_depfile(command.depfile, files, command.depfile_target, command.input, result.pictures_read);
    if (failure) {
        std::fwrite(failure->message.data(), 1, failure->message.size(), out);
        return failure->exit_code;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Output files report their failures through the write calls: a file
    // size limit gives EFBIG instead of killing the run half-way, and a
    // standard output that nobody reads any more does not stop the build
    // (the trace is informational; resource.bin and resource.h are not).
    process::ignore_file_size_limit();
    process::ignore_broken_pipe();
    // The trace and the messages are the same bytes on every system.
    process::binary_standard_streams();
    argv[0] = process::program_name(argv[0]);
    Command command;
    const bool understood = parse(argc, argv, command);
    // The trace has a line per resource: into a file or a pipe it goes in
    // large blocks. A terminal keeps its line buffering.
    if (!process::is_terminal(stdout)) std::setvbuf(stdout, stdout_buffer, _IOFBF, kOutputBuffer);
    FILE* scratch = nullptr;
    if (understood && command.quiet && !command.help && !command.version) scratch = std::tmpfile();
    FILE* out = scratch != nullptr ? scratch : stdout;
    std::fputs(kBanner, out);
    if (!understood) {
        std::printf("Usage:\n%s <resource text file>\ngenerates resource.bin and resource.h\n", argv[0]);
        if (!command.problem.empty()) {
            std::fflush(stdout);
            std::fprintf(stderr, "orrinrc: %s\n", command.problem.c_str());
        }
        return 1;
    }
    if (command.version) return 0;
    if (command.help) {
        std::printf("Usage:\n%s [options] <resource text file>\ngenerates resource.bin and resource.h\n\n%s", argv[0],
                    kOptions);
        return 0;
    }
    const int code = compile_command(command, out);
    // With --quiet, the banner and the trace show only when the run fails.
    if (scratch != nullptr && code != 0) release_quiet_output(scratch);
    return code;
}
