#include "lmdata/AParamTable.h"
#include "lmtool/Command.h"
#include "lmdata/LMDatabase.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

namespace {

int RunParams(int argc, char** argv)
{
    CLI::App app{"Prints the parameter table of the LMData database as ParamConst, ParamName and ShortName\n"
                 "lines separated by tabs, ordered by ParamConst, then ParamName. The database is created\n"
                 "and seeded when it does not exist yet."};
    app.name("lmtool params");
    std::string db, system;
    app.add_option("--db", db, "database file (default: $LMDATA, else the per-user data folder)");
    app.add_option("--system", system,
                   "only the parameters of this acquisition system (a system name or a lookup choice such "
                   "as \"Vallen System AMSY\")");
    CLI11_PARSE(app, argc, argv);

    // Only reads: a read-only database serves.
    lm::LMDatabase database = lm::LMDatabase::OpenForReading(lm::LMDatabase::ResolvePath(db));
    lm::AParamTable params(database);
    std::vector<lm::ParamRow> rows;
    if (app.count("--system")) {
        const std::string name = lm::SystemNameOfChoice(system);
        if (!params.HasSystem(name)) {
            std::fprintf(stderr, "lmtool params: no system named \"%s\"; the systems are:\n", system.c_str());
            for (const auto& known : params.SystemNames())
                std::fprintf(stderr, "  %s\n", known.c_str());
            return 1;
        }
        rows = params.SystemRows(name);
    } else {
        rows = params.Rows();
    }
    for (const auto& row : rows)
        std::printf("%u\t%s\t%s\n", row.paramConst, row.paramName.c_str(), row.shortName.c_str());
    return 0;
}

} // namespace

LMTOOL_COMMAND(params, "params", "print the parameter table of the LMData database", RunParams);
