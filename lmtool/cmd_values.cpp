#include "lmtool/Command.h"
#include "datafiles/DataFileOpen.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <stdexcept>

namespace {

// The parameters of the value columns, in column order.
constexpr lm::HitParam kParams[] = {1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 32768};

int RunValues(int argc, char** argv)
{
    CLI::App app{
        "Walks a data file with its reader and prints, per record read, the predicates, the time and\n"
        "the value of every hit parameter as CSV:\n"
        "index,hit,param,timed,end,time,p1,p2,p4,p8,p16,p32,p64,p128,p256,p512,p1024,p2048,p4096,"
        "p8192,p32768"};
    app.name("lmtool values");
    std::string path;
    app.add_option("FILE", path, "data file")->required();
    CLI11_PARSE(app, argc, argv);

    lm::OpenedDataFile opened;
    try {
        opened = lm::OpenDataFile(path);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    lm::AWDiskFile& reader = *opened.reader;

    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    std::fputs(
        "index,hit,param,timed,end,time,p1,p2,p4,p8,p16,p32,p64,p128,p256,p512,p1024,p2048,p4096,p8192,"
        "p32768\n",
        stdout);
    reader.SeekFirstRecord();
    for (unsigned long index = 0; reader.ReadNext(); ++index) {
        const bool end = reader.IsEndOfData();
        std::printf("%lu,%d,%d,%d,%d,%.17g", index, int(reader.IsHit()), int(reader.IsParametric()),
                    int(reader.HasTime()), int(end), double(reader.GetTime()));
        for (lm::HitParam param : kParams)
            std::printf(",%.17g", double(reader.GetValue(param)));
        std::fputc('\n', stdout);
        if (end)
            break;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "Cannot write the output\n");
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(values, "values", "walk a data file and print each record's values as CSV", RunValues);
