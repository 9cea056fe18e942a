#include "lmtool/Command.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

static void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "Usage: lmtool <command> [options] [arguments]\n");
    std::fprintf(out, "The command-line tool of AE Lumeny: acoustic emission test recordings and the LMData\n"
                      "database for scripts and batch work.\n\n");
    std::fprintf(out, "Commands:\n");
    for (const auto& command : lmtool::Commands())
        std::fprintf(out, "  %-10s %s\n", command.name.c_str(), command.summary.c_str());
    std::fprintf(out, "\nRun 'lmtool <command> --help' for the options of one command.\n");
    std::fprintf(out, "'lmtool --version' shows the version.\n");
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    if (name == "--version") {
        std::printf("lmtool (AE Lumeny) %s\n", LMTOOL_VERSION);
        return 0;
    }
    for (const auto& command : lmtool::Commands()) {
        if (command.name == name) {
            try {
                return command.run(argc - 1, argv + 1);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "lmtool: unknown command '%s'\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
