// orrinrc-lsp: a language server for resource text files over standard
// input and output. Diagnostics come from orrinrc-check's own checks;
// completion, hover and definitions from the compiler's scanner run up to
// the place asked about.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "check/check_run.h"
#include "check/warnings.h"
#include "lsp/server.h"
#include "util/files.h"
#include "util/process.h"

using namespace orrinrc;

namespace {

int usage(FILE* to, const char* argv0) {
    std::fprintf(to,
                 "usage: %s [options]\n"
                 "A language server for resource text files: speaks the Language Server Protocol over standard\n"
                 "input and output, for an editor to start.\n"
                 "  -I DIR         look up a relative picture name that does not exist as written in DIR\n"
                 "                 (repeatable, in order), as the compiler does; relative to the folder the\n"
                 "                 server starts in\n"
                 "  -Wno-NAME      do not report the warning NAME (orrinrc-check --warnings lists them)\n"
                 "  -WNAME         report the warning NAME, also one that is off by default\n"
                 "  --stdio        accepted for editors that pass it; standard input and output are\n"
                 "                 always used\n"
                 "  -h, --help     this text\n"
                 "  --version      the version\n",
                 argv0);
    return to == stdout ? 0 : 1;
}

// A command line that is wrong: what is wrong, then the usage.
int wrong(const char* argv0, const std::string& what) {
    std::fprintf(stderr, "orrinrc-lsp: %s\n", what.c_str());
    return usage(stderr, argv0);
}

}  // namespace

int main(int argc, char** argv) {
    // The framing counts bytes: no line end may be translated on the way.
    process::binary_standard_streams();
    argv[0] = process::program_name(argv[0]);
    lsp::ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") return usage(stdout, argv[0]);
        if (arg == "--version") {
            std::printf("orrinrc-lsp %s\n", ORRINRC_VERSION);
            return 0;
        }
        if (arg == "-I" || arg == "--picture-dir") {
            if (i + 1 >= argc) return wrong(argv[0], "a folder must follow " + arg);
            // Documents are checked in their own folder: keep the folder
            // named here, not one of the same name there.
            options.picture_dirs.push_back(files::anchored(argv[++i]));
        } else if (const check::WarningOption w = check::warning_option(arg, options.check);
                   w.result != check::WarningOption::NotOne) {
            if (w.result == check::WarningOption::UnknownName) {
                std::fprintf(stderr, "orrinrc-lsp: no warning is named %.*s (see orrinrc-check --warnings)\n",
                             static_cast<int>(w.name.size()), w.name.data());
                return 1;
            }
        } else if (arg == "--stdio") {
            // What editors pass to say how to talk; standard input and output is the only way.
        } else {
            return wrong(argv[0], "unknown option " + arg);
        }
    }
    // An editor that goes away is a write error, not a signal.
    process::ignore_broken_pipe();
    lsp::Transport transport(fileno(stdin), fileno(stdout));
    lsp::Server server(transport, options);
    return server.run();
}
