#pragma once

// The display list: a text form of everything the pages draw, one operation per line, so
// that drawing is compared without pixels.
//
//   page P W H "caption"                         graph S TYPE L T W H PL PT PR PB "name"
//   fill L T R B RRGGBB                          rect L T R B RRGGBB
//   line X1 Y1 X2 Y2 RRGGBB solid|dot            text X Y HV RRGGBB "text"
//   dot X Y RRGGBB                               error "text"
//   status "HITS:..." "EVNT:..." "FRMD:..." "GRPD:..." "DLTD:..."

#include "lmqwin2/graphs/GraphCanvas.h"
#include "lmqwin2/graphs/TLMPageControl.h"

#include <array>
#include <deque>
#include <string>

namespace lm {

// A quoted text with \" and \\ escaped.
std::string QuoteText(const std::string& text);
std::string HexColor(RGB color);

class RecordingCanvas final : public ACanvas {
public:
    void FillRect(int left, int top, int right, int bottom, RGB color) override;
    void OutlineRect(int left, int top, int right, int bottom, RGB color) override;
    void Line(int x1, int y1, int x2, int y2, RGB color, LineStyle style) override;
    void Text(int x, int y, HAlign h, VAlign v, RGB color, const std::string& text) override;
    void Dots(std::span<const Dot> dots) override;

    std::string Lines; // the recorded operations, each ending with a newline
};

// Records one painting of one page.
class RecordingPageSurface final : public APageSurface {
public:
    RecordingPageSurface(int pageIndex, const TLMTabSheet& page);
    ACanvas& PageCanvas() override { return page_; }
    ACanvas& GraphCanvas(int slot, const TLMGraph& graph, bool drawing) override;
    void PaintError(const std::string& text) override;
    // The page's lines in drawing order.
    std::string Text() const;

private:
    std::string header_;
    RecordingCanvas page_;
    std::deque<std::pair<std::string, RecordingCanvas>> graphs_; // header line, operations
    std::string error_;
};

// The closing status line (panels 1-5).
std::string StatusLine(const std::array<std::string, 5>& panels);

} // namespace lm
