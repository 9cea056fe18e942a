// The data set on in-memory records and a scripted reader: loading steps and counters,
// time-axis rounding, event classification, the set operations and the save copy loop.

#include "lmqwin2/dataset/LMDataSet.h"

#include "datafiles/ELMData.h"
#include "testsupport/ScriptedReader.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace lm {
namespace {

LMShortHit Hit(double seconds, uint8_t channel = 1)
{
    LMShortHit hit;
    hit.kind = rkHit;
    hit.time = TickTime::FromSeconds(seconds);
    hit.channel = channel;
    return hit;
}

LMShortHit Other(RecordKind kind, double seconds)
{
    LMShortHit record;
    record.kind = kind;
    record.time = TickTime::FromSeconds(seconds);
    return record;
}

using lmtest::ScriptedReader;
using lmtest::ScriptRecord;

// A writer that notes which source records it was given.
class RecordingWriter : public AWDiskFile {
public:
    RecordingWriter() : AWDiskFile(dummy_) {}
    void AppendRecord(AWDiskFile& reader) override
    {
        appended.push_back(static_cast<ScriptedReader&>(reader).Current());
    }
    std::vector<size_t> appended;

private:
    BinaryFile dummy_;
};

TEST(LMDataSetLoad, FillsRecordsAndCounters)
{
    ScriptedReader reader({{Other(rkComment, 0)},
                           {Hit(1.0)},
                           {Other(rkTimeMark, 2.0)},
                           {Hit(3.5)},
                           {Other(rkParametric, 1.5)},
                           {Other(rkTimeMark, 4.25)},
                           {Other(rkOther, 99.0), false}, // untimed: its time does not count
                           {Hit(4.0)}});
    LMDataSet data;
    data.LoadFrom(reader, dtSpartan, "a.dta");
    EXPECT_EQ(data.FileName, "a.dta");
    EXPECT_EQ(data.RecordCount, 8u);
    EXPECT_EQ(data.HitCount, 3u);
    EXPECT_EQ(data.TimeMarkCount, 2u);
    ASSERT_EQ(data.TimeMarks.size(), 2u);
    EXPECT_EQ(data.TimeMarks[0], TickTime::FromSeconds(2.0));
    EXPECT_EQ(data.TimeMarks[1], TickTime::FromSeconds(4.25));
    EXPECT_DOUBLE_EQ(data.MaxTime, 4.25);
    EXPECT_NEAR(data.TimeAxisMax, 4.3, 1e-9);
    EXPECT_EQ(data.Records[7].kind, rkHit);
}

TEST(LMDataSetLoad, StopsAtShortFileAndAtEndOfData)
{
    // Loading takes one pass: the slots are the records the reader delivers, whatever
    // count it would claim.
    ScriptedReader shortReader({{Hit(1.0)}, {Hit(2.0)}});
    shortReader.claimed_ = 5;
    LMDataSet data;
    data.LoadFrom(shortReader, dtDisp, "b");
    EXPECT_EQ(data.RecordCount, 2u);
    EXPECT_EQ(data.HitCount, 2u);
    EXPECT_EQ(data.Records[1].kind, rkHit);
    EXPECT_TRUE(data.TimeMarks.empty());

    // The end-of-data record is stored; what follows is not read, but keeps the empty
    // slots the reader counts for it.
    ScriptedReader ended({{Hit(1.0)}, {Other(rkOther, 0), false, true}, {Hit(9.0)}});
    data.Clear();
    data.LoadFrom(ended, dtDisp, "c");
    EXPECT_EQ(data.HitCount, 1u);
    EXPECT_EQ(data.Records[1].kind, rkOther);
    EXPECT_EQ(data.Records[2].kind, rkEmpty);
    EXPECT_DOUBLE_EQ(data.MaxTime, 1.0);
}

TEST(LMDataSetLoad, NoTimedRecordGivesAxisZero)
{
    ScriptedReader reader({{Other(rkComment, 0), false}});
    LMDataSet data;
    data.LoadFrom(reader, dtSpartan, "d");
    EXPECT_EQ(data.MaxTime, 0.0);
    EXPECT_EQ(data.TimeAxisMax, 0.0);
    EXPECT_TRUE(data.IsLoaded());
}

TEST(LMDataSetLoad, ReadErrorClearsTheSetAndPassesOn)
{
    ScriptedReader reader({{Hit(1.0)}, {Hit(2.0)}, {Hit(3.0)}});
    reader.failAt_ = 2;
    LMDataSet data;
    EXPECT_THROW(data.LoadFrom(reader, dtSpartan, "e"), std::runtime_error);
    EXPECT_FALSE(data.IsLoaded());
    EXPECT_EQ(data.RecordCount, 0u);
    EXPECT_EQ(data.HitCount, 0u);
    EXPECT_TRUE(data.Records.empty());
}

TEST(LMDataSetTimeAxis, RoundsUpToNextTenthOfLeadingDecade)
{
    const struct {
        double maxTime, axis;
    } cases[] = {{123.4, 130}, {129, 130}, {130, 140}, {87, 88},     {8.7, 8.8}, {0.5, 0.6},
                 {0.05, 0.06}, {1.0, 1.1}, {9.99, 10}, {1000, 1100}, {0, 0}};
    for (const auto& c : cases)
        EXPECT_NEAR(LMDataSet::RoundTimeAxisMax(c.maxTime), c.axis, 1e-9) << c.maxTime;
}

TEST(LMDataSetEvents, ClassifiesAgainstTheEventsFirstHit)
{
    LMDataSet data;
    data.ResetEvents(5, 20); // MPT 5 us, lockout 20 us
    EXPECT_EQ(data.ClassifyEvent(Hit(1.0)), ecNewEvent);
    EXPECT_EQ(data.ClassifyEvent(Hit(1.000003)), ecInMPT);     // 3 us after the first
    EXPECT_EQ(data.ClassifyEvent(Hit(1.000005)), ecInMPT);     // exactly MPT: inside
    EXPECT_EQ(data.ClassifyEvent(Hit(1.000008)), ecInLockout); // 8 us from the first hit
    EXPECT_EQ(data.ClassifyEvent(Hit(1.000020)), ecInLockout);
    EXPECT_EQ(data.ClassifyEvent(Hit(1.000021)), ecNewEvent);
    EXPECT_EQ(data.EventReference, TickTime::FromSeconds(1.000021));

    // A hit close to time 0 after the reset belongs to the "event" at 0.
    data.ResetEvents(5, 20);
    EXPECT_EQ(data.ClassifyEvent(Hit(0.000002)), ecInMPT);
}

TEST(LMDataSetEvents, AgreesWithTheDistanceInSecondsNearTheWindows)
{
    // Far from time 0 the distance measured in seconds can lose a tick; the classification
    // must follow that measure exactly at the window edges.
    for (const uint64_t base :
         {uint64_t(0), uint64_t(4'000'000), uint64_t(123'456'789'012), TickTime::kMaxValue / 2}) {
        for (uint64_t offset = 0; offset < 100; ++offset) {
            LMDataSet data;
            data.ResetEvents(5, 20); // 20 and 80 ticks
            LMShortHit first;
            first.kind = rkHit;
            first.time = TickTime::FromValue(base + 1000);
            data.EventReference = first.time;
            LMShortHit hit = first;
            hit.time = TickTime::FromValue(base + 1000 + offset);
            const uint64_t dt = TickTime::FromSeconds(hit.time.Seconds() - first.time.Seconds()).Value();
            const EventClass expected = dt <= data.MptWindow.Value()       ? ecInMPT
                                        : dt <= data.LockoutWindow.Value() ? ecInLockout
                                                                           : ecNewEvent;
            EXPECT_EQ(data.ClassifyEvent(hit), expected) << base << "+" << offset;
        }
    }
}

TEST(LMDataSetEvents, HitOutOfOrderRaisesAndStoresItsTime)
{
    LMDataSet data;
    data.ResetEvents(0, 0);
    EXPECT_EQ(data.ClassifyEvent(Hit(2.0)), ecNewEvent);
    EXPECT_EQ(data.ClassifyEvent(Hit(2.0)), ecInMPT); // windows 0: the same time is inside
    try {
        data.ClassifyEvent(Hit(1.5));
        FAIL() << "no exception";
    } catch (const ELMData& error) {
        EXPECT_EQ(error.Code, 2001);
    }
    EXPECT_DOUBLE_EQ(data.NotSortedTime, 1.5);
}

// Five hits and a comment; frame bits set by hand as framing would.
class SetOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.Records = {Hit(1), Hit(2), Other(rkComment, 0), Hit(3), Hit(4), Hit(5)};
        data.RecordCount = 6;
        data.HitCount = 5;
        data.FileName = "x";
    }
    void Frame(std::initializer_list<uint16_t> bits)
    {
        size_t i = 0;
        data.FramedCount = 0;
        for (LMShortHit& r : data.Records) {
            if (r.kind != rkHit)
                continue;
            r.FrameBits = *(bits.begin() + i++);
            data.FramedCount += r.FrameBits != 0;
        }
    }
    uint32_t Flags(size_t i) const { return data.Records[i].HitFlags(); }
    // The counters must always match the flags.
    void ExpectConsistent() const
    {
        uint32_t framed = 0, grouped = 0, deleted = 0;
        for (const LMShortHit& r : data.Records) {
            framed += r.FrameBits != 0;
            grouped += (r.HitFlags() & hfGrouped) != 0;
            deleted += (r.HitFlags() & hfDeleted) != 0;
            EXPECT_FALSE((r.HitFlags() & hfGrouped) && (r.HitFlags() & hfDeleted));
            if (r.HitFlags() != 0) {
                EXPECT_EQ(r.FrameBits, 0);
            }
        }
        EXPECT_EQ(data.FramedCount, framed);
        EXPECT_EQ(data.GroupedCount, grouped);
        EXPECT_EQ(data.DeletedCount, deleted);
    }
    LMDataSet data;
};

TEST_F(SetOperations, AndAndOrWithOverlappingFrames)
{
    // Hit 0 in both frames, hit 1 in the first only, hit 3 in the second only.
    Frame({0b11, 0b01, 0, 0b10, 0});
    EXPECT_EQ(data.GroupAnd(0b11), 1u);
    EXPECT_EQ(Flags(0), hfGrouped);
    EXPECT_EQ(Flags(1), 0u);
    EXPECT_EQ(data.FramesPresent, 0b11);
    ExpectConsistent();

    data.ClearGrouped();
    Frame({0b11, 0b01, 0, 0b10, 0});
    EXPECT_EQ(data.GroupOr(0b11), 3u);
    EXPECT_EQ(Flags(4), hfGrouped);
    EXPECT_EQ(Flags(5), 0u);
    ExpectConsistent();

    // Three frames, a hit in frames 0 and 2 only: not grouped by AND.
    data.ClearGrouped();
    Frame({0b101, 0b111, 0, 0, 0});
    EXPECT_EQ(data.GroupAnd(0b111), 1u);
    EXPECT_EQ(Flags(0), 0u);
    EXPECT_EQ(Flags(1), hfGrouped);
    ExpectConsistent();
}

TEST_F(SetOperations, GroupingsAccumulateAndDeleteCounts)
{
    Frame({1, 0, 0, 0, 0});
    EXPECT_EQ(data.GroupAnd(1), 1u);
    Frame({0, 1, 0, 1, 0});
    EXPECT_EQ(data.GroupOr(1), 3u); // the first group's hit stays grouped
    ExpectConsistent();

    EXPECT_EQ(data.DeleteGrouped(), 3u);
    EXPECT_EQ(data.GroupedCount, 0u);
    EXPECT_EQ(data.DeletedCount, 3u);
    ExpectConsistent();
    EXPECT_EQ(data.DeleteGrouped(), 0u); // nothing grouped: n = 0

    // An empty mask selects nothing, not even with AND (deleted hits have no bits either).
    EXPECT_EQ(data.GroupAnd(0), 0u);
    EXPECT_EQ(Flags(0), hfDeleted);
    ExpectConsistent();

    Frame({0, 0, 0, 0, 1});
    data.UndeleteAll();
    EXPECT_EQ(data.DeletedCount, 0u);
    EXPECT_EQ(data.FramedCount, 0u);
    EXPECT_EQ(Flags(0), 0u);
    ExpectConsistent();
}

TEST_F(SetOperations, InversionsAndTheirResults)
{
    // grouped: hit 0; deleted: hit 1 (set up through the operations themselves).
    Frame({0, 1, 0, 0, 0});
    data.GroupAnd(1);
    data.DeleteGrouped();
    Frame({1, 0, 0, 0, 0});
    data.GroupAnd(1);
    ASSERT_EQ(Flags(0), hfGrouped);
    ASSERT_EQ(Flags(1), hfDeleted);

    Frame({0, 0, 0, 0b1, 0});
    // Deleted hits stay untouched and are counted among the not grouped.
    EXPECT_EQ(data.InvertGrouped(), 2u);
    EXPECT_EQ(data.GroupedCount, 3u);
    EXPECT_EQ(Flags(0), 0u);
    EXPECT_EQ(Flags(1), hfDeleted);
    ExpectConsistent();

    // Invert deleted: answers the hits not deleted afterwards, clears every grouping.
    EXPECT_EQ(data.InvertDeleted(), 1u);
    EXPECT_EQ(data.DeletedCount, 4u);
    EXPECT_EQ(data.GroupedCount, 0u);
    ExpectConsistent();
    EXPECT_EQ(data.InvertDeleted(), 4u);
    EXPECT_EQ(Flags(1), hfDeleted); // twice restores the deletion state
    EXPECT_EQ(Flags(0), 0u);
    EXPECT_EQ(data.DeletedCount, 1u);
    ExpectConsistent();
    // Records other than hits never carry flags.
    EXPECT_EQ(Flags(2), 0u);
}

TEST_F(SetOperations, ClearFrameBitsResetsMaskOnlyWithRecords)
{
    Frame({1, 2, 0, 0, 0});
    data.FramesPresent = 3;
    data.ClearFrameBits();
    EXPECT_EQ(data.FramesPresent, 0);
    ExpectConsistent();

    LMDataSet empty;
    empty.FramesPresent = 3;
    empty.ClearFrameBits();
    EXPECT_EQ(empty.FramesPresent, 3);
    // Operations on an empty set change nothing and answer 0.
    EXPECT_EQ(empty.GroupOr(1), 0u);
    EXPECT_EQ(empty.InvertDeleted(), 0u);
}

TEST(LMDataSetSaveCopy, LeavesOutDeletedAndKeepsRecordsPastTheCount)
{
    std::vector<ScriptRecord> records = {
        {Hit(1)}, {Other(rkComment, 0), false}, {Hit(2)}, {Hit(3)}, {Hit(4)}};
    ScriptedReader loader(records);
    loader.claimed_ = 4; // the count misses the last record (e.g. records it does not know)
    LMDataSet data;
    data.LoadFrom(loader, dtSpartan, "f");
    data.Records[2].SetHitFlags(hfDeleted);
    data.Records[3].SetHitFlags(hfGrouped); // grouped hits are saved

    ScriptedReader reader(records);
    reader.SeekFirstRecord();
    RecordingWriter writer;
    data.CopyUndeleted(reader, writer);
    EXPECT_EQ(writer.appended, (std::vector<size_t>{0, 1, 3, 4}));
}

} // namespace
} // namespace lm
