#include "lmqwin2/graphs/frames/TFrameArray.h"

namespace lm {

FrameFilter FrameFilter::From(const TFrameRect& frame, const TimeRangeFilter& time, bool eventMode)
{
    FrameFilter filter;
    filter.XParam = HitParam(frame.XParam);
    filter.YParam = HitParam(frame.YParam);
    filter.XMin = frame.XMin;
    filter.XMax = frame.XMax;
    filter.YMin = frame.YMin;
    filter.YMax = frame.YMax;
    filter.Channels = frame.Channels;
    filter.Time = time;
    filter.EventMode = eventMode;
    return filter;
}

bool FrameFilter::Passes(const LMShortHit& hit) const
{
    // Cheapest tests first: the channel, then the time, then the two values.
    const unsigned channel = hit.channel;
    if (channel < 1 || channel > kChannelCount || !Channels.test(channel - 1))
        return false;
    // Whole seconds compare exactly in ticks (a conversion to seconds would put a hit at
    // exactly the end of the range a rounding error outside it).
    if (Time.On) {
        const int64_t ticks = int64_t(hit.time.Value());
        if (ticks < int64_t(Time.Start) * 4000000 || ticks > int64_t(Time.End) * 4000000)
            return false;
    }
    // The limits are doubles: compare the values at the same precision, so that a hit on a
    // limit stays inside (a time of exactly 3 s reads 3.0000000000000000002 in long double).
    const double x = double(hit.Value(XParam));
    if (x < XMin || x > XMax)
        return false;
    const double y = double(hit.Value(YParam));
    return y >= YMin && y <= YMax;
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
