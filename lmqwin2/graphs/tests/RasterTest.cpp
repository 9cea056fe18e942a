#include "lmqwin2/graphs/GraphCanvas.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace lm {
namespace {

struct Buffer {
    int w, h;
    std::vector<uint32_t> pixels;
    Buffer(int width, int height, int stride) : w(width), h(height), pixels(size_t(stride) * height, 0)
    {
        view = PixelBuffer{pixels.data(), width, height, stride};
    }
    PixelBuffer view;
    std::set<std::pair<int, int>> Set() const
    {
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pixels[size_t(y) * view.stride + x])
                    out.insert({x, y});
        return out;
    }
};

std::set<std::pair<int, int>> Square(int l, int t, int r, int b)
{
    std::set<std::pair<int, int>> out;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            out.insert({x, y});
    return out;
}

TEST(DotRaster, PointSizesDrawTheirSquares)
{
    struct Case {
        int size;
        std::set<std::pair<int, int>> want;
    } cases[] = {
        {1, Square(10, 10, 11, 11)},
        {2, Square(10, 9, 12, 11)}, // from (x, y - 1) to (x + 2, y + 1)
        {5, Square(8, 8, 13, 13)},  // from (x - 2, y - 2)
        {4, Square(8, 8, 12, 12)},
    };
    for (const Case& c : cases) {
        Buffer b(20, 20, 24); // stride wider than the image
        const Dot dot{10, 10, 0xFF123456u};
        RasterizeDots(b.view, std::span<const Dot>(&dot, 1), c.size);
        EXPECT_EQ(b.Set(), c.want) << "size " << c.size;
        EXPECT_EQ(b.pixels[10 * 24 + 10], 0xFF123456u);
    }
}

TEST(DotRaster, DotsAtTheEdgesAreClippedAndLaterDotsWin)
{
    Buffer b(10, 10, 10);
    const Dot dots[] = {{0, 0, 1}, {9, 9, 2}, {-5, 3, 3}, {3, 40, 4}, {5, 5, 5}, {5, 5, 6}};
    RasterizeDots(b.view, dots, 5);
    EXPECT_EQ(b.Set(), [] {
        auto s = Square(0, 0, 3, 3);
        s.merge(Square(7, 7, 10, 10));
        s.merge(Square(3, 3, 8, 8));
        return s;
    }());
    EXPECT_EQ(b.pixels[5 * 10 + 5], 6u);
    Buffer one(4, 4, 4);
    RasterizeDots(one.view, dots, 1);
    EXPECT_EQ(one.Set(), (std::set<std::pair<int, int>>{{0, 0}}));
}

TEST(DotRaster, BatchesReachTheCanvasInOrder)
{
    struct Counting : NullCanvas {
        std::vector<Dot> got;
        void Dots(std::span<const Dot> dots) override { got.insert(got.end(), dots.begin(), dots.end()); }
    } canvas;
    {
        DotBatch batch(canvas);
        for (int i = 0; i < 10000; ++i)
            batch.Add(i, -i, uint32_t(i));
    }
    ASSERT_EQ(canvas.got.size(), 10000u);
    EXPECT_EQ(canvas.got[9999].x, 9999);
    EXPECT_EQ(canvas.got[4096].pixel, 4096u);
}

} // namespace
} // namespace lm
