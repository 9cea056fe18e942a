#pragma once

// "Copy to Clipboard": the size and resolution of the picture a graph is copied as.

#include "lmqwin2/evaluation/AOptions.h"

#include <QDialog>

class QButtonGroup;
class QLabel;
class QPushButton;
class QSpinBox;

namespace lmq {

class TTimeMarkForm : public QDialog {
    Q_OBJECT
public:
    TTimeMarkForm(lm::AOptions& options, const QString& graphName, QWidget* parent = nullptr);

    // Stores width, height and DPI into the options (OK does this, Cancel does not).
    void Apply();

    QLabel* GraphName;
    QSpinBox* SpinWidth;
    QSpinBox* SpinHeight;
    QButtonGroup* Dpi; // button ids are the resolutions 100, 200, 300
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

private:
    lm::AOptions& options_;
};

} // namespace lmq
