#include "lmqwin2/graphs/ZonePlotDrawing.h"

#include "lmqwin2/evaluation/ATestStat.h"
#include "lmqwin2/evaluation/ZonePlot.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace lm {

namespace {

constexpr int kRoleText = 1;
constexpr int kRoleBackground = 2;
constexpr int kRoleFrame = 4;

void Polyline(ACanvas& canvas, const std::vector<std::pair<int, int>>& points, RGB color, bool closed)
{
    for (size_t i = 1; i < points.size(); ++i)
        canvas.Line(points[i - 1].first, points[i - 1].second, points[i].first, points[i].second, color,
                    LineStyle::Solid);
    if (closed && points.size() > 2)
        canvas.Line(points.back().first, points.back().second, points.front().first, points.front().second,
                    color, LineStyle::Solid);
}

} // namespace

std::vector<std::pair<int, int>> SetMarker(int set, int x, int y, TextExtent digits)
{
    // The text box of "00" centred on the point.
    const int hw = digits.width / 2;
    const int hh = digits.height / 2;
    const int l = x - hw, r = x + hw, t = y - hh, b = y + hh;
    switch (set) {
    case 0: // a rectangle 2 pixels outside the text box
        return {{l - 2, t - 2}, {r + 2, t - 2}, {r + 2, b + 2}, {l - 2, b + 2}};
    case 1: { // an ellipse 4 pixels outside it
        std::vector<std::pair<int, int>> points;
        const double a = hw + 4, bb = hh + 4;
        for (int i = 0; i < 32; ++i) {
            const double phi = i * 2 * M_PI / 32;
            points.emplace_back(x + int(std::lround(a * std::cos(phi))),
                                y + int(std::lround(bb * std::sin(phi))));
        }
        return points;
    }
    case 2: // a diamond
        return {{x - hw - 5, y}, {x, y - hh - 5}, {x + hw + 5, y}, {x, y + hh + 5}};
    case 3: // a hexagon with flat top and bottom
        return {{l, t - 2}, {r, t - 2}, {r + 3, y}, {r, b + 2}, {l, b + 2}, {l - 3, y}};
    case 4: // triangles pointing up, left, right and down around the text box
        return {{x, t - digits.height - 6}, {x + 2 * (hw + 2), b + 2}, {x - 2 * (hw + 2), b + 2}};
    case 5:
        return {{l - digits.width - 6, y}, {r + 2, y - 2 * (hh + 2)}, {r + 2, y + 2 * (hh + 2)}};
    case 6:
        return {{r + digits.width + 6, y}, {l - 2, y + 2 * (hh + 2)}, {l - 2, y - 2 * (hh + 2)}};
    default:
        return {{x, b + digits.height + 6}, {x - 2 * (hw + 2), t - 2}, {x + 2 * (hw + 2), t - 2}};
    }
}

int LegendRowSpacing(TextExtent digits)
{
    // The side triangles of two neighbouring rows must not overlap.
    return std::max(25, 4 * (digits.height / 2 + 2));
}

void DrawZonePlot(ACanvas& canvas, int w, int t, const ATestStat* stat, int scheme, TextExtent digits)
{
    const ZonePlotRect r = ZonePlotRectFor(w, t);
    const RGB background = SchemeColor(scheme, kRoleBackground);
    const RGB frame = SchemeColor(scheme, kRoleFrame);
    const RGB text = SchemeColor(scheme, kRoleText);
    canvas.FillRect(0, 0, w, t, background);
    canvas.FillRect(r.left - 3, r.top - 3, r.right + 4, r.bottom + 4, background);
    canvas.OutlineRect(r.left - 3, r.top - 3, r.right + 4, r.bottom + 4, frame);

    // Severity axis on the left: decades 10, 100, 1000 with minor ticks between them.
    for (int decade = 10; decade <= 1000; decade *= 10) {
        const int y = ZonePlotY(r, decade);
        canvas.Line(r.left - 3, y, r.left - 8, y, frame, LineStyle::Solid);
        canvas.Text(r.left - 10, y, HAlign::Right, VAlign::Center, text, std::to_string(decade));
        if (decade < 1000)
            for (int k = 2; k <= 9; ++k) {
                const int ym = ZonePlotY(r, decade * k);
                canvas.Line(r.left - 3, ym, r.left - 6, ym, frame, LineStyle::Solid);
            }
    }
    // Historic index axis below: 1 to 10.
    for (int k = 1; k <= 10; ++k) {
        const int x = ZonePlotX(r, k);
        const bool major = k == 1 || k == 10;
        canvas.Line(x, r.bottom + 3, x, r.bottom + (major ? 8 : 6), frame, LineStyle::Solid);
        canvas.Text(x, r.bottom + 10, HAlign::Center, VAlign::Top, text, std::to_string(k));
    }
    canvas.Text((r.left + r.right) / 2, r.bottom + 25, HAlign::Center, VAlign::Top, text, "Historic Index");
    canvas.Text(r.right, r.top - 20, HAlign::Right, VAlign::Top, text, "Severity");

    // Zone borders.
    for (const ZoneBorder& border : ZoneBorders()) {
        std::vector<std::pair<int, int>> points;
        for (const auto& [h, s] : border.points)
            points.emplace_back(ZonePlotX(r, h), ZonePlotY(r, s));
        Polyline(canvas, points, border.color, false);
    }

    // One marker per set and channel, in the colour of its zone.
    if (stat) {
        for (int s = 0; s < 8; ++s) {
            const ASetStat* set = stat->Set(s);
            if (!set)
                continue;
            for (int c = 1; c <= 128; ++c) {
                const AChanStat* channel = set->Channels[size_t(c)].get();
                // A selected channel without a single hit in the set is no point of the plot
                // (a heap of them would hide the corner of the axes).
                if (!channel || channel->HitCount == 0)
                    continue;
                const ZonePlotPoint p = ZonePlotPointOf(channel->Monpac);
                const int x = ZonePlotX(r, p.H);
                const int y = ZonePlotY(r, p.S);
                const RGB color = ZoneColor(p.zone);
                canvas.Text(x, y, HAlign::Center, VAlign::Center, color, std::to_string(c));
                Polyline(canvas, SetMarker(s, x, y, digits), color, true);
            }
        }
    }

    // Legend: two columns of four sets right of the plot. The texts start 20 pixels right
    // of the markers' centres, or further where a marker reaches beyond that.
    int textOffset = 20;
    for (int k = 0; k < 8; ++k)
        for (const auto& [px, py] : SetMarker(k, 0, 0, digits))
            textOffset = std::max(textOffset, px + 4);
    for (int k = 0; k < 8; ++k) {
        const int x = r.right + 50 + (k / 4) * 120;
        const int y = r.top + (k % 4) * LegendRowSpacing(digits);
        Polyline(canvas, SetMarker(k, x, y, digits), frame, true);
        canvas.Text(x, y, HAlign::Center, VAlign::Center, text, "22");
        canvas.Text(x + textOffset, y, HAlign::Left, VAlign::Center, text, "Set #" + std::to_string(k));
    }
}

} // namespace lm
