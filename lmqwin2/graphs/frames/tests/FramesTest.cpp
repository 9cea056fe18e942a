// Framing hits, event-mode framing and its failure, the frame array, the finishing of a
// frame with the frame-limit answers, and the "Sets" commands with their protocol lines.

#include "datafiles/ELMData.h"
#include "lmqwin2/graphs/frames/FrameSession.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace lm {
namespace {

LMShortHit Hit(double seconds, uint8_t channel, uint8_t amplitude, uint16_t energy)
{
    LMShortHit hit;
    hit.kind = rkHit;
    hit.time = TickTime::FromSeconds(seconds);
    hit.channel = channel;
    hit.amplitude = amplitude;
    hit.energy = energy;
    return hit;
}

TFrameRect AmpEnergyFrame(double ampMin, double ampMax, double enMin, double enMax,
                          const char* channels = nullptr)
{
    TFrameRect frame;
    frame.XParam = int32_t(hpAmplitude);
    frame.YParam = int32_t(hpEnergy);
    frame.XMin = ampMin;
    frame.XMax = ampMax;
    frame.YMin = enMin;
    frame.YMax = enMax;
    if (channels)
        frame.Channels = ChannelMask(std::string(channels)); // rightmost char = channel 1
    else
        frame.Channels.set();
    return frame;
}

void Load(LMDataSet& data, std::vector<LMShortHit> records)
{
    data.Records = std::move(records);
    data.RecordCount = uint32_t(data.Records.size());
    data.HitCount = 0;
    for (const LMShortHit& r : data.Records)
        data.HitCount += r.kind == rkHit;
    data.FileName = "test";
}

std::vector<uint16_t> Bits(const LMDataSet& data)
{
    std::vector<uint16_t> bits;
    for (const LMShortHit& r : data.Records)
        bits.push_back(r.FrameBits);
    return bits;
}

struct CollectingSink : FrameProtocolSink {
    void Message(const std::string& text) override { lines.push_back(text); }
    void NewSelection(const TFrameRect& frame) override
    {
        lines.push_back("New selection " + std::to_string(frame.Slot));
    }
    std::vector<std::string> lines;
};

TEST(FrameTest, InclusiveBoundsChannelsAndTimeFilter)
{
    FrameFilter filter = FrameFilter::From(AmpEnergyFrame(40, 60, 10, 20, "1111"), {}, false);
    const struct {
        LMShortHit hit;
        bool passes;
    } cases[] = {
        {Hit(1, 1, 40, 10), true},  // lower corner exactly
        {Hit(1, 4, 60, 20), true},  // upper corner exactly, last selected channel
        {Hit(1, 5, 50, 15), false}, // channel not selected
        {Hit(1, 0, 50, 15), false}, // channel 0 never passes
        {Hit(1, 1, 39, 15), false}, {Hit(1, 1, 61, 15), false},
        {Hit(1, 1, 50, 9), false},  {Hit(1, 1, 50, 21), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(filter.Passes(c.hit), c.passes) << int(c.hit.channel) << " " << int(c.hit.amplitude);

    TFrameRect all = AmpEnergyFrame(0, 255, 0, 65535);
    all.Channels.set();
    LMShortHit high = Hit(1, 200, 50, 15);
    EXPECT_FALSE(FrameFilter::From(all, {}, false).Passes(high)); // above 128
    high.channel = 128;
    EXPECT_TRUE(FrameFilter::From(all, {}, false).Passes(high));

    // Time filter (100, 200): inclusive whole seconds.
    FrameFilter timed = FrameFilter::From(all, {true, 100, 200}, false);
    EXPECT_FALSE(timed.Passes(Hit(99.999, 1, 50, 15)));
    EXPECT_TRUE(timed.Passes(Hit(100, 1, 50, 15)));
    EXPECT_TRUE(timed.Passes(Hit(200, 1, 50, 15)));
    EXPECT_FALSE(timed.Passes(Hit(200.0001, 1, 50, 15)));

    // A time axis: a hit exactly on a limit lies inside, also where its time in seconds
    // carries a conversion error beyond the limit's last digit.
    const struct {
        double from, to, seconds;
        bool passes;
    } onTime[] = {{1, 3, 3.0, true},   {3, 5, 3.0, true},   {0, 7, 7.0, true},       {2.5, 3.7, 3.7, true},
                  {3.7, 9, 3.7, true}, {0, 12, 12.0, true}, {0, 2.9999, 3.0, false}, {3.0001, 5, 3.0, false}};
    for (const auto& c : onTime) {
        TFrameRect frame = all;
        frame.XParam = int32_t(hpTime);
        frame.XMin = c.from;
        frame.XMax = c.to;
        EXPECT_EQ(FrameFilter::From(frame, {}, false).Passes(Hit(c.seconds, 1, 50, 15)), c.passes)
            << c.seconds << " in " << c.from << "-" << c.to;
    }
}

// An axis compares the value of its parameter at double precision with the limits: every
// hit around the limits (and NaN or out-of-range limits) passes exactly when the value does.
TEST(FrameTest, AxisSelectsWhatTheValueTestSelects)
{
    const auto byValue = [](const LMShortHit& hit, HitParam param, double min, double max) {
        const double v = double(hit.Value(param));
        return !(v < min) && !(v > max);
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        HitParam param;
        double min, max;
    } axes[] = {
        {hpTime, 2.5, 3.7},
        {hpTime, 1e-7, 2.5e-7},
        {hpTime, 0, 70368744.17775},
        {hpTime, -1, 1e30},
        {hpTime, nan, 1.0},
        {hpAmplitude, 40.5, 60},
        {hpAmplitude, -5, 300},
        {hpAmplitude, 61, 60},
        {hpAmplitude, 40, nan},
        {hpChannel, 1, 4},
        {hpRise, 0.25, 65535.5},
        {hpCounts, 7, 7},
        {hpEnergy, 65535, 1e9},
        {hpDuration, 3, 4294967294.5},
        {hpPar1, -0.5, 0.5},
        {hpFreq, 10, 250},
        {hpCntPk, 0, 0},
    };
    // Time ticks near the limits above; values near them for the fields.
    const uint64_t ticks[] = {0,
                              1,
                              2,
                              3,
                              9999999,
                              10000000,
                              10000001,
                              14799999,
                              14800000,
                              14800001,
                              281474976710655ull,
                              281474976710654ull};
    const uint32_t values[] = {0,  1,  3,  4,  5,   6,     7,     8,           39,
                               40, 41, 60, 61, 255, 65534, 65535, 4294967294u, 4294967295u};
    for (const auto& axis : axes) {
        const FrameAxis tested(axis.param, axis.min, axis.max);
        for (uint64_t t : ticks)
            for (uint32_t v : values) {
                LMShortHit hit;
                hit.time = TickTime::FromValue(t);
                hit.channel = uint8_t(v);
                hit.amplitude = uint8_t(v);
                hit.rise = uint16_t(v);
                hit.counts = uint16_t(v);
                hit.energy = uint16_t(v);
                hit.duration = v;
                hit.Par1 = float(int(v % 3) - 1) * 0.5f;
                EXPECT_EQ(tested.Contains(hit), byValue(hit, axis.param, axis.min, axis.max))
                    << "param " << axis.param << " [" << axis.min << ", " << axis.max << "] ticks " << t
                    << " value " << v;
            }
    }
}

TEST(FrameHitsTest, SkipsGroupedAndDeletedAndCountsFramed)
{
    LMDataSet data;
    LMShortHit comment;
    comment.kind = rkComment;
    comment.amplitude = 50;
    Load(data, {Hit(1, 1, 50, 15), Hit(2, 1, 50, 15), Hit(3, 1, 50, 15), comment, Hit(4, 1, 70, 15)});
    data.Records[1].SetHitFlags(hfGrouped);
    data.Records[2].SetHitFlags(hfDeleted);
    data.Records[4].FrameBits = 0b1; // framed by slot 0 already

    FrameHits(data, FrameFilter::From(AmpEnergyFrame(40, 60, 10, 20), {}, false), 1);
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{0b10, 0, 0, 0, 0b1}));
    EXPECT_EQ(data.FramedCount, 2u); // hits with any frame bit
}

TEST(FrameHitsTest, EventModeFramesWholeEvents)
{
    LMDataSet data;
    // Event A: first hit inside the frame, second hit (other channel, outside) 3 us later.
    // Event B: first hit outside, second hit inside.
    Load(data,
         {Hit(1.0, 1, 50, 15), Hit(1.000003, 2, 90, 900), Hit(2.0, 1, 90, 900), Hit(2.000002, 1, 50, 15)});
    data.ResetEvents(5, 20);
    data.MptWindow = TickTime::FromSeconds(5e-6);
    data.EventReference = TickTime::FromSeconds(7.0); // framing restarts the events itself
    FrameHits(data, FrameFilter::From(AmpEnergyFrame(40, 60, 10, 20, "1"), {}, true), 0);
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{1, 1, 0, 0}));
    EXPECT_EQ(data.FramedCount, 2u);
}

TEST(FrameHitsTest, EventModeOutOfOrderChangesNothing)
{
    LMDataSet data;
    Load(data, {Hit(1.0, 1, 50, 15), Hit(3.0, 1, 50, 15), Hit(2.0, 1, 50, 15), Hit(4.0, 1, 50, 15)});
    data.ResetEvents(5, 20);
    data.Records[0].FrameBits = 0b1; // slot 0 framed this hit earlier
    data.FramedCount = 1;

    TFrameArray frames;
    frames.Add(AmpEnergyFrame(0, 1, 0, 1), data, {}, false); // slot 0, selects nothing new
    ASSERT_EQ(data.FramedCount, 1u);
    const std::vector<uint16_t> before = Bits(data);
    try {
        frames.Add(AmpEnergyFrame(40, 60, 10, 20), data, {}, true);
        FAIL() << "no exception";
    } catch (const ELMData& error) {
        EXPECT_EQ(error.Code, 2001);
    }
    EXPECT_DOUBLE_EQ(data.NotSortedTime, 2.0);
    EXPECT_EQ(Bits(data), before);
    EXPECT_EQ(data.FramedCount, 1u);
    EXPECT_EQ(frames.Count(), 1);
    EXPECT_EQ(frames.OccupiedMask(), 0b1);

    // The same frame in plain mode works on the unsorted file.
    EXPECT_TRUE(frames.Add(AmpEnergyFrame(40, 60, 10, 20), data, {}, false));
    EXPECT_EQ(data.FramedCount, 4u);
}

TEST(FrameArrayTest, PacksSlotsAndRefusesTheNinth)
{
    LMDataSet data;
    Load(data, {Hit(1, 1, 50, 15)});
    TFrameArray frames;
    EXPECT_FALSE(frames.Any());
    for (int i = 0; i < kFrameSlots; ++i)
        EXPECT_TRUE(frames.Add(AmpEnergyFrame(40, 60, 10, 20), data, {}, false));
    EXPECT_EQ(frames.Count(), 8);
    EXPECT_EQ(frames.OccupiedMask(), 0xFF);
    EXPECT_EQ(frames.At(5)->Slot, 5);
    EXPECT_EQ(data.Records[0].FrameBits, 0xFF);
    EXPECT_FALSE(frames.Add(AmpEnergyFrame(40, 60, 10, 20), data, {}, false));
    EXPECT_EQ(frames.DeleteAll(), 8);
    EXPECT_FALSE(frames.Any());
    EXPECT_EQ(frames.At(0), nullptr);
    EXPECT_EQ(data.Records[0].FrameBits, 0xFF); // bits are the caller's business
}

TEST(NewSelectionLine, CarriesTheFrameAndTheView)
{
    TFrameRect frame = AmpEnergyFrame(40, 60.5, 0, 1000, "1010111");
    EXPECT_EQ(NewSelectionText(MakeNewSelection(frame, "Amp", "Ener", true, {true, 100, 200})),
              "New selection:\tAmp(40.00-60.50) - Ener(0.00-1000.00); Events: Yes; Chans: 1-3,5,7; "
              "Time range filter: 100.00 - 200.00");
    EXPECT_EQ(NewSelectionText(MakeNewSelection(frame, "Amp", "Ener", false, {})),
              "New selection:\tAmp(40.00-60.50) - Ener(0.00-1000.00); Events: No; Chans: 1-3,5,7");
}

class FinishTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Hit 0 in frame A only, hit 1 in A and B, hit 2 in B only, hit 3 in C.
        Load(data, {Hit(1, 1, 50, 15), Hit(2, 1, 55, 150), Hit(3, 1, 70, 150), Hit(4, 1, 90, 900)});
    }
    TFrameRect A = AmpEnergyFrame(40, 60, 0, 200);
    TFrameRect B = AmpEnergyFrame(52, 80, 100, 200);
    TFrameRect C = AmpEnergyFrame(85, 95, 0, 1000);
    LMDataSet data;
    TFrameArray frames;
    CollectingSink sink;
    FrameSession session{data, frames, sink, {}, false};
};

TEST_F(FinishTest, ReplaceAndAdd)
{
    ReplaceFrames(session, A);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"New selection 0"}));
    EXPECT_EQ(AddFrame(session, B), AddFrameResult::Added);
    EXPECT_EQ(AddFrame(session, C), AddFrameResult::Added);
    EXPECT_EQ(data.FramedCount, 4u);
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{0b001, 0b011, 0b010, 0b100}));

    // Without Shift: the three frames go, one line, only the new frame's hits count.
    sink.lines.clear();
    ReplaceFrames(session, B);
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{"All existing selections cleaned...", "New selection 0"}));
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{0, 1, 1, 0}));
    EXPECT_EQ(data.FramedCount, 2u);
    EXPECT_EQ(frames.Count(), 1);
}

TEST_F(FinishTest, FrameLimitChoices)
{
    auto fill = [&] {
        frames.DeleteAll();
        data.ClearFrameBits();
        data.ClearGrouped();
        ReplaceFrames(session, A);
        AddFrame(session, B);
        for (int i = 2; i < kFrameSlots; ++i)
            AddFrame(session, AmpEnergyFrame(0, 255, 0, 65535));
        sink.lines.clear();
        ASSERT_EQ(AddFrame(session, C), AddFrameResult::LimitReached);
        EXPECT_TRUE(sink.lines.empty());
    };

    fill();
    ResolveFrameLimit(session, C, FrameLimitChoice::IgnoreNew);
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_EQ(frames.Count(), 8);

    fill();
    ResolveFrameLimit(session, C, FrameLimitChoice::DeleteAllExceptNew);
    EXPECT_EQ(sink.lines,
              (std::vector<std::string>{"All existing selections cleaned...", "New selection 0"}));
    EXPECT_EQ(frames.Count(), 1);
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{0, 0, 0, 1}));

    fill();
    ResolveFrameLimit(session, C, FrameLimitChoice::GroupAndAddNew);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Existing selections (1) grouped by AND..."}));
    EXPECT_EQ(data.Records[1].HitFlags(), hfGrouped); // the hit in every frame
    EXPECT_EQ(data.GroupedCount, 1u);
    EXPECT_EQ(frames.Count(), 1);
    EXPECT_EQ(Bits(data), (std::vector<uint16_t>{0, 0, 0, 1}));
    EXPECT_EQ(data.FramedCount, 1u);

    fill();
    ResolveFrameLimit(session, C, FrameLimitChoice::GroupOrAddNew);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"Existing selections (4) grouped by OR..."}));
    EXPECT_EQ(data.GroupedCount, 4u);
    // The new frame finds only grouped hits: nothing framed.
    EXPECT_EQ(data.FramedCount, 0u);
    EXPECT_EQ(frames.Count(), 1);
}

TEST_F(FinishTest, SetCommandsWriteTheirLines)
{
    EXPECT_FALSE(GroupFrames(session, true)); // no frame: nothing at all
    EXPECT_FALSE(DeleteAllFrames(session));
    EXPECT_TRUE(sink.lines.empty());

    ReplaceFrames(session, A);
    AddFrame(session, B);
    EXPECT_TRUE(GroupFrames(session, true));
    EXPECT_FALSE(frames.Any());
    EXPECT_EQ(DeleteGroupedData(session), 1u);
    EXPECT_EQ(DeleteGroupedData(session), 0u);
    EXPECT_EQ(InvertGroupedData(session), 1u); // 3 grouped, the deleted one not
    ClearGroupedData(session);
    EXPECT_EQ(InvertDeletedData(session), 1u);

    ReplaceFrames(session, C);    // frames C; hit 3 is deleted now, so nothing is framed
    UndeleteData(session, false); // No: frames go, no line
    EXPECT_FALSE(frames.Any());
    ReplaceFrames(session, A);
    EXPECT_TRUE(DeleteAllFrames(session));
    UndeleteData(session, true);
    EXPECT_EQ(data.DeletedCount, 0u);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{
                              "New selection 0",
                              "New selection 1",
                              "Existing selections (1) grouped by AND...",
                              "Grouped data (1) deleted...",
                              "Grouped data (0) deleted...",
                              "Grouped data (1) inverted...",
                              "Grouped data cleaned...",
                              "All Deleted data (1) inverted...",
                              "New selection 0",
                              "New selection 0",
                              "Existing selections cleaned...",
                              "Deleted data undeleted...",
                          }));
}

TEST_F(FinishTest, FailedEventFramingOnReplaceLeavesNoSelectionLine)
{
    std::swap(data.Records[0].time, data.Records[2].time); // out of order
    session.EventMode = true;
    EXPECT_THROW(ReplaceFrames(session, A), ELMData);
    EXPECT_TRUE(sink.lines.empty());
    EXPECT_FALSE(frames.Any());
    EXPECT_EQ(data.FramedCount, 0u);
}

} // namespace
} // namespace lm
