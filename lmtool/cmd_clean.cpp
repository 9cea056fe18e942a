// lmtool clean: the engineer's daily cleaning as one batch step - frame, group the framed
// hits with AND (or OR), delete the grouped hits and save the rest.

#include "lmtool/Command.h"
#include "datafiles/ELMData.h"
#include "lmqwin2/graphs/frames/FrameSession.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmtool/support_frames.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// Collects the protocol lines (without their time stamps, so that runs compare).
class LineCollector : public lm::FrameProtocolSink {
public:
    LineCollector(bool eventsView, const lm::TimeRangeFilter& time) : eventsView_(eventsView), time_(time) {}
    void Message(const std::string& text) override { lines.push_back(text); }
    void NewSelection(const lm::TFrameRect& frame) override
    {
        lines.push_back(lm::NewSelectionText(
            lm::MakeNewSelection(frame, lmtool::ParamShortName(lm::HitParam(frame.XParam)),
                                 lmtool::ParamShortName(lm::HitParam(frame.YParam)), eventsView_, time_)));
    }
    std::vector<std::string> lines;

private:
    bool eventsView_;
    lm::TimeRangeFilter time_;
};

int RunClean(int argc, char** argv)
{
    CLI::App app{"Frames hits, groups the framed hits with AND (or OR), deletes the grouped hits and saves\n"
                 "the remaining records to OUT in the format of FILE. Prints the protocol lines and the\n"
                 "counters HITS, GRPD and DLTD.\n"
                 "SPEC = XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX (hit-parameter values such as 256 amplitude,\n"
                 "64 energy; decimal bounds). LIST = channels such as 1-4,7 (default all 128)."};
    app.name("lmtool clean");
    std::string file, out, channelList = "1-128";
    std::vector<std::string> frameTexts;
    bool useOr = false, events = false;
    app.add_option("FILE", file, "data file to clean")->required();
    app.add_option("OUT", out, "file to write")->required();
    app.add_option("--frame", frameTexts, "a frame; slots 0, 1, ... in the order given (at most 8)")
        ->required()
        ->take_all();
    app.add_flag("--or", useOr, "group with OR instead of AND");
    app.add_flag("--events", events, "event view: a frame takes whole events");
    app.add_option("--channels", channelList, "channels selected for every frame");
    CLI11_PARSE(app, argc, argv);

    std::vector<lmtool::FrameSpec> specs;
    lm::ChannelMask channels;
    try {
        channels = lmtool::ParseChannelList(channelList);
        for (const std::string& text : frameTexts)
            specs.push_back(lmtool::ParseFrameSpec(text));
        if (specs.size() > size_t(lm::kFrameSlots))
            throw lmtool::FrameArgumentError("at most 8 frames can be given");
    } catch (const lmtool::FrameArgumentError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }

    lm::LMDataSet data;
    try {
        data.Load(file);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    } catch (...) {
        std::fprintf(stderr, "File Loading Error\n");
        return 1;
    }

    const lm::TimeRangeFilter time; // a batch run has no time zoom
    lm::TFrameArray frames;
    LineCollector protocol(events, time);
    lm::FrameSession session{data, frames, protocol, time, events};
    protocol.Message(lm::protocol_text::DataLoaded(file));

    const lm::ATestSetup setup;
    data.ResetEvents(setup.MPT, setup.Lockout);
    try {
        lmtool::DrawFrames(session, specs, channels);
    } catch (const lm::ELMData& error) {
        std::fprintf(stderr, "%s\n",
                     error.Code == lm::kErrNotSorted ? lmtool::NotSortedMessage(data.NotSortedTime).c_str()
                                                     : error.what());
        return 1;
    }
    lm::GroupFrames(session, !useOr);
    lm::DeleteGroupedData(session);

    try {
        data.Save(out);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    protocol.Message(lm::protocol_text::DataSaved(out));

    for (const std::string& line : protocol.lines)
        std::printf("%s\n", line.c_str());
    std::printf("HITS: %u\nGRPD: %u\nDLTD: %u\n", data.HitCount, data.GroupedCount, data.DeletedCount);
    return 0;
}

} // namespace

LMTOOL_COMMAND(clean, "clean", "frame, group, delete the grouped hits and save the rest", RunClean);
