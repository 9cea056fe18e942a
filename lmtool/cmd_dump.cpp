#include "lmtool/Command.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/DataFileOpen.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <new>
#include <stdexcept>

namespace {

int RunDump(int argc, char** argv)
{
    CLI::App app{
        "Loads a data file the way the correlation program does and prints every record slot as CSV:\n"
        "index,kind,ticks,channel,amplitude,rise,counts,energy,duration,par1"};
    app.name("lmtool dump");
    std::string path;
    app.add_option("FILE", path, "data file")->required();
    CLI11_PARSE(app, argc, argv);

    lm::LoadedDataFile loaded;
    try {
        loaded = lm::LoadDataFile(path);
    } catch (const lm::ELMData&) {
        std::fprintf(stderr, "File Loading Error\n");
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "File Loading Error\n");
        return 1;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    std::fputs("index,kind,ticks,channel,amplitude,rise,counts,energy,duration,par1\n", stdout);
    unsigned long index = 0;
    for (const lm::LMShortHit& r : loaded.records) {
        std::printf("%lu,%u,%llu,%u,%u,%u,%u,%u,%u,%.9g\n", index++, unsigned(r.kind),
                    (unsigned long long)r.time.Value(), unsigned(r.channel), unsigned(r.amplitude),
                    unsigned(r.rise), unsigned(r.counts), unsigned(r.energy), unsigned(r.duration),
                    double(r.Par1));
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "Cannot write the output\n");
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(dump, "dump", "load a data file and print its records as CSV", RunDump);
