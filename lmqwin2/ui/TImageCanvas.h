#pragma once

// The raster canvas of the graphs: shapes and text with QPainter, hit points written
// straight into the image's pixels with the point-size rule.

#include "lmqwin2/graphs/GraphCanvas.h"
#include "lmqwin2/graphs/TLMPageControl.h"

#include <QImage>
#include <QPainter>
#include <map>
#include <memory>

namespace lm {

// The font of graph texts ("Tahoma" 8 points, or what the system offers in its place).
QFont GraphFont();

class TImageCanvas final : public ACanvas {
public:
    // Draws into `image` (Format_RGB32 or ARGB32), points `pointSize` pixels large.
    TImageCanvas(QImage& image, int pointSize);
    ~TImageCanvas() override;

    void FillRect(int left, int top, int right, int bottom, RGB color) override;
    void OutlineRect(int left, int top, int right, int bottom, RGB color) override;
    void Line(int x1, int y1, int x2, int y2, RGB color, LineStyle style) override;
    void Text(int x, int y, HAlign h, VAlign v, RGB color, const std::string& text) override;
    void Dots(std::span<const Dot> dots) override;
    // Ends the painter (before the image is used elsewhere).
    void Finish();

private:
    QPainter& Painter();
    QImage& image_;
    int pointSize_;
    std::unique_ptr<QPainter> painter_;
};

// The clipboard picture of a graph (CopyPictureSize of the options, colour scheme 5).
QImage RenderGraphPicture(TLMGraph& graph, const AOptions& options);

// The images of one page: the page background and one image per graph, kept between
// paints so that a graph that needs no redraw shows its stored image.
class TRasterPageSurface final : public APageSurface {
public:
    explicit TRasterPageSurface(const AOptions& options) : options_(options) {}
    // Call before each painting of the page (sizes the page image).
    void Begin(const TLMTabSheet& page);
    ACanvas& PageCanvas() override;
    ACanvas& GraphCanvas(int slot, const TLMGraph& graph, bool drawing) override;
    // Ends the painters of the latest painting.
    void End();
    void PaintError(const std::string& text) override { Error = text; }

    const QImage& PageImage() const { return page_; }
    // The stored image of a graph slot (null image when there is none).
    const QImage& GraphImage(int slot) const;
    // The whole page: background with every graph image at its place.
    QImage Compose(const TLMTabSheet& page) const;
    std::string Error;

private:
    const AOptions& options_;
    QImage page_;
    std::unique_ptr<TImageCanvas> pageCanvas_;
    std::map<int, QImage> graphs_;
    std::map<int, std::unique_ptr<TImageCanvas>> canvases_;
    NullCanvas null_;
};

} // namespace lm
