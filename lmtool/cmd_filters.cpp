#include "lmdata/AFilterDatabase.h"
#include "lmtool/Command.h"
#include "lmdata/LMDatabase.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

namespace {

int RunFilters(int argc, char** argv)
{
    CLI::App app{"Prints the filters stored in the LMData database, one FID, date and name line each,\n"
                 "separated by tabs, in FID order."};
    app.name("lmtool filters");
    std::string db;
    app.add_option("--db", db, "database file (default: $LMDATA, else the per-user data folder)");
    CLI11_PARSE(app, argc, argv);

    // Only reads: a read-only database serves.
    lm::LMDatabase database = lm::LMDatabase::OpenForReading(lm::LMDatabase::ResolvePath(db));
    for (const auto& filter : lm::AFilterDatabase(database).Filters())
        std::printf("%lld\t%s\t%s\n", static_cast<long long>(filter.fid), filter.date.c_str(),
                    filter.name.c_str());
    return 0;
}

} // namespace

LMTOOL_COMMAND(filters, "filters", "list the filters stored in the LMData database", RunFilters);
