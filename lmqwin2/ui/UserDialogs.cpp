#include "lmqwin2/ui/UserDialogs.h"

#include "lmqwin2/ui/TFrameFinishForm.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>

namespace lmq {

void PlaceDialog(QWidget* dialog, const QWidget* owner)
{
    if (!dialog || !owner)
        return;
    dialog->adjustSize();
    QRect area(QPoint(0, 0), dialog->frameSize().expandedTo(dialog->size()));
    area.moveCenter(owner->frameGeometry().center());
    if (const QScreen* screen = owner->screen()) {
        const QRect available = screen->availableGeometry();
        if (area.right() > available.right())
            area.moveRight(available.right());
        if (area.bottom() > available.bottom())
            area.moveBottom(available.bottom());
        if (area.left() < available.left())
            area.moveLeft(available.left());
        if (area.top() < available.top())
            area.moveTop(available.top());
    }
    dialog->move(area.topLeft());
}

namespace {

int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preselected)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(preselected);
    PlaceDialog(&box, parent);
    return box.exec();
}

} // namespace

void PlatformDialogs::Warning(QWidget* parent, const QString& caption, const QString& text)
{
    ShowBox(parent, QMessageBox::Warning, caption, text, QMessageBox::Yes, QMessageBox::Yes);
}

void PlatformDialogs::Error(QWidget* parent, const QString& caption, const QString& text)
{
    ShowBox(parent, QMessageBox::Critical, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

void PlatformDialogs::Information(QWidget* parent, const QString& caption, const QString& text)
{
    ShowBox(parent, QMessageBox::Information, caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool PlatformDialogs::Confirm(QWidget* parent, const QString& caption, const QString& text)
{
    return ShowBox(parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

QString PlatformDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filters)
{
    QFileDialog dialog(parent, title, QString(), filters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    PlaceDialog(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString PlatformDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filters)
{
    // The dialog asks before it overwrites an existing file.
    QFileDialog dialog(parent, title, QString(), filters);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PlaceDialog(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

lm::FrameLimitChoice PlatformDialogs::AskFrameLimit(QWidget* parent)
{
    TFrameFinishForm form(parent);
    PlaceDialog(&form, parent);
    form.exec();
    return form.Choice();
}

} // namespace lmq
