#include "lmqwin2/graphs/DisplayList.h"

#include <cstdio>

namespace lm {

std::string QuoteText(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string HexColor(RGB c)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
    return text;
}

namespace {

std::string Ints(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) {
        out += ' ';
        out += std::to_string(v);
    }
    return out;
}

} // namespace

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, RGB color)
{
    Lines += "fill" + Ints({left, top, right, bottom}) + " " + HexColor(color) + "\n";
}

void RecordingCanvas::OutlineRect(int left, int top, int right, int bottom, RGB color)
{
    Lines += "rect" + Ints({left, top, right, bottom}) + " " + HexColor(color) + "\n";
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, RGB color, LineStyle style)
{
    Lines += "line" + Ints({x1, y1, x2, y2}) + " " + HexColor(color) +
             (style == LineStyle::Dot ? " dot\n" : " solid\n");
}

void RecordingCanvas::Text(int x, int y, HAlign h, VAlign v, RGB color, const std::string& text)
{
    const char hv[3] = {h == HAlign::Left ? 'l' : (h == HAlign::Center ? 'c' : 'r'),
                        v == VAlign::Top ? 't' : (v == VAlign::Center ? 'c' : 'b'), 0};
    Lines += "text" + Ints({x, y}) + " " + hv + " " + HexColor(color) + " " + QuoteText(text) + "\n";
}

void RecordingCanvas::Dots(std::span<const Dot> dots)
{
    char line[48];
    for (const Dot& d : dots) {
        const int n = std::snprintf(line, sizeof line, "dot %d %d %06X\n", d.x, d.y, d.pixel & 0xFFFFFFu);
        Lines.append(line, size_t(n));
    }
}

RecordingPageSurface::RecordingPageSurface(int pageIndex, const TLMTabSheet& page)
{
    header_ = "page" + Ints({pageIndex, page.Geometry.PageWidth, page.Geometry.PageHeight}) + " " +
              QuoteText(page.Caption) + "\n";
}

ACanvas& RecordingPageSurface::GraphCanvas(int slot, const TLMGraph& g, bool)
{
    const std::string header = "graph" +
                               Ints({slot, g.Type(), g.Left, g.Top, g.Width, g.Height, g.Plot.Left,
                                     g.Plot.Top, g.Plot.Right, g.Plot.Bottom}) +
                               " " + QuoteText(g.Name) + "\n";
    graphs_.emplace_back(header, RecordingCanvas{});
    return graphs_.back().second;
}

void RecordingPageSurface::PaintError(const std::string& text)
{
    error_ = "error " + QuoteText(text) + "\n";
}

std::string RecordingPageSurface::Text() const
{
    std::string out = header_ + page_.Lines;
    for (const auto& [header, canvas] : graphs_) {
        // A graph after the failing one was not painted: its canvas stayed empty.
        if (!error_.empty() && canvas.Lines.empty())
            break;
        out += header + canvas.Lines;
    }
    return out + error_;
}

std::string StatusLine(const std::array<std::string, 5>& panels)
{
    std::string out = "status";
    for (const std::string& p : panels)
        out += " " + QuoteText(p);
    return out + "\n";
}

} // namespace lm
