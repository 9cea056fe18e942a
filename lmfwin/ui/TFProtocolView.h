#pragma once

// Viewer of the protocol file: read-only text, the file's path in the status line, save
// as RTF or plain text, copy, and a case-sensitive downward search (F3).

#include "lmfwin/ui/UserDialogs.h"

#include <QMainWindow>
#include <QPlainTextEdit>

class QDialog;
class QLabel;
class QLineEdit;

namespace lmf {

// The text as a minimal RTF document (non-ASCII letters as \uN escapes).
QByteArray PlainTextToRtf(const QString& text);

class TFProtocolView : public QMainWindow {
    Q_OBJECT
public:
    TFProtocolView(const QString& path, UserDialogs* dialogs, QWidget* parent = nullptr);

    QString Path() const { return path_; }
    // Searches downwards from the end of the selection, letter case counting; a match is
    // selected and the text takes the focus. Answers false, changing nothing, when none.
    bool FindNext(const QString& what);
    // Writes the shown text: RTF unless the name ends in ".txt".
    bool SaveAs(const QString& fileName);
    void SaveAsCommand();
    void FindCommand();

    QPlainTextEdit* Text;
    QLabel* StatusPath;
    QAction* ActionSaveAs;
    QAction* ActionPrint;
    QAction* ActionExit;
    QAction* ActionCopy;
    QAction* ActionFind;
    // The find box: the text to look for and its "find next" button; it stays open.
    QDialog* FindBox = nullptr;
    QLineEdit* FindText = nullptr;

private:
    QString path_;
    UserDialogs* dialogs_;
};

} // namespace lmf
