#include "datafiles/DataFileLoad.h"

#include "datafiles/DataFileOpen.h"
#include "datafiles/DataFormat.h"
#include "datafiles/internal/RecordWalk.h"

#include <algorithm>

namespace lm {

uint32_t CountRecordSlots(AWDiskFile& reader)
{
    const int count = reader.GetRecordCount();
    return count > 0 ? uint32_t(count) : 0;
}

LoadStats ReadRecordsInto(AWDiskFile& reader, LMShortHit* records, uint32_t count)
{
    LoadStats stats;
    (void)reader.SeekFirstRecord();
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadNext())
            break;
        ReadCurrent(reader, records[i], stats);
        if (reader.IsEndOfData())
            break;
    }
    return stats;
}

LoadStats LoadRecords(AWDiskFile& reader, DataFileType type, std::vector<LMShortHit>& records,
                      LoadMonitor* monitor)
{
    records.clear();
    if (type == dtAlineIsa)
        (void)reader.GetRecordCount(); // applies the file's calibration records first

    const uint64_t fileSize = reader.File().Size();
    (void)reader.SeekFirstRecord();
    const DataFormat* format = FindDataFormat(type);
    const RecordWalk walk = format && format->walkRecords
                                ? format->walkRecords(reader, records, monitor, fileSize)
                                : WalkRecords(reader, records, monitor, fileSize);
    uint32_t slots = walk.counted;
    // Records behind the end-of-data record: the count decides whether they take slots.
    if (walk.ended && reader.ReadNext())
        slots = CountRecordSlots(reader);
    if (slots < walk.stats.read) {
        // Fewer slots than records read: the load ends at the count.
        records.assign(slots, LMShortHit{});
        return ReadRecordsInto(reader, records.data(), slots);
    }
    records.resize(slots);
    return walk.stats;
}

LoadedDataFile LoadDataFile(const std::string& path)
{
    OpenedDataFile opened = OpenDataFile(path);
    LoadedDataFile loaded;
    loaded.type = opened.type;
    loaded.stats = LoadRecords(*opened.reader, opened.type, loaded.records);
    return loaded;
}

} // namespace lm
