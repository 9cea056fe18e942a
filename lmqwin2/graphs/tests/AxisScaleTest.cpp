#include "lmqwin2/graphs/AxisScale.h"

#include <cmath>
#include <gtest/gtest.h>

namespace lm {
namespace {

TEST(AxisScale, RangesWithoutAUsableScaleAreDrawnOneUnitWider)
{
    struct Case {
        bool log;
        double min, max, wantMin, wantMax;
    } cases[] = {
        {false, 5, 5, 5, 6},   {false, 0, 100, 0, 100},  {true, 1, 1, 1, 10},
        {true, 1, 0.5, 1, 10}, {true, 0, 1000, 1, 1000}, {true, 100, 100, 100, 1000},
    };
    for (const Case& c : cases) {
        const AxisRange r = UsableRange(c.log, c.min, c.max);
        EXPECT_EQ(r.min, c.wantMin) << c.min << ".." << c.max;
        EXPECT_EQ(r.max, c.wantMax) << c.min << ".." << c.max;
    }
}

TEST(AxisScale, ValueToPixelAndBackOnLinearAndLogarithmicAxes)
{
    struct Case {
        bool log;
        double min, max;
        double value;
    } cases[] = {
        {false, 0, 100, 37},  {false, 0, 100, 0},      {false, 0, 100, 100},  {false, -50, 50, -12.5},
        {true, 1, 100000, 1}, {true, 1, 100000, 4567}, {true, 10, 1000, 999}, {true, 1, 1000, 2},
    };
    const int length = 930;
    for (bool yAxis : {false, true}) {
        for (const Case& c : cases) {
            AxisMap m;
            m.Set(c.log, c.min, c.max, length, yAxis ? 675 : 50, yAxis);
            const int p = m.Pixel(c.value);
            // One pixel holds 1 / scale units (decades): the value comes back within it.
            const double back = m.Value(p);
            const double err =
                c.log ? std::abs(std::log10(back) - std::log10(c.value)) : std::abs(back - c.value);
            EXPECT_LE(err, 1.0 / m.scale) << c.value;
            EXPECT_LE(std::abs(m.Pixel(back) - p), 1) << c.value;
            // The ends of the range are the ends of the axis.
            EXPECT_EQ(m.Pixel(c.min), m.origin);
            EXPECT_EQ(m.Pixel(c.max), yAxis ? m.origin - length : m.origin + length);
        }
    }
}

TEST(AxisScale, PixelsAreClampedAndNeverNaN)
{
    AxisMap m;
    m.Set(false, 0, 1, 1e6, 50, false);
    EXPECT_EQ(m.Pixel(1e9), kPixelLimit);
    EXPECT_EQ(m.Pixel(-1e9), -kPixelLimit);
    EXPECT_EQ(m.Pixel(std::nan("")), 50);
    AxisMap log;
    log.Set(true, 1, 10, 100, 50, false);
    EXPECT_EQ(log.Pixel(0), 50) << "0 is taken as 1 on a logarithmic axis";
    EXPECT_EQ(log.Pixel(-5), 50);
}

TEST(AxisScale, DivisionCounts)
{
    struct Case {
        bool amplitude, yAxis;
        int64_t min, max;
        int want;
    } cases[] = {
        {true, true, 40, 100, 6},  {true, true, 0, 255, 5},   {true, true, 40, 45, 1},
        {true, false, 0, 255, 25}, {false, true, 0, 1000, 5}, {false, false, 0, 3600, 5},
        {true, true, 0, 100, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinearDivisions(c.amplitude, c.yAxis, c.min, c.max), c.want) << c.min << ".." << c.max;
}

TEST(AxisScale, LinearTicksMajorAndHalfStepMinor)
{
    const std::vector<Tick> ticks = LinearTicks(100, 3); // step 33.33
    ASSERT_EQ(ticks.size(), 7u);
    const int want[] = {0, 16, 33, 50, 66, 83, 100};
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].pos, want[i]);
        EXPECT_EQ(ticks[i].major, i % 2 == 0);
    }
}

TEST(AxisScale, AutomaticYMaximum)
{
    struct Case {
        double m;
        bool log;
        int64_t current, want;
    } cases[] = {
        {1234, false, 1000, 1300},      {1, false, 1000, 10}, {1300, false, 0, 1300}, {87, false, 0, 87},
        {0, false, 500, 500},           {0.4, false, 0, 10},  {1234, true, 0, 10000}, {1, true, 0, 10},
        {5e12, false, 0, kAutoYMaxCap}, {100, true, 0, 100},  {101, false, 0, 110},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutoYMax(c.m, c.log, c.current), c.want) << c.m << (c.log ? " log" : "");
}

} // namespace
} // namespace lm
