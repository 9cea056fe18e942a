#include "lmqwin2/evaluation/ZonePlot.h"

#include "lmqwin2/evaluation/ATestStat.h"

#include <gtest/gtest.h>

using namespace lm;

TEST(ZonePlot, RectangleAndLogarithmicAxes)
{
    const ZonePlotRect r = ZonePlotRectFor(600, 400);
    EXPECT_EQ(r, (ZonePlotRect{80, 40, 320, 340}));
    EXPECT_EQ(ZonePlotX(r, 1), 80);
    EXPECT_EQ(ZonePlotX(r, 10), 320);
    EXPECT_EQ(ZonePlotX(r, 2), 80 + int(0.30102999566 * 240));
    EXPECT_EQ(ZonePlotY(r, 10), 340);
    EXPECT_EQ(ZonePlotY(r, 100), 190);
    EXPECT_EQ(ZonePlotY(r, 1000), 40);
}

TEST(ZonePlot, ChannelPointsAndColours)
{
    ATestSetup setup;
    // Five evaluated hits: plotted at (1, 10) as minor activity, in aqua.
    AMonpac few(setup.SevHitNum, setup.MP_HstLastHits5);
    LMShortHit hit;
    hit.kind = rkHit;
    hit.channel = 1;
    hit.amplitude = 80;
    hit.energy = 5000;
    for (int i = 0; i < 5; ++i)
        few.Add(hit, setup);
    ZonePlotPoint p = ZonePlotPointOf(few);
    EXPECT_EQ(p.H, 1.0f);
    EXPECT_EQ(p.S, 10.0f);
    EXPECT_EQ(ZoneColor(p.zone), RgbFromHex(0x00FFFF));

    // Beyond the axes: clamped to the top right corner, in red.
    AMonpac big(setup.SevHitNum, setup.MP_HstLastHits5);
    big.N = 12;
    big.Hist.Maximum = 15;
    big.Severity.Maximum = 2000;
    p = ZonePlotPointOf(big);
    EXPECT_EQ(p.H, 10.0f);
    EXPECT_EQ(p.S, 1000.0f);
    EXPECT_EQ(ZoneColor(p.zone), RgbFromHex(0xFF0000));

    EXPECT_EQ(ZoneColor(0), RgbFromHex(0x008000));
    EXPECT_EQ(ZoneColor(3), RgbFromHex(0xFFFF00));
    EXPECT_EQ(ZoneColor(-1), RgbFromHex(0xFFFFFF));
    ASSERT_EQ(ZoneBorders().size(), 5u);
    EXPECT_EQ(ZoneBorders()[3].points[3], (std::pair<double, double>{3.1, 71}));
}
