// One check of one input in this process.
#include "check/check_run.h"

#include "scanner/compile.h"

namespace orrinrc::check {

int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink) {
    Checker checker(options, sink);
    run.listener = &checker;
    // The outputs are written as the compiler writes them, to nowhere, so
    // that even the checks made while a record is written (a block too long
    // for its length field) are the compiler's.
    NullTarget bin, header;
    const RunResult result = compile(source, run, CompileOutputs{&bin, &header, Console()});
    if (!result.ok()) return result.exit_code == 2 ? 2 : 1;
    return checker.finish();
}

WarningOption warning_option(std::string_view arg, CheckOptions& options) {
    if (arg.substr(0, 2) != "-W" || arg == "-Werror") return {};
    std::string_view name = arg.substr(2);
    bool on = true, promote = false;
    if (name.substr(0, 3) == "no-") {
        name.remove_prefix(3);
        on = false;
    } else if (name.substr(0, 6) == "error=") {
        name.remove_prefix(6);
        promote = true;
    }
    const Warning w = warning_named(name);
    if (w == Warning::Count_) return {WarningOption::UnknownName, name};
    options.disabled[static_cast<size_t>(w)] = !on;
    if (promote) options.promoted[static_cast<size_t>(w)] = true;
    return {WarningOption::Taken, name};
}

int check_source(const std::string& name, const SourceText& source, const CheckOptions& options, RunOptions run,
                 FILE* out, bool json_file) {
    PrintSink printed(name, options.json, out, json_file);
    const int code = check_source(source, options, std::move(run), printed);
    printed.flush();
    return code;
}

}  // namespace orrinrc::check
