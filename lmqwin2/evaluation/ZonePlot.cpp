#include "lmqwin2/evaluation/ZonePlot.h"

#include "lmqwin2/evaluation/ATestStat.h"

#include <algorithm>
#include <cmath>

namespace lm {

ZonePlotRect ZonePlotRectFor(int w, int t)
{
    ZonePlotRect r;
    r.left = int(double(w / 3) - 0.2 * w);
    r.right = int(double(w / 3) + 0.2 * w);
    r.top = int(double(t / 2) - 0.4 * t);
    r.bottom = int(double(t / 2) + 0.35 * t);
    return r;
}

int ZonePlotX(const ZonePlotRect& r, double v)
{
    return r.left +
           int((std::log10(v) - std::log10(1.0)) * (r.right - r.left) / (std::log10(10.0) - std::log10(1.0)));
}

int ZonePlotY(const ZonePlotRect& r, double v)
{
    return r.bottom - int((std::log10(v) - std::log10(10.0)) * (r.bottom - r.top) /
                          (std::log10(1000.0) - std::log10(10.0)));
}

ZonePlotPoint ZonePlotPointOf(const AMonpac& m)
{
    ZonePlotPoint p;
    if (m.N >= 10) {
        p.H = m.Hist.Maximum;
        p.S = m.Severity.Maximum;
        p.zone = m.Zone();
    }
    p.H = std::clamp(p.H, 1.0f, 10.0f);
    p.S = std::clamp(p.S, 10.0f, 1000.0f);
    return p;
}

RGB ZoneColor(int zone)
{
    switch (zone) {
    case 0:
        return RgbFromHex(0x008000);
    case 1:
        return RgbFromHex(0x0000FF);
    case 2:
        return RgbFromHex(0x800080);
    case 3:
        return RgbFromHex(0xFFFF00);
    case 4:
        return RgbFromHex(0xFF0000);
    case kZoneMinor:
        return RgbFromHex(0x00FFFF);
    default:
        return RgbFromHex(0xFFFFFF);
    }
}

const std::vector<ZoneBorder>& ZoneBorders()
{
    static const std::vector<ZoneBorder> borders = {
        {RgbFromHex(0x00FFFF), {{1, 25}, {10, 25}}},
        {RgbFromHex(0x008000), {{1, 50}, {2, 50}, {2, 25}}},
        {RgbFromHex(0x0000FF), {{1, 71}, {2, 71}, {2.6, 50}, {2.6, 25}}},
        {RgbFromHex(0x800080), {{1, 190}, {2, 190}, {2, 150}, {3.1, 71}, {10, 71}}},
        {RgbFromHex(0xFFFF00), {{1, 600}, {2.6, 600}, {2.6, 190}, {10, 190}}},
    };
    return borders;
}

} // namespace lm
