#include "datafiles/ELMData.h"
#include "lmqwin2/evaluation/ATestStat.h"
#include "lmqwin2/evaluation/ZonePlot.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace lm;

namespace {

LMShortHit Hit(int channel, double t, int amplitude, int energy, int counts = 10, uint32_t duration = 100,
               int rise = 5, uint16_t frames = 1)
{
    LMShortHit h;
    h.kind = rkHit;
    h.channel = uint8_t(channel);
    h.time = TickTime::FromSeconds(t);
    h.amplitude = uint8_t(amplitude);
    h.energy = uint16_t(energy);
    h.counts = uint16_t(counts);
    h.duration = duration;
    h.rise = uint16_t(rise);
    h.FrameBits = frames;
    return h;
}

ChannelMask Channels(std::initializer_list<int> list)
{
    ChannelMask m;
    for (int c : list)
        m.set(size_t(c - 1));
    return m;
}

// The historic index computed literally: shift the whole ring, sum the newest k.
struct LiteralHist {
    explicit LiteralHist(const ATestSetup& setup) : s(setup), ring(size_t(setup.MP_HstLastHits5), 0) {}
    float Add(uint16_t e)
    {
        ++n;
        total += e;
        for (size_t i = ring.size(); i-- > 1;)
            ring[i] = ring[i - 1];
        ring[0] = e;
        float overall = float(total) / float(n);
        long long k;
        if (n < (uint32_t)s.MP_HstLimit1)
            k = 0;
        else if (n < (uint32_t)s.MP_HstLimit2)
            k = n;
        else if (n < (uint32_t)s.MP_HstLimit3)
            k = s.MP_HstLastHits3;
        else if (n < (uint32_t)s.MP_HstLimit4)
            k = (long long)n - (long long)std::ceil(float(n) * s.MP_HstLastHits4);
        else
            k = s.MP_HstLastHits5;
        float sum = 0;
        for (long long i = 0; i < k; ++i)
            sum += ring[size_t(i)];
        float recent = k > 0 ? sum / float(k) : 0.0f;
        return recent / overall;
    }
    const ATestSetup& s;
    std::vector<uint16_t> ring;
    uint32_t n = 0;
    uint64_t total = 0;
};

} // namespace

TEST(Severity, MeanOfTheGreatestEnergiesAndItsMaximum)
{
    ASeverity sev(10);
    sev.Add(Hit(1, 0, 60, 100));
    EXPECT_EQ(sev.Current, 100.0f);
    sev.Add(Hit(1, 0, 60, 10));
    EXPECT_EQ(sev.Current, 55.0f);
    EXPECT_EQ(sev.Maximum, 100.0f);

    ASeverity two(2);
    const float expected[] = {5, 6, 6.5f, 8, 8};
    const int energies[] = {5, 7, 6, 9, 1};
    for (int i = 0; i < 5; ++i) {
        two.Add(Hit(1, 0, 60, energies[i]));
        EXPECT_EQ(two.Current, expected[i]) << "after energy " << energies[i];
    }
    EXPECT_EQ(two.Hit(0).energy, 9);
    EXPECT_EQ(two.Hit(1).energy, 7);

    // No room at all is outside the model: the list keeps one hit.
    ASeverity none(0);
    none.Add(Hit(1, 0, 60, 40));
    none.Add(Hit(1, 0, 60, 30));
    EXPECT_EQ(none.Current, 40.0f);
}

TEST(HistoricIndex, EveryBranchOfTheRecentMean)
{
    ATestSetup s;
    s.MP_HstLimit1 = 3;
    s.MP_HstLimit2 = 5;
    s.MP_HstLimit3 = 8;
    s.MP_HstLimit4 = 12;
    s.MP_HstLastHits3 = 2;
    s.MP_HstLastHits4 = 0.5f;
    s.MP_HstLastHits5 = 5;
    const int e[] = {10, 10, 10, 10, 40, 40, 10, 10, 10, 70, 10, 10, 10, 10};
    // Recent sum and its count for N = 1..14, by the rules: N < 3 none; N < 5 the newest N;
    // N < 8 the newest 2; N < 12 the newest N - ceil(N/2); from 12 on the newest 5.
    struct Expect {
        float recentSum, k;
    } x[] = {{0, 0},   {0, 0},  {30, 3},  {40, 4},  {50, 2},  {80, 2},  {50, 2},
             {100, 4}, {70, 4}, {140, 5}, {110, 5}, {110, 5}, {110, 5}, {110, 5}};
    AHist hist(s.MP_HstLastHits5);
    float total = 0, maxH = 0;
    for (int n = 1; n <= 14; ++n) {
        total += float(e[n - 1]);
        hist.Add(Hit(1, n, 60, e[n - 1]), s);
        const float recent = x[n - 1].k > 0 ? x[n - 1].recentSum / x[n - 1].k : 0.0f;
        const float h = recent / (total / float(n));
        EXPECT_FLOAT_EQ(hist.Current, h) << "N = " << n;
        maxH = std::max(maxH, h);
    }
    EXPECT_FLOAT_EQ(hist.Maximum, 2.0f);
    EXPECT_FLOAT_EQ(hist.Maximum, maxH);
    EXPECT_EQ(hist.MaximumTime, TickTime::FromSeconds(6)) << "the time of the hit that reached the maximum";
}

TEST(HistoricIndex, DefaultsFollowTheMonpacPractice)
{
    ATestSetup s;
    AHist hist(s.MP_HstLastHits5);
    for (int n = 1; n <= 9; ++n) {
        hist.Add(Hit(1, n, 60, 10 * n), s);
        EXPECT_EQ(hist.Current, 0.0f);
    }
    hist.Add(Hit(1, 10, 60, 100), s);
    EXPECT_FLOAT_EQ(hist.Current, 1.0f);

    // At N = 100 with f = 0.8 the newest 20 energies form the recent mean.
    AHist h100(s.MP_HstLastHits5);
    for (int n = 1; n <= 100; ++n)
        h100.Add(Hit(1, n, 60, n <= 80 ? 10 : 40), s);
    EXPECT_FLOAT_EQ(h100.Current, 40.0f / 16.0f);
}

TEST(HistoricIndex, EqualEnergiesGiveExactlyOneBeyondTheSinglePrecisionTotal)
{
    // From about 256 hits of 65535 the energy total has more digits than a single holds;
    // the means are still the exact quotients rounded once.
    ATestSetup s;
    s.SevHitNum = 400;
    AMonpac m(s.SevHitNum, s.MP_HstLastHits5);
    for (int n = 1; n <= 400; ++n) {
        m.Add(Hit(1, n, 60, 65535), s);
        ASSERT_EQ(m.Severity.Current, 65535.0f) << "N = " << n;
        if (n >= s.MP_HstLimit1) {
            ASSERT_EQ(m.Hist.Current, 1.0f) << "N = " << n;
        }
    }
}

TEST(HistoricIndex, MatchesTheLiteralRingOnLongRuns)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> energy(0, 3000);
    for (int limits = 0; limits < 3; ++limits) {
        ATestSetup s;
        if (limits == 1) {
            s.MP_HstLimit4 = 300;
            s.MP_HstLastHits5 = 60; // k reaches 60 just before the last rule
        }
        if (limits == 2) {
            s.MP_HstLimit2 = 30; // R3 = 15 < N: the window shrinks at N = 30
        }
        AHist hist(s.MP_HstLastHits5);
        LiteralHist literal(s);
        for (int n = 1; n <= 1500; ++n) {
            const int e = energy(rng);
            hist.Add(Hit(1, n, 60, e), s);
            const float h = literal.Add(uint16_t(e));
            ASSERT_FLOAT_EQ(hist.Current, h) << "limits " << limits << ", N = " << n;
        }
    }
}

TEST(HistoricIndex, SettingsOutsideTheModelStayFinite)
{
    struct Case {
        const char* what;
        int r3, l5;
        float f;
        int l4;
        float expectedAt20; // H after 20 hits of energies 1..20
    } cases[] = {
        // R3 > L5: the window is capped at the ring, the newest 5 of 1..20 over the mean 10.5.
        {"R3 > L5", 12, 5, 0.8f, 1000, (16 + 17 + 18 + 19 + 20) / 5.0f / 10.5f},
        // k = N - ceil(N f) = 0 when f = 1: an empty window gives 0.
        {"f = 1", 15, 200, 1.0f, 1000, 0.0f},
        // f > 1 makes k negative: empty as well.
        {"f > 1", 15, 200, 2.0f, 1000, 0.0f},
        // k = 20 - 4 = 16 > L5 = 3 within the fourth rule.
        {"k > L5", 1, 3, 0.2f, 1000, (18 + 19 + 20) / 3.0f / 10.5f},
        // No ring at all.
        {"L5 = 0", 15, 0, 0.8f, 10, 0.0f},
        // N f beyond any integer: k far below 0 (empty window) or far above L5 (the whole ring).
        {"f huge", 15, 5, 1e30f, 1000, 0.0f},
        {"f hugely negative", 15, 5, -1e30f, 1000, (16 + 17 + 18 + 19 + 20) / 5.0f / 10.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ATestSetup s;
        s.MP_HstLastHits3 = c.r3;
        s.MP_HstLastHits5 = c.l5;
        s.MP_HstLastHits4 = c.f;
        s.MP_HstLimit4 = c.l4;
        // N = 20 falls in the fourth rule, or in the third for "R3 > L5".
        s.MP_HstLimit2 = 11;
        s.MP_HstLimit3 = std::string(c.what) == "R3 > L5" ? 100 : 12;
        AHist hist(s.MP_HstLastHits5);
        for (int n = 1; n <= 20; ++n)
            hist.Add(Hit(1, n, 60, n), s);
        EXPECT_TRUE(std::isfinite(hist.Current));
        EXPECT_FLOAT_EQ(hist.Current, c.expectedAt20);
    }
}

TEST(Monpac, ThresholdsAndLongCounts)
{
    ATestSetup s;
    AMonpac m(s.SevHitNum, s.MP_HstLastHits5);
    m.Add(Hit(1, 1, 50, 1000, 10, 70), s); // equal to EvalTH: not evaluated
    EXPECT_EQ(m.N, 0u);
    EXPECT_EQ(m.Severity.Maximum, 0.0f);
    m.Add(Hit(1, 2, 65, 10, 10, 70), s);
    m.Add(Hit(1, 3, 66, 10, 10, 30), s);
    EXPECT_EQ(m.N, 2u);
    EXPECT_EQ(m.HighAmplitudeCount, 1u);
    EXPECT_EQ(m.TotalDuration, 100u);

    // Beyond 65535 evaluated hits the counts go on.
    AMonpac big(s.SevHitNum, s.MP_HstLastHits5);
    for (int i = 0; i < 70000; ++i)
        big.Add(Hit(1, 1 + i * 0.001, 70, 60000, 10, 4000000000u), s);
    EXPECT_EQ(big.N, 70000u);
    EXPECT_EQ(big.Hist.N, 70000u);
    EXPECT_EQ(big.Hist.EnergyTotal, 70000ull * 60000ull);
    EXPECT_EQ(big.TotalDuration, 70000ull * 4000000000ull);
    EXPECT_FLOAT_EQ(big.Hist.Current, 1.0f);
}

TEST(Zone, EachRuleOfTheClassification)
{
    struct Case {
        float H, S;
        const char* zone;
    } cases[] = {
        {5, 20, "Mnr"},
        {10, 25, "Mnr"},
        {1.5f, 30, "A"},
        {2, 50, "A"},
        {1.9f, 60, "B"},
        {2, 71, "B"},
        {2.5f, 45, "B"},
        {2.6f, 50, "B"},
        {2.3f, 60, "B"}, // rule 5: below the line from
                         // (2.0, 71) to (2.6, 50), which
                         // is 60.5 here
        {2.3f, 61, "C"}, // above that line: rule 7
        {1.5f, 150, "C"},
        {2, 190, "C"},
        {8, 70, "C"},
        {2.5f, 110, "C"}, // rule 8: below the line from
                          // (2.0, 150) to (3.1, 71),
                          // 114.1 here
        {3.0f, 75, "C"},  // the same line is 78.2 at 3.0
        {2.5f, 120, "D"}, // above it: rule 9
        {3.0f, 80, "D"},  // above it beyond 2.6: rule 10
        {1.5f, 500, "D"},
        {2.6f, 600, "D"},
        {9, 190, "D"},
        {11, 20, "E"},
        {2.7f, 300, "E"},
        {1, 601, "E"},
        {10.5f, 5, "E"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZoneName(ClassifyZone(c.H, c.S)), c.zone) << "H " << c.H << " S " << c.S;
}

TEST(LocalDynamics, ExampleAndEqualFirstTimes)
{
    ALocDyn l;
    l.Add(Hit(1, 1, 60, 0, 10), 1, 4.0);
    l.Add(Hit(1, 2, 60, 0, 20), 2, 4.0);
    EXPECT_DOUBLE_EQ(l.W, 2.0);
    EXPECT_DOUBLE_EQ(l.V, 15.0);
    l.Add(Hit(1, 3, 60, 0, 30), 3, 4.0);
    EXPECT_DOUBLE_EQ(l.W, 1.5);
    EXPECT_DOUBLE_EQ(l.V, 4.0625);
    EXPECT_EQ(l.n, 3u);
    EXPECT_DOUBLE_EQ(l.t0, 1.0);
    EXPECT_DOUBLE_EQ(l.MaxW, 2.0);
    EXPECT_DOUBLE_EQ(l.SumW, 3.5);
    EXPECT_DOUBLE_EQ(l.MaxWV, 1.5 / 4.0625);
    EXPECT_DOUBLE_EQ(l.MaxWVTime, 3.0);
    EXPECT_DOUBLE_EQ(l.SumWV, 2.0 / 15 + 1.5 / 4.0625);

    // Same exponent through the general power.
    ALocDyn g;
    for (int i = 1; i <= 3; ++i)
        g.Add(Hit(1, i, 60, 0, 10 * i), i, 2.5);
    EXPECT_NEAR(g.V, std::pow(1.5, 2.5) - 1, 1e-12);

    // A second hit at the first hit's time enters unweighted (V = 1); counts of 0 divide by 1.
    ALocDyn same;
    same.Add(Hit(1, 5, 60, 0, 0), 5, 4.0);
    same.Add(Hit(1, 5, 60, 0, 20), 5, 4.0);
    EXPECT_DOUBLE_EQ(same.W, 20.0);
    EXPECT_DOUBLE_EQ(same.V, 1.0);
    EXPECT_DOUBLE_EQ(same.MaxWV, 20.0);
    same.Add(Hit(1, 6, 60, 0, 10), 6, 4.0);
    EXPECT_TRUE(std::isfinite(same.SumWV));

    ATestSetup s;
    EXPECT_EQ(ALocDyn::Class(10, s), '1');
    EXPECT_EQ(ALocDyn::Class(10.5, s), '2');
    EXPECT_EQ(ALocDyn::Class(100, s), '2');
    EXPECT_EQ(ALocDyn::Class(1000, s), '3');
    EXPECT_EQ(ALocDyn::Class(1000.1, s), '4');
}

namespace {

struct SmallSet {
    ATestSetup setup;
    std::vector<LMShortHit> records;
    SmallSet()
    {
        setup.Holds = {AHold{"H1", 10, 0, 100, 0}, AHold{"H2", 12.5f, 50, 100, 10}};
        records.push_back(Hit(1, 1, 72, 100, 10, 200, 5, 0b001));
        records.push_back(Hit(1, 2, 50, 20, 20, 0, 0, 0b101));
        records.push_back(Hit(2, 70, 90, 300, 5, 100, 7, 0b100));
        records.push_back(Hit(3, 3, 99, 1, 1, 1, 1, 0b001)); // channel not selected
        LMShortHit deleted = Hit(1, 4, 80, 1, 1, 1, 1, 0b001);
        deleted.SetHitFlags(hfDeleted);
        records.push_back(deleted);
        LMShortHit param = Hit(1, 4.5, 80, 1, 1, 1, 1, 0b001);
        param.kind = rkParametric;
        records.push_back(param);
        records.push_back(Hit(2, 5, 60, 1, 1, 1, 1, 0)); // outside every frame
        for (int i = 0; i < 10; ++i)
            records.push_back(Hit(2, 10 + i, 60, 100, 10, 10, 1, 0b001));
    }
};

std::string Print(const ATestStat& stat, int table)
{
    std::ostringstream out;
    switch (table) {
    case 0:
        stat.PrintAmplitudeTable(out);
        break;
    case 1:
        stat.PrintParameterTables(out);
        break;
    case 2:
        stat.PrintMonpacTable(out);
        break;
    case 3:
        stat.PrintLocDynTable(out);
        break;
    default:
        stat.PrintHoldsTable(out);
    }
    return out.str();
}

} // namespace

TEST(SetStatistics, FiveTablesOfASmallDataSet)
{
    SmallSet data;
    ATestStat stat(data.setup);
    stat.Build(data.records, 0b00000101, Channels({1, 2}), nullptr);

    EXPECT_EQ(Print(stat, 0), "Chan\tTotal\t>50\t>55\t>60\t>65\t>70\t>80\t>90\n"
                              "Set 1\n"
                              "1\t2\t1\t1\t1\t1\t1\t-\t-\n"
                              "2\t10\t10\t10\t-\t-\t-\t-\t-\n"
                              "Set 3\n"
                              "1\t1\t-\t-\t-\t-\t-\t-\t-\n"
                              "2\t1\t1\t1\t1\t1\t1\t1\t-\n");
    EXPECT_EQ(Print(stat, 1), "Chan\tMin\tMax\tTotal\tAverage\n"
                              "Set 1\n"
                              "Amplitude\n1\t50\t72\t122\t61.0\n2\t60\t60\t600\t60.0\n"
                              "Energy\n1\t20\t100\t120\t60.0\n2\t100\t100\t1000\t100.0\n"
                              "Counts\n1\t10\t20\t30\t15.0\n2\t10\t10\t100\t10.0\n"
                              "Duration\n1\t-\t200\t200\t100.0\n2\t10\t10\t100\t10.0\n"
                              "RiseTime\n1\t-\t5\t5\t2.5\n2\t1\t1\t10\t1.0\n"
                              "Frequency\n1\t50\t20000\t20050\t10025.0\n2\t1000\t1000\t10000\t1000.0\n"
                              "Set 3\n"
                              "Amplitude\n1\t50\t50\t50\t50.0\n2\t90\t90\t90\t90.0\n"
                              "Energy\n1\t20\t20\t20\t20.0\n2\t300\t300\t300\t300.0\n"
                              "Counts\n1\t20\t20\t20\t20.0\n2\t5\t5\t5\t5.0\n"
                              "Duration\n1\t-\t-\t-\t0.0\n2\t100\t100\t100\t100.0\n"
                              "RiseTime\n1\t-\t-\t-\t0.0\n2\t7\t7\t7\t7.0\n"
                              "Frequency\n1\t20000\t20000\t20000\t20000.0\n2\t50\t50\t50\t50.0\n");
    // The zone plot knows the zone before the table has been printed.
    EXPECT_EQ(ZonePlotPointOf(stat.Set(0)->Channels[2]->Monpac).zone, 2);
    EXPECT_EQ(Print(stat, 2), "Chan\tEvents\tA>65\tTotDur\tCorrDur\tSev.\tHist.\tHistTm\tZIP\n"
                              "Set 1\n"
                              "1\t1\t1\t200\tU/C\tN/A\tN/A\tN/A\tN/A\n"
                              "2\t10\t-\t100\tU/C\t100.0\t1.00\t19.00\tC\n"
                              "Set 3\n"
                              "1\t-\t-\t-\tU/C\t-\t-\t-\t-\n"
                              "2\t1\t1\t100\tU/C\tN/A\tN/A\tN/A\tN/A\n"
                              "N/A - < 10 events, Intensity analysis non applicable\n"
                              "Mnr - Minor activity\n"
                              "U/C - Under construction\n");
    EXPECT_EQ(stat.Set(0)->Channels[2]->Monpac.Zone(), 2) << "printing changes no zone";
    EXPECT_EQ(Print(stat, 3), "Chan\tEvents\t1stHitTm\tMaxW\tAveW\tMaxW/V\tMaxW/VTm\tAveW/V\tCls\n"
                              "Set 1\n"
                              "1\t2\t1.0\t2.0\t1.0\t0.1\t2.0\t0.1\t1\n"
                              "2\t10\t10.0\t1.0\t0.9\t1.9\t19.0\t0.9\t1\n"
                              "Set 3\n"
                              "1\t1\t2.0\t0.0\t0.0\t0.0\t0.0\t0.0\t1\n"
                              "2\t1\t70.0\t0.0\t0.0\t0.0\t0.0\t0.0\t1\n"
                              "U/C - Under construction\n");
    EXPECT_EQ(Print(stat, 4), "Chan\t10.00\t12.50\n"
                              "Set 1\n"
                              "1\t1\t-\n"
                              "2\t10\t-\n"
                              "Set 3\n"
                              "1\t-\t-\n"
                              "2\t1\t1\n"
                              "U/C - Under construction\n");
}

TEST(SetStatistics, EmptyChannelRowsAndNoSets)
{
    SmallSet data;
    ATestStat stat(data.setup);
    stat.Build(data.records, 0b1000, Channels({5}), nullptr); // a frame slot nobody is in
    EXPECT_EQ(Print(stat, 0),
              "Chan\tTotal\t>50\t>55\t>60\t>65\t>70\t>80\t>90\nSet 4\n5\t-\t-\t-\t-\t-\t-\t-\t-\n");
    EXPECT_EQ(Print(stat, 3), "Chan\tEvents\t1stHitTm\tMaxW\tAveW\tMaxW/V\tMaxW/VTm\tAveW/V\tCls\nSet 4\n"
                              "5\t-\t-\t-\t-\t-\t-\t-\t-\nU/C - Under construction\n");

    for (uint8_t mask : {uint8_t(0), uint8_t(1)}) {
        ATestStat none(data.setup);
        none.Build(mask ? std::span<const LMShortHit>() : std::span<const LMShortHit>(data.records), mask,
                   Channels({1}), nullptr);
        for (int t = 0; t < 5; ++t)
            EXPECT_EQ(Print(none, t), "") << "table " << t;
    }
}

TEST(SetStatistics, EventViewCountsOnlyFirstHitsAndStopsOnUnsortedData)
{
    ATestSetup setup; // MPT 5000 us, lockout 20000 us
    std::vector<LMShortHit> r = {Hit(1, 1.0, 60, 10), Hit(2, 1.003, 60, 10), Hit(1, 1.015, 60, 10),
                                 Hit(1, 1.5, 60, 10)};
    r[1].FrameBits = 0; // a hit outside the frames does not take part in the events
    EventClassifier events;
    events.ResetEvents(setup.MPT, setup.Lockout);
    ATestStat stat(setup);
    stat.Build(r, 1, Channels({1, 2}), &events);
    EXPECT_EQ(stat.Set(0)->Channels[1]->HitCount, 2u) << "1.015 s is in the lockout of the event at 1 s";

    r[1].FrameBits = 1;
    r[1].time = TickTime::FromSeconds(0.25);
    r[2].time = TickTime::FromSeconds(0.5);
    ATestStat unsorted(setup);
    try {
        unsorted.Build(r, 1, Channels({1, 2}), &events);
        FAIL() << "no error";
    } catch (const ELMData& e) {
        EXPECT_EQ(e.Code, 2001);
        EXPECT_DOUBLE_EQ(events.NotSortedTime, 0.25);
    }
    // Without event view the same records are counted.
    ATestStat plain(setup);
    plain.Build(r, 1, Channels({1, 2}), nullptr);
    EXPECT_EQ(plain.Set(0)->Channels[1]->HitCount, 3u);
}

TEST(SetStatistics, ClassifierWindowsAreInclusive)
{
    ATestSetup setup;
    setup.MPT = 5;
    setup.Lockout = 20;
    EventClassifier ev;
    ev.ResetEvents(setup.MPT, setup.Lockout);
    EXPECT_EQ(ev.ClassifyEvent(Hit(1, 1.0, 60, 1)), ecNewEvent);
    EXPECT_EQ(ev.ClassifyEvent(Hit(1, 1.000003, 60, 1)), ecInMPT);
    EXPECT_EQ(ev.ClassifyEvent(Hit(1, 1.000005, 60, 1)), ecInMPT);
    EXPECT_EQ(ev.ClassifyEvent(Hit(1, 1.000008, 60, 1)), ecInLockout);
    EXPECT_EQ(ev.ClassifyEvent(Hit(1, 1.000021, 60, 1)), ecNewEvent);
}

TEST(SetStatistics, HugeCountsInASetupCostNothingUpFront)
{
    ATestSetup setup;
    setup.SevHitNum = 2000000000;
    setup.MP_HstLastHits5 = 2000000000;
    setup.MP_HstLimit4 = 12;
    std::vector<LMShortHit> r;
    for (int i = 0; i < 20; ++i)
        r.push_back(Hit(1 + i % 128, i, 60, 100 + i));
    ChannelMask all;
    all.set();
    ATestStat stat(setup);
    stat.Build(r, 0xFF, all, nullptr); // 1024 channel records
    const AMonpac& m = stat.Set(0)->Channels[1]->Monpac;
    EXPECT_EQ(m.N, 1u);
    EXPECT_EQ(m.Severity.Count(), 1);
    std::ostringstream out;
    stat.PrintMonpacTable(out);
    EXPECT_FALSE(out.str().empty());
}
