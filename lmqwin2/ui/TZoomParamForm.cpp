#include "lmqwin2/ui/TZoomParamForm.h"

#include "lmqwin2/ui/UserDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lmq {

TZoomParamForm::TZoomParamForm(lm::AOptions& options, UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), options_(options), dialogs_(dialogs)
{
    setObjectName("TZoomParamForm");
    setWindowTitle("Zoom..");
    EditMin = new QLineEdit(QString::number(int(options.TimeFilterStart)), this);
    EditMax = new QLineEdit(QString::number(int(options.TimeFilterEnd)), this);
    EditMin->setObjectName("EditMin");
    EditMax->setObjectName("EditMax");
    BtnOk = new QPushButton("OK", this);
    BtnCancel = new QPushButton("Cancel", this);
    BtnOk->setObjectName("BtnOk");
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TZoomParamForm::OkCommand);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Minimum time value", this), 0, 0);
    layout->addWidget(EditMin, 0, 1);
    layout->addWidget(new QLabel("Maximum time value", this), 1, 0);
    layout->addWidget(EditMax, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    layout->addLayout(buttons, 2, 0, 1, 2);
}

bool TZoomParamForm::Apply()
{
    try {
        const int minimum = lm::ParseFieldInt("Minimum time value", EditMin->text().toStdString());
        const int maximum = lm::ParseFieldInt("Maximum time value", EditMax->text().toStdString());
        range_ = lm::ZoomRangeFor(minimum, maximum);
    } catch (const lm::AFieldError& e) {
        if (dialogs_)
            dialogs_->Error(this, "Error", QString::fromStdString(e.what()));
        return false;
    }
    options_.TimeFilterOn = true;
    options_.TimeFilterStart = range_.start;
    options_.TimeFilterEnd = range_.end;
    return true;
}

void TZoomParamForm::OkCommand()
{
    if (Apply())
        accept();
}

} // namespace lmq
