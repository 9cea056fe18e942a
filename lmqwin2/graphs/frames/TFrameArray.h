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

// Everything one framing pass tests a hit against.
struct FrameFilter {
    HitParam XParam = 0;
    HitParam YParam = 0;
    double XMin = 0.0;
    double XMax = 0.0;
    double YMin = 0.0;
    double YMax = 0.0;
    ChannelMask Channels;
    TimeRangeFilter Time;
    bool EventMode = false;

    static FrameFilter From(const TFrameRect& frame, const TimeRangeFilter& time, bool eventMode);
    // Inclusive on every side; hits of channel 0 or above 128 never pass.
    bool Passes(const LMShortHit& hit) const;
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
