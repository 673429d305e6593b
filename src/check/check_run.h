// One check of one input: the compiler's scanner and record logic run in
// this process with a Checker as the listener, the outputs dropped.
#pragma once

#include <cstdio>
#include <string>

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

// The same check with the run's outputs written to `outputs` (the compiled
// image and the findings from one run); `result` receives the run's result.
int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink,
                 const CompileOutputs& outputs, RunResult& result);

// The same, printed to `out` as orrinrc-check prints it (text naming the
// input `name`, or JSON lines with options.json, each naming `name` too when
// `json_file` is set).
int check_source(const std::string& name, const SourceText& source, const CheckOptions& options, RunOptions run,
                 FILE* out, bool json_file = false);

}  // namespace orrinrc::check
