#include "lmfwin/ui/TFAbout.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QtMath>

namespace lmf {

int MemoryLoadPercent()
{
    QFile meminfo("/proc/meminfo");
    if (!meminfo.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = -1, available = -1;
    for (const QByteArray& line : meminfo.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2)
            continue;
        if (parts[0] == "MemTotal:")
            total = parts[1].toLongLong();
        else if (parts[0] == "MemAvailable:")
            available = parts[1].toLongLong();
    }
    if (total <= 0 || available < 0 || available > total)
        return -1;
    return int((total - available) * 100 / total);
}

TLogoView::TLogoView(QWidget* parent) : QWidget(parent)
{
    setObjectName("Logo");
    setFixedSize(96, 96);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
    timer_.start();
}

void TLogoView::ToggleAnimation()
{
    if (timer_.isActive())
        timer_.stop();
    else
        timer_.start();
}

void TLogoView::mouseDoubleClickEvent(QMouseEvent*)
{
    ToggleAnimation();
}

void TLogoView::paintEvent(QPaintEvent*)
{
    // A sensor on a plate sending out rings of a burst; each frame moves the rings outwards.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(236, 242, 252));
    const QPointF centre(width() / 2.0, height() / 2.0);
    for (int ring = 0; ring < 3; ++ring) {
        const double radius = 10 + ((frame_ + ring * 2) % kFrames) * 7.0;
        QColor colour(30, 80, 170);
        colour.setAlphaF(1.0 - radius / 55.0);
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.setPen(QPen(QColor(200, 40, 30), 2));
    painter.setBrush(QColor(250, 210, 90));
    painter.drawEllipse(centre, 8, 8);
    QPolygonF wave;
    for (int x = 0; x <= 80; ++x) {
        const double phase = (x + frame_ * 4) * 0.35;
        const double envelope = qExp(-qPow((x - 40) / 18.0, 2));
        wave << QPointF(8 + x, height() - 14 - 8 * envelope * qSin(phase));
    }
    painter.setPen(QPen(QColor(200, 40, 30), 1.5));
    painter.drawPolyline(wave);
}

TFAbout::TFAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About..."));
    auto* layout = new QGridLayout(this);
    Logo = new TLogoView(this);
    layout->addWidget(Logo, 0, 0, 3, 1);
    auto* title = new QLabel("<b>AE Tessaline</b>", this);
    layout->addWidget(title, 0, 1);
    BuildLabel = new QLabel(tr("Build : %1").arg(QStringLiteral(LM_PROJECT_VERSION)), this);
    BuildLabel->setObjectName("BuildLabel");
    layout->addWidget(BuildLabel, 1, 1);
    const int load = MemoryLoadPercent();
    MemoryLabel = new QLabel(
        tr("Memory Used %1").arg(load < 0 ? QStringLiteral("-") : QString::asprintf("%d %%", load)), this);
    MemoryLabel->setObjectName("MemoryLabel");
    layout->addWidget(MemoryLabel, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

} // namespace lmf
