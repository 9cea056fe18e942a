#pragma once

// Hits of a data set built in code, for tests of what is done with framed hits.

#include "datafiles/LMRec.h"

#include <cstdint>

namespace lmtest {

// A hit at `seconds` on `channel` with fixed values (amplitude 60, energy 10, counts 5,
// duration 100), inside the frames of the bit mask `frames`.
inline lm::LMShortHit FramedHit(double seconds, uint16_t frames = 1, int channel = 1)
{
    lm::LMShortHit h;
    h.kind = lm::rkHit;
    h.channel = uint8_t(channel);
    h.time = lm::TickTime::FromSeconds(seconds);
    h.amplitude = 60;
    h.energy = 10;
    h.counts = 5;
    h.duration = 100;
    h.FrameBits = frames;
    return h;
}

} // namespace lmtest
