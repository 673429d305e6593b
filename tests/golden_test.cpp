// End-to-end golden cases: every folder under tests/golden holds an input
// (input.rc and any BMP files it names), optionally `args` (the command line,
// one argument per line; default: input.rc) and `setup` (shell commands run in
// the work folder first, with ORRINRC_SOURCE_DIR naming the source tree), and
// expected/ with the exit code, standard output, standard error, resource.h,
// a hex listing of resource.bin and the annotated listing of resource.bin
// that orrinrc-dump prints (resource.bin.txt). Each case runs the real binary
// in a fresh temporary folder. A `tool` file naming orrinrc-check runs the
// checker instead; its cases keep the exit code and the two streams.
//
// ORRINRC_UPDATE_GOLDEN=1 rewrites expected/ from what the binary does now,
// for a change that is meant; review the diff before committing it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hex_listing.h"
#include "programs.h"

namespace fs = std::filesystem;

namespace {

const char* const kAbsent = "<no file>\n";

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return kAbsent;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const fs::path& p, const std::string& content) {
    std::ofstream out(p, std::ios::binary);
    out << content;
}

// An output left as a link (to /dev/full, say) is not read.
std::string output_file(const fs::path& p, bool hex) {
    if (fs::is_symlink(p)) return "<link>\n";
    if (!fs::exists(p)) return kAbsent;
    return hex ? hex_listing(read_file(p)) : read_file(p);
}

// What `orrinrc-dump resource.bin resource.h` prints in the work folder
// (without resource.h when there is none). When the dump rejects the files,
// its message and exit code are the listing: a case never fails for that.
std::string dump_listing(const fs::path& work) {
    const fs::path bin = work / "resource.bin";
    if (fs::is_symlink(bin)) return "<link>\n";
    if (!fs::exists(bin)) return kAbsent;
    const fs::path h = work / "resource.h";
    const bool with_h = fs::exists(h) && !fs::is_symlink(h);
    const std::string cmd = "cd " + shell_quote(work.string()) + " && " + program_command("orrinrc-dump", ORRINRC_DUMP_BIN) +
                            " resource.bin" + (with_h ? " resource.h" : "") + " > .dump.out 2> .dump.err";
    const int status = std::system(("timeout 30 bash -c " + shell_quote(cmd)).c_str());
    std::string listing = read_file(work / ".dump.out");
    const std::string err = read_file(work / ".dump.err");
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (code != 0 || !err.empty()) listing += err + "exit " + std::to_string(code) + "\n";
    return listing;
}

std::vector<std::string> case_names() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(GOLDEN_DIR))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesExpectedOutputs) {
    const fs::path case_dir = fs::path(GOLDEN_DIR) / GetParam();
    const fs::path work = fs::temp_directory_path() / ("orrinrc-golden-" + GetParam() + "-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    for (const auto& entry : fs::directory_iterator(case_dir)) {
        const std::string name = entry.path().filename().string();
        if (name == "expected" || name == "args" || name == "setup" || name == "tool") continue;
        fs::copy(entry.path(), work / name, fs::copy_options::recursive);
    }

    std::string args = " input.rc";
    if (fs::exists(case_dir / "args")) {
        args.clear();
        std::istringstream lines(read_file(case_dir / "args"));
        for (std::string line; std::getline(lines, line);) {
            args += ' ';
            args += shell_quote(line);
        }
    }
    std::string setup;
    if (fs::exists(case_dir / "setup")) setup = read_file(case_dir / "setup") + "\n";
    // A file size limit is a limit of POSIX processes; elsewhere the
    // in-process tests inject the same fault through the output interface
    // (CompileInProcess.AFullOutput...).
    if (std::getenv("ORRINRC_TEST_PROGRAMS") != nullptr && setup.find("ulimit") != std::string::npos) {
        fs::remove_all(work);
        GTEST_SKIP() << "a file size limit exists for POSIX processes only";
    }
    // A case runs the compiler, or the program its `tool` file names; the
    // program is invoked by its bare name so that its usage text is stable.
    std::string tool = "orrinrc", binary = ORRINRC_BIN;
    if (fs::exists(case_dir / "tool")) {
        std::istringstream in(read_file(case_dir / "tool"));
        in >> tool;
        binary = tool == "orrinrc-check" ? ORRINRC_CHECK_BIN : "";
        ASSERT_FALSE(binary.empty()) << "unknown tool " << tool;
    }
    const std::string source_dir = fs::path(GOLDEN_DIR).parent_path().parent_path().string();
    const std::string script = "export ORRINRC_SOURCE_DIR=" + shell_quote(source_dir) + "\ncd " +
                               shell_quote(work.string()) + " || exit 99\n" + setup +
                               "exec -a " + tool + " " + program_command(tool, binary) + args +
                               " > .stdout 2> .stderr\n";
    write_file(work / ".run.sh", script);
    const int status = std::system(("timeout 30 bash " + shell_quote((work / ".run.sh").string())).c_str());
    ASSERT_TRUE(WIFEXITED(status));

    struct Output {
        const char* name;
        std::string actual;
    };
    std::vector<Output> outputs = {
        {"exit_code", std::to_string(WEXITSTATUS(status)) + "\n"},
        {"stdout", read_file(work / ".stdout")},
        {"stderr", read_file(work / ".stderr")},
    };
    if (tool == "orrinrc") {
        outputs.push_back({"resource.h", output_file(work / "resource.h", false)});
        outputs.push_back({"resource.bin.hex", output_file(work / "resource.bin", true)});
        outputs.push_back({"resource.bin.txt", dump_listing(work)});
    } else {
        // The checker writes no output files.
        EXPECT_FALSE(fs::exists(work / "resource.bin"));
        EXPECT_FALSE(fs::exists(work / "resource.h"));
    }
    const fs::path expected = case_dir / "expected";
    if (std::getenv("ORRINRC_UPDATE_GOLDEN") != nullptr) {
        fs::create_directories(expected);
        for (const auto& out : outputs) write_file(expected / out.name, out.actual);
    } else {
        for (const auto& out : outputs) EXPECT_EQ(read_file(expected / out.name), out.actual) << "in " << out.name;
    }
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(case_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

}  // namespace
