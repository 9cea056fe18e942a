#include "lmtool/Command.h"
#include "datafiles/DataFileOpen.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <stdexcept>

namespace {

int RunInfo(int argc, char** argv)
{
    CLI::App app{"Prints the data-type report of a data file (its format recognised from the content)."};
    app.name("lmtool info");
    std::string path;
    app.add_option("FILE", path, "data file")->required();
    CLI11_PARSE(app, argc, argv);

    std::string report;
    try {
        report = lm::DescribeDataFile(path);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fwrite(report.data(), 1, report.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

LMTOOL_COMMAND(info, "info", "data-type report of a data file", RunInfo);
