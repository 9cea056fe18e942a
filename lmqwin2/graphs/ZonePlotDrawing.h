#pragma once

// The zone intensity plot of the statistics window drawn through the graph canvas: axes,
// zone borders, one marker per channel and set, and the legend of the set markers.

#include "lmqwin2/graphs/GraphCanvas.h"

#include <utility>
#include <vector>

namespace lm {

class ATestStat;

// Width and height in pixels of the text "00" in the canvas's font; the set markers are
// sized from it.
struct TextExtent {
    int width = 12;
    int height = 13;
};

// Draws the plot in a paint area of width w and height t. `stat` may be null (no channels);
// channels without hits in a set are not plotted.
void DrawZonePlot(ACanvas& canvas, int w, int t, const ATestStat* stat, int colorScheme, TextExtent digits);

// The outline of set s's marker around (x, y), as the corners of a closed polyline.
std::vector<std::pair<int, int>> SetMarker(int set, int x, int y, TextExtent digits);

// Rows of the legend: 25 pixels, more when the markers of the font's size need it.
int LegendRowSpacing(TextExtent digits);

} // namespace lm
