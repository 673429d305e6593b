// One check of one input in this process.
#include "check/check_run.h"

#include <unistd.h>

#include <cstdlib>

#include "driver/run.h"
#include "scanner/scanner.h"

namespace orrinrc::check {

namespace {

Checker* active_checker = nullptr;

void report_at_exit() {
    if (active_checker) active_checker->exiting();
}

}  // namespace

void check_in_this_process(const std::string& name, FILE* input, const CheckOptions& options, FILE* out) {
    // What the compiler's code prints (the trace, its own messages) goes to a
    // scratch file, read back for an error that the checker has no words of
    // its own for.
    FILE* captured = std::tmpfile();
    if (captured == nullptr) {
        std::perror("orrinrc-check");
        std::_Exit(2);
    }
    std::fflush(stdout);
    dup2(fileno(captured), STDOUT_FILENO);
    dup2(fileno(captured), STDERR_FILENO);

    static Checker checker(name, options, out, captured);
    active_checker = &checker;
    run_listener = &checker;
    std::atexit(report_at_exit);
    // The outputs are written as the compiler writes them, to nowhere.
    if (!bin_open(resource_bin, "/dev/null") || !header_open(resource_h, "/dev/null")) {
        std::fprintf(out, "orrinrc-check: cannot open /dev/null\n");
        std::_Exit(2);
    }
    start_outputs();
    scan(input);
    std::fclose(input);
    finish_outputs();
    const int code = checker.finish();
    std::fflush(out);
    std::_Exit(code);
}

}  // namespace orrinrc::check
