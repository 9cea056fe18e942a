#include "lmqwin2/ui/TImageCanvas.h"

#include <QFontMetrics>
#include <QPen>

namespace lm {

namespace {

QColor ToQColor(RGB c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

QFont GraphFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points at 96 dpi, independent of the screen
    font.setStyleHint(QFont::SansSerif);
    return font;
}

TImageCanvas::TImageCanvas(QImage& image, int pointSize) : image_(image), pointSize_(pointSize) {}

TImageCanvas::~TImageCanvas()
{
    Finish();
}

void TImageCanvas::Finish()
{
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QPainter& TImageCanvas::Painter()
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setFont(GraphFont());
    }
    return *painter_;
}

void TImageCanvas::FillRect(int left, int top, int right, int bottom, RGB color)
{
    if (right <= left || bottom <= top)
        return;
    if (!painter_) {
        // Plain fills go straight into the pixels.
        const PixelBuffer buffer{reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
                                 int(image_.bytesPerLine() / 4)};
        FillPixels(buffer, left, top, right, bottom, PixelOf(color));
        return;
    }
    Painter().fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

void TImageCanvas::OutlineRect(int left, int top, int right, int bottom, RGB color)
{
    if (right <= left || bottom <= top)
        return;
    QPainter& p = Painter();
    p.setPen(QPen(ToQColor(color), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void TImageCanvas::Line(int x1, int y1, int x2, int y2, RGB color, LineStyle style)
{
    QPainter& p = Painter();
    QPen pen(ToQColor(color), 0);
    pen.setStyle(style == LineStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    p.drawLine(x1, y1, x2, y2);
}

void TImageCanvas::Text(int x, int y, HAlign h, VAlign v, RGB color, const std::string& text)
{
    if (text.empty())
        return;
    QPainter& p = Painter();
    const QString s = QString::fromStdString(text);
    const QFontMetrics fm(p.font());
    const int w = fm.horizontalAdvance(s);
    const int ht = fm.height();
    const int left = h == HAlign::Left ? x : (h == HAlign::Center ? x - w / 2 : x - w);
    const int top = v == VAlign::Top ? y : (v == VAlign::Center ? y - ht / 2 : y - ht);
    p.setPen(ToQColor(color));
    p.drawText(QPoint(left, top + fm.ascent()), s);
}

void TImageCanvas::Dots(std::span<const Dot> dots)
{
    // The painter must not hold the image while its pixels are written directly.
    Finish();
    const PixelBuffer buffer{reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
                             int(image_.bytesPerLine() / 4)};
    RasterizeDots(buffer, dots, pointSize_);
}

QImage RenderGraphPicture(TLMGraph& graph, const AOptions& options)
{
    const PictureSize size = CopyPictureSize(options);
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TImageCanvas canvas(image, options.PointSize);
        graph.RenderCopy(canvas, size.width, size.height);
    }
    return image;
}

void TRasterPageSurface::Begin(const TLMTabSheet& page)
{
    End();
    const QSize size(std::max(page.Geometry.PageWidth, 1), std::max(page.Geometry.PageHeight, 1));
    if (page_.size() != size)
        page_ = QImage(size, QImage::Format_RGB32);
    Error.clear();
}

ACanvas& TRasterPageSurface::PageCanvas()
{
    pageCanvas_ = std::make_unique<TImageCanvas>(page_, options_.PointSize);
    return *pageCanvas_;
}

ACanvas& TRasterPageSurface::GraphCanvas(int slot, const TLMGraph& graph, bool drawing)
{
    if (!drawing)
        return null_;
    QImage& image = graphs_[slot];
    const QSize size(std::max(graph.Width, 1), std::max(graph.Height, 1));
    if (image.size() != size)
        image = QImage(size, QImage::Format_RGB32);
    auto& canvas = canvases_[slot];
    canvas = std::make_unique<TImageCanvas>(image, options_.PointSize);
    return *canvas;
}

void TRasterPageSurface::End()
{
    canvases_.clear();
    pageCanvas_.reset();
}

const QImage& TRasterPageSurface::GraphImage(int slot) const
{
    static const QImage none;
    auto it = graphs_.find(slot);
    return it == graphs_.end() ? none : it->second;
}

QImage TRasterPageSurface::Compose(const TLMTabSheet& page) const
{
    QImage out = page_.copy();
    QPainter p(&out);
    for (size_t slot = 0; slot < page.Graphs.size(); ++slot) {
        const TLMGraph* g = page.Graphs[slot].get();
        auto it = graphs_.find(int(slot));
        if (g && it != graphs_.end() && g->Width > 0 && g->Height > 0)
            p.drawImage(QPoint(g->Left, g->Top), it->second);
    }
    return out;
}

} // namespace lm
