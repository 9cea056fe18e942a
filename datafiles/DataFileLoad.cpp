#include "datafiles/DataFileLoad.h"

#include "datafiles/DataFileOpen.h"

namespace lm {

uint32_t CountRecordSlots(AWDiskFile& reader)
{
    const int count = reader.GetRecordCount();
    return count > 0 ? uint32_t(count) : 0;
}

LoadStats ReadRecordsInto(AWDiskFile& reader, LMShortHit* records, uint32_t count)
{
    LoadStats stats;
    reader.SeekFirstRecord();
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.ReadNext())
            break;
        LMShortHit& record = records[i];
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
        if (reader.IsEndOfData())
            break;
    }
    return stats;
}

LoadedDataFile LoadDataFile(const std::string& path)
{
    OpenedDataFile opened = OpenDataFile(path);
    LoadedDataFile loaded;
    loaded.type = opened.type;
    loaded.records.resize(CountRecordSlots(*opened.reader));
    loaded.stats = ReadRecordsInto(*opened.reader, loaded.records.data(), uint32_t(loaded.records.size()));
    return loaded;
}

} // namespace lm
