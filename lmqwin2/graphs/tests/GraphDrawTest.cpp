// What the graphs draw, read from the display list of a painting.

#include "GraphTestSupport.h"
#include "lmqwin2/graphs/TLMLineGraph.h"

#include <gtest/gtest.h>

namespace lm {
namespace {

using test::GraphFixture;
using test::HasLine;
using test::Hit;
using test::LinesWith;
using test::PointRecord;

// A graph over the whole 1000 x 700 page (5 x 4 cells): plot 50,25 .. 980,675.
GraphRecord Whole(GraphRecord r)
{
    r.lx = 0;
    r.ly = 0;
    r.rx = 5;
    r.ry = 4;
    return r;
}

TEST(GraphGeometry, RightMostGraphsAbsorbTheRemainderOfTheCellWidth)
{
    // Page 1003 wide, 5 columns of 200 pixels.
    GraphFixture f({PointRecord("wide", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 5, 1),
                    PointRecord("last", hpAmplitude, 0, 100, hpEnergy, 0, 100, 4, 1, 5, 2),
                    PointRecord("inner", hpAmplitude, 0, 100, hpEnergy, 0, 100, 1, 1, 2, 2),
                    PointRecord("tall", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 1, 1, 4)},
                   {}, 1003, 700);
    const std::string ops = f.Ops();
    EXPECT_TRUE(HasLine(ops, "page 0 1003 700 \"Page\""));
    EXPECT_TRUE(HasLine(ops, "graph 0 1 0 0 1003 175 50 25 983 150 \"wide\""));
    EXPECT_TRUE(HasLine(ops, "graph 1 1 800 175 203 175 50 25 183 150 \"last\""));
    EXPECT_TRUE(HasLine(ops, "graph 2 1 200 175 200 175 50 25 180 150 \"inner\""));
    EXPECT_TRUE(HasLine(ops, "graph 3 1 0 175 200 525 50 25 180 500 \"tall\""));
}

TEST(GraphGeometry, CellBorderOnlyAwayFromThePageEdges)
{
    GraphFixture f({PointRecord("inner", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 1, 1),
                    PointRecord("corner", hpAmplitude, 0, 100, hpEnergy, 0, 100, 4, 3, 5, 4)},
                   {}, 1003, 702);
    const std::string ops = f.Ops();
    const size_t second = ops.find("graph 1 ");
    const std::string first = ops.substr(0, second), corner = ops.substr(second);
    EXPECT_TRUE(HasLine(first, "line 0 174 199 174 FFFFFF solid"));
    EXPECT_TRUE(HasLine(first, "line 199 0 199 174 FFFFFF solid"));
    EXPECT_TRUE(LinesWith(corner, "line 0 174 ").empty());
    EXPECT_TRUE(LinesWith(corner, "line 202 0 ").empty());
}

TEST(GraphAxes, TicksLabelsAndFrameOfLinearAxes)
{
    GraphFixture f({Whole(PointRecord("Amp-Time", hpTime, 0, 3600, hpAmplitude, 0, 100))}, {});
    const std::string ops = f.Ops();
    const char* want[] = {
        "rect 47 22 983 678 FFFFFF",         // the axis frame, 3 pixels outside the plot
        "line 47 25 42 25 FFFFFF solid",     // Y: 10 amplitude divisions of 65 pixels
        "line 47 57 44 57 FFFFFF solid",     // minor half a step below
        "line 47 675 42 675 FFFFFF solid",   // last major
        "line 980 678 980 683 FFFFFF solid", // X: 5 divisions from the right, 186 pixels
        "line 887 678 887 681 FFFFFF solid", // minor half a step to the left
        "line 50 678 50 683 FFFFFF solid",   "text 5 10 lc FFFFFF \"0. Amp-Time\"",
        "text 995 10 rc FFFFFF \"Amp\"",
        "text 40 675 rc FFFFFF \"0\"",  // Y min
        "text 40 25 rc FFFFFF \"100\"", // Y max
        "text 40 90 rc FFFFFF \"90\"",  // intermediate labels at the major ticks
        "text 40 610 rc FFFFFF \"10\"",
        "text 515 683 ct FFFFFF \"Time\"", // X short name centred under the plot
        "text 50 683 ct FFFFFF \"0\"",       "text 995 683 rt FFFFFF \"3600\"",
    };
    for (const char* line : want)
        EXPECT_TRUE(HasLine(ops, line)) << line;
    EXPECT_EQ(LinesWith(ops, "line 47 ").size(), 21u); // 11 major + 10 minor on Y
    EXPECT_EQ(LinesWith(ops, "text 40 ").size(), 11u);
}

TEST(GraphAxes, LogarithmicLabelsAtOneAndTwoThirds)
{
    GraphFixture f({Whole(PointRecord("log", hpAmplitude, 0, 100, hpEnergy, 0, 1000))}, {});
    f.source.graphs[10][0].yLog = true;
    f.control.BuildPages(f.box);
    const std::string ops = f.Ops();
    EXPECT_TRUE(HasLine(ops, "text 40 241 rc FFFFFF \"100\"")); // 25 + 650 / 3
    EXPECT_TRUE(HasLine(ops, "text 40 458 rc FFFFFF \"10\""));  // 25 + 2 * 650 / 3
    EXPECT_TRUE(HasLine(ops, "text 40 675 rc FFFFFF \"1\""));   // minimum 0 became 1
    // Decade ticks and the 2 and 5 minors: 4 majors + 6 minors.
    EXPECT_TRUE(HasLine(ops, "line 47 459 42 459 FFFFFF solid"));
    EXPECT_EQ(LinesWith(ops, "line 47 ").size(), 10u);
}

TEST(GraphAxes, GridAndDegenerateRangesDrawWithoutFailure)
{
    GraphFixture f({Whole(PointRecord("flat", hpAmplitude, 5, 5, hpEnergy, 0, 0))}, {Hit(1, 1, 5, 0)});
    f.options.ShowGrid = true;
    const std::string ops = f.Ops();
    // One unit wider: the hit at amplitude 5 / energy 0 sits at the origin.
    EXPECT_TRUE(HasLine(ops, "dot 50 675 00FF00"));
    // Grid: the 4 inner major ticks of Y; X (amplitude 5..5) has one division and no inner tick.
    size_t grid = 0;
    for (const std::string& line : LinesWith(ops, "line "))
        grid += line.find(" 4D4D4D dot") != std::string::npos;
    EXPECT_EQ(grid, 4u);
    EXPECT_TRUE(HasLine(ops, "line 50 155 980 155 4D4D4D dot"));
}

TEST(ClipboardCopy, PictureInSchemeFiveWithoutGridOrBorder)
{
    GraphFixture f({PointRecord("copy", hpTime, 0, 100, hpAmplitude, 0, 100, 0, 0, 1, 1)}, {Hit(50, 1, 50)});
    f.control.Data().TimeMarks = {TickTime::FromValue(40 * 4000000ull)};
    f.options.ShowGrid = true;
    f.options.PrnWidth = 100;
    f.options.PrnHeight = 50;
    f.options.PrnDPI = 200;
    const PictureSize size = CopyPictureSize(f.options);
    EXPECT_EQ(size.width, 800);
    EXPECT_EQ(size.height, 400);
    RecordingCanvas canvas;
    f.Graph().RenderCopy(canvas, size.width, size.height);
    const std::string& ops = canvas.Lines;
    EXPECT_EQ(ops.substr(0, ops.find('\n')), "fill 0 0 800 400 FFFFFF");
    EXPECT_TRUE(HasLine(ops, "rect 47 22 783 378 000000"));
    EXPECT_TRUE(HasLine(ops, "dot 415 200 008000")) << "role 5 of scheme 5, plot 50..780 x 25..375";
    EXPECT_TRUE(HasLine(ops, "line 342 375 342 25 808080 dot")) << "time marks in RGB 808080";
    EXPECT_EQ(ops.find("4D4D4D"), std::string::npos) << "no grid";
    EXPECT_EQ(f.options.ColorScheme, 3) << "scheme restored";
    EXPECT_EQ(f.Graph().Plot.Right, 180) << "plot area restored";
    EXPECT_EQ(f.Graph().XPixel(100), 180);
}

// --- Colours of the point graph: one hit at amplitude 10, energy 10 -> pixel (143, 610).

struct ColourCase {
    const char* what;
    int viewType;
    bool noColour;
    int channel;
    uint16_t frameBits;
    uint32_t flags;
    bool showDeleted;
    bool channelSelected;
    std::vector<std::string> dots;
};

TEST(PointGraphColours, ByRoleModeChannelAndFrameSlot)
{
    const ColourCase cases[] = {
        {"mode 0: channel colour", 0, false, 1, 0, 0, false, true, {"CCCCFF"}},
        {"channels 65-128 repeat 1-64", 0, false, 66, 0, 0, false, true, {"00CCFF"}},
        {"mode 1: role 5", 1, false, 1, 0, 0, false, true, {"00FF00"}},
        {"mode 2: role 5", 2, false, 1, 0, 0, false, true, {"00FF00"}},
        {"frames 0 and 3: colour of 3", 0, false, 1, 0b1001, 0, false, true, {"CCCCFF", "00FFFF"}},
        {"mode 2 overlay", 2, false, 1, 0b1, 0, false, true, {"00FF00", "FFFF00"}},
        {"mode 2 without colours: no overlay", 2, true, 1, 0b1, 0, false, true, {"00FF00"}},
        {"mode 0 without colours: overlay anyway", 0, true, 1, 0b10, 0, false, true, {"00FF00", "FF0000"}},
        {"mode 1: no overlay", 1, false, 1, 0b1, 0, false, true, {"00FF00"}},
        {"grouped: role 13", 0, false, 1, 0, hfGrouped, false, true, {"CCCCFF", "FFFFFF"}},
        {"deleted, not shown", 0, false, 1, 0, hfDeleted, false, true, {}},
        {"deleted, shown in role 8", 0, false, 1, 0, hfDeleted, true, true, {"383431"}},
        {"deleted, shown even unselected", 0, false, 1, 0, hfDeleted, true, false, {"383431"}},
        {"channel 0 never", 0, false, 0, 0, 0, false, true, {}},
        {"unselected channel", 0, false, 1, 0b1, 0, false, false, {}},
    };
    for (const ColourCase& c : cases) {
        LMShortHit h = Hit(1, c.channel, 10, 10);
        h.FrameBits = c.frameBits;
        h.SetHitFlags(c.flags);
        GraphRecord r = Whole(PointRecord("c", hpAmplitude, 0, 100, hpEnergy, 0, 100));
        r.allChannel = c.noColour;
        GraphFixture f({r}, {h});
        f.options.ViewType = c.viewType;
        f.options.ShowDeleted = c.showDeleted;
        if (!c.channelSelected)
            f.options.CheckedChan.reset(0);
        std::vector<std::string> want;
        for (const std::string& colour : c.dots)
            want.push_back("dot 143 610 " + colour);
        EXPECT_EQ(LinesWith(f.Ops(), "dot "), want) << c.what;
    }
}

TEST(PointGraphColours, OwnChannelsOfTheGraphLimitTheSelection)
{
    GraphRecord r = Whole(PointRecord("own", hpAmplitude, 0, 100, hpEnergy, 0, 100));
    r.channels = "2";
    GraphFixture f({r}, {Hit(1, 1, 10), Hit(2, 2, 20)});
    EXPECT_EQ(LinesWith(f.Ops(), "dot "), std::vector<std::string>{"dot 236 610 00FF00"});
}

// --- Event view: MPT 5000 us, lockout 20000 us.

TEST(PointGraphEvents, FirstHitsCountedShadowHitsOnRequest)
{
    struct Case {
        const char* what;
        bool shadows;
        bool channel1Selected;
        std::vector<std::string> dots;
    } cases[] = {
        {"shadow hits hidden", false, true, {"dot 143 610 CCCCFF", "dot 329 610 33CC66"}},
        {"shadow hits in role 7",
         true,
         true,
         {"dot 143 610 CCCCFF", "dot 236 610 0080FF", "dot 329 610 33CC66"}},
        {"event channel unselected", true, false, {"dot 329 610 33CC66"}},
    };
    for (const Case& c : cases) {
        GraphFixture f({Whole(PointRecord("ev", hpAmplitude, 0, 100, hpEnergy, 0, 100))},
                       {Hit(1.0, 1, 10), Hit(1.000003, 2, 20), Hit(2.0, 3, 30)});
        f.options.ViewType = 0;
        f.options.EventsView = true;
        f.options.SecondAsShadow = c.shadows;
        if (!c.channel1Selected)
            f.options.CheckedChan.reset(0);
        EXPECT_EQ(LinesWith(f.Ops(), "dot "), c.dots) << c.what;
        EXPECT_EQ(f.control.Data().EventCount, 2u) << c.what;
        EXPECT_EQ(f.control.StatusTexts()[1], "EVNT:2        ") << c.what;
    }
}

TEST(PointGraphEvents, HitsOutOfTimeOrderStopThePage)
{
    GraphFixture f({PointRecord("a", hpAmplitude, 0, 100, hpEnergy, 0, 100, 0, 0, 1, 1),
                    PointRecord("b", hpAmplitude, 0, 100, hpEnergy, 0, 100, 1, 0, 2, 1)},
                   {Hit(2.0, 1, 10), Hit(1.0, 1, 20)});
    EXPECT_EQ(LinesWith(f.Ops(), "error ").size(), 0u) << "without event view the order does not matter";
    f.options.EventsView = true;
    const std::string ops = f.Ops();
    EXPECT_EQ(
        LinesWith(ops, "error "),
        std::vector<std::string>{"error \"Data file doesn't sorted (1.00 s). Event View is impossible.\""});
    EXPECT_EQ(LinesWith(ops, "graph ").size(), 1u) << "no further graph is drawn";
    EXPECT_EQ(ops.substr(ops.rfind('\n', ops.size() - 2) + 1, 5), "error");
}

TEST(PointGraphPasses, ParametricConversionOnlyInTheAllHitsPass)
{
    // Par1 40 converts to 20 (DivisorSys 2); the overlay places the framed hit at 40.
    LMShortHit framed = Hit(1, 1, 10, 10, 40);
    framed.FrameBits = 1;
    LMShortHit param;
    param.kind = rkParametric;
    param.time = TickTime::FromValue(8000000);
    param.Par1 = 60;
    for (bool showParam : {true, false}) {
        GraphFixture f({Whole(PointRecord("par", hpPar1, 0, 100, hpAmplitude, 0, 100))}, {framed, param});
        f.setup.DivisorSys = 2;
        f.options.ViewType = 0;
        f.options.ShowParamData = showParam;
        std::vector<std::string> want = {"dot 236 610 CCCCFF"};
        if (showParam)
            want.push_back("dot 329 675 00FF00"); // parametric record in role 5, never an event
        want.push_back("dot 422 610 FFFF00");
        EXPECT_EQ(LinesWith(f.Ops(), "dot "), want) << showParam;
    }
}

TEST(PointGraphPasses, OverlayComesAfterAllHitsHoweverManyAreFramed)
{
    for (size_t framed : {size_t(3), size_t(70000)}) {
        std::vector<LMShortHit> hits;
        for (size_t i = 0; i < framed + 2; ++i) {
            hits.push_back(Hit(1 + double(i) * 1e-4, 1, 10));
            hits.back().FrameBits = i < framed ? 0b100 : 0;
        }
        for (bool eventsView : {false, true}) {
            GraphFixture f({Whole(PointRecord("many", hpAmplitude, 0, 100, hpEnergy, 0, 100))}, hits);
            f.options.ViewType = 0;
            f.options.EventsView = eventsView;
            f.options.SecondAsShadow = true;
            const std::vector<std::string> dots = LinesWith(f.Ops(), "dot ");
            ASSERT_EQ(dots.size(), hits.size() + framed) << framed;
            for (size_t i = 0; i < dots.size(); ++i) {
                const bool overlay = i >= hits.size();
                const std::string colour = overlay ? "0000FF" : (eventsView && i > 0 ? "0080FF" : "CCCCFF");
                if (eventsView && !overlay && i > 0 && hits[i].time.Value() - hits[0].time.Value() > 80000)
                    continue; // later events open again in the channel colour
                ASSERT_EQ(dots[i], "dot 143 610 " + colour) << framed << " " << i;
            }
        }
    }
}

TEST(PointGraphPasses, TimeRangeFilterLimitsTheHits)
{
    GraphFixture f({Whole(PointRecord("t", hpAmplitude, 0, 100, hpEnergy, 0, 100))},
                   {Hit(99.9, 1, 10), Hit(100, 1, 20), Hit(200, 1, 30), Hit(200.5, 1, 40)});
    f.control.ZoomTo(100, 200);
    EXPECT_EQ(LinesWith(f.Ops(), "dot "),
              (std::vector<std::string>{"dot 236 610 00FF00", "dot 329 610 00FF00"}));
}

// --- Line graphs and histograms.

GraphRecord Binned(int type, HitParam x, int64_t xMin, int64_t xMax, int binNum, int sum, int cum)
{
    GraphRecord r = Whole(PointRecord("bins", x, xMin, xMax, 0, 0, 1000));
    r.graphTypeId = type;
    r.xBinNum = binNum;
    r.yBinSumTypeId = sum;
    r.yCumTypeId = cum;
    return r;
}

TEST(Histogram, TheUpperEndOfTheRangeFallsIntoTheLastBin)
{
    GraphFixture f({Binned(kHistogram, hpAmplitude, 0, 100, 100, 4, 1)}, {Hit(1, 1, 100), Hit(2, 1, 0)});
    const std::string ops = f.Ops();
    // Y max from 1 hit per bin: 10; bars 65 pixels high, 9.3 pixels wide.
    EXPECT_EQ(LinesWith(ops, "fill 50 610 "), std::vector<std::string>{"fill 50 610 59 675 00FF00"});
    EXPECT_TRUE(HasLine(ops, "fill 970 610 980 675 00FF00"));
    EXPECT_EQ(f.Graph().YMax, 10);
    EXPECT_TRUE(HasLine(ops, "text 40 25 rc FFFFFF \"        10\"")) << "Y max with %10u";
}

TEST(Histogram, ZeroBinsAndBinNumberZero)
{
    GraphFixture f({Binned(kHistogram, hpAmplitude, 0, 100, 0, 4, 1)}, {Hit(1, 1, 50)});
    f.Ops();
    const auto& g = static_cast<const TLMLineGraph&>(f.Graph());
    EXPECT_EQ(g.BinCountOfPass(), 100);
    EXPECT_EQ(g.Bins()[50].count, 1.0f);
}

TEST(LineGraph, CumulationFromTheLeftAndFromTheRight)
{
    const std::vector<LMShortHit> hits = {Hit(1, 1, 10), Hit(5, 1, 10), Hit(9, 1, 10)};
    struct Case {
        int cum;
        std::vector<std::pair<int, float>> bins; // bin index, value
    } cases[] = {
        {2, {{92, 0}, {93, 1}, {464, 1}, {465, 2}, {837, 3}, {929, 3}}},
        {3, {{0, 3}, {93, 3}, {94, 2}, {465, 2}, {466, 1}, {837, 1}, {838, 0}}},
    };
    for (const Case& c : cases) {
        GraphFixture f({Binned(kLineGraph, hpTime, 0, 10, 0, 4, c.cum)}, hits);
        const std::string ops = f.Ops();
        const auto& g = static_cast<const TLMLineGraph&>(f.Graph());
        ASSERT_EQ(g.BinCountOfPass(), 930);
        for (auto [bin, value] : c.bins)
            EXPECT_EQ(g.Bins()[size_t(bin)].value, value) << "cum " << c.cum << " bin " << bin;
        EXPECT_EQ(g.YMax, 3) << "ends at the total count";
        if (c.cum == 2) {
            EXPECT_TRUE(HasLine(ops, "line 887 242 887 25 00FF00 solid")) << "the step to the third hit";
        }
    }
}

TEST(LineGraph, MaximumPerColumnBridgesEmptyColumns)
{
    GraphRecord r = Binned(kLineGraph, hpTime, 0, 10, 0, 2, 1);
    r.yAxisType = hpAmplitude;
    GraphFixture f({r}, {Hit(1, 1, 40), Hit(1.001, 1, 80), Hit(5, 1, 20)});
    const std::string ops = f.Ops();
    EXPECT_EQ(f.Graph().YMax, 80);
    // From the plot origin to (93, 80 dB) and on to (465, 20 dB), one line per segment.
    EXPECT_TRUE(HasLine(ops, "line 50 675 143 25 00FF00 solid"));
    EXPECT_TRUE(HasLine(ops, "line 143 25 515 513 00FF00 solid"));
}

TEST(LineGraph, ColourModeZeroDrawsOneCurvePerChannel)
{
    GraphFixture f({Binned(kLineGraph, hpTime, 0, 10, 0, 4, 1)}, {Hit(1, 1, 10), Hit(2, 3, 10)});
    f.options.ViewType = 0;
    const std::string ops = f.Ops();
    EXPECT_TRUE(HasLine(ops, "line 50 675 143 610 CCCCFF solid"));
    EXPECT_TRUE(HasLine(ops, "line 50 675 236 610 33CC66 solid"));
    f.options.ViewType = 2;
    EXPECT_TRUE(HasLine(f.Ops(), "line 143 610 236 610 00FF00 solid")) << "one summed curve";
}

} // namespace
} // namespace lm
