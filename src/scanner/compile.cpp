// The run from start to end, and the one place where its errors arrive.
#include "scanner/compile.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "scanner/scanner.h"
#include "util/files.h"

namespace orrinrc {

namespace {

// The run's state lives here and goes when the run ends; only the result
// leaves.
RunResult run_to_end(Run& run, const SourceText& source, const CompileOutputs& outputs) {
    RunResult result;
    bin_open(run.resource_bin, outputs.bin, "resource.bin");
    header_open(run.resource_h, outputs.header, "resource.h");
    try {
        start_outputs(run);
        scan(run, source);
        finish_outputs(run);
    } catch (Error& e) {
        // A write that failed sets the exit code, even when the saving
        // below fails too: the outputs are not what a plain error promises.
        int output_failure = e.kind == ErrorKind::OutputWrite ? e.exit_code : 0;
        if (e.located) {
            const uint64_t offset = e.at.offset;
            e.at = locate(source, offset);
        }
        if (RunListener* listener = listener_now(run)) listener->failed(e);
        result.output_failures = save_after_error(run);
        if (output_failure == 0 && !result.output_failures.empty())
            output_failure = result.output_failures.front().exit_code;
        result.exit_code = output_failure != 0 ? output_failure : e.exit_code;
        result.error = std::move(e);
    }
    result.pictures_read = std::move(run.files_read);
    return result;
}

}  // namespace

RunResult compile(const SourceText& source, const RunOptions& options, const CompileOutputs& outputs) {
    Run run(options, outputs.console);
    return run_to_end(run, source, outputs);
}

MemoryRun compile_in_memory(std::string_view text, const RunOptions& options) {
    MemoryRun m;
    MemoryTarget bin, header;
    m.result = compile(SourceText{-1, text}, options, CompileOutputs{&bin, &header, Console(&m.trace)});
    m.bin = bin.bytes();
    m.header = header.bytes();
    return m;
}

Location locate(const SourceText& source, uint64_t offset) {
    Location at{1, 1, offset};
    if (source.fd >= 0 && !files::rewind(source.fd)) return Location{0, 0, offset};
    TextInput in;
    text_input_open(in, source);
    char buf[TextInput::kReadSize];
    uint64_t done = 0;
    while (done < offset) {
        const long n = text_input_read(in, buf, static_cast<size_t>(std::min<uint64_t>(sizeof buf, offset - done)));
        if (n <= 0) break;
        for (long i = 0; i < n; ++i) {
            if (buf[i] == '\n') {
                ++at.line;
                at.column = 1;
            } else {
                ++at.column;
            }
        }
        done += static_cast<uint64_t>(n);
    }
    return at;
}

}  // namespace orrinrc
