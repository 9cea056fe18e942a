#include "datafiles/LMRec.h"
#include "datafiles/internal/StreamFormat.h"

#include <iomanip>
#include <ostream>

namespace lm {

void LMShortHit::PrintTitles(std::ostream& out)
{
    FormatGuard guard(out);
    out << std::right << std::setw(14) << "Time (sec.)" << std::setw(4) << "Chn" << std::setw(6) << "Rise"
        << std::setw(6) << "Count" << std::setw(7) << "Durat" << std::setw(6) << "Ener" << std::setw(4)
        << "Amp" << std::setw(7) << "Freq" << std::setw(8) << "Prm";
}

// The "Prm" cell is left to the caller: the data view writes the parametric value there
// converted with the test setup's divisors and offsets, which a bare record cannot know.
void LMShortHit::PrintValues(std::ostream& out) const
{
    FormatGuard guard(out);
    out << std::right << std::fixed << std::setprecision(7) << std::setw(14)
        << static_cast<double>(time.Seconds()) << std::setw(4) << unsigned(channel) << std::setw(6) << rise
        << std::setw(6) << counts << std::setw(7) << duration << std::setw(6) << energy << std::setw(4)
        << unsigned(amplitude) << std::setprecision(1) << std::setw(7) << static_cast<double>(Value(hpFreq));
}

} // namespace lm
