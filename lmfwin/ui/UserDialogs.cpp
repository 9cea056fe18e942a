#include "lmfwin/ui/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace lmf {

void PlatformDialogs::Information(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text);
}

void PlatformDialogs::Error(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::critical(parent, caption, text);
}

bool PlatformDialogs::Question(QWidget* parent, const QString& caption, const QString& text, bool warning)
{
    const auto buttons = QMessageBox::Yes | QMessageBox::No;
    const auto answer = warning ? QMessageBox::warning(parent, caption, text, buttons, QMessageBox::No)
                                : QMessageBox::question(parent, caption, text, buttons, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

QString PlatformDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filters,
                                      const QString& selectedFilter)
{
    QString selected = selectedFilter;
    return QFileDialog::getOpenFileName(parent, title, QString(), filters, &selected);
}

QString PlatformDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filters,
                                      const QString& selectedFilter)
{
    // The dialog asks before overwriting an existing file.
    QString selected = selectedFilter;
    return QFileDialog::getSaveFileName(parent, title, QString(), filters, &selected);
}

QString PlatformDialogs::FolderName(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

} // namespace lmf
