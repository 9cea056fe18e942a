#include "lmqwin2/ui/TFAboutBox.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace lmq {

namespace {

// A small picture of the zone intensity plot's idea: points climbing through zone borders.
class TAboutPicture : public QWidget {
public:
    explicit TAboutPicture(QWidget* parent) : QWidget(parent) { setFixedSize(80, 80); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::black);
        const QColor borders[] = {QColor(0x00FFFF), QColor(0x008000), QColor(0x0000FF), QColor(0x800080),
                                  QColor(0xFFFF00)};
        for (int i = 0; i < 5; ++i) {
            p.setPen(QPen(borders[i], 2));
            const int y = 70 - i * 13;
            p.drawLine(6, y, 20 + i * 8, y);
            p.drawLine(20 + i * 8, y, 20 + i * 8, 74);
        }
        p.setPen(QPen(QColor(0xFF0000), 2));
        p.drawEllipse(QPointF(58, 16), 7, 7);
    }
};

} // namespace

TFAboutBox::TFAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("TFAboutBox");
    setWindowTitle("About...");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new TAboutPicture(this), 0, 0, 3, 1, Qt::AlignTop);
    Title = new QLabel("<b>AE Quorvel</b>", this);
    Title->setObjectName("Title");
    QFont big = Title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Title->setFont(big);
    layout->addWidget(Title, 0, 1);
    BuildLabel = new QLabel(QStringLiteral("Build : " LM_PROJECT_VERSION), this);
    BuildLabel->setObjectName("BuildLabel");
    layout->addWidget(BuildLabel, 1, 1);
    auto* about = new QLabel("The correlation program of the AE Lumeny suite:\n"
                             "graphs, frames, set statistics and the zone intensity plot\n"
                             "of acoustic emission test data.",
                             this);
    layout->addWidget(about, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

} // namespace lmq
