#include "lmtool/Command.h"

#include <algorithm>

namespace lmtool {

static std::vector<Command>& Registry()
{
    static std::vector<Command> commands;
    return commands;
}

void RegisterCommand(Command command)
{
    auto& commands = Registry();
    commands.push_back(std::move(command));
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
}

const std::vector<Command>& Commands() { return Registry(); }

}  // namespace lmtool
