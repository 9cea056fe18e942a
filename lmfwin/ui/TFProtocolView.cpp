#include "lmfwin/ui/TFProtocolView.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextCursor>

namespace lmf {

QByteArray PlainTextToRtf(const QString& text)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\\f0\\fs20\n";
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code == '\n')
            rtf += "\\par\n";
        else if (code == '\r')
            continue;
        else if (code == '\t')
            rtf += "\\tab ";
        else if (code == '\\' || code == '{' || code == '}')
            rtf += '\\' + QByteArray(1, char(code));
        else if (code < 0x80)
            rtf += char(code);
        else
            rtf += "\\u" + QByteArray::number(int(int16_t(code))) + '?';
    }
    rtf += "}\n";
    return rtf;
}

TFProtocolView::TFProtocolView(const QString& path, UserDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), path_(path), dialogs_(dialogs)
{
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Report File View"));
    Text = new QPlainTextEdit(this);
    Text->setObjectName("Text");
    Text->setReadOnly(true);
    Text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        Text->setPlainText(QString::fromLocal8Bit(file.readAll()));
    setCentralWidget(Text);
    StatusPath = new QLabel(path, this);
    statusBar()->addWidget(StatusPath, 1);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    ActionSaveAs = fileMenu->addAction(tr("Save &As..."), this, &TFProtocolView::SaveAsCommand);
    ActionPrint = fileMenu->addAction(tr("&Print..."));
    ActionPrint->setEnabled(false);
    fileMenu->addSeparator();
    ActionExit = fileMenu->addAction(tr("E&xit"), this, &QWidget::close);
    ActionExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* editMenu = menuBar()->addMenu(tr("&Edit"));
    ActionCopy = editMenu->addAction(tr("&Copy"), Text, &QPlainTextEdit::copy);
    ActionCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    ActionFind = editMenu->addAction(tr("&Find..."), this, &TFProtocolView::FindCommand);
    ActionFind->setShortcut(QKeySequence(Qt::Key_F3));
    resize(640, 480);
}

bool TFProtocolView::FindNext(const QString& what)
{
    if (what.isEmpty())
        return false;
    const QString text = Text->toPlainText();
    const QTextCursor cursor = Text->textCursor();
    const int from = cursor.hasSelection() ? cursor.selectionEnd() : 0;
    const int at = text.indexOf(what, from, Qt::CaseSensitive);
    if (at < 0)
        return false;
    QTextCursor found(Text->document());
    found.setPosition(at);
    found.setPosition(at + int(what.size()), QTextCursor::KeepAnchor);
    Text->setTextCursor(found);
    Text->setFocus();
    return true;
}

void TFProtocolView::FindCommand()
{
    if (!FindBox) {
        FindBox = new QDialog(this);
        FindBox->setWindowTitle(tr("Find"));
        FindText = new QLineEdit(FindBox);
        auto* next = new QPushButton(tr("Find &Next"), FindBox);
        next->setDefault(true);
        auto* layout = new QHBoxLayout(FindBox);
        layout->addWidget(FindText);
        layout->addWidget(next);
        connect(next, &QPushButton::clicked, this, [this] { FindNext(FindText->text()); });
    }
    FindBox->show();
    FindBox->raise();
    FindBox->activateWindow();
    FindText->setFocus();
    FindText->selectAll();
}

bool TFProtocolView::SaveAs(const QString& fileName)
{
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QString text = Text->toPlainText();
    if (fileName.endsWith(".txt", Qt::CaseInsensitive))
        out.write(text.toLocal8Bit());
    else
        out.write(PlainTextToRtf(text));
    return out.commit();
}

void TFProtocolView::SaveAsCommand()
{
    const QString rtf = tr("Rich Text Format (*.rtf)");
    const QString filters = rtf + ";;" + tr("ASCII text (*.txt)");
    QString name = dialogs_->SaveFileName(this, tr("Save the report file as.."), filters, rtf);
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += ".rtf";
    if (!SaveAs(name))
        dialogs_->Error(this, windowTitle(), tr("The file %1 could not be written").arg(name));
}

} // namespace lmf
