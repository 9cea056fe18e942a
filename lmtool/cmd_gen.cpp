#include "lmtool/Command.h"
#include "samplegen/SampleGen.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <stdexcept>

namespace {

int RunGen(int argc, char** argv)
{
    CLI::App app{
        "Writes a synthetic but realistic data file: hits in time order on several channels, parametric\n"
        "records, comments, time marks, pause/resume/stop and the end record where the format has one."};
    app.name("lmtool gen");
    std::string format, path;
    lm::gen::SampleOptions options;
    app.add_option("--format", format, "ald (A-Line 32D), dta (DiSP), sdt (Spartan 3000), isa (A-Line ISA)")
        ->required()
        ->check(CLI::IsMember({"ald", "dta", "sdt", "isa"}));
    app.add_option("--hits", options.hits, "number of hits")->required();
    app.add_option("--channels", options.channels, "number of channels")->capture_default_str();
    app.add_option("--seed", options.seed, "seed of the random generator")->capture_default_str();
    app.add_option("FILE", path, "file to write")->required();
    CLI11_PARSE(app, argc, argv);

    try {
        lm::gen::GenerateSampleFile(format, options, path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(gen, "gen", "write a synthetic sample data file", RunGen);
