#pragma once

// Message boxes, file choosers and the frame-limit question of the correlation program
// behind one small interface: the program uses the platform's dialogs, tests and the
// screenshot run answer them without a user.

#include "lmqwin2/graphs/frames/FrameSession.h"

#include <QString>

class QWidget;

namespace lmq {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A warning box with a single button (load failures, the test-setup format warning).
    virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A confirmation with Yes and No; answers true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Answer an empty text when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filters) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filters) = 0;
    // The question asked when a ninth frame is drawn with Shift.
    virtual lm::FrameLimitChoice AskFrameLimit(QWidget* parent) = 0;
};

// The platform's message boxes and file dialogs, each placed over its parent window.
class PlatformDialogs : public UserDialogs {
public:
    void Warning(QWidget* parent, const QString& caption, const QString& text) override;
    void Error(QWidget* parent, const QString& caption, const QString& text) override;
    void Information(QWidget* parent, const QString& caption, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& caption, const QString& text) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filters) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filters) override;
    lm::FrameLimitChoice AskFrameLimit(QWidget* parent) override;
};

// Places a dialog centred over `owner` and moves it back inside the screen where it would
// stick out on the right or at the bottom (and, should the owner be off the screen, on the
// left or at the top).
void PlaceDialog(QWidget* dialog, const QWidget* owner);

} // namespace lmq
