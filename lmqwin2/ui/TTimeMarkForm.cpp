#include "lmqwin2/ui/TTimeMarkForm.h"

#include "lmqwin2/evaluation/DialogFields.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace lmq {

TTimeMarkForm::TTimeMarkForm(lm::AOptions& options, const QString& graphName, QWidget* parent)
    : QDialog(parent), options_(options)
{
    setObjectName("TTimeMarkForm");
    setWindowTitle("Copy to Clipboard");
    GraphName = new QLabel(graphName, this);
    GraphName->setObjectName("GraphName");
    auto spin = [this](const char* name, int value) {
        auto* s = new QSpinBox(this);
        s->setObjectName(name);
        s->setRange(lm::kCopyMinMm, lm::kCopyMaxMm);
        s->setValue(value);
        return s;
    };
    SpinWidth = spin("SpinWidth", options.PrnWidth);
    SpinHeight = spin("SpinHeight", options.PrnHeight);
    auto* dpiBox = new QGroupBox(" DPI ", this);
    auto* dpiLayout = new QHBoxLayout(dpiBox);
    Dpi = new QButtonGroup(this);
    for (int dpi : {100, 200, 300}) {
        auto* b = new QRadioButton(QString::number(dpi), dpiBox);
        b->setObjectName(QString("Dpi%1").arg(dpi));
        Dpi->addButton(b, dpi);
        dpiLayout->addWidget(b);
    }
    Dpi->button(lm::CopyDpiChoice(options.PrnDPI))->setChecked(true);

    BtnOk = new QPushButton("OK", this);
    BtnCancel = new QPushButton("Cancel", this);
    BtnOk->setObjectName("BtnOk");
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, [this] {
        Apply();
        accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Diagramma:", this), 0, 0);
    layout->addWidget(GraphName, 0, 1, 1, 2);
    layout->addWidget(new QLabel("Width (mm):", this), 1, 0);
    layout->addWidget(SpinWidth, 1, 1);
    layout->addWidget(new QLabel("Height (mm):", this), 2, 0);
    layout->addWidget(SpinHeight, 2, 1);
    layout->addWidget(dpiBox, 1, 2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    layout->addLayout(buttons, 3, 0, 1, 3);
}

void TTimeMarkForm::Apply()
{
    options_.PrnWidth = SpinWidth->value();
    options_.PrnHeight = SpinHeight->value();
    options_.PrnDPI = Dpi->checkedId();
}

} // namespace lmq
