#include "datafiles/TickTime.h"

#include <cmath>

namespace lm {

TickTime TickTime::FromSeconds(long double seconds)
{
    if (!(seconds > 0.0L) || !std::isfinite(seconds))
        return TickTime{};
    const long double t = seconds * kTicksPerSecond;
    // Below 2^64 the word-by-word split equals the truncated integer's low 48 bits, and the
    // integer path is many times faster (event classification calls this for every hit).
    if (t < 18446744073709551616.0L)
        return FromValue(uint64_t(t) & kMaxValue);
    long double high = std::trunc(t / 4294967296.0L);
    long double mid = std::trunc((t - high * 4294967296.0L) / 65536.0L);
    long double low = std::trunc(t - high * 4294967296.0L - mid * 65536.0L);
    // The words are 16 bits wide; anything beyond wraps like the stored value would.
    const auto word = [](long double v) -> uint16_t {
        if (v < 0.0L)
            return 0;
        return uint16_t(uint64_t(std::fmod(v, 65536.0L)));
    };
    return TickTime{word(low), word(mid), word(high)};
}

}  // namespace lm
