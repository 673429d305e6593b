// orrinrc-check runs the compiler's own scanner: on every input the two must
// agree on success and failure (and on an unreadable input). Checked on the
// golden inputs and on inputs made from them by small random edits. And the
// checker raises no false alarm on the text that orrinrc-dump writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// Runs `binary input.rc` in `dir` with both streams discarded; the exit code.
int run(const char* binary, const fs::path& dir) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(99);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(binary, binary, "input.rc", static_cast<char*>(nullptr));
        _exit(98);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// The compiler's exit codes 0, 1 and 2 are the checker's too; 3 and 4 (the
// outputs cannot be written) do not happen to a checker, which writes none.
void expect_agreement(const fs::path& dir, const std::string& what) {
    const int compiler = run(ORRINRC_BIN, dir);
    const int checker = run(ORRINRC_CHECK_BIN, dir);
    ASSERT_LE(compiler, 2) << what;
    EXPECT_EQ(compiler, checker) << what << "\n--- input ---\n" << read_file(dir / "input.rc");
}

struct Case {
    fs::path dir;
    std::string input;
};

// Golden cases that run the compiler on input.rc as it stands.
std::vector<Case> golden_inputs() {
    std::vector<Case> cases;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR)) {
        const fs::path d = entry.path();
        if (!fs::is_regular_file(d / "input.rc") || fs::exists(d / "setup") || fs::exists(d / "args")) continue;
        cases.push_back({d, read_file(d / "input.rc")});
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.dir < b.dir; });
    return cases;
}

fs::path fresh_dir(const Case& c) {
    const fs::path work = fs::temp_directory_path() / ("orrinrc-agree-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    for (const auto& entry : fs::directory_iterator(c.dir))
        if (entry.path().extension() == ".bmp") fs::copy(entry.path(), work / entry.path().filename());
    return work;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

// One small edit of the kind people make: a line lost, doubled or moved, a
// character changed, a value cut, a line indented.
std::string mutate(const std::string& text, std::mt19937& rng) {
    std::vector<std::string> lines = lines_of(text);
    if (lines.empty()) return text;
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const size_t i = pick(lines.size());
    switch (pick(6)) {
    case 0: lines.erase(lines.begin() + static_cast<long>(i)); break;
    case 1: lines.insert(lines.begin() + static_cast<long>(i), lines[i]); break;
    case 2: std::swap(lines[i], lines[pick(lines.size())]); break;
    case 3:
        if (!lines[i].empty()) lines[i][pick(lines[i].size())] = "xZ9 =._#-"[pick(9)];
        break;
    case 4: {
        const size_t eq = lines[i].find('=');
        if (eq != std::string::npos) lines[i].resize(eq + 1 + pick(3));
        break;
    }
    default: lines[i] = " " + lines[i]; break;
    }
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

TEST(CheckAgreement, GoldenInputs) {
    for (const Case& c : golden_inputs()) {
        const fs::path work = fresh_dir(c);
        std::ofstream(work / "input.rc", std::ios::binary) << c.input;
        expect_agreement(work, c.dir.filename().string());
        fs::remove_all(work);
    }
}

TEST(CheckAgreement, EditedGoldenInputs) {
    const std::vector<Case> cases = golden_inputs();
    ASSERT_FALSE(cases.empty());
    const char* env = std::getenv("ORRINRC_AGREEMENT_CASES");
    const int count = env ? std::atoi(env) : 400;
    std::mt19937 rng(20261207);
    for (int n = 0; n < count; ++n) {
        const Case& c = cases[static_cast<size_t>(n) % cases.size()];
        std::string input = mutate(c.input, rng);
        if (n % 3 == 0) input = mutate(input, rng);
        const fs::path work = fresh_dir(c);
        std::ofstream(work / "input.rc", std::ios::binary) << input;
        expect_agreement(work, "edit " + std::to_string(n) + " of " + c.dir.filename().string());
        fs::remove_all(work);
        if (HasFailure()) return;
    }
}

// The names of the warnings that the checker gives on `file` in `dir`.
std::set<std::string> warning_names(const fs::path& dir, const std::string& file, const std::string& options = "") {
    const std::string out = (dir / ".check").string();
    const std::string command = "cd '" + dir.string() + "' && '" + ORRINRC_CHECK_BIN + "' " + options + " '" + file +
                                "' 2> '" + out + "' > /dev/null";
    std::system(command.c_str());
    std::set<std::string> names;
    const std::string text = read_file(out);
    for (size_t at = text.find("[-W"); at != std::string::npos; at = text.find("[-W", at + 1))
        names.insert(text.substr(at + 3, text.find(']', at) - at - 3));
    return names;
}

// The resource text that orrinrc-dump writes says each value explicitly: it
// draws no warning that its source did not draw, also among those that are
// off by default.
TEST(CheckDecompiled, NoWarningThatTheSourceHasNot) {
    for (const Case& c : golden_inputs()) {
        const fs::path work = fresh_dir(c);
        std::ofstream(work / "input.rc", std::ios::binary) << c.input;
        if (run(ORRINRC_BIN, work) != 0) {
            fs::remove_all(work);
            continue;
        }
        const std::string dump = "cd '" + work.string() + "' && '" + ORRINRC_DUMP_BIN +
                                 "' --text out resource.bin resource.h > /dev/null 2>&1";
        if (std::system(dump.c_str()) == 0) {
            const std::string all = "-Worphan-object -Woverlap -Wtext-width";
            const std::set<std::string> source = warning_names(work, "input.rc", all);
            for (const std::string& name : warning_names(work / "out", "resource.rc", all))
                EXPECT_TRUE(source.count(name)) << c.dir.filename().string() << ": -W" << name;
        }
        fs::remove_all(work);
    }
}

TEST(CheckDecompiled, ExampleAndItsDecompiledTextCheckClean) {
    const fs::path work = fs::temp_directory_path() / ("orrinrc-clean-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::copy(EXAMPLES_DIR, work, fs::copy_options::recursive);
    fs::remove(work / "mistakes.rc");
    fs::copy(work / "example.rc", work / "input.rc");
    EXPECT_TRUE(warning_names(work, "example.rc").empty());
    ASSERT_EQ(run(ORRINRC_BIN, work), 0);
    const std::string dump = "cd '" + work.string() + "' && '" + ORRINRC_DUMP_BIN +
                             "' --text out resource.bin resource.h > /dev/null 2>&1";
    ASSERT_EQ(std::system(dump.c_str()), 0);
    EXPECT_TRUE(warning_names(work / "out", "resource.rc").empty());
    fs::remove_all(work);
}

}  // namespace
