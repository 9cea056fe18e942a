#include "lmqwin2/ui/TSpinEdit.h"

#include <QLineEdit>
#include <algorithm>

namespace lmq {

TSpinEdit::TSpinEdit(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

QString TSpinEdit::Text() const
{
    return lineEdit()->text();
}

void TSpinEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void TSpinEdit::stepBy(int steps)
{
    // A text that is no number steps from the lower end of the range.
    bool ok = false;
    const long long value = Text().trimmed().toLongLong(&ok);
    const long long next = ok ? value + steps : minimum_;
    SetText(QString::number(std::clamp<long long>(next, minimum_, maximum_)));
    emit editingFinished();
}

} // namespace lmq
