// Runs of the scanner in child processes.
#include "lsp/analysis.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "check/check_run.h"
#include "driver/run.h"
#include "driver/run_listener.h"
#include "scanner/scanner.h"

namespace orrinrc::lsp {

namespace {

using Clock = std::chrono::steady_clock;

// The document's text as a file the scanner reads from its start: an
// unnamed temporary file, gone when the child ends.
FILE* text_file(const std::string& text, size_t length, const std::string& tail) {
    FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    if (std::fwrite(text.data(), 1, length, f) != length ||
        std::fwrite(tail.data(), 1, tail.size(), f) != tail.size() || std::fflush(f) != 0) {
        std::fclose(f);
        return nullptr;
    }
    std::rewind(f);
    return f;
}

// Forks a child that runs `body` with the write end of a pipe, in `folder`,
// and collects what it writes until it ends or the time limit passes.
std::optional<std::string> run_child(const std::string& folder, int time_limit_ms,
                                     const std::function<void(int fd)>& body) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        close(fds[0]);
        // The server's standard input and output carry its messages: the
        // child touches neither.
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        signal(SIGPIPE, SIG_DFL);
        if (!folder.empty() && chdir(folder.c_str()) != 0) {
            // Pictures are then looked up from the server's folder.
        }
        body(fds[1]);
        std::_Exit(2);
    }
    close(fds[1]);
    std::string out;
    const auto deadline = Clock::now() + std::chrono::milliseconds(time_limit_ms);
    bool timed_out = false;
    char buf[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timed_out = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            timed_out = r == 0;
            if (r < 0) break;
            continue;
        }
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (timed_out) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timed_out || WIFSIGNALED(status)) return std::nullopt;
    return out;
}

// The probe's listener: follows the byte offset of every match and keeps
// the matches from a place on.
class Probe final : public RunListener {
public:
    Probe(size_t from, int fd) : from_(from), fd_(fd) {}

    void matched(const char* state, const char* /*text*/, size_t length) override {
        if (offset_ >= from_) {
            matches_.push_back(Match{offset_, length, state});
        } else {
            before_state_ = state;
            before_offset_ = offset_;
            before_length_ = length;
        }
        offset_ += length;
    }
    void given_back(size_t length) override {
        offset_ -= std::min(length, offset_);
        if (!matches_.empty()) {
            Match& m = matches_.back();
            m.length -= std::min(length, m.length);
            if (m.length == 0) matches_.pop_back();
        }
    }
    void read_on(const char* /*text*/, size_t length) override { offset_ += length; }
    void copied_out(const char*, size_t) override {}
    void definition_opened(format::Kind) override {}
    void object_type_line(format::Kind) override {}
    void definition_ending(uint16_t) override {}
    void picture(const BitmapRecord&, const std::string&, const std::string&) override {}
    void syntax_error(const char*) override {}
    void input_ended_inside_definition() override {}
    void missing_name(uint16_t) override {}
    void failed(int) override { report(); }

    // Writes the matches: "before OFFSET LENGTH STATE", then "match OFFSET
    // LENGTH STATE" lines, then "end". Once.
    void report() {
        if (reported_) return;
        reported_ = true;
        std::string out;
        if (before_state_)
            out += "before " + std::to_string(before_offset_) + " " + std::to_string(before_length_) + " " +
                   before_state_ + "\n";
        for (const Match& m : matches_)
            out += "match " + std::to_string(m.offset) + " " + std::to_string(m.length) + " " + m.state + "\n";
        out += "end\n";
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(fd_, out.data() + done, out.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
    }

private:
    size_t from_;
    int fd_;
    size_t offset_ = 0;
    std::vector<Match> matches_;
    const char* before_state_ = nullptr;
    size_t before_offset_ = 0, before_length_ = 0;
    bool reported_ = false;
};

Probe* active_probe = nullptr;

void report_probe_at_exit() {
    if (active_probe) active_probe->report();
}

}  // namespace

CheckOutcome check_text(const std::string& text, const std::string& folder, const check::CheckOptions& options,
                        int time_limit_ms) {
    CheckOutcome outcome;
    const std::optional<std::string> out = run_child(folder, time_limit_ms, [&](int fd) {
        FILE* input = text_file(text, text.size(), "");
        FILE* diagnostics = fdopen(fd, "w");
        if (input == nullptr || diagnostics == nullptr) std::_Exit(2);
        check::CheckOptions json = options;
        json.json = true;
        check::check_in_this_process("document", input, json, diagnostics);
    });
    if (!out) return outcome;
    outcome.completed = true;
    std::istringstream lines(*out);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
        if (!j.is_object()) continue;
        if (j.contains("definition")) {
            Definition d;
            d.kind = j.value("definition", "");
            d.id = j.value("id", uint16_t{0});
            d.name = j.value("name", "");
            d.line = j.value("line", 0u);
            d.end_line = j.value("end_line", 0u);
            d.name_line = j.value("name_line", 0u);
            d.name_column = j.value("name_column", 0u);
            d.id_line = j.value("id_line", 0u);
            d.id_column = j.value("id_column", 0u);
            outcome.definitions.push_back(std::move(d));
        } else if (j.contains("severity")) {
            outcome.diagnostics.push_back(std::move(line));
        }
    }
    return outcome;
}

ProbeOutcome probe_text(const std::string& text, size_t cut, const std::string& tail, size_t from,
                        const std::string& folder, int time_limit_ms) {
    ProbeOutcome outcome;
    cut = std::min(cut, text.size());
    const std::optional<std::string> out = run_child(folder, time_limit_ms, [&](int fd) {
        FILE* input = text_file(text, cut, tail);
        if (input == nullptr) std::_Exit(2);
        static Probe probe(from, fd);
        active_probe = &probe;
        run_listener = &probe;
        std::atexit(report_probe_at_exit);
        if (!bin_open(resource_bin, "/dev/null") || !header_open(resource_h, "/dev/null")) std::_Exit(2);
        start_outputs();
        scan(input);
        finish_outputs();
        probe.report();
        std::_Exit(0);
    });
    if (!out) return outcome;
    std::istringstream lines(*out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string what;
        Match m;
        words >> what >> m.offset >> m.length >> m.state;
        if (what == "end") outcome.completed = true;
        else if (what == "before") outcome.before = m;
        else if (what == "match") outcome.matches.push_back(m);
    }
    return outcome;
}

}  // namespace orrinrc::lsp
