#pragma once

// "Data File Information": the data file's name and the description of its header.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace lmq {

class UserDialogs;

class TFDataInfo : public QDialog {
    Q_OBJECT
public:
    TFDataInfo(const QString& fileName, UserDialogs* dialogs, QWidget* parent = nullptr);

    QPlainTextEdit* Text;
    QPushButton* BtnOk;
};

} // namespace lmq
