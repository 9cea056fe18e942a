#pragma once

// Running a program from a test: its exit status with what it wrote to stdout and stderr.

#include <string>

namespace lmtest {

struct RunResult {
    int status = -1; // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs a command line through /bin/sh (the caller quotes its words with Quote).
RunResult RunCommand(const std::string& commandLine);

// A word for the shell, single-quoted.
std::string Quote(const std::string& word);

// The lmtool under test: $LMTOOL, else the one this build makes; empty when neither exists.
std::string LmtoolPath();
// Runs lmtool with `arguments` (already quoted), after an optional environment prefix
// such as "LMDATA=/tmp/x.sqlite".
RunResult RunLmtool(const std::string& arguments, const std::string& environment = "");

} // namespace lmtest
