#include "lmqwin2/dataset/LMDataSet.h"

#include "datafiles/DataFileLoad.h"

#include <cmath>

namespace lm {

void LMDataSet::Clear()
{
    FileName.clear();
    RecordCount = 0;
    HitCount = 0;
    FramedCount = 0;
    GroupedCount = 0;
    DeletedCount = 0;
    TimeMarkCount = 0;
    // Release the memory, not just the size: a cleared set holds nothing.
    std::vector<LMShortHit>().swap(Records);
    std::vector<TickTime>().swap(TimeMarks);
}

double LMDataSet::RoundTimeAxisMax(double maxTime)
{
    // log10 of 0 (a file without a timed record) has no finite value: the axis ends at 0.
    if (!(maxTime > 0.0) || !std::isfinite(maxTime))
        return 0.0;
    const long double m = maxTime;
    const long double e = std::trunc(std::log10(m));
    const long double p = std::pow(10.0L, e);
    long double q = std::trunc((m / p + 0.1L) * 10.0L);
    // The end must lie above the greatest time; binary fractions can make the sum fall a
    // hair short of a whole step (8.7 + 0.1 < 8.8).
    if (double(q * 0.1L * p) <= maxTime)
        q += 1.0L;
    return double(q * 0.1L * p);
}

void LMDataSet::LoadFrom(AWDiskFile& reader, DataFileType type, const std::string& fileName,
                         LoadMonitor* monitor)
{
    FileType = type;
    try {
        FileName = fileName;
        const LoadStats stats = LoadRecords(reader, type, Records, monitor);
        RecordCount = uint32_t(Records.size());
        HitCount = stats.hits;
        TimeMarkCount = stats.timeMarks;
        MaxTime = stats.maxTime;

        if (TimeMarkCount > 0) {
            TimeMarks.reserve(TimeMarkCount);
            for (const LMShortHit& record : Records)
                if (record.kind == rkTimeMark)
                    TimeMarks.push_back(record.time);
        }
        TimeAxisMax = RoundTimeAxisMax(MaxTime);
    } catch (...) {
        Clear();
        throw;
    }
}

void LMDataSet::Swap(LMDataSet& other) noexcept
{
    using std::swap;
    swap(static_cast<EventClassifier&>(*this), static_cast<EventClassifier&>(other));
    swap(FileType, other.FileType);
    swap(FileName, other.FileName);
    swap(RecordCount, other.RecordCount);
    swap(HitCount, other.HitCount);
    swap(EventCount, other.EventCount);
    swap(FramedCount, other.FramedCount);
    swap(GroupedCount, other.GroupedCount);
    swap(DeletedCount, other.DeletedCount);
    swap(TimeMarkCount, other.TimeMarkCount);
    swap(MaxTime, other.MaxTime);
    swap(TimeAxisMax, other.TimeAxisMax);
    swap(TimeMarks, other.TimeMarks);
    swap(Records, other.Records);
    swap(FramesPresent, other.FramesPresent);
}

void LMDataSet::ClearFrameBits()
{
    for (LMShortHit& record : Records)
        record.FrameBits = 0;
    FramedCount = 0;
    if (!Records.empty())
        FramesPresent = 0;
}

uint32_t LMDataSet::Group(uint8_t occupiedSlots, bool all)
{
    FramesPresent = occupiedSlots;
    uint32_t grouped = 0;
    for (LMShortHit& record : Records) {
        if (record.kind != rkHit)
            continue;
        uint32_t flags = record.HitFlags();
        // Without a frame nothing is selected; a deleted hit never becomes grouped (with an
        // empty mask an AND test would otherwise match every unframed hit, deleted ones too).
        const bool selected = occupiedSlots != 0 && (flags & hfDeleted) == 0 &&
                              (all ? record.FrameBits == occupiedSlots : record.FrameBits != 0);
        if (selected) {
            flags |= hfGrouped;
            record.SetHitFlags(flags);
        }
        record.FrameBits = 0;
        if (flags & hfGrouped)
            ++grouped;
    }
    GroupedCount = grouped;
    FramedCount = 0;
    return grouped;
}

uint32_t LMDataSet::GroupAnd(uint8_t occupiedSlots)
{
    return Group(occupiedSlots, true);
}

uint32_t LMDataSet::GroupOr(uint8_t occupiedSlots)
{
    return Group(occupiedSlots, false);
}

void LMDataSet::ClearGrouped()
{
    for (LMShortHit& record : Records)
        record.SetHitFlags(record.HitFlags() & ~hfGrouped);
    GroupedCount = 0;
}

uint32_t LMDataSet::DeleteGrouped()
{
    uint32_t deleted = 0;
    for (LMShortHit& record : Records) {
        const uint32_t flags = record.HitFlags();
        if (flags & hfGrouped) {
            record.FrameBits = 0;
            record.SetHitFlags((flags & ~hfGrouped) | hfDeleted);
            ++deleted;
        }
    }
    GroupedCount -= deleted;
    DeletedCount += deleted;
    return deleted;
}

void LMDataSet::UndeleteAll()
{
    for (LMShortHit& record : Records) {
        if (record.kind != rkHit)
            continue;
        record.FrameBits = 0;
        record.SetHitFlags(record.HitFlags() & ~hfDeleted);
    }
    DeletedCount = 0;
    FramedCount = 0;
}

uint32_t LMDataSet::InvertGrouped()
{
    uint32_t grouped = 0;
    uint32_t notGrouped = 0;
    for (LMShortHit& record : Records) {
        if (record.kind != rkHit)
            continue;
        record.FrameBits = 0;
        uint32_t flags = record.HitFlags();
        if ((flags & hfDeleted) == 0)
            flags ^= hfGrouped;
        record.SetHitFlags(flags);
        if (flags & hfGrouped)
            ++grouped;
        else
            ++notGrouped;
    }
    GroupedCount = grouped;
    FramedCount = 0;
    return notGrouped;
}

uint32_t LMDataSet::InvertDeleted()
{
    uint32_t deleted = 0;
    uint32_t kept = 0;
    for (LMShortHit& record : Records) {
        if (record.kind != rkHit)
            continue;
        record.FrameBits = 0;
        const uint32_t flags = (record.HitFlags() & ~hfGrouped) ^ hfDeleted;
        record.SetHitFlags(flags);
        if (flags & hfDeleted)
            ++deleted;
        else
            ++kept;
    }
    DeletedCount = deleted;
    GroupedCount = 0;
    FramedCount = 0;
    return kept;
}

void LMDataSet::CopyUndeleted(AWDiskFile& reader, AWDiskFile& writer) const
{
    uint32_t i = 0;
    while (i < RecordCount && reader.ReadNext() != 0) {
        if ((Records[i].HitFlags() & hfDeleted) == 0)
            writer.AppendRecord(reader);
        ++i;
    }
    // Records the loader never held (past its record count) cannot have been deleted; they
    // stay in the copy rather than being dropped silently.
    if (i == RecordCount)
        while (reader.ReadNext() != 0)
            writer.AppendRecord(reader);
}

} // namespace lm
