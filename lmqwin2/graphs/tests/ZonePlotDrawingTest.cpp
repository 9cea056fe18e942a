#include "lmqwin2/graphs/ZonePlotDrawing.h"

#include "lmqwin2/evaluation/ATestStat.h"
#include "lmqwin2/evaluation/ZonePlot.h"
#include "lmqwin2/graphs/DisplayList.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace lm;

namespace {

bool Has(const std::string& lines, const std::string& line)
{
    return lines.find(line + "\n") != std::string::npos;
}

int Count(const std::string& lines, const std::string& what)
{
    int n = 0;
    for (size_t at = lines.find(what); at != std::string::npos; at = lines.find(what, at + 1))
        ++n;
    return n;
}

LMShortHit Hit(int channel, double t, int energy)
{
    LMShortHit h;
    h.kind = rkHit;
    h.channel = uint8_t(channel);
    h.time = TickTime::FromSeconds(t);
    h.amplitude = 80;
    h.energy = uint16_t(energy);
    h.counts = 10;
    h.duration = 100;
    h.FrameBits = 0b11;
    return h;
}

} // namespace

TEST(ZonePlotDrawing, AxesBordersAndLegendWithoutChannels)
{
    RecordingCanvas canvas;
    DrawZonePlot(canvas, 600, 400, nullptr, 3, TextExtent{12, 13});
    const std::string& ops = canvas.Lines;
    const ZonePlotRect r = ZonePlotRectFor(600, 400); // 80, 40, 320, 340
    EXPECT_EQ(ops.substr(0, ops.find('\n')), "fill 0 0 600 400 000000");
    EXPECT_TRUE(Has(ops, "rect 77 37 324 344 FFFFFF"));
    // Decade ticks 5 pixels long, 3 pixels left of the rectangle; labels 10 pixels left.
    EXPECT_TRUE(Has(ops, "line 77 340 72 340 FFFFFF solid"));
    EXPECT_TRUE(Has(ops, "text 70 190 rc FFFFFF \"100\""));
    EXPECT_TRUE(Has(ops, "line 77 " + std::to_string(ZonePlotY(r, 20)) + " 74 " +
                             std::to_string(ZonePlotY(r, 20)) + " FFFFFF solid"));
    EXPECT_TRUE(Has(ops, "text 320 350 ct FFFFFF \"10\""));
    EXPECT_TRUE(Has(ops, "text 200 365 ct FFFFFF \"Historic Index\""));
    EXPECT_TRUE(Has(ops, "text 320 20 rt FFFFFF \"Severity\""));
    // The minor border runs at severity 25 across; C ends at (10, 71) in purple.
    const int y25 = ZonePlotY(r, 25);
    EXPECT_TRUE(Has(ops, "line 80 " + std::to_string(y25) + " 320 " + std::to_string(y25) + " 00FFFF solid"));
    EXPECT_EQ(Count(ops, " 800080 solid"), 4);
    // Legend: eight markers with "22" and "Set #k", rows far enough apart for the markers,
    // texts clear of the widest marker (the right triangle reaches 24 pixels).
    EXPECT_EQ(LegendRowSpacing(TextExtent{12, 13}), 32);
    EXPECT_EQ(LegendRowSpacing(TextExtent{8, 8}), 25);
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(Has(ops, "text " + std::to_string(320 + 50 + (k / 4) * 120 + 28) + " " +
                                 std::to_string(40 + (k % 4) * 32) + " lc FFFFFF \"Set #" +
                                 std::to_string(k) + "\""));
    EXPECT_EQ(Count(ops, "\"22\""), 8);
    EXPECT_EQ(Count(ops, "text"), 3 + 10 + 2 + 16);
}

TEST(ZonePlotDrawing, ChannelsOfEachSetInTheirZoneColour)
{
    ATestSetup setup;
    std::vector<LMShortHit> records;
    // Channel 2: five hits, so plotted at (1, 10) as minor activity. Channel 3: 40 hits.
    // The other selected channels have no hits and are not plotted.
    for (int i = 0; i < 5; ++i)
        records.push_back(Hit(2, 1 + i, 500));
    for (int i = 0; i < 40; ++i)
        records.push_back(Hit(3, 10 + i, 100 + i * 10));
    ChannelMask channels;
    channels.set();
    ATestStat stat(setup);
    stat.Build(records, 0b11, channels, nullptr);
    std::ostringstream monpac;
    stat.PrintMonpacTable(monpac);

    RecordingCanvas canvas;
    DrawZonePlot(canvas, 600, 400, &stat, 2, TextExtent{12, 13});
    const ZonePlotRect r = ZonePlotRectFor(600, 400);
    const std::string minor = "text 80 340 cc 00FFFF \"2\"";
    EXPECT_EQ(Count(canvas.Lines, minor), 2); // in both sets
    const ZonePlotPoint p = ZonePlotPointOf(stat.Set(1)->Channels[3]->Monpac);
    const RGB colour = ZoneColor(p.zone);
    EXPECT_EQ(Count(canvas.Lines, "text " + std::to_string(ZonePlotX(r, p.H)) + " " +
                                      std::to_string(ZonePlotY(r, p.S)) + " cc " + HexColor(colour) +
                                      " \"3\""),
              2);
    EXPECT_EQ(Count(canvas.Lines, " cc 00FFFF \""), 2);
    // Set 0's marker is the rectangle 2 pixels outside the text box.
    EXPECT_TRUE(Has(canvas.Lines, "line 72 332 88 332 00FFFF solid"));
}

TEST(ZonePlotDrawing, MarkersAroundTheTextBox)
{
    const TextExtent digits{12, 14}; // box 94..106 x 193..207 around (100, 200)
    EXPECT_EQ(SetMarker(0, 100, 200, digits),
              (std::vector<std::pair<int, int>>{{92, 191}, {108, 191}, {108, 209}, {92, 209}}));
    EXPECT_EQ(SetMarker(2, 100, 200, digits),
              (std::vector<std::pair<int, int>>{{89, 200}, {100, 188}, {111, 200}, {100, 212}}));
    // Every marker encloses the centre and reaches beyond the text box.
    for (int set = 0; set < 8; ++set) {
        int left = 1000, right = 0, top = 1000, bottom = 0;
        for (auto [x, y] : SetMarker(set, 100, 200, digits)) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
        EXPECT_LE(left, 94) << set;
        EXPECT_GE(right, 106) << set;
        EXPECT_LE(top, 193) << set;
        EXPECT_GE(bottom, 207) << set;
    }
}
