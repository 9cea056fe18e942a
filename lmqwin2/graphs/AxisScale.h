#pragma once

// Value <-> pixel maps of graph axes (linear and logarithmic), their tick positions and the
// automatic Y maximum of line graphs and histograms.

#include <cstdint>
#include <vector>

namespace lm {

// The range an axis is drawn with. A range without a usable scale is drawn one unit wider
// (linear max := min + 1; logarithmic max := 10, or min x 10 when min is already 10 or more),
// so no scale divides by zero.
struct AxisRange {
    double min = 0;
    double max = 1;
};
AxisRange UsableRange(bool log, double min, double max);

inline constexpr int kPixelLimit = 32767;

// One axis: pixel = origin +/- trunc((value' - lo) * scale), value' = log10(value) on a
// logarithmic axis (values of 0 or less taken as 1), scale = length / span. A product that
// rounding leaves a hair below a whole pixel counts as that pixel, so the ends of the range
// land exactly on the ends of the axis. Pixels are clamped to +/-32767.
struct AxisMap {
    bool log = false;
    double lo = 0;       // min, or log10(min)
    double span = 1;     // max - min, or the decades between them
    double length = 1;   // pixels the span covers
    double scale = 1;    // length / span: pixels per unit, or per decade
    int origin = 0;      // plot left (X) or plot bottom (Y)
    bool upward = false; // Y: the pixel decreases as the value grows

    void Set(bool logarithmic, double min, double max, double pixels, int originPixel, bool up);
    double Transform(double v) const;
    // Pixels from the start of the axis to an already transformed value (not truncated).
    double Offset(double t) const { return (t - lo) * scale; }
    // Pixel of an already transformed value.
    int PixelOfTransformed(double t) const
    {
        double o = Offset(t);
        if (o != o) // NaN
            return origin;
        o = o >= 0 ? (o > 70000 ? 70000 : o + 1e-7) : (o < -70000 ? -70000 : o - 1e-7);
        const int offset = int(o); // truncates toward zero
        const int p = upward ? origin - offset : origin + offset;
        return p > kPixelLimit ? kPixelLimit : (p < -kPixelLimit ? -kPixelLimit : p);
    }
    int Pixel(double v) const { return PixelOfTransformed(Transform(v)); }
    double Value(int pixel) const;
};

// log10 of the whole numbers 0..65535 (0 taken as 1), for the integer hit parameters.
const double* Log10Table();
inline constexpr uint32_t kLog10TableSize = 65536;

// trunc of a pixel offset, clamped, NaN taken as 0.
int ClampPixelOffset(double offset);

// Number of divisions of a linear axis: (max - min) / 10 for an amplitude axis (on the Y axis
// only when max - min <= 100), else 5; at least 1.
int LinearDivisions(bool amplitude, bool yAxis, int64_t min, int64_t max);

struct Tick {
    int pos; // pixel along the axis
    bool major;
    double value; // the value at a decade tick (logarithmic axes), 0 otherwise
};
// Ticks of a linear axis of `length` pixels with k divisions: major at trunc(j * step),
// j = 0..k, minor half a step after each, j = 0..k-1; step = length / k in single precision.
// Positions are offsets from the start (plot top for Y, plot right going left for X).
std::vector<Tick> LinearTicks(int length, int k);
// Decade ticks of a logarithmic axis: major at 10^i (i = 0..n), minor at 2 and 5 x 10^i
// (i = 0..n-1), n = trunc(log10(max)); positions are the map's pixels.
std::vector<Tick> LogTicks(const AxisMap& map, double max);

// The Y maximum after a drawing pass whose greatest bin value is m (m <= 0: the current
// maximum stays the basis): logarithmic: 10^ceil(log10 m); linear: m rounded up to the next
// tenth of its leading decade; capped at 4294967294; a result of 1 becomes 10.
int64_t AutoYMax(double m, bool log, int64_t currentYMax);
inline constexpr int64_t kAutoYMaxCap = 4294967294LL;

} // namespace lm
