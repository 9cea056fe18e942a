#include "lmtool/Command.h"
#include "datafiles/DataFileOpen.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <stdexcept>

namespace {

// Every column the listings know.
constexpr uint32_t kAllColumns = lm::hpTime | lm::hpChannel | lm::hpSeq | lm::hpRise | lm::hpCntPk |
                                 lm::hpCounts | lm::hpEnergy | lm::hpDuration | lm::hpAmplitude | lm::hpDP |
                                 lm::hpRMS | lm::hpPar1 | lm::hpGain | lm::hpThreshold | lm::hpFreq;

int RunList(int argc, char** argv)
{
    CLI::App app{"Prints the format's own text listing of a data file with all columns."};
    app.name("lmtool list");
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
    if (opened.type == lm::dtAlineIsa) {
        std::fprintf(stderr, "The Aline ISA format has no listing\n");
        return 1;
    }

    std::ios::sync_with_stdio(false);
    std::ostream& out = std::cout;
    lm::AWDiskFile& reader = *opened.reader;
    if (opened.type == lm::dtAlinePci) {
        // This format lists its header dump, then record by record.
        reader.PrintCaption(out, kAllColumns);
        reader.SeekFirstRecord();
        while (reader.ReadNext())
            reader.PrintRecord(out, kAllColumns);
    } else {
        reader.SeekFirstRecord();
        reader.PrintFile(out, kAllColumns);
    }
    out.flush();
    if (!out) {
        std::fprintf(stderr, "Cannot write the output\n");
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(list, "list", "the format's own text listing of a data file", RunList);
