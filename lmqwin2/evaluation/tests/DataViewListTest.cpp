#include "lmqwin2/evaluation/DataViewList.h"

#include "testsupport/ShortHits.h"

#include <gtest/gtest.h>

using namespace lm;
using lmtest::FramedHit;

TEST(DataView, ListsTheFirstTenThousandFramedUndeletedHits)
{
    ATestSetup setup;
    setup.DivisorSys = 2;
    std::vector<LMShortHit> records;
    LMShortHit deleted = FramedHit(0.5);
    deleted.SetHitFlags(hfDeleted);
    records.push_back(deleted);
    records.push_back(FramedHit(0.6, 0)); // not framed
    LMShortHit mark = FramedHit(0.7);
    mark.kind = rkTimeMark;
    records.push_back(mark);
    for (int i = 0; i < 20000; ++i) {
        records.push_back(FramedHit(1 + i * 0.001, uint16_t(1u << (i % 8))));
        records.back().Par1 = 10;
    }
    const DataViewList list = BuildDataViewList(records, setup, {}, nullptr);
    ASSERT_EQ(list.lines.size(), 10000u);
    EXPECT_EQ(list.title.substr(0, 6), "   Num");
    EXPECT_EQ(list.title.find("dT"), std::string::npos);
    EXPECT_EQ(list.lines[0].text.substr(0, 6), "     1");
    EXPECT_EQ(list.lines[9999].text.substr(0, 6), " 10000");
    // Time of the first listed hit and the converted parametric value in the "Prm" column.
    EXPECT_NE(list.lines[0].text.find("1.0000000"), std::string::npos) << list.lines[0].text;
    EXPECT_EQ(list.lines[0].text.substr(list.lines[0].text.size() - 8), "    5.00");
    EXPECT_EQ(list.lines[0].text.size(), list.title.size());
    for (const DataViewLine& line : list.lines)
        ASSERT_EQ(line.colour, DataViewLine::Plain);
    EXPECT_TRUE(BuildDataViewList({}, setup, {}, nullptr).title.empty());
}

TEST(DataView, EventViewColoursAndShadowHits)
{
    ATestSetup setup; // MPT 5000 us, lockout 20000 us
    EventClassifier events;
    // An event at 1 s with an MPT hit (3 ms) and a lockout hit (15 ms); an unframed first
    // hit at 3 s whose framed MPT hit still measures from it.
    const std::vector<LMShortHit> records = {FramedHit(1.0), FramedHit(1.003, 1, 2), FramedHit(1.015),
                                             FramedHit(2.0), FramedHit(3.0, 0),      FramedHit(3.002, 2)};
    DataViewList list = BuildDataViewList(records, setup, {true, false}, &events);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_EQ(list.lines[0].colour, DataViewLine::FirstHit);
    EXPECT_EQ(list.lines[1].colour, DataViewLine::FirstHit);
    EXPECT_NE(list.title.find("    dT"), std::string::npos);

    list = BuildDataViewList(records, setup, {true, true}, &events);
    ASSERT_EQ(list.lines.size(), 4u);
    EXPECT_EQ(list.lines[1].colour, DataViewLine::InMPT);
    EXPECT_EQ(list.lines[1].text.substr(list.lines[1].text.size() - 6), "  3000");
    EXPECT_EQ(list.lines[3].colour, DataViewLine::InMPT);
    EXPECT_EQ(list.lines[3].text.substr(list.lines[3].text.size() - 6), "  2000");
    EXPECT_FALSE(list.notSorted);
}

TEST(DataView, UnsortedDataStopTheEventList)
{
    ATestSetup setup;
    EventClassifier events;
    const std::vector<LMShortHit> records = {FramedHit(1.0), FramedHit(2.0), FramedHit(0.5), FramedHit(3.0)};
    const DataViewList list = BuildDataViewList(records, setup, {true, false}, &events);
    EXPECT_TRUE(list.notSorted);
    EXPECT_EQ(list.lines.size(), 2u);
    // Without event view the order does not matter.
    EXPECT_EQ(BuildDataViewList(records, setup, {}, nullptr).lines.size(), 4u);
}
