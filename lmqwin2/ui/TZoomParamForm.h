#pragma once

// The time zoom dialog: a minimum and a maximum time in whole seconds. OK turns the time
// range filter on with that range; the caller pushes Range() on the zoom stack and sets
// the time axes.

#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/DialogFields.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace lmq {

class UserDialogs;

class TZoomParamForm : public QDialog {
    Q_OBJECT
public:
    TZoomParamForm(lm::AOptions& options, UserDialogs* dialogs, QWidget* parent = nullptr);

    // Reads both fields; false (message shown, nothing changed) when one is no whole number.
    bool Apply();
    void OkCommand();
    lm::ZoomRange Range() const { return range_; }

    QLineEdit* EditMin;
    QLineEdit* EditMax;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

private:
    lm::AOptions& options_;
    UserDialogs* dialogs_;
    lm::ZoomRange range_;
};

} // namespace lmq
