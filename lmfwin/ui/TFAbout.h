#pragma once

// The about box: product title, build, memory load and an animated logo.

#include <QDialog>
#include <QTimer>

class QLabel;

namespace lmf {

// Percent of physical memory in use; -1 when the system does not tell.
int MemoryLoadPercent();

class TLogoView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 6;
    static constexpr int kIntervalMs = 200;

    explicit TLogoView(QWidget* parent = nullptr);
    int Frame() const { return frame_; }
    bool Animating() const { return timer_.isActive(); }
    void ToggleAnimation();
    QSize sizeHint() const override { return {96, 96}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

class TFAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    TLogoView* Logo;
    QLabel* BuildLabel;
    QLabel* MemoryLabel;
};

} // namespace lmf
