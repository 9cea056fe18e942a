#include "lmqwin2/ui/TPageWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace lmq {

TPageWidget::TPageWidget(lm::TLMPageControl& pages, int index, GraphMouseHandler& handler, QWidget* parent)
    : QWidget(parent), Index(index), Surface(pages.Options()), pages_(pages), handler_(handler)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    const lm::TLMTabSheet& sheet = pages_.Page(index);
    for (int slot = 0; slot < int(sheet.Graphs.size()); ++slot)
        if (sheet.Graphs[size_t(slot)]) {
            auto* view = new TGraphView(*this, slot, handler_);
            views_.push_back(view);
        }
    PlaceViews();
}

TGraphView* TPageWidget::View(int slot) const
{
    for (TGraphView* v : views_)
        if (v->Slot == slot)
            return v;
    return nullptr;
}

void TPageWidget::PlaceViews()
{
    for (TGraphView* v : views_) {
        const lm::TLMGraph* g = v->Graph();
        v->setGeometry(g->Left, g->Top, g->Width, g->Height);
    }
}

void TPageWidget::Render(bool force)
{
    const lm::TLMTabSheet& sheet = pages_.Page(Index);
    if (sheet.Geometry.PageWidth <= 0 || sheet.Geometry.PageHeight <= 0)
        return;
    Surface.Begin(sheet);
    const std::string error = pages_.PaintPage(Index, Surface, force || !rendered_);
    Surface.End();
    rendered_ = true;
    if (!error.empty())
        handler_.PagePaintError(error);
}

void TPageWidget::FitToSize()
{
    // All pages share the client size and the page control lays them all out; only the
    // page shown has that size (hidden tabs keep whatever size they had).
    if (!isVisible())
        return;
    const lm::TLMTabSheet& sheet = pages_.Page(Index);
    if (sheet.Geometry.PageWidth != width() || sheet.Geometry.PageHeight != height())
        pages_.Relayout(width(), height());
    PlaceViews();
}

void TPageWidget::resizeEvent(QResizeEvent*)
{
    FitToSize();
}

void TPageWidget::showEvent(QShowEvent*)
{
    FitToSize();
}

void TPageWidget::paintEvent(QPaintEvent* event)
{
    FitToSize();
    // Graphs asked to redraw since the last painting draw now; the views copy the images.
    const lm::TLMTabSheet& sheet = pages_.Page(Index);
    bool pending = !rendered_ || Surface.PageImage().size() != size();
    for (const auto& g : sheet.Graphs)
        pending = pending || (g && g->NeedsRedraw);
    if (pending)
        Render();
    QPainter painter(this);
    const QImage& background = Surface.PageImage();
    if (background.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), background, event->rect());
}

TGraphView::TGraphView(TPageWidget& page, int slot, GraphMouseHandler& handler)
    : QWidget(&page), Page(page), Slot(slot), handler_(handler)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

lm::TLMGraph* TGraphView::Graph() const
{
    // The page control owns the graphs; a view lives only as long as its page.
    return Page.Pages().Graph(Page.Index, Slot);
}

namespace {

// The four one-pixel edges of a band, where it is drawn and removed.
QRegion Outline(const lm::BandRect& b)
{
    const QRect r(QPoint(b.Left, b.Top), QPoint(b.Right, b.Bottom));
    QRegion region;
    region += QRect(r.left(), r.top(), r.width(), 1);
    region += QRect(r.left(), r.bottom(), r.width(), 1);
    region += QRect(r.left(), r.top(), 1, r.height());
    region += QRect(r.right(), r.top(), 1, r.height());
    return region;
}

} // namespace

void TGraphView::SetBand(const std::optional<lm::BandRect>& band)
{
    QRegion dirty;
    if (band_)
        dirty += Outline(*band_);
    if (band)
        dirty += Outline(*band);
    band_ = band;
    if (!dirty.isEmpty())
        update(dirty);
}

void TGraphView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage& image = Page.Surface.GraphImage(Slot);
    if (image.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), image, event->rect());
    if (band_) {
        const lm::RGB c = Page.Pages().Options().Color(9);
        QPen pen(QColor(c.r, c.g, c.b));
        pen.setStyle(Qt::DotLine);
        pen.setWidth(1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(band_->Left, band_->Top), QPoint(band_->Right, band_->Bottom))
                             .adjusted(0, 0, -1, -1));
    }
}

void TGraphView::mousePressEvent(QMouseEvent* event)
{
    handler_.GraphMousePress(*this, event);
}

void TGraphView::mouseMoveEvent(QMouseEvent* event)
{
    handler_.GraphMouseMove(*this, event);
}

void TGraphView::mouseReleaseEvent(QMouseEvent* event)
{
    handler_.GraphMouseRelease(*this, event);
}

void TGraphView::leaveEvent(QEvent*)
{
    handler_.GraphMouseLeave(*this);
}

} // namespace lmq
