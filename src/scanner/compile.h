// The one entry point of the compiler library: compiles a resource text (a
// file, or bytes in memory) with options and a listener into two outputs
// (files, buffers in memory, or nowhere). The compiler, the checker, the
// editor server, the tests and the fuzzers all run the language through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/target.h"
#include "run/run.h"
#include "scanner/text_input.h"
#include "util/error.h"

namespace orrinrc {

struct CompileOutputs {
    OutputTarget* bin = nullptr;     // resource.bin
    OutputTarget* header = nullptr;  // resource.h
    Console console;                 // the trace and text that no statement takes
};

struct RunResult {
    // 0, or the exit code the compiler ends with.
    int exit_code = 0;
    // The error that stopped the run, with its place in the text.
    std::optional<Error> error;
    // Outputs that failed while they were saved after that error, in order.
    std::vector<Error> output_failures;
    // The files that pictures were read from, each once, in order of first use.
    std::vector<std::string> pictures_read;

    bool ok() const { return exit_code == 0; }
};

// Runs the whole text through the scanner. The outputs stay open for
// writing until the run ends; on an error they keep what save_after_error
// says. Nothing is printed: the trace goes to outputs.console, and the
// caller prints the error texts of the result.
RunResult compile(const SourceText& source, const RunOptions& options, const CompileOutputs& outputs);

// A run with every output in memory.
struct MemoryRun {
    RunResult result;
    std::string bin;
    std::string header;
    std::string trace;
};
MemoryRun compile_in_memory(std::string_view text, const RunOptions& options = {});

// The line and column of an offset in the text (as the scanner reads it).
Location locate(const SourceText& source, uint64_t offset);

}  // namespace orrinrc
