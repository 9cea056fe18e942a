#include "datafiles/LMRec.h"

#include "datafiles/DataFormat.h"

namespace lm {

const char* DataFileTypeName(int type)
{
    const DataFormat* format = FindDataFormat(type);
    return format ? format->reportName : "Unknown File Type";
}

long double LMShortHit::Value(HitParam param) const
{
    switch (param) {
    case 0:
        return 1.0L;
    case hpTime:
        return time.Seconds();
    case hpChannel:
        return channel;
    case hpRise:
        return rise;
    case hpCounts:
        return counts;
    case hpEnergy:
        return energy;
    case hpDuration:
        return duration;
    case hpAmplitude:
        return amplitude;
    case hpPar1:
        return Par1;
    case hpFreq:
        // A zero duration has no frequency; 0 keeps such hits at the axis origin.
        return duration == 0 ? 0.0L : (long double)counts / (long double)duration * 1000.0L;
    default:
        return 0.0L;
    }
}

} // namespace lm
