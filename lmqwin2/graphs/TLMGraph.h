#pragma once

// A graph of a page: one hit parameter against another in a plot area with axes, ticks,
// labels, grid, time marks and hold lines. The data drawing belongs to the derived classes
// (point graph, line graph, histogram). Graphs draw through an ACanvas in their own pixels;
// they keep no pixels themselves, the window keeps each graph's image and repaints from it
// until the graph asks for a redraw.

#include "datafiles/ChannelMask.h"
#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/graphs/AxisScale.h"
#include "lmqwin2/graphs/GraphCanvas.h"
#include "lmqwin2/graphs/frames/TFrameArray.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lm {

// Pixels of a graph picture copied to the clipboard: PrnWidth x PrnDPI / 25 by
// PrnHeight x PrnDPI / 25 (25 millimetres to the inch), at least one pixel each way.
struct PictureSize {
    int width = 1;
    int height = 1;
};
PictureSize CopyPictureSize(const AOptions& options);

// Value of a hit parameter as a plain function chosen once per pass.
using HitValueFn = double (*)(const LMShortHit&);
HitValueFn HitValueAccessor(HitParam param);
// Whether the parameter's values are whole numbers >= 0.
bool IsWholeParam(HitParam param);

// A time range of the zoom stack (whole seconds).
struct ATimeRange {
    int32_t Start = 0;
    int32_t End = 0;
    friend bool operator==(const ATimeRange&, const ATimeRange&) = default;
};

// State shared by every graph of the run. The options hold the time range filter
// (TimeFilterOn/Start/End), the colour scheme and mode, the channel selection and the view
// flags.
struct TCommonData {
    LMDataSet* Data = nullptr;
    AOptions* Options = nullptr;
    ATestSetup* Setup = nullptr;
    const ParamLookup* Params = nullptr; // short names of the axis parameters; may be null
    TFrameArray Frames;
    // Set after a load and at start: every graph redraws at its next paint.
    bool FreshlyLoaded = true;
    // True while the window's "Zoom" button is up (frame mode); false in zoom mode, where a
    // left drag on a time graph zooms in time.
    bool FrameMode = true;
    std::vector<ATimeRange> ZoomStack;
    uint64_t NextGraphSerial = 1;

    TimeRangeFilter TimeFilter() const;
    bool HasRecords() const { return Data != nullptr && Data->IsLoaded() && !Data->Records.empty(); }
};

// The grid a page lays its graphs out in.
struct PageGeometry {
    int PageWidth = 0;
    int PageHeight = 0;
    int HorizGraphNum = 5;
    int VertGraphNum = 4;
    int CellWidth() const { return HorizGraphNum > 0 ? PageWidth / HorizGraphNum : 0; }
    int CellHeight() const { return VertGraphNum > 0 ? PageHeight / VertGraphNum : 0; }
};

struct PlotArea {
    int Left = 50, Top = 25, Right = 0, Bottom = 0;
};

class TLMGraph {
public:
    TLMGraph(TCommonData& common, int number);
    virtual ~TLMGraph() = default;
    TLMGraph(const TLMGraph&) = delete;
    TLMGraph& operator=(const TLMGraph&) = delete;

    // 1 point graph, 2 line graph, 3 histogram.
    virtual int Type() const = 0;

    // The constructor's second step: fields from the graph record. Answers the tokens of
    // "Channels" that are no channel number 1-128 (they are ignored).
    virtual std::vector<std::string> SetParams(const GraphRecord& record);
    std::vector<std::string> SetChannels(const std::string& text);

    // Geometry inside the page grid, the plot area and the scales.
    void Layout(const PageGeometry& page);
    // Draws the graph when it needs a redraw (or `force`); answers whether it drew. Errors
    // of the data passes (ELMData 2001 in event view) pass out after the operations drawn
    // so far.
    bool Paint(ACanvas& canvas, const PageGeometry& page, bool force = false);
    // Marks the graph for drawing at its next paint.
    void Redraw() { NeedsRedraw = true; }
    // The clipboard picture: width x height pixels in colour scheme 5, without grid and
    // cell border. Plot area and scales are restored afterwards.
    void RenderCopy(ACanvas& canvas, int width, int height);

    bool IsInPlot(int x, int y) const;
    double XValueAt(int px) const { return xMap_.Value(px); }
    double YValueAt(int py) const { return yMap_.Value(py); }
    int XPixel(double v) const { return xMap_.Pixel(v); }
    int YPixel(double v) const { return yMap_.Pixel(v); }
    virtual double XScale() const { return xMap_.scale; }
    double YScale() const { return yMap_.scale; }

    // Time graphs only (X = time); others ignore them.
    void SetTimeRange(int64_t start, int64_t end);
    void RestoreTimeRange();
    bool IsTimeGraph() const { return XParam == hpTime; }
    bool IsPointGraph() const { return Type() == kPointGraph; }

    // Identity of this graph for the frames drawn on it; never reused by a later graph.
    const void* Identity() const { return reinterpret_cast<const void*>(uintptr_t(serial_)); }

    // Fields (read by the page control and the window).
    int Number = 0; // index of the record within its page
    std::string Name;
    bool NoColour = false; // "AllChannel"
    HitParam XParam = 0, YParam = 0;
    std::string XShortName, YShortName;
    bool XLog = false, YLog = false;
    ChannelMask OwnChannels;
    bool HasOwnChannels = false;
    int64_t XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    int64_t RecXMin = 0, RecXMax = 0, RecYMin = 0, RecYMax = 0;
    int LX = 0, LY = 0, RX = 1, RY = 1;
    // Rectangle in the page, plot area in the graph's own pixels.
    int Left = 0, Top = 0, Width = 0, Height = 0;
    PlotArea Plot;
    bool NeedsRedraw = true;

protected:
    // Scales from the plot area and the current ranges.
    void ComputeScales();
    void ComputeYScale();
    const AxisMap& XMap() const { return xMap_; }
    const AxisMap& YMap() const { return yMap_; }
    AxisRange XRange() const { return UsableRange(XLog, double(XMin), double(XMax)); }
    AxisRange YRange() const { return UsableRange(YLog, double(YMin), double(YMax)); }
    RGB Role(int role) const;

    virtual void DrawData(ACanvas&) {}
    void DrawCellBorder(ACanvas& canvas, const PageGeometry& page);
    void DrawAxes(ACanvas& canvas);
    void DrawTimeMarks(ACanvas& canvas);
    void DrawHolds(ACanvas& canvas);
    void DrawGrid(ACanvas& canvas);
    void DrawLabels(ACanvas& canvas);
    void DrawFrames(ACanvas& canvas);
    // Intermediate Y labels of a logarithmic axis (k = 1 .. n - 1), right-aligned to the axis.
    void DrawLogYLabels(ACanvas& canvas);

    // What the drawing passes test a hit against, resolved once per pass.
    struct PassFilter {
        ChannelMask channels; // selected and (when the graph has any) own channels
        ChannelMask selected; // the main window's selection (event channel test)
        bool timeOn = false;
        uint64_t timeLo = 0, timeHi = 0; // ticks
    };
    PassFilter MakePassFilter() const;

    // One axis resolved for a pass: the raw value of a hit, its range, and its pixel.
    struct PassAxis {
        HitValueFn raw = nullptr;
        double min = 0, max = 0;
        AxisMap map;
        const double* logTable = nullptr; // log10 of whole values (integer parameters)
        double Transformed(double v) const
        {
            if (!map.log)
                return v;
            if (logTable && v < double(kLog10TableSize))
                return logTable[uint32_t(v)];
            return map.Transform(v);
        }
        int Pixel(double v) const { return map.PixelOfTransformed(Transformed(v)); }
        bool InRange(double v) const { return min <= v && v <= max; }
        // Pixel of a value that passed InRange: its offset lies within the axis, so no clamp
        // is needed (same result as Pixel).
        int PixelInRange(double v) const
        {
            const int o = int((Transformed(v) - map.lo) * map.scale + 1e-7);
            return map.upward ? map.origin - o : map.origin + o;
        }
    };
    PassAxis MakePassAxis(bool xAxis) const;

    TCommonData& common_;

private:
    AxisMap xMap_, yMap_;
    uint64_t serial_ = 0;
};

} // namespace lm
