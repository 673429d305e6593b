// Runs of the scanner in this process, each under a time limit.
#include "lsp/analysis.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <span>
#include <thread>

#include "check/check_run.h"
#include "run/listener.h"
#include "scanner/compile.h"

namespace orrinrc::lsp {

namespace {

using Clock = std::chrono::steady_clock;

// The probe's listener: keeps the matches from a place on, and the one
// before it.
class Probe final : public RunListener {
public:
    explicit Probe(size_t from) : from_(from) {}

    void scanned(const ScanEvent* events, size_t count) override {
        for (const ScanEvent& e : std::span(events, count)) {
            if (e.type == ScanEvent::Type::Match) matched(e.state, e.offset, e.length);
            if (e.type == ScanEvent::Type::GivenBack) given_back(e.length);
        }
    }

    // The matches seen so far.
    void take(ProbeOutcome& outcome) {
        if (before_state_) outcome.before = Match{before_offset_, before_length_, *before_state_};
        outcome.matches = std::move(matches_);
    }

private:
    void matched(format::State state, size_t offset, size_t length) {
        if (offset >= from_) {
            matches_.push_back(Match{offset, length, state});
        } else {
            before_state_ = state;
            before_offset_ = offset;
            before_length_ = length;
        }
    }
    void given_back(size_t length) {
        if (!matches_.empty()) {
            Match& m = matches_.back();
            m.length -= std::min(length, m.length);
            if (m.length == 0) matches_.pop_back();
        }
    }

    size_t from_;
    std::vector<Match> matches_;
    std::optional<format::State> before_state_;
    size_t before_offset_ = 0, before_length_ = 0;
};

// A run that stops when its time is up: a watchdog raises the cancel flag.
class TimeLimit {
public:
    explicit TimeLimit(int ms) : thread_([this, ms] {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done_; })) cancel.store(true);
    }) {}
    ~TimeLimit() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    std::atomic<bool> cancel{false};

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

CheckOutcome check_text(const std::string& text, const std::string& folder,
                        const std::vector<std::string>& picture_dirs, const check::CheckOptions& options,
                        int time_limit_ms) {
    CheckOutcome outcome;
    check::KeepSink kept(outcome.diagnostics, outcome.definitions);
    TimeLimit limit(time_limit_ms);
    RunOptions run;
    run.base_dir = folder;
    run.picture_dirs = picture_dirs;
    run.cancel = &limit.cancel;
    check::check_source(SourceText{-1, text}, options, run, kept);
    if (limit.cancel.load()) return CheckOutcome{};  // a check cut short says nothing for sure
    outcome.completed = true;
    return outcome;
}

ProbeOutcome probe_text(const std::string& text, size_t cut, const std::string& tail, size_t from,
                        const std::string& folder, const std::vector<std::string>& picture_dirs,
                        int time_limit_ms) {
    ProbeOutcome outcome;
    cut = std::min(cut, text.size());
    std::string input;
    input.reserve(cut + tail.size());
    input.append(text, 0, cut);
    input += tail;
    Probe probe(from);
    TimeLimit limit(time_limit_ms);
    RunOptions run;
    run.base_dir = folder;
    run.picture_dirs = picture_dirs;
    run.listener = &probe;
    run.cancel = &limit.cancel;
    NullTarget bin, header;
    const RunResult result = compile(SourceText{-1, input}, run, CompileOutputs{&bin, &header, Console()});
    if (result.error && result.error->kind == ErrorKind::Cancelled) return outcome;
    probe.take(outcome);
    outcome.completed = true;
    return outcome;
}

}  // namespace orrinrc::lsp
