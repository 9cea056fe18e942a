#pragma once

// The about box of the correlation program: title, build and what the program is for.

#include <QDialog>

class QLabel;

namespace lmq {

class TFAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TFAboutBox(QWidget* parent = nullptr);

    QLabel* Title;
    QLabel* BuildLabel;
};

} // namespace lmq
