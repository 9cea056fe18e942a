#pragma once

// What the post-filter's window tests share: message boxes and file choosers answered without
// a user and engines that stand in for the filtration (the rest comes from the test support).

#include "lmfwin/ui/FilterServices.h"
#include "lmfwin/ui/TDataModule.h"
#include "lmfwin/ui/TMainForm.h"
#include "lmfwin/ui/UserDialogs.h"
#include "testsupport/qt/WindowTest.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>

namespace lmf {
namespace test {

using lmtest::DropOn;
using lmtest::PressOk;
using lmtest::Shown; // kinds "info", "error", "question"
using lmtest::WhenModal;

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

// The filter store and the real engine over their own LMData, with the settings, in a
// temporary folder; opened once per suite (initTestCase).
struct FilterWorld {
    QTemporaryDir dir;
    std::unique_ptr<TDataModule2> store;
    std::unique_ptr<FilterEngine> engine;

    void Open()
    {
        QVERIFY(dir.isValid());
        lmtest::KeepUserDataIn(dir);
        store = std::make_unique<TDataModule2>();
        engine = MakeFilterEngine(store->DatabasePath());
    }
    // The post-filter's settings key emptied (before and after each test).
    static void ClearSettings() { QSettings(kSettingsOrganization, kSettingsApplication).clear(); }
    // The main window over the store, shown and active; the world's engine unless another is given.
    std::unique_ptr<TMainForm> ShowWindow(UserDialogs& dialogs, FilterEngine* otherEngine = nullptr) const
    {
        auto window =
            std::make_unique<TMainForm>(otherEngine ? otherEngine : engine.get(), store.get(), &dialogs);
        lmtest::ShowActive(window.get());
        return window;
    }
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

} // namespace test
} // namespace lmf
