#include "lmqwin2/graphs/TLMGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lm {

TimeRangeFilter TCommonData::TimeFilter() const
{
    TimeRangeFilter f;
    if (Options) {
        f.On = Options->TimeFilterOn;
        f.Start = int32_t(Options->TimeFilterStart);
        f.End = int32_t(Options->TimeFilterEnd);
    }
    return f;
}

namespace {

double ValueTime(const LMShortHit& h)
{
    return double(h.time.Value()) * 2.5e-7;
}
double ValueOne(const LMShortHit&)
{
    return 1.0;
}
double ValueZero(const LMShortHit&)
{
    return 0.0;
}
double ValueChannel(const LMShortHit& h)
{
    return h.channel;
}
double ValueRise(const LMShortHit& h)
{
    return h.rise;
}
double ValueCounts(const LMShortHit& h)
{
    return h.counts;
}
double ValueEnergy(const LMShortHit& h)
{
    return h.energy;
}
double ValueDuration(const LMShortHit& h)
{
    return h.duration;
}
double ValueAmplitude(const LMShortHit& h)
{
    return h.amplitude;
}
double ValuePar1(const LMShortHit& h)
{
    return h.Par1;
}
double ValueFreq(const LMShortHit& h)
{
    return h.duration == 0 ? 0.0 : double(h.counts) / double(h.duration) * 1000.0;
}

std::string IntText(int64_t v)
{
    return std::to_string(v);
}

} // namespace

HitValueFn HitValueAccessor(HitParam param)
{
    switch (param) {
    case 0:
        return ValueOne;
    case hpTime:
        return ValueTime;
    case hpChannel:
        return ValueChannel;
    case hpRise:
        return ValueRise;
    case hpCounts:
        return ValueCounts;
    case hpEnergy:
        return ValueEnergy;
    case hpDuration:
        return ValueDuration;
    case hpAmplitude:
        return ValueAmplitude;
    case hpPar1:
        return ValuePar1;
    case hpFreq:
        return ValueFreq;
    default:
        return ValueZero;
    }
}

PictureSize CopyPictureSize(const AOptions& options)
{
    // Whole numbers; a stored value far out of range cannot make a giant picture.
    auto side = [&](int mm) {
        const int64_t px = int64_t(std::clamp(mm, 0, 10000)) * std::clamp(options.PrnDPI, 0, 1200) / 25;
        return int(std::max<int64_t>(px, 1));
    };
    return PictureSize{side(options.PrnWidth), side(options.PrnHeight)};
}

bool IsWholeParam(HitParam param)
{
    switch (param) {
    case hpChannel:
    case hpRise:
    case hpCounts:
    case hpEnergy:
    case hpDuration:
    case hpAmplitude:
        return true;
    default:
        return false;
    }
}

TLMGraph::PassAxis TLMGraph::MakePassAxis(bool xAxis) const
{
    PassAxis a;
    const HitParam param = xAxis ? XParam : YParam;
    a.raw = HitValueAccessor(param);
    a.min = double(xAxis ? XMin : YMin);
    a.max = double(xAxis ? XMax : YMax);
    a.map = xAxis ? xMap_ : yMap_;
    if (a.map.log && IsWholeParam(param))
        a.logTable = Log10Table();
    return a;
}

TLMGraph::TLMGraph(TCommonData& common, int number) : Number(number), common_(common)
{
    serial_ = common.NextGraphSerial++;
}

std::vector<std::string> TLMGraph::SetChannels(const std::string& text)
{
    std::vector<std::string> bad;
    std::string token;
    auto take = [&] {
        if (token.empty())
            return;
        bool digits = token.size() <= 3;
        for (char c : token)
            digits = digits && c >= '0' && c <= '9';
        const int n = digits ? std::stoi(token) : 0;
        if (n >= 1 && n <= kChannelCount)
            OwnChannels.set(size_t(n - 1));
        else
            bad.push_back(token);
        token.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == ',' || c == ';' || c == '\t')
            take();
        else
            token += c;
    }
    take();
    HasOwnChannels = OwnChannels.any();
    return bad;
}

std::vector<std::string> TLMGraph::SetParams(const GraphRecord& r)
{
    LX = r.lx;
    LY = r.ly;
    RX = r.rx;
    RY = r.ry;
    Name = r.name;
    NoColour = r.allChannel;
    XParam = r.xAxisType;
    YParam = r.yAxisType;
    XLog = r.xLog;
    YLog = r.yLog;
    XMin = r.xMin;
    XMax = r.xMax;
    YMin = r.yMin;
    YMax = r.yMax;
    // A logarithmic axis cannot start at 0 (or below): it starts at 1.
    if (XLog && XMin <= 0)
        XMin = 1;
    if (YLog && YMin <= 0)
        YMin = 1;
    RecXMin = XMin;
    RecXMax = XMax;
    RecYMin = YMin;
    RecYMax = YMax;
    if (common_.Params) {
        XShortName = common_.Params->FindShortName(XParam);
        YShortName = common_.Params->FindShortName(YParam);
    }
    OwnChannels.reset();
    HasOwnChannels = false;
    if (!r.channels.empty())
        return SetChannels(r.channels);
    return {};
}

RGB TLMGraph::Role(int role) const
{
    return common_.Options->Color(role);
}

void TLMGraph::ComputeYScale()
{
    const AxisRange y = YRange();
    yMap_.Set(YLog, y.min, y.max, double(Plot.Bottom - Plot.Top), Plot.Bottom, true);
}

void TLMGraph::ComputeScales()
{
    const AxisRange x = XRange();
    // Linear: (width - 70) pixels, the same as the plot width.
    xMap_.Set(XLog, x.min, x.max, double(XLog ? Plot.Right - Plot.Left : Width - 70), Plot.Left, false);
    ComputeYScale();
}

void TLMGraph::Layout(const PageGeometry& page)
{
    const int cw = page.CellWidth();
    const int ch = page.CellHeight();
    const int oldW = Width, oldH = Height;
    Left = LX * cw;
    Top = LY * ch;
    Height = (RY - LY) * ch;
    Width = (RX - LX) * cw;
    // The right-most graphs absorb the remainder of the integer division.
    if (Left + Width + page.HorizGraphNum > page.PageWidth)
        Width = page.PageWidth - Left;
    if (Width < 0)
        Width = 0;
    if (Height < 0)
        Height = 0;
    Plot = PlotArea{50, 25, Width - 20, Height - 25};
    ComputeScales();
    if (Width != oldW || Height != oldH)
        NeedsRedraw = true;
}

bool TLMGraph::IsInPlot(int x, int y) const
{
    return Plot.Left < x && x < Plot.Right && Plot.Top < y && y < Plot.Bottom;
}

void TLMGraph::SetTimeRange(int64_t start, int64_t end)
{
    if (!IsTimeGraph())
        return;
    XMin = start;
    XMax = end;
    ComputeScales();
}

void TLMGraph::RestoreTimeRange()
{
    if (!IsTimeGraph())
        return;
    XMin = RecXMin;
    XMax = RecXMax;
    ComputeScales();
}

bool TLMGraph::Paint(ACanvas& canvas, const PageGeometry& page, bool force)
{
    if (!(NeedsRedraw || common_.FreshlyLoaded || force))
        return false;
    Layout(page);
    NeedsRedraw = true; // stays set when a pass fails
    canvas.FillRect(0, 0, Width, Height, Role(2));
    DrawCellBorder(canvas, page);
    DrawGrid(canvas);
    DrawLabels(canvas);
    if (common_.HasRecords())
        DrawData(canvas);
    DrawFrames(canvas);
    DrawAxes(canvas);
    DrawTimeMarks(canvas);
    DrawHolds(canvas);
    NeedsRedraw = false;
    return true;
}

void TLMGraph::RenderCopy(ACanvas& canvas, int width, int height)
{
    AOptions& options = *common_.Options;
    const int scheme = options.ColorScheme;
    const PlotArea plot = Plot;
    const int w = Width, h = Height;
    options.ColorScheme = 5;
    Width = width;
    Height = height;
    Plot = PlotArea{50, 25, width - 20, height - 25};
    ComputeScales();
    struct Restore {
        TLMGraph& g;
        AOptions& o;
        int scheme;
        PlotArea plot;
        int w, h;
        ~Restore()
        {
            o.ColorScheme = scheme;
            g.Plot = plot;
            g.Width = w;
            g.Height = h;
            g.ComputeScales();
        }
    } restore{*this, options, scheme, plot, w, h};
    canvas.FillRect(0, 0, width, height, Role(2));
    DrawAxes(canvas);
    DrawLabels(canvas);
    if (common_.HasRecords())
        DrawData(canvas);
    DrawFrames(canvas);
    DrawTimeMarks(canvas);
    DrawHolds(canvas);
}

void TLMGraph::DrawCellBorder(ACanvas& canvas, const PageGeometry& page)
{
    const RGB c = Role(3);
    if (page.PageHeight - (Top + Height) > page.VertGraphNum)
        canvas.Line(0, Height - 1, Width - 1, Height - 1, c, LineStyle::Solid);
    if (page.PageWidth - (Left + Width) > page.HorizGraphNum)
        canvas.Line(Width - 1, 0, Width - 1, Height - 1, c, LineStyle::Solid);
}

void TLMGraph::DrawAxes(ACanvas& canvas)
{
    const RGB c = Role(4);
    canvas.OutlineRect(Plot.Left - 3, Plot.Top - 3, Plot.Right + 3, Plot.Bottom + 3, c);
    // Y axis ticks, to the left of the frame.
    if (YLog) {
        for (const Tick& t : LogTicks(yMap_, YRange().max))
            canvas.Line(Plot.Left - 3, t.pos, Plot.Left - (t.major ? 8 : 6), t.pos, c, LineStyle::Solid);
    } else {
        const int k = LinearDivisions(YParam == hpAmplitude, true, YMin, YMax);
        for (const Tick& t : LinearTicks(Plot.Bottom - Plot.Top, k))
            canvas.Line(Plot.Left - 3, Plot.Top + t.pos, Plot.Left - (t.major ? 8 : 6), Plot.Top + t.pos, c,
                        LineStyle::Solid);
    }
    // X axis ticks, below the frame.
    if (XLog) {
        for (const Tick& t : LogTicks(xMap_, XRange().max))
            canvas.Line(t.pos, Plot.Bottom + 3, t.pos, Plot.Bottom + (t.major ? 8 : 6), c, LineStyle::Solid);
    } else {
        const int k = LinearDivisions(XParam == hpAmplitude, false, XMin, XMax);
        for (const Tick& t : LinearTicks(Plot.Right - Plot.Left, k))
            canvas.Line(Plot.Right - t.pos, Plot.Bottom + 3, Plot.Right - t.pos,
                        Plot.Bottom + (t.major ? 8 : 6), c, LineStyle::Solid);
    }
}

void TLMGraph::DrawGrid(ACanvas& canvas)
{
    if (!common_.Options->ShowGrid)
        return;
    const RGB c = RgbFromHex(0x4D4D4D);
    std::vector<int> ys, xs;
    if (YLog) {
        for (const Tick& t : LogTicks(yMap_, YRange().max))
            if (t.major)
                ys.push_back(t.pos);
    } else {
        const int k = LinearDivisions(YParam == hpAmplitude, true, YMin, YMax);
        for (const Tick& t : LinearTicks(Plot.Bottom - Plot.Top, k))
            if (t.major)
                ys.push_back(Plot.Top + t.pos);
    }
    if (XLog) {
        for (const Tick& t : LogTicks(xMap_, XRange().max))
            if (t.major)
                xs.push_back(t.pos);
    } else {
        const int k = LinearDivisions(XParam == hpAmplitude, false, XMin, XMax);
        for (const Tick& t : LinearTicks(Plot.Right - Plot.Left, k))
            if (t.major)
                xs.push_back(Plot.Right - t.pos);
    }
    for (size_t i = 1; i + 1 < ys.size(); ++i)
        canvas.Line(Plot.Left, ys[i], Plot.Right, ys[i], c, LineStyle::Dot);
    for (size_t i = 1; i + 1 < xs.size(); ++i)
        canvas.Line(xs[i], Plot.Bottom, xs[i], Plot.Top, c, LineStyle::Dot);
}

void TLMGraph::DrawLogYLabels(ACanvas& canvas)
{
    const RGB c = Role(1);
    const AxisRange y = YRange();
    const int n = int(std::trunc(std::log10(y.max)));
    for (int k = 1; k <= n - 1; ++k) {
        const int64_t v = int64_t(std::trunc(std::pow(10.0, n - k)));
        const int pos = Plot.Top + ClampPixelOffset(yMap_.Offset(k));
        canvas.Text(Plot.Left - 10, pos, HAlign::Right, VAlign::Center, c, IntText(v));
    }
}

void TLMGraph::DrawLabels(ACanvas& canvas)
{
    const RGB c = Role(1);
    canvas.Text(5, 10, HAlign::Left, VAlign::Center, c, std::to_string(Number) + ". " + Name);
    canvas.Text(Width - 5, 10, HAlign::Right, VAlign::Center, c, YShortName);
    canvas.Text(Plot.Left - 10, Plot.Bottom, HAlign::Right, VAlign::Center, c, IntText(YMin));
    if (IsPointGraph()) {
        canvas.Text(Plot.Left - 10, Plot.Top, HAlign::Right, VAlign::Center, c, IntText(YMax));
        if (YLog) {
            DrawLogYLabels(canvas);
        } else {
            const int k = LinearDivisions(YParam == hpAmplitude, true, YMin, YMax);
            const float step = float(Plot.Bottom - Plot.Top) / float(k);
            for (int j = 1; j <= k - 1; ++j)
                canvas.Text(Plot.Left - 10, Plot.Top + int(float(j) * step), HAlign::Right, VAlign::Center, c,
                            IntText(YMin + (YMax - YMin) * (k - j) / k));
        }
    }
    const int bottomLine = Height - 17;
    canvas.Text((Plot.Left + Plot.Right) / 2, bottomLine, HAlign::Center, VAlign::Top, c, XShortName);
    canvas.Text(Plot.Left, bottomLine, HAlign::Center, VAlign::Top, c, IntText(XMin));
    canvas.Text(Width - 5, bottomLine, HAlign::Right, VAlign::Top, c, IntText(XMax));
}

void TLMGraph::DrawTimeMarks(ACanvas& canvas)
{
    const LMDataSet* data = common_.Data;
    if (!common_.Options->ShowTimeMark || !IsTimeGraph() || !data || data->TimeMarks.empty())
        return;
    const RGB c = Role(12);
    for (const TickTime& mark : data->TimeMarks) {
        const double t = double(mark.Value()) * 2.5e-7;
        if (double(XMin) <= t && t <= double(XMax)) {
            const int x = xMap_.Pixel(t);
            canvas.Line(x, Plot.Bottom, x, Plot.Top, c, LineStyle::Dot);
        }
    }
}

void TLMGraph::DrawHolds(ACanvas& canvas)
{
    const ATestSetup* setup = common_.Setup;
    if (!setup || !setup->HoldsView || !IsTimeGraph() || setup->Holds.empty())
        return;
    const RGB c = Role(10);
    for (const AHold& hold : setup->Holds) {
        for (double v : {double(hold.start), double(hold.start) + double(hold.length)}) {
            if (double(XMin) <= v && v <= double(XMax)) {
                const int x = xMap_.Pixel(v);
                canvas.Line(x, Plot.Bottom, x, Plot.Top, c, LineStyle::Dot);
            }
        }
    }
}

void TLMGraph::DrawFrames(ACanvas& canvas)
{
    const AOptions& options = *common_.Options;
    for (int s = 0; s < kFrameSlots; ++s) {
        const TFrameRect* f = common_.Frames.At(s);
        if (!f || f->Graph != Identity())
            continue;
        const int left = xMap_.Pixel(std::max(double(XMin), f->XMin));
        const int right = xMap_.Pixel(std::min(double(XMax), f->XMax));
        const int bottom = yMap_.Pixel(std::max(double(YMin), f->YMin));
        const int top = yMap_.Pixel(std::min(double(YMax), f->YMax));
        // A frame entirely outside the current ranges (zoomed away) is not shown.
        if (left > right || top > bottom)
            continue;
        RGB c;
        switch (options.ViewType) {
        case 0:
            c = Role(9);
            break;
        case 2:
            c = FrameColor(options.ColorScheme, s);
            break;
        default:
            c = Role(5);
            break;
        }
        canvas.OutlineRect(left, top, right, bottom, c);
    }
}

TLMGraph::PassFilter TLMGraph::MakePassFilter() const
{
    PassFilter f;
    f.selected = common_.Options->CheckedChan;
    f.channels = f.selected;
    if (HasOwnChannels)
        f.channels &= OwnChannels;
    const TimeRangeFilter time = common_.TimeFilter();
    f.timeOn = time.On;
    if (time.On) {
        f.timeLo = time.Start <= 0 ? 0 : uint64_t(time.Start) * 4000000u;
        f.timeHi = time.End < 0 ? 0 : uint64_t(time.End) * 4000000u;
        if (time.End < 0)
            f.timeLo = 1, f.timeHi = 0; // an empty range
    }
    return f;
}

} // namespace lm
