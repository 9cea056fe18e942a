#include "lmqwin2/ui/TFrameFinishForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lmq {

namespace {

constexpr lm::FrameLimitChoice kOrder[4] = {
    lm::FrameLimitChoice::DeleteAllExceptNew,
    lm::FrameLimitChoice::IgnoreNew,
    lm::FrameLimitChoice::GroupAndAddNew,
    lm::FrameLimitChoice::GroupOrAddNew,
};

} // namespace

TFrameFinishForm::TFrameFinishForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(lm::kFrameLimitCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(lm::kFrameLimitText, this));
    for (int i = 0; i < 4; ++i) {
        Choices[i] = new QRadioButton(lm::kFrameLimitChoices[size_t(i)], this);
        layout->addWidget(Choices[i]);
    }
    Choices[0]->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

lm::FrameLimitChoice TFrameFinishForm::Choice() const
{
    if (result() != QDialog::Accepted)
        return lm::FrameLimitChoice::IgnoreNew;
    for (int i = 0; i < 4; ++i)
        if (Choices[i]->isChecked())
            return kOrder[i];
    return kOrder[0];
}

void TFrameFinishForm::SetChoice(lm::FrameLimitChoice choice)
{
    for (int i = 0; i < 4; ++i)
        if (kOrder[i] == choice)
            Choices[i]->setChecked(true);
}

} // namespace lmq
