#include "lmqwin2/ui/TFDataView.h"

#include "lmqwin2/evaluation/DataViewList.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmq {

TFDataView::TFDataView(lm::LMDataSet& dataSet, const lm::ATestSetup& setup, const lm::AOptions& options,
                       UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), data_(dataSet), setup_(setup), options_(options), dialogs_(dialogs)
{
    setObjectName("TFDataView");
    setWindowTitle("Data view..");
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    CheckEventView = new QCheckBox("Event view", this);
    CheckShadow = new QCheckBox("Show secondary (shadow) hits", this);
    CheckEventView->setObjectName("CheckEventView");
    CheckShadow->setObjectName("CheckShadow");
    CheckEventView->setChecked(options.EventsView);
    Title = new QLabel(this);
    Title->setObjectName("Title");
    Title->setFont(mono);
    Title->setTextFormat(Qt::PlainText);
    List = new QListWidget(this);
    List->setObjectName("List");
    List->setFont(mono);
    List->setUniformItemSizes(true);
    List->setStyleSheet("QListWidget { background: white; }");
    // The titles lined up with the list's text (its frame and item margin).
    Title->setContentsMargins(List->frameWidth() + 3, 0, 0, 0);
    BtnOk = new QPushButton("OK", this);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(CheckEventView, &QCheckBox::toggled, this, &TFDataView::Rebuild);
    connect(CheckShadow, &QCheckBox::toggled, this, &TFDataView::Rebuild);

    auto* top = new QHBoxLayout;
    top->addWidget(CheckEventView);
    top->addWidget(CheckShadow);
    top->addStretch(1);
    top->addWidget(BtnOk);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Title);
    layout->addWidget(List, 1);
    // Wide enough for a whole line with event times.
    const int lineWidth = QFontMetrics(mono).horizontalAdvance(QString(90, QChar('0')));
    resize(lineWidth + 60, 420);

    Rebuild();
}

void TFDataView::Rebuild()
{
    List->clear();
    Title->clear();
    const lm::DataViewOptions view{options_.EventsView || CheckEventView->isChecked(),
                                   options_.SecondAsShadow || CheckShadow->isChecked()};
    lm::DataViewList list;
    try {
        list = lm::BuildDataViewList(data_.Records, setup_, view, &data_);
    } catch (const std::exception& e) {
        if (dialogs_)
            dialogs_->Warning(this, "Warning", QString::fromStdString(e.what()));
        return;
    }
    Title->setText(QString::fromStdString(list.title));
    List->setUpdatesEnabled(false);
    for (const lm::DataViewLine& line : list.lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), List);
        if (line.colour == lm::DataViewLine::FirstHit)
            item->setForeground(QColor(0xFF, 0, 0));
        else if (line.colour == lm::DataViewLine::InMPT)
            item->setForeground(QColor(0, 0, 0xFF));
        else
            item->setForeground(Qt::black);
    }
    List->setUpdatesEnabled(true);
    if (list.notSorted && dialogs_)
        dialogs_->Error(this, "Error", lm::kMsgDataNotSorted);
}

} // namespace lmq
