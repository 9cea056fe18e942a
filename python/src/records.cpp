#include "records.h"

#include <cstring>

namespace aelumeny {

RecordRow MakeRow(const lm::LMShortHit& record)
{
    RecordRow row{};
    row.ticks = record.time.Value();
    // Both exact in a double, so the quotient is the time correctly rounded (and far quicker
    // than the extended-precision Seconds()).
    row.time = double(row.ticks) / double(lm::TickTime::kTicksPerSecond);
    row.duration = record.duration;
    row.par1 = record.Par1;
    row.flags = record.HitFlags();
    row.rise = record.rise;
    row.counts = record.counts;
    row.energy = record.energy;
    row.kind = int8_t(record.kind);
    row.channel = record.channel;
    row.amplitude = record.amplitude;
    return row;
}

size_t RepackAsRows(std::vector<lm::LMShortHit>& records, bool hitsOnly)
{
    if (hitsOnly)
        std::erase_if(records, [](const lm::LMShortHit& r) { return r.kind != lm::rkHit; });
    const size_t count = records.size();
    // Enough whole records to hold the rows; the loader's reserve usually has the room.
    const size_t needed = (count * sizeof(RecordRow) + sizeof(lm::LMShortHit) - 1) / sizeof(lm::LMShortHit);
    records.resize(needed);
    auto* bytes = reinterpret_cast<unsigned char*>(records.data());
    // Row i starts no earlier than record i: walking back from the last record, a row only
    // covers records that have been read already.
    for (size_t i = count; i-- > 0;) {
        lm::LMShortHit record;
        std::memcpy(static_cast<void*>(&record), bytes + i * sizeof(lm::LMShortHit), sizeof record);
        const RecordRow row = MakeRow(record);
        std::memcpy(bytes + i * sizeof(RecordRow), &row, sizeof row);
    }
    return count;
}

} // namespace aelumeny
