#pragma once

// Message boxes and file choosers of the window behind one small interface: the program
// uses the platform's dialogs, tests answer them without a user.

#include <QString>

class QWidget;

namespace lmf {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;
    // Answers true for Yes.
    virtual bool Question(QWidget* parent, const QString& caption, const QString& text, bool warning) = 0;
    // Answer an empty text when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filters,
                                 const QString& selectedFilter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filters,
                                 const QString& selectedFilter) = 0;
    virtual QString FolderName(QWidget* parent, const QString& title, const QString& start) = 0;
};

// The platform's message boxes and file dialogs.
class PlatformDialogs : public UserDialogs {
public:
    void Information(QWidget* parent, const QString& caption, const QString& text) override;
    void Error(QWidget* parent, const QString& caption, const QString& text) override;
    bool Question(QWidget* parent, const QString& caption, const QString& text, bool warning) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filters,
                         const QString& selectedFilter) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filters,
                         const QString& selectedFilter) override;
    QString FolderName(QWidget* parent, const QString& title, const QString& start) override;
};

} // namespace lmf
