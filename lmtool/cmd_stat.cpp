// lmtool stat: the set statistics of the correlation program for frames given on the
// command line, printed as the statistics window shows its five tables.

#include "datafiles/ELMData.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmtool/Command.h"
#include "lmtool/support_frames.h"
#include "lmtool/support_stat.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

namespace {

int RunStat(int argc, char** argv)
{
    CLI::App app{"Frames the hits of a data file and prints the set statistics: the amplitude, parameter,\n"
                 "MONPAC+, local-dynamic and pressure-hold tables, each after a line '== <tab caption>'."};
    app.name("lmtool stat");
    std::string file, setupFile, channelList;
    std::vector<std::string> frameTexts;
    bool events = false;
    app.add_option("FILE", file, "data file")->required();
    app.add_option("--setup", setupFile, "test setup INI file (default: the default setup)");
    app.add_option("--channels", channelList, "selected channels, e.g. 1-4,7 (default: all 128)");
    app.add_flag("--events", events, "event view: frame whole events, count first hits only");
    app.add_option("--frame", frameTexts,
                   "XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX, slots 0, 1, ... in order (at most 8)")
        ->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }

    lm::ATestSetup setup;
    if (!setupFile.empty() && !setup.LoadFromFile(setupFile)) {
        std::fprintf(stderr, "%s: %s\n", setupFile.c_str(), lm::kMsgUnknownSetupFormat);
        return 1;
    }
    lm::ChannelMask channels;
    std::vector<lmtool::FrameSpec> specs;
    try {
        if (channelList.empty())
            channels.set();
        else
            channels = lmtool::ParseChannelList(channelList);
        for (const std::string& text : frameTexts)
            specs.push_back(lmtool::ParseFrameSpec(text));
        if (specs.size() > size_t(lm::kFrameSlots))
            throw lmtool::FrameArgumentError("at most 8 frames can be given");
    } catch (const lmtool::FrameArgumentError& e) {
        std::fprintf(stderr, "lmtool stat: %s\n", e.what());
        return 2;
    }

    lm::LMDataSet data;
    try {
        data.Load(file);
    } catch (const lm::ELMData& e) {
        std::fprintf(stderr, "%s: error %d while loading\n", file.c_str(), int(e.Code));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), e.what());
        return 1;
    }

    std::string text;
    try {
        text = lmtool::StatisticsText(data, setup, specs, channels, events);
    } catch (const lm::ELMData& e) {
        if (e.Code != lm::kErrNotSorted)
            throw;
        std::fprintf(stderr, "%s\n", lmtool::NotSortedMessage(data.NotSortedTime).c_str());
        return 1;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::ferror(stdout) ? 1 : 0;
}

} // namespace

LMTOOL_COMMAND(stat, "stat",
               "set statistics of framed hits (amplitude, parameter, MONPAC+, local-dynamic, holds)",
               RunStat);
