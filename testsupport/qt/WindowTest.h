#pragma once

// What the window suites share: their own settings and LMData away from the user's, windows
// shown and active as a user finds them, generated data files, modal dialogs acted on as
// soon as they open, dropped files, and the record of a message box a fake showed.

#include "samplegen/SampleEvents.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <functional>

class QDialog;
class QWidget;

namespace lmtest {

// A message box that a fake dialog service recorded instead of showing it.
struct Shown {
    QString kind; // what the service was asked for: "info", "error", "warning", "question", ...
    QString caption;
    QString text;
};

// QSettings of the user scope (native and INI) kept in `folder`.
void KeepSettingsIn(const QString& folder);
// The settings in the folder's "settings" and the LMData database (LMDATA) in its
// "LMData.sqlite".
void KeepUserDataIn(const QTemporaryDir& folder);

// Shows the window and waits until it is the active one.
void ShowActive(QWidget* window);

// Generates a sample file `name` in `folder`, of the format its extension names ("ald",
// "dta", ...); answers its path.
QString SampleFile(const QTemporaryDir& folder, const QString& name, const lm::gen::SampleOptions& options);

// The bytes of a file (empty when it cannot be read); writing one (a test failure when it
// cannot be written).
QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

// Runs `action` on the modal dialog of type T as soon as it is open.
template <typename T> void WhenModal(std::function<void(T*)> action)
{
    QTimer::singleShot(20, [action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(dialog);
        else
            WhenModal<T>(action);
    });
}

// A drop as the desktop delivers it: enter, then drop.
void DropOn(QWidget* window, const QList<QUrl>& urls);

// Clicks the OK button of the dialog's button box (a test failure when it has none).
void PressOk(QDialog* dialog);

} // namespace lmtest
