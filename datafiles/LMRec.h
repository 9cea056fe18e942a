#pragma once

// The common in-memory record every reader fills, and the identifiers shared by the
// whole system: record kinds, hit parameters and data-file types.

#include <cstdint>
#include <iosfwd>

#include "datafiles/TickTime.h"

namespace lm {

enum RecordKind : int32_t {
    rkHit = 0,
    rkStop = 1,
    rkResume = 2,
    rkPause = 3,
    rkComment = 4,
    rkParametric = 5,
    rkTimeMark = 6,
    rkOther = 7,
    rkEmpty = 8,
};

// Hit parameters are single-bit identifiers; graph axes, filter records and the parameter
// table store these values.
using HitParam = uint32_t;
inline constexpr HitParam hpTime = 1;
inline constexpr HitParam hpChannel = 2;
inline constexpr HitParam hpSeq = 4;
inline constexpr HitParam hpRise = 8;
inline constexpr HitParam hpCntPk = 16;
inline constexpr HitParam hpCounts = 32;
inline constexpr HitParam hpEnergy = 64;
inline constexpr HitParam hpDuration = 128;
inline constexpr HitParam hpAmplitude = 256;
inline constexpr HitParam hpDP = 512;
inline constexpr HitParam hpRMS = 1024;
inline constexpr HitParam hpPar1 = 2048;
inline constexpr HitParam hpGain = 4096;
inline constexpr HitParam hpThreshold = 8192;
inline constexpr HitParam hpFreq = 32768;

enum DataFileType : int32_t {
    dtSpartan = 0,
    dtDisp = 1,
    dtAmsy = 2,
    dtAlineIsa = 3,
    dtAlinePci = 4,
};

// Report name of a data-file type ("Unknown File Type" for any other code).
const char* DataFileTypeName(int type);

// Editing state bits of HitFlags (owned by the data set).
inline constexpr uint32_t hfGrouped = 1u << 0;
inline constexpr uint32_t hfDeleted = 1u << 1;

// First 16 bytes of every record in memory.
struct LMRec {
    int32_t kind = rkEmpty;
    uint16_t FrameBits = 0;     // one bit per frame slot (only the low 8 are used)
    uint16_t HitFlagsLow = 0;   // HitFlags, stored as two 16-bit words
    uint16_t HitFlagsHigh = 0;
    TickTime time;

    uint32_t HitFlags() const { return uint32_t(HitFlagsLow) | (uint32_t(HitFlagsHigh) << 16); }
    void SetHitFlags(uint32_t flags)
    {
        HitFlagsLow = uint16_t(flags);
        HitFlagsHigh = uint16_t(flags >> 16);
    }
};

// The common record: 32 bytes, so that a loaded file costs 32 bytes a record.
struct LMShortHit : LMRec {
    uint8_t channel = 0;     // 1-based
    uint8_t amplitude = 0;   // dB
    uint16_t rise = 0;       // us
    uint16_t counts = 0;
    uint16_t energy = 0;     // unit of the source system
    uint32_t duration = 0;   // us
    float Par1 = 0.0f;

    // Value of one parameter: 0 gives 1.0; hpFreq is counts / duration * 1000 and 0 when
    // the duration is 0; identifiers without a field give 0.0.
    long double Value(HitParam param) const;

    // Column titles and one row of values of the data view listing.
    static void PrintTitles(std::ostream& out);
    void PrintValues(std::ostream& out) const;
};

static_assert(sizeof(LMRec) == 16, "LMRec must stay 16 bytes");
static_assert(sizeof(LMShortHit) == 32, "LMShortHit must stay 32 bytes");

}  // namespace lm
