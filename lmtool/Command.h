#pragma once

#include <string>
#include <vector>

namespace lmtool {

// One subcommand of lmtool. `run` receives the arguments after the command name
// (argv[0] is the command name itself) and answers the process exit status.
struct Command {
    std::string name;
    std::string summary;
    int (*run)(int argc, char** argv);
};

void RegisterCommand(Command command);
const std::vector<Command>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command) { RegisterCommand(std::move(command)); }
};

}  // namespace lmtool

// Registers a subcommand from its own translation unit.
#define LMTOOL_COMMAND(ident, name, summary, fn) \
    static const ::lmtool::CommandRegistration lmtool_command_##ident{{name, summary, fn}}
