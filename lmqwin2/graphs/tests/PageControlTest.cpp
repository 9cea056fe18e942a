// Pages built from the graph tables, frames finished from a band, time zoom and the mouse.

#include "GraphTestSupport.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

using test::FakeGraphSource;
using test::FixedAnswer;
using test::GraphFixture;
using test::HasLine;
using test::Hit;
using test::LinesWith;
using test::PointRecord;

GraphRecord Cell(int type, int lx, int ly, int rx, int ry)
{
    GraphRecord r = PointRecord("g", hpAmplitude, 0, 100, hpEnergy, 0, 100, lx, ly, rx, ry);
    r.graphTypeId = type;
    return r;
}

std::vector<int> FilledSlots(const TLMTabSheet& page)
{
    std::vector<int> out;
    for (size_t i = 0; i < page.Graphs.size(); ++i)
        if (page.Graphs[i])
            out.push_back(int(i));
    return out;
}

TEST(BuildPages, RecordsOutsideTheGridOrOfUnknownTypeEndThePage)
{
    struct Case {
        const char* what;
        int horiz, vert;
        std::vector<GraphRecord> records;
        std::vector<int> slots;
    } cases[] = {
        {"RX 6 on a 5-wide grid",
         5,
         4,
         {Cell(1, 0, 0, 1, 1), Cell(2, 1, 0, 2, 1), Cell(1, 4, 0, 6, 1), Cell(1, 0, 1, 1, 2)},
         {0, 1}},
        {"more records than cells", 2, 2, std::vector<GraphRecord>(6, Cell(1, 0, 0, 1, 1)), {0, 1, 2, 3}},
        {"unknown type", 5, 4, {Cell(3, 0, 0, 1, 1), Cell(7, 1, 0, 2, 1), Cell(1, 2, 0, 3, 1)}, {0}},
        {"RY beyond the grid", 5, 4, {Cell(1, 0, 0, 1, 5)}, {}},
    };
    for (const Case& c : cases) {
        GraphFixture f({}, {});
        f.options.HorizGraphNum = c.horiz;
        f.options.VertGraphNum = c.vert;
        f.source = FakeGraphSource::OnePage(c.records);
        f.control.BuildPages(f.box);
        ASSERT_EQ(f.control.PageCount(), 1) << c.what;
        EXPECT_EQ(FilledSlots(f.control.Page(0)), c.slots) << c.what;
        EXPECT_EQ(f.control.Page(0).GraphCount, int(c.slots.size())) << c.what;
        EXPECT_TRUE(f.box.warnings.empty()) << c.what;
    }
}

TEST(BuildPages, TheGraphSetChosenByStartUpGraph)
{
    FakeGraphSource two;
    two.systems = {GraphSystem{1, "A", "", 1}, GraphSystem{2, "B", "", 1}, GraphSystem{3, "Empty", "", 0}};
    two.pages[1] = {GraphPage{10, 1, "A1"}};
    two.pages[2] = {GraphPage{20, 2, "B1"}, GraphPage{21, 2, "B2"}};
    struct Case {
        int startUp;
        int lastUsed;
        bool chosenInEditor;
        std::vector<std::string> captions;
        std::vector<std::string> warnings;
    } cases[] = {
        {0, 2, false, {}, {}},      {0, 2, true, {"B1", "B2"}, {}},        {1, 2, false, {"B1", "B2"}, {}},
        {1, 99, false, {"A1"}, {}}, // no such set: the first row stays current
        {2, 2, false, {"A1"}, {}},  {1, 3, false, {}, {"Error|No Pages"}},
    };
    for (const Case& c : cases) {
        GraphFixture f({}, {});
        f.source = two;
        f.options.StartUpGraph = c.startUp;
        f.options.LastUsedGraphNo = c.lastUsed;
        f.control.GraphSetChosen = c.chosenInEditor;
        f.box.warnings.clear();
        f.control.BuildPages(f.box);
        std::vector<std::string> captions;
        for (int i = 0; i < f.control.PageCount(); ++i)
            captions.push_back(f.control.Page(i).Caption);
        EXPECT_EQ(captions, c.captions) << c.startUp << "/" << c.lastUsed;
        EXPECT_EQ(f.box.warnings, c.warnings) << c.startUp << "/" << c.lastUsed;
    }
}

TEST(BuildPages, ChannelTokensThatAreNoChannelAreIgnoredAndReported)
{
    GraphRecord r = Cell(1, 0, 0, 1, 1);
    r.name = "Amp";
    r.channels = "1, 3;x 200 0";
    GraphFixture f({r}, {});
    const TLMGraph& g = f.Graph();
    EXPECT_TRUE(g.HasOwnChannels);
    EXPECT_EQ(g.OwnChannels.count(), 2u);
    EXPECT_TRUE(g.OwnChannels.test(0) && g.OwnChannels.test(2));
    EXPECT_EQ(
        f.control.BuildNote,
        "Channels ignored (not a channel 1-128): \"x\" in \"Amp\", \"200\" in \"Amp\", \"0\" in \"Amp\"");
}

TEST(BuildPages, RebuildTurnsTheTimeFilterOffAndSetsTheTimeAxesFromTheData)
{
    GraphFixture f({PointRecord("t", hpTime, 0, 3600, hpAmplitude, 0, 100)}, {Hit(1, 1, 50)});
    f.control.ZoomTo(10, 20);
    f.options.TimeAxisFromFile = true;
    f.control.Data().TimeAxisMax = 130;
    f.control.BuildPages(f.box);
    EXPECT_FALSE(f.options.TimeFilterOn);
    EXPECT_TRUE(f.control.Common().ZoomStack.empty());
    EXPECT_EQ(f.Graph().XMin, 0);
    EXPECT_EQ(f.Graph().XMax, 130);
}

// --- Frames: a point graph of amplitude (X 0..100) against energy (Y 0..100) over the
// whole page; hits at amplitude 10, 20, ... 90.

struct FrameFixture : GraphFixture {
    FrameFixture()
        : GraphFixture({PointRecord("frames", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 5, 4)}, Hits())
    {
    }
    static std::vector<LMShortHit> Hits()
    {
        std::vector<LMShortHit> hits;
        for (int i = 1; i <= 9; ++i)
            hits.push_back(Hit(i, 1, 10 * i, 50));
        return hits;
    }
    // A band around amplitudes [lo, hi] (pixel 50 + 9.3 per dB) and energy 40..60.
    BandRect Band(int lo, int hi) const
    {
        return BandRect{50 + int(lo * 9.3) - 2, 286, 50 + int(hi * 9.3) + 2, 415};
    }
    MouseOutcome Drag(int lo, int hi, bool shift, AFrameLimitQuestion& q)
    {
        return control.FinishBand(Graph(), Band(lo, hi), MouseModifiers{shift, false, false}, q);
    }
    std::vector<std::string> Protocol() const
    {
        std::vector<std::string> out;
        for (const std::string& line : protocol.Lines)
            out.push_back(line.substr(2, line.find('\t', 2) == std::string::npos ? std::string::npos
                                                                                 : line.find('\t', 2) - 2));
        return out;
    }
};

TEST(FinishFrame, ReplaceCleansTheOldFramesFirst)
{
    FrameFixture f;
    FixedAnswer never(FrameLimitChoice::IgnoreNew);
    MouseOutcome out = f.Drag(20, 30, false, never);
    EXPECT_TRUE(out.FrameFinished && out.Repaint);
    EXPECT_EQ(f.control.Data().FramedCount, 2u);
    f.Drag(50, 50, true, never);
    f.Drag(70, 70, true, never);
    ASSERT_EQ(f.control.Frames().Count(), 3);
    f.protocol.Lines.clear();
    f.Drag(80, 90, false, never);
    EXPECT_EQ(f.control.Frames().Count(), 1);
    EXPECT_EQ(f.control.Data().FramedCount, 2u) << "only the new frame's hits";
    ASSERT_EQ(f.protocol.Lines.size(), 2u);
    EXPECT_EQ(f.protocol.Lines[0], "T\tAll existing selections cleaned...");
    EXPECT_EQ(f.protocol.Lines[1].rfind("T\tNew selection:\tAmp(", 0), 0u) << f.protocol.Lines[1];
    EXPECT_NE(f.protocol.Lines[1].find(") - Ener("), std::string::npos);
    EXPECT_EQ(never.asked, 0);
    const TFrameRect* frame = f.control.Frames().At(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Graph, f.Graph().Identity());
    EXPECT_NEAR(frame->XMin, 80, 0.5);
    EXPECT_NEAR(frame->XMax, 90, 0.5);
    EXPECT_NEAR(frame->YMin, 40, 0.2);
    EXPECT_NEAR(frame->YMax, 60, 0.2);
}

TEST(FinishFrame, ShiftAddsAndTheNinthFrameAsksTheQuestion)
{
    struct Case {
        FrameLimitChoice choice;
        int frames;
        std::vector<std::string> protocol;
        uint32_t grouped;
    } cases[] = {
        {FrameLimitChoice::DeleteAllExceptNew,
         1,
         {"All existing selections cleaned...", "New selection:"},
         0},
        {FrameLimitChoice::IgnoreNew, 8, {}, 0},
        {FrameLimitChoice::GroupAndAddNew, 1, {"Existing selections (0) grouped by AND..."}, 0},
        {FrameLimitChoice::GroupOrAddNew, 1, {"Existing selections (8) grouped by OR..."}, 8},
    };
    for (const Case& c : cases) {
        FrameFixture f;
        FixedAnswer answer(c.choice);
        for (int i = 1; i <= 8; ++i)
            f.Drag(10 * i, 10 * i, true, answer);
        ASSERT_EQ(f.control.Frames().Count(), 8);
        EXPECT_EQ(f.protocol.Lines.size(), 8u) << "one New selection line per frame";
        EXPECT_EQ(answer.asked, 0);
        f.protocol.Lines.clear();
        f.Drag(90, 90, true, answer);
        EXPECT_EQ(answer.asked, 1);
        EXPECT_EQ(f.control.Frames().Count(), c.frames);
        std::vector<std::string> texts;
        for (const std::string& line : f.protocol.Lines) {
            const std::string text = line.substr(2);
            texts.push_back(text.rfind("New selection:", 0) == 0 ? "New selection:" : text);
        }
        EXPECT_EQ(texts, c.protocol);
        EXPECT_EQ(f.control.Data().GroupedCount, c.grouped);
    }
}

TEST(FinishFrame, HitsOutOfOrderInEventViewLeaveNoFrameAndReportTheError)
{
    GraphFixture f({PointRecord("e", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 5, 4)},
                   {Hit(2, 1, 10), Hit(1, 1, 20)});
    f.options.EventsView = true;
    FixedAnswer q(FrameLimitChoice::IgnoreNew);
    const MouseOutcome out = f.control.FinishBand(f.Graph(), BandRect{50, 25, 980, 675}, {}, q);
    EXPECT_EQ(out.Error, "Data file doesn't sorted (1.00 s). Event View is impossible.");
    EXPECT_EQ(f.control.Frames().Count(), 0);
    EXPECT_EQ(f.control.Data().FramedCount, 0u);
    EXPECT_TRUE(f.protocol.Lines.empty()) << "no selection line for a frame that does not exist";
}

TEST(FinishFrame, FramesAreDrawnFromTheirValuesAndFollowATimeZoom)
{
    GraphFixture f({PointRecord("t", hpTime, 0, 100, hpAmplitude, 0, 100, 0, 0, 5, 4)}, {Hit(15, 1, 50)});
    FixedAnswer q(FrameLimitChoice::IgnoreNew);
    // Band from 10 s to 20 s (9.3 pixels a second), amplitude 0..100.
    f.control.FinishBand(f.Graph(), BandRect{143, 25, 236, 675}, {}, q);
    ASSERT_EQ(f.control.Data().FramedCount, 1u);
    auto rects = [&] { return LinesWith(f.Ops(), "rect "); };
    EXPECT_EQ(rects().back(), "rect 47 22 983 678 FFFFFF") << "the axis frame is drawn after the frames";
    const auto before = rects();
    ASSERT_EQ(before.size(), 2u);
    int l, t, r, b;
    ASSERT_EQ(std::sscanf(before[0].c_str(), "rect %d %d %d %d", &l, &t, &r, &b), 4);
    EXPECT_NEAR(l, 143, 1);
    EXPECT_NEAR(r, 236, 1);
    EXPECT_EQ(t, 25);
    EXPECT_EQ(b, 675);
    f.control.ZoomTo(0, 50); // 18.6 pixels a second
    ASSERT_EQ(std::sscanf(rects()[0].c_str(), "rect %d %d %d %d", &l, &t, &r, &b), 4);
    EXPECT_NEAR(l, 236, 1);
    EXPECT_NEAR(r, 422, 1);
    f.control.ZoomTo(50, 60);
    EXPECT_EQ(rects().size(), 1u) << "a frame outside the zoomed range is not shown";
    f.control.BuildPages(f.box);
    EXPECT_EQ(rects().size(), 1u) << "a rebuilt page no longer shows the frame";
    EXPECT_EQ(f.control.Frames().Count(), 1);
}

TEST(FinishFrame, FrameOutlineColourFollowsTheColourMode)
{
    struct Case {
        int mode;
        const char* colour;
    } cases[] = {{0, "008000"}, {1, "00FF00"}, {2, "FFFF00"}};
    for (const Case& c : cases) {
        FrameFixture f;
        FixedAnswer q(FrameLimitChoice::IgnoreNew);
        f.Drag(20, 30, false, q);
        f.options.ViewType = c.mode;
        const auto rects = LinesWith(f.Ops(), "rect ");
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ(rects[0].substr(rects[0].size() - 6), c.colour) << c.mode;
    }
}

// --- Time zoom and the mouse.

struct TimeFixture : GraphFixture {
    TimeFixture()
        : GraphFixture({PointRecord("a", hpTime, 0, 100, hpAmplitude, 0, 100, 0, 0, 5, 2),
                        PointRecord("b", hpTime, 0, 100, hpAmplitude, 0, 100, 0, 2, 5, 4),
                        PointRecord("c", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 1, 1)},
                       {Hit(1, 1, 50)})
    {
        control.Common().FrameMode = false; // zoom mode
    }
    MouseOutcome Drag(int slot, int x1, int x2, MouseModifiers mods)
    {
        FixedAnswer q(FrameLimitChoice::IgnoreNew);
        control.MouseDown(0, slot, MouseButton::Left, mods, x1, 100);
        control.MouseMove(0, slot, mods, x2, 200);
        return control.MouseUp(0, slot, MouseButton::Left, mods, x2, 200, q);
    }
};

TEST(TimeZoom, DragZoomsAllGraphsToWholeSeconds)
{
    struct Case {
        int x1, x2; // 9.3 pixels a second from 50
        ATimeRange want;
    } cases[] = {
        {151, 237, {10, 20}}, // 10.86 .. 20.1 s
        {237, 151, {10, 20}}, // dragged to the left
        {145, 148, {10, 11}}, // both ends in second 10
        {0, 2000, {0, 100}},  // clipped to the plot
    };
    for (const Case& c : cases) {
        TimeFixture f;
        const MouseOutcome out = f.Drag(0, c.x1, c.x2, {});
        EXPECT_TRUE(out.Zoomed);
        EXPECT_FALSE(out.FrameFinished);
        EXPECT_EQ(f.control.Common().ZoomStack, std::vector<ATimeRange>{c.want});
        EXPECT_TRUE(f.options.TimeFilterOn);
        EXPECT_EQ(f.options.TimeFilterStart, c.want.Start);
        EXPECT_EQ(f.options.TimeFilterEnd, c.want.End);
        EXPECT_EQ(f.Graph(1).XMin, c.want.Start);
        EXPECT_EQ(f.Graph(1).XMax, c.want.End);
        EXPECT_EQ(f.Graph(2).XMax, 100) << "graphs whose X is not time keep their range";
    }
}

TEST(TimeZoom, AltZoomsOneGraphAndUnZoomResetsAll)
{
    TimeFixture f;
    f.Graph(1).NeedsRedraw = false;
    f.Drag(0, 151, 237, MouseModifiers{false, false, true});
    EXPECT_EQ(f.Graph(0).XMin, 10);
    EXPECT_EQ(f.Graph(0).XMax, 20);
    EXPECT_EQ(f.Graph(1).XMax, 100);
    EXPECT_FALSE(f.options.TimeFilterOn);
    EXPECT_FALSE(f.Graph(1).NeedsRedraw) << "only the zoomed graph is redrawn";
    EXPECT_EQ(f.control.Common().ZoomStack.size(), 1u);
    EXPECT_TRUE(f.control.UnZoom());
    EXPECT_EQ(f.Graph(0).XMin, 0);
    EXPECT_EQ(f.Graph(0).XMax, 100);
    EXPECT_TRUE(f.Graph(1).NeedsRedraw);
    EXPECT_FALSE(f.control.UnZoom()) << "an empty stack: nothing happens";
}

TEST(TimeZoom, UnZoomToARangeStillOnTheStackAndScrolling)
{
    TimeFixture f;
    f.options.TimeAxisFromFile = true;
    f.control.Data().TimeAxisMax = 130;
    f.control.ZoomTo(100, 104);
    EXPECT_TRUE(f.control.TimeScroll(true));
    EXPECT_EQ(f.control.Common().ZoomStack.back(), (ATimeRange{101, 105}));
    f.control.ZoomTo(100, 100);
    EXPECT_EQ(f.control.Common().ZoomStack.back(), (ATimeRange{100, 101}));
    f.control.TimeScroll(true);
    EXPECT_EQ(f.control.Common().ZoomStack.back(), (ATimeRange{101, 102}));
    f.control.ZoomTo(2, 32);
    f.control.TimeScroll(false);
    EXPECT_EQ(f.control.Common().ZoomStack.back(), (ATimeRange{0, 30}));
    EXPECT_EQ(f.Graph(0).XMax, 30);
    f.options.TimeFilterOn = false;
    f.control.UnZoom();
    EXPECT_TRUE(f.options.TimeFilterOn);
    EXPECT_EQ(f.options.TimeFilterStart, 2);
    EXPECT_EQ(f.Graph(0).XMin, 2);
    while (f.control.UnZoom()) {
    }
    EXPECT_FALSE(f.options.TimeFilterOn);
    EXPECT_EQ(f.Graph(0).XMax, 130) << "reset to the data file's range";
}

TEST(Mouse, BandStartsByGraphKindModeAndCtrl)
{
    struct Case {
        int slot;
        bool frameMode, ctrl;
        bool band;
    } cases[] = {
        {2, true, false, true},
        {2, false, false, true}, // point graph of amplitude: always
        {0, true, false, true},  // a point graph of time too
    };
    for (const Case& c : cases) {
        TimeFixture f;
        f.control.Common().FrameMode = c.frameMode;
        const MouseOutcome out =
            f.control.MouseDown(0, c.slot, MouseButton::Left, {false, c.ctrl, false}, 60, 60);
        EXPECT_EQ(out.BandVisible, c.band);
    }
    // A line graph whose X is not time never starts a band; one of time only in zoom mode or with Ctrl.
    GraphRecord hist = PointRecord("h", hpAmplitude, 0, 100, 0, 0, 10);
    hist.graphTypeId = kHistogram;
    GraphRecord line = PointRecord("l", hpTime, 0, 100, 0, 0, 10, 1, 0, 2, 1);
    line.graphTypeId = kLineGraph;
    GraphFixture f({hist, line}, {});
    EXPECT_FALSE(f.control.MouseDown(0, 0, MouseButton::Left, {}, 60, 60).BandVisible);
    EXPECT_FALSE(f.control.MouseDown(0, 1, MouseButton::Left, {}, 60, 60).BandVisible);
    EXPECT_TRUE(f.control.MouseDown(0, 1, MouseButton::Left, {false, true, false}, 60, 60).BandVisible);
    f.control.Common().FrameMode = false;
    EXPECT_TRUE(f.control.MouseDown(0, 1, MouseButton::Left, {}, 60, 60).BandVisible);
    EXPECT_TRUE(f.control.MouseDown(0, 0, MouseButton::Right, {false, true, false}, 60, 60).CopyRequested);
}

TEST(Mouse, BandIsNormalisedClippedAndTheReadOutShowsValues)
{
    TimeFixture f;
    f.control.MouseDown(0, 2, MouseButton::Left, {}, 150, 100);
    const MouseOutcome out = f.control.MouseMove(0, 2, {}, 10, 500);
    EXPECT_TRUE(out.BandVisible && out.BandChanged);
    EXPECT_EQ(out.Band, (BandRect{50, 100, 150, 150})) << "plot 50,25 .. 180,150";
    EXPECT_EQ(out.CursorText, std::string());
    EXPECT_EQ(f.control.MouseMove(0, 2, {}, 115, 87).CursorText, std::string(" Amp = 50.00, Ener = 50.40"));
    FixedAnswer q(FrameLimitChoice::IgnoreNew);
    const MouseOutcome up = f.control.MouseUp(0, 2, MouseButton::Left, {}, 115, 87, q);
    EXPECT_FALSE(up.BandVisible);
    EXPECT_TRUE(up.BandChanged && up.FrameFinished);
    EXPECT_FALSE(f.control.MouseUp(0, 2, MouseButton::Left, {}, 1, 1, q).BandChanged) << "no band any more";
}

TEST(Mouse, SlotUnderAPagePoint)
{
    TimeFixture f; // slots 0 and 1 over the whole width, slot 2 in the first cell
    EXPECT_EQ(f.control.SlotAt(0, 10, 10), 2) << "drawn over slot 0";
    EXPECT_EQ(f.control.SlotAt(0, 300, 10), 0);
    EXPECT_EQ(f.control.SlotAt(0, 999, 699), 1);
    EXPECT_EQ(f.control.SlotAt(0, 1000, 10), -1);
    EXPECT_EQ(f.control.SlotAt(1, 10, 10), -1);
}

TEST(Commands, SetCommandsRedrawAndWriteTheirProtocol)
{
    FrameFixture f;
    FixedAnswer q(FrameLimitChoice::IgnoreNew);
    f.Drag(20, 30, false, q);
    for (auto& g : f.control.Page(0).Graphs)
        if (g)
            g->NeedsRedraw = false;
    f.control.Run(TLMPageControl::Command::Frames2JointAND, f.box);
    EXPECT_EQ(f.control.Data().GroupedCount, 2u);
    EXPECT_TRUE(f.Graph().NeedsRedraw);
    f.control.Run(TLMPageControl::Command::JointDeleteData, f.box);
    EXPECT_EQ(f.control.Data().DeletedCount, 2u);
    f.box.answer = false;
    f.control.Run(TLMPageControl::Command::UndeleteData, f.box);
    EXPECT_EQ(f.control.Data().DeletedCount, 2u);
    f.box.answer = true;
    f.control.Run(TLMPageControl::Command::UndeleteData, f.box);
    EXPECT_EQ(f.control.Data().DeletedCount, 0u);
    EXPECT_EQ(f.protocol.Lines.back(), "T\tDeleted data undeleted...");
    f.control.Run(TLMPageControl::Command::EventView, f.box);
    EXPECT_TRUE(f.options.EventsView);
    EXPECT_EQ(f.control.StatusTexts(),
              (std::array<std::string, 5>{"HITS:9        ", "EVNT:0        ", "FRMD:0        ",
                                          "GRPD:0        ", "DLTD:0        "}));
    EXPECT_FALSE(TLMPageControl::CommandNamed("Nonsense"));
    EXPECT_EQ(TLMPageControl::CommandNamed("TimeScrollRight"), TLMPageControl::Command::TimeScrollRight);
}

} // namespace
} // namespace lm
