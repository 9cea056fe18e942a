#pragma once

// Geometry and colours of the zone intensity plot: where a channel's (historic index,
// severity) point lies, its colour, and the zone borders. The drawing itself is done by
// the statistics window.

#include "lmqwin2/evaluation/AOptions.h"

#include <vector>

namespace lm {

struct AMonpac;

struct ZonePlotRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const ZonePlotRect&, const ZonePlotRect&) = default;
};

// The plot rectangle in a paint area of width w and height t.
ZonePlotRect ZonePlotRectFor(int w, int t);
// Logarithmic axes: historic index 1 (left) to 10 (right), severity 10 (bottom) to 1000 (top).
int ZonePlotX(const ZonePlotRect& r, double historicIndex);
int ZonePlotY(const ZonePlotRect& r, double severity);

struct ZonePlotPoint {
    float H = 1.0f;
    float S = 10.0f;
    int zone = 5;
};
// The plotted point of a channel: its maximum historic index and severity with their zone,
// or (1, 10, minor) below 10 evaluated hits; clamped to the axes.
ZonePlotPoint ZonePlotPointOf(const AMonpac& monpac);

// A green, B blue, C purple, D yellow, E red, minor aqua; any other value white.
RGB ZoneColor(int zone);

struct ZoneBorder {
    RGB color;
    std::vector<std::pair<double, double>> points; // (historic index, severity)
};
// The borders of minor, A, B, C and D, in drawing order.
const std::vector<ZoneBorder>& ZoneBorders();

} // namespace lm
