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

constexpr const char* kCaptions[4] = {
    "Delete all frames, except new frame",
    "Ignore new frame",
    "Groop existing frames with \"AND\", add new frame",
    "Groop existing frames with \"OR\", add new frame",
};

} // namespace

TFrameFinishForm::TFrameFinishForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Warning");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(kFrameLimitText, this));
    for (int i = 0; i < 4; ++i) {
        Choices[i] = new QRadioButton(kCaptions[i], this);
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
