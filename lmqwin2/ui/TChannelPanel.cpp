#include "lmqwin2/ui/TChannelPanel.h"

#include "lmqwin2/evaluation/AOptions.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>

namespace lmq {

namespace {

constexpr int kMargin = 4;
constexpr int kTop = 34; // below the two buttons
constexpr int kColumnGap = 60;
constexpr int kRowStep = 14;
constexpr int kGroupGap = 8;
constexpr int kSquare = 13;

} // namespace

QPoint TChannelPanel::CellOrigin(int channel)
{
    const int index = channel - 1; // 0-127
    const int column = (index / 32) % 2;
    const int row = (index % 32) + (index / 64) * 32; // 0-63 within the column
    return QPoint(kMargin + column * kColumnGap, kTop + row * kRowStep + (row / 8) * kGroupGap);
}

TChannelPanel::TChannelPanel(QWidget* parent) : QWidget(parent)
{
    AllButton = new QPushButton("All", this);
    RefreshButton = new QPushButton("Refresh", this);
    AllButton->setGeometry(kMargin, 4, 54, 24);
    RefreshButton->setGeometry(kMargin + kColumnGap, 4, 58, 24);

    QFont small = font();
    small.setPixelSize(11);
    for (int c = 1; c <= lm::kChannelCount; ++c) {
        auto* box = new QCheckBox(QString::asprintf("%i", c), this);
        box->setFont(small);
        box->setProperty("channelIndex", c - 1);
        box->setFocusPolicy(Qt::NoFocus);
        const QPoint at = CellOrigin(c);
        box->setGeometry(at.x() + kSquare + 2, at.y() - 2, kColumnGap - kSquare - 4, kRowStep + 3);
        boxes_[c - 1] = box;
    }
    const QPoint last = CellOrigin(128);
    setFixedWidth(2 * kColumnGap + 2 * kMargin);
    setMinimumHeight(last.y() + kRowStep + kMargin);
}

void TChannelPanel::SetChecked(const lm::ChannelMask& channels)
{
    for (int c = 1; c <= lm::kChannelCount; ++c)
        boxes_[c - 1]->setChecked(channels.test(size_t(c - 1)));
}

lm::ChannelMask TChannelPanel::Checked() const
{
    lm::ChannelMask channels;
    for (int c = 1; c <= lm::kChannelCount; ++c)
        channels.set(size_t(c - 1), boxes_[c - 1]->isChecked());
    return channels;
}

void TChannelPanel::SetAll(bool checked)
{
    for (QCheckBox* box : boxes_)
        box->setChecked(checked);
}

void TChannelPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    for (int c = 1; c <= lm::kChannelCount; ++c) {
        const lm::RGB rgb = lm::ChannelColor(c);
        const QPoint at = CellOrigin(c);
        painter.setBrush(QColor(rgb.r, rgb.g, rgb.b));
        // The outline is part of the 13 x 13 square.
        painter.drawRect(at.x(), at.y(), kSquare - 1, kSquare - 1);
    }
}

} // namespace lmq
