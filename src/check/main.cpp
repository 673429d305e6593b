// orrinrc-check: runs the compiler's own scanner and record logic over
// resource text files and reports, the way compilers do, where each mistake
// is and which accepted lines probably do not mean what they say. Writes no
// resource.bin or resource.h.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/checker.h"
#include "check/warnings.h"
#include "util/files.h"
#include "util/process.h"

using namespace orrinrc;
using namespace orrinrc::check;

namespace {

int usage(FILE* to, const char* argv0) {
    std::fprintf(to,
                 "usage: %s [options] FILE...\n"
                 "Checks resource text files: errors as the compiler finds them, with their line and column,\n"
                 "and warnings for lines that are accepted but probably do not mean what they say.\n"
                 "  -I DIR         look up a relative picture name that does not exist as written in DIR\n"
                 "                 (repeatable, in order), as the compiler does\n"
                 "  -Wno-NAME      do not report the warning NAME\n"
                 "  -WNAME         report the warning NAME, also one that is off by default\n"
                 "  -Werror        warnings are errors (exit code 1)\n"
                 "  -Werror=NAME   the warning NAME is an error\n"
                 "  -q, --quiet    report errors only\n"
                 "  --json         one JSON object per line on standard error: each diagnostic (severity,\n"
                 "                 line, column, message, warning name, notes) and each resource read\n"
                 "                 (definition kind, id, name and the lines of its definition)\n"
                 "                 (with several files, each object names its \"file\" first)\n"
                 "  --warnings     list the warnings\n"
                 "  -h, --help     this text\n"
                 "  --version      the version\n"
                 "Exit code: 0 no error, 1 an error (or a warning with -Werror), 2 an input cannot be read.\n",
                 argv0);
    return to == stdout ? 0 : 1;
}

// A command line that is wrong: what is wrong, then the usage.
int wrong(const char* argv0, const char* what, const std::string& arg) {
    std::fprintf(stderr, "orrinrc-check: %s %s\n", what, arg.c_str());
    return usage(stderr, argv0);
}

// Checks one file; returns its exit code.
int check_file(const std::string& file, const CheckOptions& options, const RunOptions& run, bool json_file) {
    const int input = files::open_read(file.c_str());
    if (input < 0 || files::status(input).kind == files::Kind::Folder) {
        const char* why = input < 0 ? std::strerror(errno) : "it is a folder";
        if (input >= 0) files::close(input);
        if (options.json) {
            Diagnostic d;
            d.message = std::string("cannot read the file: ") + why;
            const std::string object = render_json(d);
            std::fprintf(stderr, "%s\n", (json_file ? json_with_file(object, file) : object).c_str());
        } else {
            std::fprintf(stderr, "%s: error: cannot read the file: %s\n", file.c_str(), why);
        }
        return 2;
    }
    const int code = check_source(file, SourceText{input, {}}, options, run, stderr, json_file);
    files::close(input);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    // The diagnostics are the same bytes on every system.
    process::binary_standard_streams();
    argv[0] = process::program_name(argv[0]);
    CheckOptions options;
    std::vector<std::string> files;
    std::vector<std::string> picture_dirs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") return usage(stdout, argv[0]);
        if (arg == "--version") {
            std::printf("orrinrc-check %s\n", ORRINRC_VERSION);
            return 0;
        }
        if (arg == "--warnings") {
            for (const WarningInfo& w : all_warnings()) std::printf("  -W%-20s %s\n", w.name, w.description);
            return 0;
        }
        if (arg == "-I" || arg == "--picture-dir") {
            if (i + 1 >= argc) return wrong(argv[0], "a folder must follow", arg);
            picture_dirs.push_back(argv[++i]);
        } else if (arg == "-Werror") {
            options.werror = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "-q" || arg == "--quiet") {
            options.quiet = true;
        } else if (const WarningOption w = warning_option(arg, options); w.result != WarningOption::NotOne) {
            if (w.result == WarningOption::UnknownName) {
                std::fprintf(stderr, "orrinrc-check: no warning is named %.*s (see --warnings)\n",
                             static_cast<int>(w.name.size()), w.name.data());
                return 1;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return wrong(argv[0], "unknown option", arg);
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "orrinrc-check: no file to check\n");
        return usage(stderr, argv[0]);
    }
    RunOptions run;
    run.picture_dirs = picture_dirs;
    // Each file is checked by a run of its own: the compiler's records carry
    // over from one definition to the next, and start from zero for every
    // file, as they do in a run of the compiler.
    int worst = 0;
    for (const std::string& file : files)
        worst = std::max(worst, check_file(file, options, run, options.json && files.size() > 1));
    return worst;
}
