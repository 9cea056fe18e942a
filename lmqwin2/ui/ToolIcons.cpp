#include "lmqwin2/ui/ToolIcons.h"

#include "lmqwin2/evaluation/AOptions.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace lmq {

namespace {

constexpr int kSize = 24;

QColor Rgb(lm::RGB c)
{
    return QColor(c.r, c.g, c.b);
}

void Dots(QPainter& p, const QColor* colours, int count)
{
    static const QPoint at[] = {{5, 16}, {9, 9}, {13, 13}, {17, 6}, {18, 17}, {7, 5}};
    for (int i = 0; i < 6; ++i) {
        p.setBrush(colours[i % count]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(at[i], 3, 3);
    }
}

void Magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QPoint(10, 10), 7, 7);
    p.drawLine(15, 15, 21, 21);
    p.setPen(QPen(QColor(20, 20, 120), 2));
    p.drawLine(6, 10, 14, 10);
    if (plus)
        p.drawLine(10, 6, 10, 14);
}

} // namespace

QIcon MakeToolIcon(ToolIcon kind)
{
    QStyle* style = QApplication::style();
    switch (kind) {
    case ToolIcon::Open:
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    case ToolIcon::SaveAs:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case ToolIcon::ScrollLeft:
        return style->standardIcon(QStyle::SP_MediaSeekBackward);
    case ToolIcon::ScrollRight:
        return style->standardIcon(QStyle::SP_MediaSeekForward);
    default:
        break;
    }

    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ToolIcon::DataDependences: {
        QColor colours[3];
        for (int i = 0; i < 3; ++i)
            colours[i] = Rgb(lm::FrameColor(3, i));
        Dots(p, colours, 3);
        break;
    }
    case ToolIcon::ColoredChannels: {
        QColor colours[6];
        for (int i = 0; i < 6; ++i)
            colours[i] = Rgb(lm::ChannelColor(i + 1));
        Dots(p, colours, 6);
        break;
    }
    case ToolIcon::ColoredAmount: {
        const QColor green(0, 160, 0);
        Dots(p, &green, 1);
        break;
    }
    case ToolIcon::DeleteGrouped:
        p.setPen(QPen(QColor(190, 20, 20), 3));
        p.drawLine(5, 5, 19, 19);
        p.drawLine(19, 5, 5, 19);
        break;
    case ToolIcon::Undelete: {
        p.setPen(QPen(QColor(20, 120, 20), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(5, 5, 14, 14), 90 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(12, 1);
        head.lineTo(17, 5);
        head.lineTo(12, 9);
        head.closeSubpath();
        p.fillPath(head, QColor(20, 120, 20));
        break;
    }
    case ToolIcon::Zoom:
        Magnifier(p, true);
        break;
    case ToolIcon::UnZoom:
        Magnifier(p, false);
        break;
    case ToolIcon::TimeMarks:
        p.setPen(QPen(QColor(40, 40, 40), 1.5, Qt::DashLine));
        p.drawLine(7, 3, 7, 21);
        p.drawLine(16, 3, 16, 21);
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.drawLine(2, 21, 22, 21);
        break;
    case ToolIcon::EventView:
        p.setPen(QPen(QColor(200, 30, 30), 1.5));
        p.setBrush(QColor(230, 60, 60));
        p.drawEllipse(QPoint(7, 12), 4, 4);
        p.setPen(QPen(QColor(40, 40, 200), 1.5));
        p.setBrush(QColor(90, 90, 230));
        p.drawEllipse(QPoint(15, 8), 3, 3);
        p.drawEllipse(QPoint(17, 16), 3, 3);
        break;
    case ToolIcon::ShadowHits:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 255));
        p.drawEllipse(QPoint(8, 12), 4, 4);
        p.setBrush(QColor(150, 150, 150));
        p.drawEllipse(QPoint(16, 12), 4, 4);
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace lmq
