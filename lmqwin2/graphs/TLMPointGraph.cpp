#include "lmqwin2/graphs/TLMPointGraph.h"

#include <algorithm>
#include <array>
#include <atomic>

namespace lm {

// Everything a pass needs, resolved once.
struct TLMPointGraph::Pass {
    PassAxis x, y;
    bool xPar = false, yPar = false; // axis of hpPar1: converted in the all-hits pass
    PassFilter filter;
    bool eventsView = false;
    bool shadows = false;
    const ATestSetup* setup = nullptr;
};

namespace {

inline bool InTime(const LMShortHit& h, bool on, uint64_t lo, uint64_t hi)
{
    if (!on)
        return true;
    const uint64_t t = h.time.Value();
    return lo <= t && t <= hi;
}

inline bool ChannelIn(const ChannelMask& mask, unsigned c)
{
    return c >= 1 && c <= unsigned(kChannelCount) && mask.test(c - 1);
}

inline int HighestSlot(uint16_t bits)
{
    for (int s = kFrameSlots - 1; s >= 0; --s)
        if (bits & (1u << s))
            return s;
    return 0;
}

} // namespace

void TLMPointGraph::DrawData(ACanvas& canvas)
{
    const AOptions& options = *common_.Options;
    Pass pass;
    pass.x = MakePassAxis(true);
    pass.y = MakePassAxis(false);
    pass.xPar = XParam == hpPar1;
    pass.yPar = YParam == hpPar1;
    pass.filter = MakePassFilter();
    pass.eventsView = options.EventsView;
    pass.shadows = options.SecondAsShadow;
    pass.setup = common_.Setup;

    const bool overlay = (options.ViewType == 2 && !NoColour) || options.ViewType == 0;
    if (options.ShowDeleted)
        DeletedPass(canvas, pass);
    const bool collected = AllHitsPass(canvas, pass, overlay && !pass.eventsView);
    if (overlay) {
        if (collected) {
            for (size_t i = 0; i < overlay_.size(); i += 4096)
                canvas.Dots(
                    std::span<const Dot>(overlay_.data() + i, std::min<size_t>(4096, overlay_.size() - i)));
        } else {
            OverlayPass(canvas, pass);
        }
    }
}

void TLMPointGraph::DeletedPass(ACanvas& canvas, const Pass& p)
{
    const uint32_t pixel = PixelOf(Role(8));
    DotBatch dots(canvas);
    for (const LMShortHit& h : common_.Data->Records) {
        if (h.kind != rkHit || !(h.HitFlagsLow & hfDeleted) || h.channel < 1 || h.channel > kChannelCount)
            continue;
        const double x = p.x.raw(h), y = p.y.raw(h);
        if (!(p.x.InRange(x) && p.y.InRange(y)))
            continue;
        if (!InTime(h, p.filter.timeOn, p.filter.timeLo, p.filter.timeHi))
            continue;
        dots.Add(p.x.PixelInRange(x), p.y.PixelInRange(y), pixel);
    }
}

bool TLMPointGraph::AllHitsPass(ACanvas& canvas, const Pass& p, bool collectOverlay)
{
    const AOptions& options = *common_.Options;
    LMDataSet& data = *common_.Data;
    const int mode = options.ViewType;
    const uint32_t role5 = PixelOf(Role(5));
    const uint32_t role7 = PixelOf(Role(7));
    // Colour of a first hit by channel (0: not drawn: channel outside 1-128 or not selected).
    std::array<uint32_t, 256> hitPixel{};
    for (unsigned c = 1; c <= unsigned(kChannelCount); ++c)
        if (p.filter.channels.test(c - 1))
            hitPixel[c] = (mode == 0 && !NoColour) ? PixelOf(ChannelColor(int(c))) : role5;
    // Second hits in event view: role 7 except in colour mode 1.
    const uint32_t shadowPixel = mode == 1 ? role5 : role7;
    const bool showParam = options.ShowParamData && (p.xPar || p.yPar);
    const ATestSetup& setup = *p.setup;

    // The overlay's colours, for the dots collected on the way.
    const uint32_t groupedPixel = PixelOf(Role(13));
    std::array<uint32_t, kFrameSlots> slotPixel{};
    for (int s = 0; s < kFrameSlots; ++s)
        slotPixel[size_t(s)] = PixelOf(FrameColor(options.ColorScheme, s));
    overlay_.clear();
    bool collecting = collectOverlay;

    if (p.eventsView)
        data.ResetEvents(setup.MPT, setup.Lockout);
    uint32_t events = 0;
    unsigned eventChannel = 0;
    DotBatch dots(canvas);
    for (const LMShortHit& h : data.Records) {
        const bool isHit = h.kind == rkHit;
        if ((!isHit && h.kind != rkParametric) || (h.HitFlagsLow & hfDeleted))
            continue;
        if (collecting && isHit && ((h.HitFlagsLow & hfGrouped) || (h.FrameBits & 0xFF))) {
            // As the overlay pass draws it: unconverted values, no event handling (off here).
            const double ox = p.x.raw(h), oy = p.y.raw(h);
            if (p.x.InRange(ox) && p.y.InRange(oy) &&
                InTime(h, p.filter.timeOn, p.filter.timeLo, p.filter.timeHi) &&
                ChannelIn(p.filter.channels, h.channel)) {
                if (overlay_.size() == kOverlayBound) {
                    collecting = false; // too many: the overlay walks the records itself
                    overlay_.clear();
                } else {
                    overlay_.push_back(
                        Dot{p.x.PixelInRange(ox), p.y.PixelInRange(oy),
                            (h.HitFlagsLow & hfGrouped)
                                ? groupedPixel
                                : slotPixel[size_t(HighestSlot(uint16_t(h.FrameBits & 0xFF)))]});
                }
            }
        }
        double x = p.x.raw(h), y = p.y.raw(h);
        if (p.xPar)
            x = setup.ParametricValue(x);
        if (p.yPar)
            y = setup.ParametricValue(y);
        bool second = false;
        if (isHit && p.eventsView) {
            if (data.ClassifyEvent(h) == ecNewEvent) {
                ++events;
                eventChannel = h.channel;
            } else {
                if (!p.shadows)
                    continue;
                second = true;
            }
        }
        if (!(p.x.InRange(x) && p.y.InRange(y)))
            continue;
        if (!InTime(h, p.filter.timeOn, p.filter.timeLo, p.filter.timeHi))
            continue;
        uint32_t pixel;
        if (isHit) {
            pixel = hitPixel[h.channel];
            if (pixel == 0)
                continue;
            if (second) {
                if (!ChannelIn(p.filter.selected, eventChannel))
                    continue;
                pixel = shadowPixel;
            }
        } else {
            if (!showParam)
                continue;
            pixel = role5;
        }
        dots.Add(p.x.PixelInRange(x), p.y.PixelInRange(y), pixel);
    }
    std::atomic_ref<uint32_t>(data.EventCount).store(events, std::memory_order_relaxed);
    return collecting;
}

void TLMPointGraph::OverlayPass(ACanvas& canvas, const Pass& p)
{
    LMDataSet& data = *common_.Data;
    const AOptions& options = *common_.Options;
    const uint32_t grouped = PixelOf(Role(13));
    std::array<uint32_t, kFrameSlots> slotPixel{};
    for (int s = 0; s < kFrameSlots; ++s)
        slotPixel[size_t(s)] = PixelOf(FrameColor(options.ColorScheme, s));
    const ATestSetup& setup = *p.setup;

    if (p.eventsView)
        data.ResetEvents(setup.MPT, setup.Lockout);
    uint32_t events = 0;
    unsigned eventChannel = 0;
    DotBatch dots(canvas);
    for (const LMShortHit& h : data.Records) {
        if (h.kind != rkHit || (h.HitFlagsLow & hfDeleted))
            continue;
        if (p.eventsView) {
            if (data.ClassifyEvent(h) == ecNewEvent) {
                ++events;
                eventChannel = h.channel;
            } else if (!p.shadows || !ChannelIn(p.filter.selected, eventChannel)) {
                continue;
            }
        }
        const bool isGrouped = h.HitFlagsLow & hfGrouped;
        const uint16_t bits = uint16_t(h.FrameBits & 0xFF);
        if (!isGrouped && bits == 0)
            continue;
        const double x = p.x.raw(h), y = p.y.raw(h);
        if (!(p.x.InRange(x) && p.y.InRange(y)))
            continue;
        if (!InTime(h, p.filter.timeOn, p.filter.timeLo, p.filter.timeHi))
            continue;
        if (!ChannelIn(p.filter.channels, h.channel))
            continue;
        dots.Add(p.x.PixelInRange(x), p.y.PixelInRange(y),
                 isGrouped ? grouped : slotPixel[size_t(HighestSlot(bits))]);
    }
    std::atomic_ref<uint32_t>(data.EventCount).store(events, std::memory_order_relaxed);
}

} // namespace lm
