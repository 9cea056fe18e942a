#include "testsupport/RunProgram.h"

#include "testsupport/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace lmtest {

RunResult RunCommand(const std::string& commandLine)
{
    // Output goes through files: nothing can block on a full pipe, whatever the program writes.
    TempFolder folder("lm-run");
    const std::string out = folder / "out", err = folder / "err";
    const std::string command = "(" + commandLine + ") >" + Quote(out) + " 2>" + Quote(err);
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadText(out);
    result.err = ReadText(err);
    return result;
}

std::string Quote(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string LmtoolPath()
{
    if (const char* tool = std::getenv("LMTOOL"); tool && *tool)
        return tool;
    std::error_code ignored;
    return std::filesystem::exists(LMTOOL_BUILT_PATH, ignored) ? LMTOOL_BUILT_PATH : "";
}

RunResult RunLmtool(const std::string& arguments, const std::string& environment)
{
    const std::string prefix = environment.empty() ? "" : environment + " ";
    return RunCommand(prefix + Quote(LmtoolPath()) + " " + arguments);
}

} // namespace lmtest
