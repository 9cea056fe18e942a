#include "lmqwin2/ui/TFDataInfo.h"

#include "datafiles/DataFileOpen.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmq {

TFDataInfo::TFDataInfo(const QString& fileName, UserDialogs* dialogs, QWidget* parent) : QDialog(parent)
{
    setObjectName("TFDataInfo");
    setWindowTitle("Data File Information");
    Text = new QPlainTextEdit(this);
    Text->setObjectName("Text");
    Text->setReadOnly(true);
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    BtnOk = new QPushButton("OK", this);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    layout->addLayout(buttons);
    resize(560, 420);

    try {
        const std::string report = lm::DescribeDataFile(fileName.toStdString());
        Text->setPlainText("File Name:\t" + fileName + "\n\n" + QString::fromStdString(report));
    } catch (const std::exception& e) {
        Text->clear();
        if (dialogs)
            dialogs->Warning(parent, "Warning", QString::fromStdString(e.what()));
    }
}

} // namespace lmq
