// How the tests that start the programs through a shell name them: this
// build's programs, or, when ORRINRC_TEST_PROGRAMS is set, that command with
// "{}" replaced by the program's name. scripts/test-windows.sh sets it to
// "wine <build>/{}.exe" to run the same cases against the Windows programs.
#pragma once

#include <cstdlib>
#include <string>

inline std::string shell_quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

// The shell words that start `name` ("orrinrc", "orrinrc-dump", ...), whose
// file in this build is `built`.
inline std::string program_command(const std::string& name, const std::string& built) {
    const char* other = std::getenv("ORRINRC_TEST_PROGRAMS");
    if (other == nullptr || *other == '\0') return shell_quote(built);
    std::string command = other;
    const size_t at = command.find("{}");
    if (at != std::string::npos) command.replace(at, 2, name);
    return command;
}
