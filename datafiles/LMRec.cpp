#include "datafiles/LMRec.h"

namespace lm {

const char* DataFileTypeName(int type)
{
    switch (type) {
    case dtSpartan:
        return "Spartan 3000";
    case dtDisp:
        return "Locan AT/Spartan AT/Spartan 2000/Disp/Mistras";
    case dtAmsy:
        return "AMSY 3/4/5";
    case dtAlineIsa:
        return "Aline ISA";
    case dtAlinePci:
        return "Aline PCI";
    default:
        return "Unknown File Type";
    }
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

}  // namespace lm
