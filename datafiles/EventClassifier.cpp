#include "datafiles/EventClassifier.h"

#include "datafiles/ELMData.h"

namespace lm {

EventClass EventClassifier::ClassifyTime(TickTime t)
{
    if (t < EventReference) {
        NotSortedTime = double(t.Seconds());
        throw ELMData(kErrNotSorted);
    }
    // The distance goes through seconds, as the acquisition software measures it. That
    // conversion lands on the exact tick difference or one tick below it, so it only decides
    // the answer when the difference lies within a tick of a window; elsewhere the integer
    // difference answers the same, much faster.
    const uint64_t ticks = t.Value() - EventReference.Value();
    uint64_t distance = 0;
    bool converted = false;
    auto inside = [&](TickTime window) {
        const uint64_t limit = window.Value();
        if (ticks + 1 <= limit)
            return true;
        if (ticks > limit + 1)
            return false;
        if (!converted) {
            distance = TickTime::FromSeconds(t.Seconds() - EventReference.Seconds()).Value();
            converted = true;
        }
        return distance <= limit;
    };
    if (inside(MptWindow))
        return ecInMPT;
    if (inside(LockoutWindow))
        return ecInLockout;
    EventReference = t;
    return ecNewEvent;
}

} // namespace lm
