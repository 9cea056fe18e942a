#include "lmqwin2/graphs/GraphCanvas.h"

#include <algorithm>

namespace lm {

void FillPixels(const PixelBuffer& buffer, int left, int top, int right, int bottom, uint32_t pixel)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, buffer.width);
    bottom = std::min(bottom, buffer.height);
    if (left >= right || top >= bottom)
        return;
    for (int y = top; y < bottom; ++y)
        std::fill(buffer.pixels + size_t(y) * buffer.stride + left,
                  buffer.pixels + size_t(y) * buffer.stride + right, pixel);
}

void RasterizeDots(const PixelBuffer& buffer, std::span<const Dot> dots, int pointSize)
{
    uint32_t* const pixels = buffer.pixels;
    const int w = buffer.width;
    const int h = buffer.height;
    const size_t stride = size_t(buffer.stride);
    if (pointSize <= 1) {
        for (const Dot& d : dots)
            if (unsigned(d.x) < unsigned(w) && unsigned(d.y) < unsigned(h))
                pixels[size_t(d.y) * stride + size_t(d.x)] = d.pixel;
        return;
    }
    if (pointSize == 2) {
        // From (x, y - 1) to (x + 2, y + 1): two pixels in the row above and two in its own.
        for (const Dot& d : dots) {
            if (unsigned(d.x) < unsigned(w - 1) && unsigned(d.y - 1) < unsigned(h - 1)) {
                uint32_t* p = pixels + size_t(d.y - 1) * stride + size_t(d.x);
                p[0] = p[1] = d.pixel;
                p[stride] = p[stride + 1] = d.pixel;
            } else {
                FillPixels(buffer, d.x, d.y - 1, d.x + 2, d.y + 1, d.pixel);
            }
        }
        return;
    }
    // The square of a point relative to the point itself (PointRectAt).
    const PointRect r = PointRectAt(0, 0, pointSize);
    for (const Dot& d : dots) {
        const int left = d.x + r.left;
        const int top = d.y + r.top;
        const int right = d.x + r.right;
        const int bottom = d.y + r.bottom;
        if (left >= 0 && top >= 0 && right <= w && bottom <= h) {
            for (int y = top; y < bottom; ++y) {
                uint32_t* row = pixels + size_t(y) * stride;
                for (int x = left; x < right; ++x)
                    row[x] = d.pixel;
            }
        } else {
            FillPixels(buffer, left, top, right, bottom, d.pixel);
        }
    }
}

} // namespace lm
