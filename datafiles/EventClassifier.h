#pragma once

// Event classification of hits in file order: a hit opens an event, falls inside the MPT
// window of the current event, or inside the lockout after it. One rule for the post-filter
// (through a reader), the data set of the correlation program and its statistics.
//
// What the callers do differently lies outside this type: the reader is given its windows
// in ticks by the filter and never restarts (its reference also follows the times a writer
// appends); the data set takes the test setup's MPT and lockout in microseconds and framing
// restarts it before every pass; the statistics restart it before they count.

#include "datafiles/LMRec.h"
#include "datafiles/TickTime.h"

#include <cstdint>

namespace lm {

enum EventClass : int32_t {
    ecNewEvent = 0,
    ecInMPT = 1,
    ecInLockout = 2,
};

struct EventClassifier {
    TickTime EventReference; // time of the hit that opened the current event
    TickTime MptWindow;
    TickTime LockoutWindow;
    // Time in seconds of the hit that was found out of time order (for the message).
    double NotSortedTime = 0.0;

    // A window of so many microseconds, truncated to ticks.
    static TickTime MicrosecondsToWindow(double microseconds)
    {
        return TickTime::FromSeconds((long double)microseconds * 1e-6L);
    }
    // Starts a pass with the windows of a test setup (MPT and lockout in us): reference 0.
    void ResetEvents(double mptMicroseconds, double lockoutMicroseconds)
    {
        EventReference = TickTime{};
        MptWindow = MicrosecondsToWindow(mptMicroseconds);
        LockoutWindow = MicrosecondsToWindow(lockoutMicroseconds);
    }
    // Starts a pass with the windows already held.
    void RestartEvents() { EventReference = TickTime{}; }

    // The class of a hit at time t, the next one in file order; a hit that opens an event
    // becomes the reference. Raises ELMData 2001, storing NotSortedTime, for a hit earlier
    // than the reference.
    EventClass ClassifyTime(TickTime t);
    EventClass ClassifyEvent(const LMShortHit& hit) { return ClassifyTime(hit.time); }
};

} // namespace lm
