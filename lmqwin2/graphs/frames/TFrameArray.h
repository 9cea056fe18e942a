#pragma once

// Frames: rectangles drawn on graphs that select hits. A frame keeps its limits as values
// (not pixels), so it selects the same hits whatever the graph's scale. Up to eight frames
// exist, packed from slot 0; slot s marks its hits with bit s of their FrameBits.

#include "datafiles/ChannelMask.h"
#include "lmqwin2/dataset/LMDataSet.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>

namespace lm {

inline constexpr int kFrameSlots = 8;

struct TFrameRect {
    // Band rectangle in graph pixels as dragged (normalised, clipped to the plot area).
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t AnchorX = 0;
    int32_t AnchorY = 0;
    bool Drawing = false;
    const void* Graph = nullptr; // the graph it was drawn on, by identity only
    int32_t Slot = -1;
    int32_t XParam = 0; // HitParam of the axes
    int32_t YParam = 0;
    double XMin = 0.0;
    double XMax = 0.0;
    double YMin = 0.0;
    double YMax = 0.0;
    ChannelMask Channels; // channel selection at the time of drawing
};

// The time range filter of the main window (whole seconds).
struct TimeRangeFilter {
    bool On = false;
    int32_t Start = 0;
    int32_t End = 0;
};

// One axis of a frame: the hit's value of Param, at double precision, within [Min, Max]
// (inclusive). The time and the integer fields are compared as integers (ticks or the field
// itself) against bounds found once from the limits; the value grows with the integer, so
// exactly the same hits pass, without a conversion per hit.
class FrameAxis {
public:
    FrameAxis() = default;
    FrameAxis(HitParam param, double min, double max);

    bool Contains(const LMShortHit& hit) const
    {
        if (!byKey_)
            return ContainsValue(hit);
        const uint64_t key = Key(hit, Param);
        return key >= keyFrom_ && key < keyTo_;
    }

    HitParam Param = 0;
    double Min = 0.0;
    double Max = 0.0;

private:
    // The integer of a parameter compared by key.
    static uint64_t Key(const LMShortHit& hit, HitParam param)
    {
        switch (param) {
        case hpTime:
            return hit.time.Value();
        case hpChannel:
            return hit.channel;
        case hpAmplitude:
            return hit.amplitude;
        case hpRise:
            return hit.rise;
        case hpCounts:
            return hit.counts;
        case hpEnergy:
            return hit.energy;
        case hpDuration:
            return hit.duration;
        default:
            return 0;
        }
    }
    bool ContainsValue(const LMShortHit& hit) const;

    bool byKey_ = false;
    uint64_t keyFrom_ = 0; // first integer inside
    uint64_t keyTo_ = 0;   // first integer above, from keyFrom_ on
};

// Everything one framing pass tests a hit against.
struct FrameFilter {
    FrameAxis X;
    FrameAxis Y;
    ChannelMask Channels;
    TimeRangeFilter Time;
    bool EventMode = false;

    static FrameFilter From(const TFrameRect& frame, const TimeRangeFilter& time, bool eventMode);
    // Inclusive on every side; hits of channel 0 or above 128 never pass.
    bool Passes(const LMShortHit& hit) const
    {
        // Cheapest tests first: the channel, then the time, then the two values.
        const unsigned channel = hit.channel;
        if (channel < 1 || channel > kChannelCount || !Channels[channel - 1])
            return false;
        // Whole seconds compare exactly in ticks (a conversion to seconds would put a hit at
        // exactly the end of the range a rounding error outside it).
        if (Time.On) {
            const int64_t ticks = int64_t(hit.time.Value());
            if (ticks < int64_t(Time.Start) * 4000000 || ticks > int64_t(Time.End) * 4000000)
                return false;
        }
        return X.Contains(hit) && Y.Contains(hit);
    }
};

// Sets bit `slot` on every hit that passes the filter (whole events in event mode) and
// recounts FramedCount. In event mode a hit out of time order raises ELMData 2001 (with
// the data set's NotSortedTime stored) before any hit or counter has been changed.
void FrameHits(LMDataSet& data, const FrameFilter& filter, int slot);

class TFrameArray {
public:
    // Copies the frame into the first empty slot and frames the hits with it. False when all
    // slots are taken. When framing raises, the slot stays empty and the error passes on.
    bool Add(const TFrameRect& frame, LMDataSet& data, const TimeRangeFilter& time, bool eventMode);
    // Deletes the frames from slot 0 up to the first empty one; answers how many. Frame bits
    // of the hits are left to the caller.
    int DeleteAll();
    bool Any() const { return slots_[0].has_value(); }
    int Count() const;
    uint8_t OccupiedMask() const;
    // The frame in slot s, or null.
    const TFrameRect* At(int slot) const;

private:
    std::array<std::optional<TFrameRect>, kFrameSlots> slots_;
};

} // namespace lm
