#include "lmqwin2/graphs/TLMLineGraph.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace lm {

std::vector<std::string> TLMLineGraph::SetParams(const GraphRecord& r)
{
    XBinNum = r.xBinNum;
    YBinNum = r.yBinNum;
    XCumTypeID = r.xCumTypeId;
    YCumTypeID = r.yCumTypeId;
    XBinSumTypeID = r.xBinSumTypeId;
    YBinSumTypeID = r.yBinSumTypeId;
    return TLMGraph::SetParams(r);
}

int TLMLineGraph::BinCount() const
{
    return std::max(Plot.Right - Plot.Left, 1);
}

int TLMHistgrGraph::BinCount() const
{
    return XBinNum > 0 ? XBinNum : 100;
}

double TLMHistgrGraph::BinScale() const
{
    const AxisRange x = XRange();
    const double bins = BinCount();
    return XLog ? bins / (std::log10(x.max) - std::log10(x.min)) : bins / (x.max - x.min);
}

RGB TLMLineGraph::SeriesColor(int series) const
{
    const int mode = common_.Options->ViewType;
    if (mode == 0 && !NoColour)
        return ChannelColor(series + 1);
    return Role(5);
}

bool TLMLineGraph::SeriesUsed(int series) const
{
    const ABin* b = bins_.data() + size_t(series) * size_t(binCount_);
    for (int j = 0; j < binCount_; ++j)
        if (b[j].count != 0)
            return true;
    return false;
}

bool TLMLineGraph::BinHeight(double v, int& h) const
{
    if (YLog) {
        if (!(v > 0))
            return false;
        h = ClampPixelOffset(YMap().Offset(std::log10(v)));
        if (h == 0)
            h = ClampPixelOffset(YScale() * 0.1);
        return true;
    }
    h = ClampPixelOffset(YMap().Offset(v));
    return true;
}

void TLMLineGraph::DrawData(ACanvas& canvas)
{
    const AOptions& options = *common_.Options;
    LMDataSet& data = *common_.Data;
    const ATestSetup& setup = *common_.Setup;
    uint32_t events = 0;
    if (options.EventsView)
        data.ResetEvents(setup.MPT, setup.Lockout);

    binCount_ = BinCount();
    const double binScale = BinScale();
    seriesCount_ = options.ViewType == 2 ? 1 : kChannelCount;
    bins_.assign(size_t(seriesCount_) * size_t(binCount_), ABin{});

    const PassAxis xAxis = MakePassAxis(true);
    const HitValueFn xf = xAxis.raw;
    const HitValueFn yf = HitValueAccessor(YParam);
    const bool xPar = XParam == hpPar1, yPar = YParam == hpPar1;
    const double xMin = double(XMin), xMax = double(XMax), yMin = double(YMin);
    const double lo = xAxis.map.lo;
    const PassFilter filter = MakePassFilter();
    const bool perChannel = options.ViewType == 0 && !NoColour;
    const int sumType = YBinSumTypeID;
    const double binLimit = double(binCount_);
    ABin* const bins = bins_.data();

    for (const LMShortHit& h : data.Records) {
        if (h.kind != rkHit || (h.HitFlagsLow & hfDeleted))
            continue;
        double x = xf(h), y = yf(h);
        if (xPar)
            x = setup.ParametricValue(x);
        if (yPar)
            y = setup.ParametricValue(y);
        if (options.EventsView) {
            if (data.ClassifyEvent(h) != ecNewEvent)
                continue;
            ++events;
        }
        if (filter.timeOn) {
            const uint64_t t = h.time.Value();
            if (t < filter.timeLo || t > filter.timeHi)
                continue;
        }
        const unsigned c = h.channel;
        if (c < 1 || c > unsigned(kChannelCount) || !filter.channels.test(c - 1))
            continue;
        if (!(xMin <= x && x <= xMax && yMin <= y))
            continue;
        // x >= X min, so the offset is not negative and truncation is the floor; a product
        // that rounding leaves a hair below a whole bin counts as that bin.
        const double fb = (xAxis.Transformed(x) - lo) * binScale + 1e-7;
        if (!(fb >= 0) || fb >= binLimit + 1)
            continue;
        int bin = int(fb);
        if (bin == binCount_)
            bin = binCount_ - 1;
        const size_t index = size_t(perChannel ? c - 1 : 0) * size_t(binCount_) + size_t(bin);
        ABin& b = bins[index];
        const float v = float(y);
        switch (sumType) {
        case 1:
        case 4:
            b.value += v;
            break;
        case 2:
            if (v > b.value)
                b.value = v;
            break;
        case 3: // the minimum starts from the first value of the bin
            if (b.count == 0 || v < b.value)
                b.value = v;
            break;
        default:
            break;
        }
        b.count += 1;
    }
    std::atomic_ref<uint32_t>(data.EventCount).store(events, std::memory_order_relaxed);

    // Finish: averages, cumulation, greatest value.
    double m = 0;
    for (int s = 0; s < seriesCount_; ++s) {
        ABin* b = bins + size_t(s) * size_t(binCount_);
        if (sumType == 1)
            for (int j = 0; j < binCount_; ++j)
                if (b[j].count != 0)
                    b[j].value /= b[j].count;
        if (YCumTypeID == 2)
            for (int j = 1; j < binCount_; ++j)
                b[j].value += b[j - 1].value;
        else if (YCumTypeID == 3)
            for (int j = binCount_ - 2; j >= 0; --j)
                b[j].value += b[j + 1].value;
        if (YCumTypeID >= 1 && YCumTypeID <= 3)
            for (int j = 0; j < binCount_; ++j)
                m = std::max(m, double(b[j].value));
    }
    YMax = AutoYMax(m, YLog, YMax);
    ComputeYScale();
    DrawBins(canvas);
    DrawYLabels(canvas);
}

void TLMLineGraph::DrawBins(ACanvas& canvas)
{
    if (YCumTypeID < 1 || YCumTypeID > 3)
        return;
    for (int s = 0; s < seriesCount_; ++s) {
        if (!SeriesUsed(s))
            continue;
        const RGB c = SeriesColor(s);
        const ABin* b = bins_.data() + size_t(s) * size_t(binCount_);
        auto lineTo = [&](int& cx, int& cy, int x, int y) {
            if (x != cx || y != cy)
                canvas.Line(cx, cy, x, y, c, LineStyle::Solid);
            cx = x;
            cy = y;
        };
        if (YCumTypeID == 1) {
            int cx = Plot.Left, cy = Plot.Bottom;
            for (int j = 0; j < binCount_; ++j) {
                int h;
                if (b[j].count != 0 && BinHeight(b[j].value, h))
                    lineTo(cx, cy, Plot.Left + j, Plot.Bottom - h);
            }
        } else if (YCumTypeID == 2) {
            int cx = Plot.Left, cy = Plot.Bottom;
            for (int j = 0; j < binCount_; ++j) {
                int h;
                if (!BinHeight(b[j].value, h))
                    h = 0;
                lineTo(cx, cy, Plot.Left + j, cy);
                lineTo(cx, cy, Plot.Left + j, Plot.Bottom - h);
            }
        } else {
            int cx = Plot.Right, cy = Plot.Bottom;
            for (int j = binCount_ - 1; j >= 0; --j) {
                int h;
                if (!BinHeight(b[j].value, h))
                    h = 0;
                lineTo(cx, cy, Plot.Left + j, cy);
                lineTo(cx, cy, Plot.Left + j, Plot.Bottom - h);
            }
        }
    }
}

void TLMHistgrGraph::DrawBins(ACanvas& canvas)
{
    if (YCumTypeID < 1 || YCumTypeID > 3)
        return;
    const float w = float(Plot.Right - Plot.Left) / float(binCount_);
    for (int s = 0; s < seriesCount_; ++s) {
        if (!SeriesUsed(s))
            continue;
        const RGB c = SeriesColor(s);
        const ABin* b = bins_.data() + size_t(s) * size_t(binCount_);
        auto bar = [&](int j) {
            const double v = b[j].value;
            if (v == 0 && (YLog || YCumTypeID != 3))
                return;
            int h;
            if (!BinHeight(v, h))
                return;
            const int l = int(float(Plot.Left) + w * float(j));
            const int r = int(float(Plot.Left) + w * float(j + 1));
            canvas.FillRect(l, Plot.Bottom - h, r, Plot.Bottom, c);
        };
        if (YCumTypeID == 3)
            for (int j = binCount_ - 1; j >= 0; --j)
                bar(j);
        else
            for (int j = 0; j < binCount_; ++j)
                bar(j);
    }
}

void TLMLineGraph::DrawYLabels(ACanvas& canvas)
{
    const RGB c = Role(1);
    char text[64];
    if (YMax > 999998)
        std::snprintf(text, sizeof text, "%.2g", double(YMax));
    else
        std::snprintf(text, sizeof text, "%10u", unsigned(YMax));
    canvas.Text(Plot.Left - 10, Plot.Top, HAlign::Right, VAlign::Center, c, text);
    if (YLog) {
        DrawLogYLabels(canvas);
        return;
    }
    const int h = Plot.Bottom - Plot.Top;
    for (int i = 1; i <= 4; ++i)
        canvas.Text(Plot.Left - 10, Plot.Top + int(double(i) * h / 5), HAlign::Right, VAlign::Center, c,
                    std::to_string(YMin + (YMax - YMin) * (5 - i) / 5));
}

} // namespace lm
