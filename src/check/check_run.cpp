// One check of one input in this process.
#include "check/check_run.h"

#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "format/language.h"
#include "scanner/compile.h"

namespace orrinrc::check {

namespace {

// The whole text of a file from `start` on, as read; false when it cannot
// be read again (a pipe).
bool read_again(int fd, off_t start, std::string& text) {
    if (start < 0 || ::lseek(fd, start, SEEK_SET) != start) return false;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buf, static_cast<size_t>(n));
    }
}

// Whether a line (without its line end) opens a definition as the scanner
// takes it: "#FORM" in the first column, blanks after it at most.
bool opens_definition(std::string_view line) {
    if (line.empty() || line[0] != '#') return false;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
    const format::StatementInfo* s = format::find_statement(format::State::Initial, line);
    return s != nullptr && s->role == format::Role::Opens;
}

// Whether a line may stand before a definition's opening line and belong to
// it: its NAME= line, a comment, a blank line.
bool leads_definition(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
    if (line.empty() || line.substr(0, 2) == "//") return true;
    const size_t eq = line.find('=');
    const format::StatementInfo* s =
        eq == std::string_view::npos ? nullptr : format::find_statement(format::State::Initial, line.substr(0, eq + 1));
    return s != nullptr && s->role == format::Role::Name;
}

// Where a new run starts after an error: at the first line from line `from`
// on that opens a definition, or at the NAME= (and comment) lines right
// before it, after line `from` - 1. Its offset in `text` (line 1 at offset
// 0) and its number; nothing when no line opens a definition.
std::optional<std::pair<size_t, uint32_t>> next_definition(std::string_view text, uint32_t from) {
    std::optional<std::pair<size_t, uint32_t>> lead;  // the first of the lines that may lead it
    size_t at = 0;
    for (uint32_t line = 1; at <= text.size(); ++line) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view l = text.substr(at, end - at);
        if (line >= from) {
            if (opens_definition(l)) return lead ? lead : std::make_pair(at, line);
            if (!leads_definition(l)) lead.reset();
            else if (!lead) lead = std::make_pair(at, line);
        }
        if (end == text.size()) break;
        at = end + 1;
    }
    return std::nullopt;
}

}  // namespace

int check_source(const SourceText& source, const CheckOptions& options, RunOptions run, CheckSink& sink,
                 const CompileOutputs& outputs, RunResult& first) {
    Checker checker(options, sink);
    run.listener = &checker;
    run.blank_unreadable_pictures = true;
    const off_t start = source.fd >= 0 ? ::lseek(source.fd, 0, SEEK_CUR) : 0;
    first = compile(source, run, outputs);
    if (first.ok()) return checker.finish();
    if (first.exit_code == 2) return 2;
    RunResult result = first;
    // Every error of the text: after each, a new run from the next line that
    // opens a definition. The first error is the compiler's, and so is the
    // exit code. The text is read again for that (a pipe's cannot be).
    std::string again;
    std::string_view text = source.text;
    if (source.fd >= 0) text = read_again(source.fd, start, again) ? std::string_view(again) : std::string_view();
    text = text.substr(0, text.find('\x1A'));  // where the input ends for the scanner
    uint32_t segment = 1;  // the first line of the latest run
    while (!result.ok() && !text.empty()) {
        if (result.error && result.error->kind == ErrorKind::Cancelled) break;
        // The line it stopped on, when it opens a definition (the previous
        // one lacks its end line), or the next that does.
        const uint32_t stopped = checker.failure_line();
        const auto next = next_definition(text, stopped > segment ? stopped : segment + 1);
        if (!next) break;
        checker.restart(next->second);
        segment = next->second;
        result = compile(SourceText{-1, text.substr(next->first)}, run, outputs);
    }
    checker.finish();
    return 1;
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
