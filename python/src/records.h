#pragma once

// The rows of aelumeny.read and how the loaded records become them.
//
// The loader keeps a record in 32 bytes with its time as a 48-bit tick count in three 16-bit
// words, which numpy has no type for, and no time in seconds. Copying the records into a
// new array would double the memory of a load, so the rows are made inside the loader's own
// buffer instead: the buffer is widened to 40 bytes a record and each record is rewritten
// as a row, from the last one back, so that no row overwrites a record not yet read. The
// buffer then belongs to the numpy array.

#include "datafiles/LMRec.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace aelumeny {

// One row: every field naturally aligned, 40 bytes.
struct RecordRow {
    uint64_t ticks;    // 0.25 us ticks
    double time;       // seconds
    uint32_t duration; // us
    float par1;
    uint32_t flags; // editing state bits (none in a loaded file)
    uint16_t rise;  // us
    uint16_t counts;
    uint16_t energy;
    int8_t kind; // RecordKind
    uint8_t channel;
    uint8_t amplitude; // dB
    uint8_t reserved;
};
static_assert(sizeof(RecordRow) == 40);

RecordRow MakeRow(const lm::LMShortHit& record);

// Rewrites `records` as rows in their own memory (keeping only the hits when `hitsOnly`)
// and answers the number of rows; they start at records.data(). The vector keeps owning
// the memory and must not be resized afterwards.
size_t RepackAsRows(std::vector<lm::LMShortHit>& records, bool hitsOnly);

} // namespace aelumeny
