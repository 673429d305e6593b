// One check of one input: the compiler's scanner and record logic run in
// this process with a Checker as the listener, the outputs dropped.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "check/checker.h"
#include "check/sink.h"
#include "run/run.h"
#include "scanner/compile.h"
#include "scanner/text_input.h"

namespace orrinrc::check {

// Checks `source` (read from its start); its diagnostics and definitions go
// to `sink`. `run` gives the picture folders, the base folder and a cancel
// flag; its listener is the checker's own. Returns the check's exit code: 0,
// 1 for an error (or a warning with -Werror), 2 when the input cannot be
// read.
int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink);

// The same check with the outputs of its first run written to `outputs`
// (the compiled image of a text without errors); `result` receives that
// run's result.
int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink,
                 const CompileOutputs& outputs, RunResult& result);

// A warning option of orrinrc-check and orrinrc-lsp, applied to `options`:
// -WNAME reports a warning that is off by default, -Wno-NAME silences one,
// -Werror=NAME makes one an error (and reports it). -Werror itself is the
// caller's. `name` is the warning's name as the option gives it.
struct WarningOption {
    enum Result { NotOne, Taken, UnknownName } result = NotOne;
    std::string_view name;
};
WarningOption warning_option(std::string_view arg, CheckOptions& options);

// The same, printed to `out` as orrinrc-check prints it (text naming the
// input `name`, or JSON lines with options.json, each naming `name` too when
// `json_file` is set).
int check_source(const std::string& name, const SourceText& source, const CheckOptions& options, RunOptions run,
                 FILE* out, bool json_file = false);

}  // namespace orrinrc::check
