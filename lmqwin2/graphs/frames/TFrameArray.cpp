#include "lmqwin2/graphs/frames/TFrameArray.h"

namespace lm {

namespace {

// The integer a parameter's value is a non-decreasing function of, and its largest value;
// 0 for the parameters compared by value.
uint64_t KeyLimit(HitParam param)
{
    switch (param) {
    case hpTime:
        return TickTime::kMaxValue;
    case hpChannel:
    case hpAmplitude:
        return UINT8_MAX;
    case hpRise:
    case hpCounts:
    case hpEnergy:
        return UINT16_MAX;
    case hpDuration:
        return UINT32_MAX;
    default:
        return 0;
    }
}

LMShortHit WithKey(HitParam param, uint64_t key)
{
    LMShortHit hit;
    switch (param) {
    case hpTime:
        hit.time = TickTime::FromValue(key);
        break;
    case hpChannel:
        hit.channel = uint8_t(key);
        break;
    case hpAmplitude:
        hit.amplitude = uint8_t(key);
        break;
    case hpRise:
        hit.rise = uint16_t(key);
        break;
    case hpCounts:
        hit.counts = uint16_t(key);
        break;
    case hpEnergy:
        hit.energy = uint16_t(key);
        break;
    case hpDuration:
        hit.duration = uint32_t(key);
        break;
    default:
        break;
    }
    return hit;
}

// The first key in [0, end) for which `below` is false, or end; `below` must hold for a
// leading run of keys only.
template <class Below> uint64_t FirstNotBelow(uint64_t end, Below below)
{
    uint64_t from = 0;
    while (from < end) {
        const uint64_t middle = from + (end - from) / 2;
        if (below(middle))
            from = middle + 1;
        else
            end = middle;
    }
    return from;
}

} // namespace

FrameAxis::FrameAxis(HitParam param, double min, double max) : Param(param), Min(min), Max(max)
{
    const uint64_t limit = KeyLimit(param);
    if (limit == 0)
        return;
    byKey_ = true;
    const auto value = [param](uint64_t key) { return double(WithKey(param, key).Value(param)); };
    // Comparisons with a NaN limit are false, as in the test by value: nothing is cut there.
    keyFrom_ = FirstNotBelow(limit + 1, [&](uint64_t key) { return value(key) < min; });
    keyTo_ = FirstNotBelow(limit + 1, [&](uint64_t key) { return !(value(key) > max); });
}

bool FrameAxis::ContainsValue(const LMShortHit& hit) const
{
    // The limits are doubles: compare the values at the same precision, so that a hit on a
    // limit stays inside (a time of exactly 3 s reads 3.0000000000000000002 in long double).
    const double v = double(hit.Value(Param));
    return !(v < Min) && !(v > Max);
}

FrameFilter FrameFilter::From(const TFrameRect& frame, const TimeRangeFilter& time, bool eventMode)
{
    FrameFilter filter;
    filter.X = FrameAxis(HitParam(frame.XParam), frame.XMin, frame.XMax);
    filter.Y = FrameAxis(HitParam(frame.YParam), frame.YMin, frame.YMax);
    filter.Channels = frame.Channels;
    filter.Time = time;
    filter.EventMode = eventMode;
    return filter;
}

namespace {

bool IsPlainHit(const LMShortHit& record)
{
    return record.kind == rkHit && record.HitFlagsLow == 0 && record.HitFlagsHigh == 0;
}

} // namespace

void FrameHits(LMDataSet& data, const FrameFilter& filter, int slot)
{
    const uint16_t bit = uint16_t(1u << slot);
    uint32_t framed = 0;
    if (filter.EventMode) {
        // Classify every hit once without touching anything: a file out of time order is
        // found before a single bit is set, so a failed framing changes nothing.
        data.RestartEvents();
        for (const LMShortHit& record : data.Records)
            if (IsPlainHit(record))
                data.ClassifyEvent(record);

        data.RestartEvents();
        bool eventFramed = false;
        for (LMShortHit& record : data.Records) {
            if (!IsPlainHit(record))
                continue;
            if (data.ClassifyEvent(record) == ecNewEvent) {
                eventFramed = filter.Passes(record);
                if (eventFramed)
                    record.FrameBits |= bit;
            } else if (eventFramed) {
                record.FrameBits |= bit;
            }
            if (record.FrameBits != 0)
                ++framed;
        }
    } else {
        for (LMShortHit& record : data.Records) {
            if (!IsPlainHit(record))
                continue;
            if (filter.Passes(record))
                record.FrameBits |= bit;
            if (record.FrameBits != 0)
                ++framed;
        }
    }
    data.FramedCount = framed;
}

bool TFrameArray::Add(const TFrameRect& frame, LMDataSet& data, const TimeRangeFilter& time, bool eventMode)
{
    int slot = 0;
    while (slot < kFrameSlots && slots_[slot])
        ++slot;
    if (slot == kFrameSlots)
        return false;
    // Frame first; the slot is taken only when the framing succeeded.
    FrameHits(data, FrameFilter::From(frame, time, eventMode), slot);
    slots_[slot] = frame;
    slots_[slot]->Slot = slot;
    return true;
}

int TFrameArray::DeleteAll()
{
    int deleted = 0;
    while (deleted < kFrameSlots && slots_[deleted]) {
        slots_[deleted].reset();
        ++deleted;
    }
    return deleted;
}

int TFrameArray::Count() const
{
    int count = 0;
    for (const auto& slot : slots_)
        if (slot)
            ++count;
    return count;
}

uint8_t TFrameArray::OccupiedMask() const
{
    uint8_t mask = 0;
    for (int s = 0; s < kFrameSlots; ++s)
        if (slots_[s])
            mask |= uint8_t(1u << s);
    return mask;
}

const TFrameRect* TFrameArray::At(int slot) const
{
    if (slot < 0 || slot >= kFrameSlots || !slots_[slot])
        return nullptr;
    return &*slots_[slot];
}

} // namespace lm
