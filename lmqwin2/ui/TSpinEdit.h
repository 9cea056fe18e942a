#pragma once

// A text field with spin buttons: the buttons and the arrow keys step a whole number
// within a range, while typed text is taken as it is (the dialog parses it when applied
// and names the field when it is not a number).

#include <QAbstractSpinBox>

namespace lmq {

class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    TSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);
    QString Text() const;
    void SetText(const QString& text);
    void stepBy(int steps) override;
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    int minimum_;
    int maximum_;
};

} // namespace lmq
