#include "lmtool/support_stat.h"

#include "lmqwin2/evaluation/ATestStat.h"
#include "lmqwin2/graphs/frames/FrameSession.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <sstream>

namespace lmtool {

namespace {

// Statistics write no protocol.
class SilentProtocol final : public lm::FrameProtocolSink {
public:
    void Message(const std::string&) override {}
    void NewSelection(const lm::TFrameRect&) override {}
};

} // namespace

std::string StatisticsText(lm::LMDataSet& data, const lm::ATestSetup& setup,
                           const std::vector<FrameSpec>& specs, const lm::ChannelMask& channels, bool events)
{
    lm::TFrameArray frames;
    SilentProtocol protocol;
    lm::FrameSession session{data, frames, protocol, lm::TimeRangeFilter{}, events};
    lm::ATestStat stat(setup);
    // Framing in event view and the statistics classify with the test setup's windows.
    data.ResetEvents(setup.MPT, setup.Lockout);
    DrawFrames(session, specs, channels);
    stat.Build(data.Records, frames.OccupiedMask(), channels, events ? &data : nullptr);

    std::ostringstream out;
    out << "== Amplitude Distr.\n";
    stat.PrintAmplitudeTable(out);
    out << "== Statistic Distr.\n";
    stat.PrintParameterTables(out);
    out << "== MONPAC+\n";
    stat.PrintMonpacTable(out);
    out << "== Local/Dynamic\n";
    stat.PrintLocDynTable(out);
    out << "== Pressure holds\n";
    stat.PrintHoldsTable(out);
    return out.str();
}

} // namespace lmtool
