// One check of one input in this process.
#include "check/check_run.h"

#include "scanner/compile.h"

namespace orrinrc::check {

int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink,
                 const CompileOutputs& outputs, RunResult& result) {
    Checker checker(options, sink);
    run.listener = &checker;
    result = compile(source, run, outputs);
    if (!result.ok()) return result.exit_code == 2 ? 2 : 1;
    return checker.finish();
}

int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink) {
    // The outputs are written as the compiler writes them, to nowhere, so
    // that even the checks made while a record is written (a block too long
    // for its length field) are the compiler's.
    NullTarget bin, header;
    RunResult result;
    return check_source(source, options, std::move(run), sink, CompileOutputs{&bin, &header, Console()}, result);
}

int check_source(const std::string& name, const SourceText& source, const CheckOptions& options, RunOptions run,
                 FILE* out, bool json_file) {
    PrintSink printed(name, options.json, out, json_file);
    const int code = check_source(source, options, std::move(run), printed);
    printed.flush();
    return code;
}

}  // namespace orrinrc::check
