#pragma once

// The small drawing surface every graph draws through. Two kinds exist: a raster canvas
// (an image per graph, for the screen, PNG files and the clipboard) and a recording canvas
// that writes the display list, so the drawing logic is tested without a display.

#include "lmqwin2/evaluation/AOptions.h"

#include <cstdint>
#include <span>
#include <string>

namespace lm {

enum class HAlign { Left, Center, Right }; // text starts at, is centred on, ends at X
enum class VAlign { Top, Center, Bottom }; // text top at, centred on, bottom at Y
enum class LineStyle { Solid, Dot };

// 0xFFRRGGBB, the pixel layout of a 32-bit RGB image.
inline constexpr uint32_t PixelOf(RGB c)
{
    return 0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | uint32_t(c.b);
}

// One hit point at its value-to-pixel position, before the point size widens it.
struct Dot {
    int32_t x;
    int32_t y;
    uint32_t pixel; // PixelOf(colour)
};

class ACanvas {
public:
    virtual ~ACanvas() = default;
    // Rectangles: left, top, right, bottom with right and bottom exclusive.
    virtual void FillRect(int left, int top, int right, int bottom, RGB color) = 0;
    virtual void OutlineRect(int left, int top, int right, int bottom, RGB color) = 0;
    virtual void Line(int x1, int y1, int x2, int y2, RGB color, LineStyle style) = 0;
    virtual void Text(int x, int y, HAlign h, VAlign v, RGB color, const std::string& text) = 0;
    // Hit points in drawing order, each in its own colour.
    virtual void Dots(std::span<const Dot> dots) = 0;
};

// A canvas that draws nothing (a painting whose result nobody looks at).
class NullCanvas : public ACanvas {
public:
    void FillRect(int, int, int, int, RGB) override {}
    void OutlineRect(int, int, int, int, RGB) override {}
    void Line(int, int, int, int, RGB, LineStyle) override {}
    void Text(int, int, HAlign, VAlign, RGB, const std::string&) override {}
    void Dots(std::span<const Dot>) override {}
};

// A caller-owned 32-bit pixel buffer (0xFFRRGGBB per pixel); stride in pixels.
struct PixelBuffer {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Writes the points into the buffer with the point-size rule of the options (1: one pixel,
// 2: a 2 x 2 square reaching one row up, n: an n x n square around the point), clipped to
// the buffer.
void RasterizeDots(const PixelBuffer& buffer, std::span<const Dot> dots, int pointSize);
// Fills [left, right) x [top, bottom) clipped to the buffer.
void FillPixels(const PixelBuffer& buffer, int left, int top, int right, int bottom, uint32_t pixel);

// Collects dots of one pass and hands them to the canvas in batches (no allocation per hit).
class DotBatch {
public:
    explicit DotBatch(ACanvas& canvas) : canvas_(canvas) {}
    ~DotBatch() { Flush(); }
    DotBatch(const DotBatch&) = delete;
    DotBatch& operator=(const DotBatch&) = delete;
    void Add(int32_t x, int32_t y, uint32_t pixel)
    {
        buffer_[count_++] = Dot{x, y, pixel};
        if (count_ == kSize)
            Flush();
    }
    void Flush()
    {
        if (count_ > 0)
            canvas_.Dots(std::span<const Dot>(buffer_, count_));
        count_ = 0;
    }

private:
    static constexpr size_t kSize = 4096;
    ACanvas& canvas_;
    Dot buffer_[kSize];
    size_t count_ = 0;
};

} // namespace lm
