#pragma once

// "Data view..": the framed, undeleted hits of the data set as text lines (at most
// 10 000), in event view with the first hits of events red and hits inside MPT blue.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace lmq {

class UserDialogs;

class TFDataView : public QDialog {
    Q_OBJECT
public:
    TFDataView(lm::LMDataSet& data, const lm::ATestSetup& setup, const lm::AOptions& options,
               UserDialogs* dialogs, QWidget* parent = nullptr);

    // Lists the hits again with the check boxes' current state.
    void Rebuild();

    QCheckBox* CheckEventView;
    QCheckBox* CheckShadow;
    QLabel* Title;
    QListWidget* List;
    QPushButton* BtnOk;

private:
    lm::LMDataSet& data_;
    const lm::ATestSetup& setup_;
    const lm::AOptions& options_;
    UserDialogs* dialogs_;
};

} // namespace lmq
