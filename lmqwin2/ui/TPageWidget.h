#pragma once

// One tab of the main window: a page of the page control shown as its background and one
// view per graph. A view copies the graph's stored image to the screen and draws the
// rubber band over it, so dragging never redraws the graph; the page draws its graphs
// into their images only when they ask for it.

#include "lmqwin2/graphs/TLMPageControl.h"
#include "lmqwin2/ui/TImageCanvas.h"

#include <QWidget>
#include <optional>
#include <vector>

namespace lmq {

class TGraphView;

// Where a graph view sends the mouse (the main window).
class GraphMouseHandler {
public:
    virtual ~GraphMouseHandler() = default;
    virtual void GraphMousePress(TGraphView& view, QMouseEvent* event) = 0;
    virtual void GraphMouseMove(TGraphView& view, QMouseEvent* event) = 0;
    virtual void GraphMouseRelease(TGraphView& view, QMouseEvent* event) = 0;
    virtual void GraphMouseLeave(TGraphView& view) = 0;
    // A page found a painting error (the window shows it once the paint is over).
    virtual void PagePaintError(const std::string& text) = 0;
};

class TPageWidget : public QWidget {
    Q_OBJECT
public:
    TPageWidget(lm::TLMPageControl& pages, int index, GraphMouseHandler& handler, QWidget* parent = nullptr);

    const int Index;
    lm::TRasterPageSurface Surface;

    // Draws the graphs that need it into their images (all of them with `force`).
    void Render(bool force = false);
    // Places a view over every graph of the page (after a relayout).
    void PlaceViews();
    // The page shown lays the pages out for its size.
    void FitToSize();
    TGraphView* View(int slot) const;
    const std::vector<TGraphView*>& Views() const { return views_; }
    lm::TLMPageControl& Pages() const { return pages_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    lm::TLMPageControl& pages_;
    GraphMouseHandler& handler_;
    std::vector<TGraphView*> views_;
    bool rendered_ = false;
};

class TGraphView : public QWidget {
    Q_OBJECT
public:
    TGraphView(TPageWidget& page, int slot, GraphMouseHandler& handler);

    TPageWidget& Page;
    const int Slot;
    lm::TLMGraph* Graph() const;

    // Shows, moves or removes the rubber band (graph pixels); only the band's old and new
    // outlines are repainted.
    void SetBand(const std::optional<lm::BandRect>& band);
    const std::optional<lm::BandRect>& Band() const { return band_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    GraphMouseHandler& handler_;
    std::optional<lm::BandRect> band_;
};

} // namespace lmq
