#pragma once

// What the window tests share: message boxes and file choosers answered without a user, an
// engine that runs until it is cancelled, and helpers to act on modal dialogs and drops.

#include "lmfwin/ui/FilterServices.h"
#include "lmfwin/ui/UserDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMimeData>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <functional>

namespace lmf {
namespace test {

struct Shown {
    QString kind; // "info", "error", "question"
    QString caption;
    QString text;
};

class FakeDialogs : public UserDialogs {
public:
    QList<Shown> shown;
    bool answer = true;
    // Answers to the next questions, in order; then `answer`.
    QList<bool> answers;
    QString fileAnswer;

    void Information(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"info", caption, text});
    }
    void Error(QWidget*, const QString& caption, const QString& text) override
    {
        shown.push_back({"error", caption, text});
    }
    bool Question(QWidget*, const QString& caption, const QString& text, bool) override
    {
        shown.push_back({"question", caption, text});
        return answers.isEmpty() ? answer : answers.takeFirst();
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return fileAnswer;
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return fileAnswer;
    }
    QString FolderName(QWidget*, const QString&, const QString&) override { return fileAnswer; }
};

// An engine whose run waits for the cancel flag, to look at the window while it runs.
class BlockingEngine : public FilterEngine {
public:
    std::atomic<bool> started{false};
    void Validate(const FilterForm&) override {}
    RunOutcome Run(const FilterForm&, const RunHooks& hooks) override
    {
        started = true;
        hooks.progress(5, 10);
        while (!hooks.cancel->load())
            QThread::msleep(5);
        throw FilterFault(QString::fromUtf8("Фильтрация прервана пользователем"));
    }
    QString ProtocolPath(const FilterForm&) override { return {}; }
};

// An engine that keeps what the window handed it.
class CapturingEngine : public FilterEngine {
public:
    FilterForm form;
    void Validate(const FilterForm&) override {}
    RunOutcome Run(const FilterForm& given, const RunHooks&) override
    {
        form = given;
        return {"done", ""};
    }
    QString ProtocolPath(const FilterForm&) override { return {}; }
};

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
inline void DropOn(QWidget* window, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

inline void PressOk(QDialog* dialog)
{
    auto* box = dialog->findChild<QDialogButtonBox*>();
    QVERIFY(box);
    box->button(QDialogButtonBox::Ok)->click();
}

} // namespace test
} // namespace lmf
