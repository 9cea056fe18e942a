#include "lmqwin2/graphs/AxisScale.h"

#include <cmath>
#include <vector>

namespace lm {

AxisRange UsableRange(bool log, double min, double max)
{
    if (log) {
        if (!(min > 0))
            min = 1;
        if (!(max > 1))
            max = 10;
        if (max <= min)
            max = min * 10;
        return {min, max};
    }
    if (max == min)
        max = min + 1;
    return {min, max};
}

int ClampPixelOffset(double offset)
{
    if (std::isnan(offset))
        return 0;
    if (offset > kPixelLimit)
        return kPixelLimit;
    if (offset < -kPixelLimit)
        return -kPixelLimit;
    // A product that rounding leaves a hair below a whole pixel counts as that pixel.
    return int(offset >= 0 ? offset + 1e-7 : offset - 1e-7); // truncates toward zero
}

double AxisMap::Transform(double v) const
{
    if (!log)
        return v;
    return v > 0 ? std::log10(v) : 0.0;
}

void AxisMap::Set(bool logarithmic, double min, double max, double pixels, int originPixel, bool up)
{
    log = logarithmic;
    lo = log ? std::log10(min) : min;
    span = log ? std::log10(max) - lo : max - min;
    length = pixels;
    scale = length / span;
    origin = originPixel;
    upward = up;
}

const double* Log10Table()
{
    static const std::vector<double> table = [] {
        std::vector<double> t(kLog10TableSize);
        t[0] = 0;
        for (uint32_t i = 1; i < kLog10TableSize; ++i)
            t[i] = std::log10(double(i));
        return t;
    }();
    return table.data();
}

double AxisMap::Value(int pixel) const
{
    const double units = (upward ? double(origin - pixel) : double(pixel - origin)) * span / length;
    return log ? std::pow(10.0, units + lo) : units + lo;
}

int LinearDivisions(bool amplitude, bool yAxis, int64_t min, int64_t max)
{
    int64_t k = 5;
    if (amplitude && (!yAxis || max - min <= 100))
        k = (max - min) / 10;
    return k < 1 ? 1 : int(k > 10000 ? 10000 : k);
}

std::vector<Tick> LinearTicks(int length, int k)
{
    std::vector<Tick> ticks;
    const float step = float(length) / float(k);
    for (int j = 0; j <= k; ++j) {
        ticks.push_back({int(float(j) * step), true, 0});
        if (j < k)
            ticks.push_back({int(float(j) * step + step / 2), false, 0});
    }
    return ticks;
}

std::vector<Tick> LogTicks(const AxisMap& map, double max)
{
    std::vector<Tick> ticks;
    const int n = int(std::trunc(std::log10(max)));
    for (int i = 0; i <= n && i < 20; ++i) {
        const double decade = std::pow(10.0, i);
        ticks.push_back({map.Pixel(decade), true, decade});
        if (i < n) {
            ticks.push_back({map.Pixel(2 * decade), false, 0});
            ticks.push_back({map.Pixel(5 * decade), false, 0});
        }
    }
    return ticks;
}

int64_t AutoYMax(double m, bool log, int64_t currentYMax)
{
    if (!(m > 0))
        m = double(currentYMax);
    if (m >= double(kAutoYMaxCap))
        m = double(kAutoYMaxCap);
    if (!(m > 0))
        return 10; // nothing to scale to: the smallest usable maximum
    int64_t result;
    if (log) {
        const double r = std::pow(10.0, std::ceil(std::log10(m)));
        result = r >= double(kAutoYMaxCap) ? kAutoYMaxCap : int64_t(r);
    } else {
        // Decimal steps as integers where possible: 1234 -> 13 tenths of 1000 -> 1300.
        const double d = std::pow(10.0, std::trunc(std::log10(m)));
        const double q = std::ceil(m * 10 / d);
        const double r = std::ceil(q * d / 10);
        result = r >= double(kAutoYMaxCap) ? kAutoYMaxCap : int64_t(r);
    }
    return result == 1 ? 10 : result;
}

} // namespace lm
