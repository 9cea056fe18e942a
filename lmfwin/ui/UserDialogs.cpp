#include "lmfwin/ui/UserDialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace lmf {

namespace {

// A message box wide enough to show its whole title (a short text would make it narrower).
int Show(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    // The title bar also holds the window's icon and buttons.
    const int titleWidth = box.fontMetrics().horizontalAdvance(caption) + 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box.exec();
}

} // namespace

void PlatformDialogs::Information(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

void PlatformDialogs::Error(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool PlatformDialogs::Question(QWidget* parent, const QString& caption, const QString& text, bool warning)
{
    // No is the default: Enter never agrees to something unexpected.
    return Show(parent, warning ? QMessageBox::Warning : QMessageBox::Question, caption, text,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
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
