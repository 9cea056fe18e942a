#pragma once

// The one pass of LoadRecords over the records of a reader. It is a template on the
// reader's class so that the format table can make one for each final reader class, in
// which the handful of calls per record are direct (mostly inlined) instead of virtual;
// the walk on an AWDiskFile& serves any other reader.

#include "datafiles/AWDiskFile.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/LMRec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lm {

struct RecordWalk {
    LoadStats stats;
    uint32_t counted = 0; // the records GetRecordCount would count so far
    bool ended = false;   // stopped after the end-of-data record
};

// Decodes the reader's current record into `record` and counts it.
template <class Reader> void ReadCurrent(Reader& reader, LMShortHit& record, LoadStats& stats)
{
    reader.ReadRecord(record);
    ++stats.read;
    if (record.kind == rkHit)
        ++stats.hits;
    else if (record.kind == rkTimeMark)
        ++stats.timeMarks;
    if (reader.HasTime()) {
        const double t = double(reader.GetTime());
        if (t > stats.maxTime)
            stats.maxTime = t;
    }
}

// Room for the records of a file whose first `held` records took `bytesRead` of its
// `bytesTotal` bytes: at the rate so far with a margin of 1/64, at least a quarter more than
// now, so that a file whose records turn smaller later costs only a few moves of the array.
inline size_t RecordCapacity(size_t held, uint64_t bytesRead, uint64_t bytesTotal)
{
    constexpr size_t kFirst = 4096;
    if (held == 0 || bytesRead == 0)
        return kFirst;
    const double expected = double(bytesTotal) * double(held) / double(bytesRead);
    const double estimate = expected + expected / 64 + kFirst;
    const size_t least = held + held / 4;
    return estimate > double(least) ? size_t(estimate) : least;
}

// Appends every record from the current one on to `records`.
template <class Reader>
RecordWalk WalkRecords(Reader& reader, std::vector<LMShortHit>& records, LoadMonitor* monitor,
                       uint64_t fileSize)
{
    RecordWalk walk;
    LoadStats& stats = walk.stats;
    // The array is sized from the file size and the bytes the records have taken so far, and
    // grows by blocks of default records that the reader fills in place (fields a kind does
    // not carry stay default); what is left of the last block is cut off.
    constexpr size_t kBlock = 4096;
    const uint64_t start = reader.File().Tell();
    const uint64_t bytesTotal = fileSize > start ? fileSize - start : 0;
    size_t used = records.size();
    while (true) {
        if (monitor && (stats.read & 0xFFFF) == 0 && !monitor->Continue(reader.File().Tell(), fileSize))
            throw LoadCancelled();
        if (!reader.ReadNext())
            break;
        if (reader.IsKnownRecord())
            ++walk.counted;
        if (used == records.size()) {
            if (used == records.capacity())
                records.reserve(RecordCapacity(used, reader.File().Tell() - start, bytesTotal));
            records.resize(std::min(used + kBlock, records.capacity()));
        }
        ReadCurrent(reader, records[used++], stats);
        if (reader.IsEndOfData()) {
            walk.ended = true;
            break;
        }
    }
    records.resize(used);
    return walk;
}

// The walk for readers of class Reader, and the generic one for any other.
template <class Reader>
RecordWalk WalkRecordsOf(AWDiskFile& reader, std::vector<LMShortHit>& records, LoadMonitor* monitor,
                         uint64_t fileSize)
{
    if (auto* own = dynamic_cast<Reader*>(&reader))
        return WalkRecords(*own, records, monitor, fileSize);
    return WalkRecords(reader, records, monitor, fileSize);
}

} // namespace lm
