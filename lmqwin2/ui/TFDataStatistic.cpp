#include "lmqwin2/ui/TFDataStatistic.h"

#include "datafiles/ELMData.h"
#include "lmqwin2/evaluation/DialogFields.h"
#include "lmqwin2/graphs/ZonePlotDrawing.h"
#include "lmqwin2/ui/TImageCanvas.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <sstream>

namespace lmq {

// ---- ZIP tab ---------------------------------------------------------------------------

TZipView::TZipView(const lm::ATestStat* stat, const lm::AOptions& options, QWidget* parent)
    : QWidget(parent), stat_(stat), options_(options)
{
    setObjectName("Zip");
    setMinimumSize(300, 200);
}

QImage TZipView::Render(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    const QFontMetrics metrics(lm::GraphFont());
    const lm::TextExtent digits{metrics.horizontalAdvance("00"), metrics.height()};
    lm::TImageCanvas canvas(image, options_.PointSize);
    lm::DrawZonePlot(canvas, size.width(), size.height(), stat_, options_.ColorScheme, digits);
    canvas.Finish();
    return image;
}

void TZipView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render(size()));
}

// ---- window ----------------------------------------------------------------------------

TFDataStatistic::TFDataStatistic(lm::LMDataSet& dataSet, uint8_t occupiedSlots, const lm::ATestSetup& setup,
                                 const lm::AOptions& options, UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), stat_(std::make_unique<lm::ATestStat>(setup))
{
    setObjectName("TFDataStatistic");
    setWindowTitle("Sets statistic..");
    Tabs = new QTabWidget(this);
    Tabs->setObjectName("Tabs");
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const double dpi = logicalDpiX();
    const char* captions[TextTabCount] = {lm::kStatCaptions[0], lm::kStatCaptions[1], lm::kStatCaptions[3],
                                          lm::kStatCaptions[4], lm::kStatCaptions[2]};
    for (int t = 0; t < TextTabCount; ++t) {
        auto* text = new QPlainTextEdit(Tabs);
        text->setObjectName(QString("Text%1").arg(t));
        text->setReadOnly(true);
        text->setFont(mono);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        // Tab stops every 1000 twips, every 700 in the pressure holds table.
        text->setTabStopDistance(lm::TwipsToPixels(t == HoldsTab ? 700 : 1000, dpi));
        Texts[t] = text;
        Tabs->addTab(text, captions[t]);
    }

    BtnOk = new QPushButton("OK", this);
    BtnOk->setObjectName("BtnOk");
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    layout->addLayout(buttons);
    resize(860, 520);

    QString failure;
    try {
        if (options.EventsView)
            dataSet.ResetEvents(setup.MPT, setup.Lockout);
        stat_->Build(dataSet.Records, occupiedSlots, options.CheckedChan,
                     options.EventsView ? &dataSet : nullptr);
    } catch (const lm::ELMData& e) {
        QString message = QString("Error %1").arg(e.Code);
        if (e.Code == lm::kErrNotSorted) {
            char time[64];
            std::snprintf(time, sizeof time, "%.2f", dataSet.NotSortedTime);
            message = QString("Data file doesn't sorted (%1 s). Event View is impossible.").arg(time);
        }
        failure = message;
    }
    if (!failure.isEmpty()) {
        // Nothing is printed; the plot shows its axes, borders and legend only.
        stat_ = std::make_unique<lm::ATestStat>(setup);
        Texts[AmplitudeTab]->clear();
    }
    Zip = new TZipView(stat_.get(), options, Tabs);
    Tabs->addTab(Zip, "ZIP");
    Tabs->setCurrentIndex(0);
    if (!failure.isEmpty()) {
        if (dialogs)
            dialogs->Warning(parent, "Warning", failure);
        return;
    }

    // The MONPAC+ table fixes every channel's zone before the plot is drawn.
    std::ostringstream out[TextTabCount];
    stat_->PrintAmplitudeTable(out[AmplitudeTab]);
    stat_->PrintParameterTables(out[StatisticTab]);
    stat_->PrintMonpacTable(out[MonpacTab]);
    stat_->PrintLocDynTable(out[LocDynTab]);
    stat_->PrintHoldsTable(out[HoldsTab]);
    for (int t = 0; t < TextTabCount; ++t)
        Texts[t]->setPlainText(QString::fromStdString(out[t].str()));
    built_ = true;
}

} // namespace lmq
