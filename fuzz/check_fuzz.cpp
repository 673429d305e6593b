// Fuzz target of orrinrc-check in this process. The input is the compile
// target's (see harness.h): a resource text and the pictures it names. It is
// compiled once (with the checks of check_run), then checked twice, with
// JSON diagnostics and with text diagnostics under -Werror. The checks:
//   - the check's exit code agrees with the compiler: 0 when it succeeds,
//     1 when it stops at an error, 2 when it cannot read the text;
//   - every JSON line parses, and there is at least one error when the
//     compiler stops (the check goes on after it) and none when it does not;
//   - every diagnostic and note points at a line of the text and a column
//     of that line (or at no place), and no line has more than a few;
//   - after a successful run, the resources listed are the records of
//     resource.bin, in order; after a failed one, those records come first
//     (the check lists more: the resource whose end stopped the run, and
//     those it read after resuming);
//   - under -Werror the text check fails exactly when the compiler fails or
//     the JSON check gave a warning.
// A text whose outputs reach the size limit is not checked: the checker
// writes them to nowhere, and a few lines can declare gigabytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "check/check_run.h"
#include "harness.h"

using namespace orrinrc;

namespace {

// A line takes a few diagnostics at most (a form's object line: an unknown
// identifier, or a kind and bounds that do not match); many more mean that
// one mistake is reported over and over, and the output can grow with the
// square of the input.
constexpr size_t kMostPerLine = 8;

struct CheckOutput {
    int code = 0;
    std::string text;
};

CheckOutput run_check(const fuzz::Input& input, const check::CheckOptions& options) {
    char* buffer = nullptr;
    size_t length = 0;
    FILE* out = ::open_memstream(&buffer, &length);
    if (out == nullptr) fuzz::fail("open_memstream failed");
    RunOptions run;
    run.pictures = &input.pictures;
    CheckOutput result;
    result.code = check::check_source("input.rc", SourceText{-1, input.text}, options, run, out);
    std::fclose(out);
    result.text.assign(buffer, length);
    std::free(buffer);
    return result;
}

void check_place(const fuzz::TextPlaces& places, const nlohmann::json& j, const char* line_key,
                 const char* column_key, const std::string& source) {
    const uint64_t line = j.at(line_key).get<uint64_t>();
    const uint64_t column = j.at(column_key).get<uint64_t>();
    if (!places.contains(line, column))
        fuzz::fail("a diagnostic at line " + std::to_string(line) + " column " + std::to_string(column) +
                   ", outside the text of " + std::to_string(places.lines()) + " lines: " + source);
}

void check_line(const fuzz::TextPlaces& places, const nlohmann::json& j, const char* key, const std::string& source) {
    const uint64_t line = j.at(key).get<uint64_t>();
    if (line > places.lines())
        fuzz::fail("a resource at line " + std::to_string(line) + ", outside the text of " +
                   std::to_string(places.lines()) + " lines: " + source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::Input input = fuzz::split_input(data, size);
    const fuzz::Compiled compiled = fuzz::compile_input(input);
    fuzz::check_run(input, compiled);
    if (compiled.hit_limit) return 0;
    const RunResult& r = compiled.result;
    const int expected = r.ok() ? 0 : r.exit_code == 2 ? 2 : 1;

    check::CheckOptions json_options;
    json_options.json = true;
    const CheckOutput json = run_check(input, json_options);
    if (json.code != expected)
        fuzz::fail("the check exits with " + std::to_string(json.code) + " where the compiler exits with " +
                   std::to_string(r.exit_code));

    const fuzz::TextPlaces places(fuzz::scanned_text(input.text));
    size_t errors = 0, warnings = 0;
    std::vector<uint16_t> resources;
    std::map<uint64_t, size_t> per_line;
    size_t start = 0;
    while (start < json.text.size()) {
        size_t end = json.text.find('\n', start);
        if (end == std::string::npos) fuzz::fail("the JSON output ends inside a line");
        const std::string line = json.text.substr(start, end - start);
        start = end + 1;
        nlohmann::json j;
        try {
            j = nlohmann::json::parse(line);
            if (j.contains("definition")) {
                resources.push_back(j.at("id").get<uint16_t>());
                check_line(places, j, "line", line);
                check_line(places, j, "end_line", line);
                check_place(places, j, "name_line", "name_column", line);
                check_place(places, j, "id_line", "id_column", line);
                continue;
            }
            const std::string severity = j.at("severity").get<std::string>();
            if (severity == "error") ++errors;
            else if (severity == "warning") ++warnings;
            else fuzz::fail("a diagnostic of severity " + severity);
            if (j.at("message").get<std::string>().empty()) fuzz::fail("a diagnostic without a message: " + line);
            check_place(places, j, "line", "column", line);
            if (++per_line[j.at("line").get<uint64_t>()] > kMostPerLine)
                fuzz::fail("more than " + std::to_string(kMostPerLine) + " diagnostics at one line: " + line);
            for (const auto& note : j.at("notes")) check_place(places, note, "line", "column", line);
        } catch (const nlohmann::json::exception& e) {
            fuzz::fail(std::string("a JSON line that does not parse or lacks a field (") + e.what() + "): " + line);
        }
    }
    if (r.ok() ? errors != 0 : errors == 0)
        fuzz::fail(std::to_string(errors) + " errors reported where the compiler exits with " +
                   std::to_string(r.exit_code));

    // The resources read against the records written (one resource.h line
    // each, as check_run has seen): after a failure the check lists more.
    const std::vector<uint16_t> records = fuzz::header_ids(compiled.header);
    const bool listed = resources.size() >= records.size() &&
                        std::equal(records.begin(), records.end(), resources.begin()) &&
                        (!r.ok() || resources.size() == records.size());
    if (!listed)
        fuzz::fail("the check lists " + std::to_string(resources.size()) + " resources for the " +
                   std::to_string(records.size()) + " records written, or other identifiers");

    check::CheckOptions werror;
    werror.werror = true;
    const CheckOutput text = run_check(input, werror);
    const int expected_werror = expected != 0 ? expected : warnings > 0 ? 1 : 0;
    if (text.code != expected_werror)
        fuzz::fail("with -Werror the check exits with " + std::to_string(text.code) + " after " +
                   std::to_string(warnings) + " warnings, where the compiler exits with " +
                   std::to_string(r.exit_code));
    if (!text.text.empty() && text.text.back() != '\n') fuzz::fail("the text diagnostics end inside a line");
    return 0;
}
