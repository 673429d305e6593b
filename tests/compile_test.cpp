// The compiler library called in-process: a run is a value, runs are
// independent of each other, errors come back as values with their place,
// and the outputs after an error are what the compiler leaves on disk.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "scanner/compile.h"
#include "hex_listing.h"
#include "test_files.h"
#include "util/process.h"

using namespace orrinrc;
namespace fs = std::filesystem;

namespace {

// The banner that opens the compiler's standard output.
const std::string kBannerEnd = "resource.h\n\n";

uint32_t total_length(const std::string& bin) {
    if (bin.size() < 4) return 0xFFFFFFFF;
    const auto* b = reinterpret_cast<const unsigned char*>(bin.data());
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// What the compiler prints for a run: the trace, then the errors' texts.
struct Printed {
    std::string out, err;
};
Printed printed(const MemoryRun& m) {
    Printed p{m.trace, ""};
    std::vector<Error> errors = m.result.output_failures;
    if (m.result.error) errors.insert(errors.begin(), *m.result.error);
    for (const Error& e : errors) {
        p.err += e.note;
        (e.stream == Stream::Err ? p.err : p.out) += e.message;
    }
    return p;
}

// Every golden case that runs the compiler on input.rc alone gives, run
// in-process with its folder as the base of picture names, the same bytes,
// trace, messages and exit code as the program.
TEST(CompileInProcess, EveryPlainGoldenCaseGivesTheProgramsOutputs) {
    size_t cases = 0;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR)) {
        const fs::path dir = entry.path();
        if (fs::exists(dir / "args") || fs::exists(dir / "setup") || fs::exists(dir / "tool")) continue;
        const fs::path expected = dir / "expected";
        RunOptions options;
        options.base_dir = dir.string();
        const MemoryRun m = compile_in_memory(read_file(dir / "input.rc"), options);
        const Printed p = printed(m);
        const std::string name = dir.filename().string();
        EXPECT_EQ(std::to_string(m.result.exit_code) + "\n", read_file(expected / "exit_code")) << name;
        EXPECT_EQ(hex_listing(m.bin), read_file(expected / "resource.bin.hex")) << name;
        EXPECT_EQ(m.header, read_file(expected / "resource.h")) << name;
        const std::string out = read_file(expected / "stdout");
        const size_t banner = out.find(kBannerEnd);
        ASSERT_NE(banner, std::string::npos) << name;
        EXPECT_EQ(p.out, out.substr(banner + kBannerEnd.size())) << name;
        EXPECT_EQ(p.err, read_file(expected / "stderr")) << name;
        ++cases;
    }
    EXPECT_GT(cases, 100u);
}

// A form that gives every value, then one that gives only its identifier:
// the second carries over from the first within a run, never across runs.
const char* const kFullForm =
    "NAME=A\n#FORM\nID=1\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=160\nFORM_STYLE=NON_BITMAP_DIALOG\n"
    "FORM_TITLE=Hello\nNO_OF_OBJECTS=1\nUIOBJECT.ID=7\nUIOBJECT.TYPE=FIELD\n#END_FORM\n";
const char* const kBareForm = "NAME=B\n#FORM\nID=2\nOBJECT.TYPE=FORM\n#END_FORM\n";

TEST(CompileInProcess, RecordsStartFromZeroInEveryRun) {
    const MemoryRun fresh = compile_in_memory(kBareForm);
    ASSERT_TRUE(fresh.result.ok());
    const MemoryRun full = compile_in_memory(kFullForm);
    ASSERT_TRUE(full.result.ok());
    const MemoryRun again = compile_in_memory(kBareForm);
    EXPECT_EQ(again.bin, fresh.bin);
    EXPECT_EQ(again.header, fresh.header);
    EXPECT_EQ(again.trace, fresh.trace);
    // Within one run the second form does carry the first one's values over.
    const MemoryRun both = compile_in_memory(std::string(kFullForm) + kBareForm);
    ASSERT_TRUE(both.result.ok());
    EXPECT_GT(both.bin.size() - full.bin.size(), fresh.bin.size() - 4);
}

TEST(CompileInProcess, ASyntaxErrorIsAValueWithItsPlace) {
    const MemoryRun m = compile_in_memory(std::string(kFullForm) + "NAME=C\n#FORM\r\nID=3\r\n  FORM_SIZE=4\r\n");
    ASSERT_TRUE(m.result.error);
    const Error& e = *m.result.error;
    EXPECT_EQ(e.kind, ErrorKind::Syntax);
    EXPECT_EQ(e.state, "FORM");
    EXPECT_EQ(e.message, "error: FORM\n  FORM_SIZE=4\n");
    EXPECT_EQ(e.exit_code, 1);
    EXPECT_EQ(m.result.exit_code, 1);
    // Line 15, at the first blank, which no FORM statement takes; CR LF
    // counts as one line end.
    EXPECT_EQ(e.at.line, 15u);
    EXPECT_EQ(e.at.column, 1u);
    // The complete first record stays, the total length is 0, and
    // resource.h has exactly its line.
    EXPECT_EQ(total_length(m.bin), 0u);
    EXPECT_EQ(m.bin.size(), compile_in_memory(kFullForm).bin.size());
    EXPECT_EQ(m.header, compile_in_memory(kFullForm).header);
}

TEST(CompileInProcess, ErrorsWithoutASyntaxStateAreLocatedToo) {
    // The input ends inside a definition: at the end of the text.
    const MemoryRun open = compile_in_memory("NAME=A\n#FORM\nID=1\n");
    ASSERT_TRUE(open.result.error);
    EXPECT_EQ(open.result.error->kind, ErrorKind::OpenDefinition);
    EXPECT_EQ(open.result.error->message, "error: input ends inside FORM definition\n");
    EXPECT_EQ(open.result.error->at.line, 4u);
    EXPECT_EQ(open.result.error->at.offset, 18u);
    // A resource without a name: at its end statement.
    const MemoryRun unnamed = compile_in_memory("#FORM\nID=9\n#END_FORM\n");
    ASSERT_TRUE(unnamed.result.error);
    EXPECT_EQ(unnamed.result.error->kind, ErrorKind::MissingName);
    EXPECT_EQ(unnamed.result.error->message, "error: resource 9 has no NAME= line\n");
    EXPECT_EQ(unnamed.result.error->at.line, 3u);
    EXPECT_EQ(unnamed.result.error->at.column, 1u);
}

const char* const kBitmap =
    "NAME=Pic\n#BITMAP\nID=5\nOBJECT.TYPE=BITMAP\nBITMAP_BITMAP.WIDTH=2\nBITMAP_BITMAP.HEIGHT=1\n"
    "BITMAP_BITMAP.FILE=Q_TWO_BIT, pic.bmp\n#END_BITMAP\n";

TEST(CompileInProcess, PicturesComeFromMemoryOrFromTheBaseFolder) {
    const std::map<std::string, std::string, std::less<>> pictures = {{"pic.bmp", tiny_bmp()}};
    RunOptions in_memory;
    in_memory.pictures = &pictures;
    const MemoryRun m = compile_in_memory(kBitmap, in_memory);
    ASSERT_TRUE(m.result.ok()) << m.result.error->message;
    EXPECT_EQ(m.result.pictures_read, std::vector<std::string>{"pic.bmp"});

    const fs::path dir = fs::temp_directory_path() / ("orrinrc-compile-test-" + std::to_string(orrinrc::process::id()));
    fs::create_directories(dir);
    {
        std::FILE* f = std::fopen((dir / "pic.bmp").string().c_str(), "wb");
        const std::string bytes = tiny_bmp();
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    RunOptions from_folder;
    from_folder.base_dir = dir.string();
    const MemoryRun f = compile_in_memory(kBitmap, from_folder);
    fs::remove_all(dir);
    ASSERT_TRUE(f.result.ok()) << f.result.error->message;
    EXPECT_EQ(f.bin, m.bin);

    // A name the table does not hold cannot be opened, and the error is
    // located at its FILE= statement.
    const std::map<std::string, std::string, std::less<>> none;
    in_memory.pictures = &none;
    const MemoryRun missing = compile_in_memory(kBitmap, in_memory);
    ASSERT_TRUE(missing.result.error);
    EXPECT_EQ(missing.result.error->kind, ErrorKind::Picture);
    EXPECT_EQ(missing.result.error->message, "error: can't open file pic.bmp\n");
    EXPECT_EQ(missing.result.error->at.line, 7u);
    EXPECT_EQ(missing.result.error->at.column, 15u);
}

TEST(CompileInProcess, ARaisedCancelFlagStopsTheRun) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += std::string("NAME=F") + std::to_string(i) + "\n#FORM\nID=1\n#END_FORM\n";
    std::atomic<bool> cancel{true};
    RunOptions options;
    options.cancel = &cancel;
    const MemoryRun m = compile_in_memory(text, options);
    ASSERT_TRUE(m.result.error);
    EXPECT_EQ(m.result.error->kind, ErrorKind::Cancelled);
    EXPECT_EQ(total_length(m.bin), 0u);
    cancel = false;
    EXPECT_TRUE(compile_in_memory(text, options).result.ok());
}

// An output that takes `room` bytes and then fails as a full disk does.
class FullTarget final : public OutputTarget {
public:
    explicit FullTarget(size_t room) : room_(room) {}
    int append(const void* data, size_t n, size_t& done) override {
        done = std::min(n, room_ - bytes.size());
        bytes.append(static_cast<const char*>(data), done);
        return done < n ? ENOSPC : 0;
    }
    int write_at(uint64_t at, const void* data, size_t n) override {
        bytes.replace(at, n, static_cast<const char*>(data), n);
        return 0;
    }
    int truncate(uint64_t size) override {
        if (size < bytes.size()) bytes.resize(size);
        return 0;
    }
    int close() override { return 0; }
    std::string bytes;

private:
    size_t room_;
};

RunResult run_into(const std::string& text, OutputTarget& bin, OutputTarget& header) {
    std::string trace;
    return compile(SourceText{-1, text}, RunOptions{}, CompileOutputs{&bin, &header, Console(&trace)});
}

TEST(CompileInProcess, AFullOutputEndsTheRunWithItsCodeAndKeepsWholeRecords) {
    // Three forms; resource.bin has room for the first two only. Its write
    // fails when the run ends: exit code 3, and resource.h is cut back to the
    // lines of the records that reached resource.bin.
    const std::string one = compile_in_memory(kFullForm).bin;
    const std::string text = std::string(kFullForm) + kBareForm + "NAME=C\n#FORM\nID=3\n#END_FORM\n";
    const MemoryRun whole = compile_in_memory(text);
    ASSERT_TRUE(whole.result.ok());
    FullTarget bin(whole.bin.size() - 5);
    MemoryTarget header;
    const RunResult r = run_into(text, bin, header);
    EXPECT_EQ(r.exit_code, 3);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->kind, ErrorKind::OutputWrite);
    EXPECT_EQ(r.error->message, "error: can't write resource.bin: No space left on device\n");
    EXPECT_EQ(total_length(bin.bytes), 0u);
    const size_t two = whole.bin.size() - (whole.bin.size() - compile_in_memory(std::string(kFullForm) + kBareForm).bin.size());
    EXPECT_EQ(bin.bytes.size(), two);
    EXPECT_EQ(header.bytes(), compile_in_memory(std::string(kFullForm) + kBareForm).header);
    EXPECT_GT(two, one.size());

    // resource.h full from the start: exit code 4, resource.h with no partial
    // line. resource.bin was complete before resource.h failed: it keeps its
    // total length.
    MemoryTarget bin2;
    FullTarget header2(10);
    const RunResult r2 = run_into(text, bin2, header2);
    EXPECT_EQ(r2.exit_code, 4);
    ASSERT_TRUE(r2.error);
    EXPECT_EQ(r2.error->message, "error: can't write resource.h: No space left on device\n");
    EXPECT_TRUE(header2.bytes.empty());
    EXPECT_EQ(bin2.bytes(), whole.bin);
}

TEST(CompileInProcess, AFailureWhileSavingAfterAnErrorIsReportedAndSetsTheCode) {
    // A syntax error, and resource.h cannot take the first record's line
    // while the outputs are saved: both messages, in order, exit code 4.
    // resource.bin keeps the complete record with no total length.
    const std::string text = std::string(kFullForm) + "NAME=B\n#FORM\nWHAT=1\n";
    MemoryTarget bin;
    FullTarget header(3);
    const RunResult r = run_into(text, bin, header);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->kind, ErrorKind::Syntax);
    ASSERT_EQ(r.output_failures.size(), 1u);
    EXPECT_EQ(r.output_failures[0].message, "error: can't write resource.h: No space left on device\n");
    EXPECT_EQ(r.exit_code, 4);
    EXPECT_EQ(bin.bytes(), std::string(4, '\0') + compile_in_memory(kFullForm).bin.substr(4));
    EXPECT_TRUE(header.bytes.empty());
}

// A listener hears of every error once, after the run's own events.
class Recorder final : public RunListener {
public:
    void scanned(const ScanEvent* events, size_t count) override {
        for (const ScanEvent& e : std::span(events, count)) matches += e.type == ScanEvent::Type::Match;
    }
    void definition_ending(uint16_t id, const Records& records, const Text& name) override {
        ids.push_back(id);
        titles.push_back(records.form.title.value_or("-"));
        names.push_back(name.value_or("-"));
    }
    void failed(const Error& e) override { failures.push_back(e.message); }
    size_t matches = 0;
    std::vector<uint16_t> ids;
    std::vector<std::string> titles, names;
    std::vector<std::string> failures;
};

TEST(CompileInProcess, TheListenerSeesTheRecordsAndEveryErrorOnce) {
    Recorder recorder;
    RunOptions options;
    options.listener = &recorder;
    const MemoryRun m = compile_in_memory(std::string(kFullForm) + kBareForm + "#FORM\nID=4\n#END_FORM\n", options);
    EXPECT_EQ(recorder.ids, (std::vector<uint16_t>{1, 2, 4}));
    EXPECT_EQ(recorder.titles, (std::vector<std::string>{"Hello", "-", "-"}));
    EXPECT_EQ(recorder.names, (std::vector<std::string>{"A", "B", "-"}));
    EXPECT_EQ(recorder.failures, std::vector<std::string>{"error: resource 4 has no NAME= line\n"});
    EXPECT_GT(recorder.matches, 20u);
    EXPECT_EQ(m.result.exit_code, 1);
}

// Events come in batches, yet in the order they happened: across many
// batches every match starts where the one before it ended, a statement
// follows its match, and a definition ends after the match of its end line.
class Follower final : public RunListener {
public:
    void text_read(const char* text, size_t length) override { text_.append(text, length); }
    void scanned(const ScanEvent* events, size_t count) override {
        ++batches;
        for (const ScanEvent& e : std::span(events, count)) {
            if (e.type == ScanEvent::Type::Match) {
                if (e.offset != end_) ++gaps;
                end_ = e.offset + e.length;
                last_ = text_.substr(e.offset, e.length);
                after_match_ = true;
            } else if (e.type == ScanEvent::Type::Statement) {
                if (!after_match_) ++statements_out_of_place;
                ++statements;
                after_match_ = false;
            } else if (e.type == ScanEvent::Type::GivenBack) {
                end_ -= e.length;
            }
        }
    }
    void definition_ending(uint16_t, const Records&, const Text&) override { ends_after.push_back(last_); }

    size_t batches = 0, gaps = 0, statements = 0, statements_out_of_place = 0;
    std::vector<std::string> ends_after;

private:
    std::string text_;
    uint64_t end_ = 0;
    std::string last_;
    bool after_match_ = false;
};

TEST(CompileInProcess, EventsInBatchesKeepTheirOrder) {
    auto form = [](int i) {
        return "NAME=F" + std::to_string(i) + "\n#FORM\nID=" + std::to_string(i) +
               "\nOBJECT.TYPE=FORM\nBOUNDS.WIDTH=160\nBOUNDS.HEIGHT=160\nFORM_TITLE=Hello\n#END_FORM\n\n";
    };
    auto follow = [](const std::string& text, Follower& follower) {
        RunOptions options;
        options.listener = &follower;
        return compile_in_memory(text, options).result.exit_code;
    };
    Follower one;
    ASSERT_EQ(follow(form(1), one), 0);
    std::string text;
    for (int i = 1; i <= 300; ++i) text += form(i);
    Follower follower;
    ASSERT_EQ(follow(text, follower), 0);
    EXPECT_GT(follower.batches, 10u);
    EXPECT_EQ(follower.gaps, 0u);
    EXPECT_GT(one.statements, 5u);
    EXPECT_EQ(follower.statements, 300 * one.statements);
    EXPECT_EQ(follower.statements_out_of_place, 0u);
    ASSERT_EQ(follower.ends_after.size(), 300u);
    for (const std::string& end : follower.ends_after) EXPECT_EQ(end, "#END_FORM") << end;
}

}  // namespace
