// The window over the real engine where a recording could be lost: a run into the source
// whose backup name is taken asks a second question of its own (No keeps everything), and a
// stored filter brings its "Delete TR" back (one stored without it leaves the box alone).

#include "WindowTestSupport.h"
#include "lmfwin/ui/FilterServices.h"
#include "lmfwin/ui/TDataModule.h"
#include "lmfwin/ui/TMainForm.h"
#include "lmfwin/ui/UserDialogs.h"
#include "testsupport/qt/WindowTest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmf;
using lmf::test::FilterWorld;

namespace {

// Answers the questions in turn from a list; records every box shown.
class ScriptedDialogs : public UserDialogs {
public:
    QList<bool> answers;
    QStringList questions;
    QStringList errors;
    QStringList infos;

    void Information(QWidget*, const QString&, const QString& text) override { infos << text; }
    void Error(QWidget*, const QString&, const QString& text) override { errors << text; }
    bool Question(QWidget*, const QString&, const QString& text, bool) override
    {
        questions << text;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString FolderName(QWidget*, const QString&, const QString&) override { return {}; }
};

} // namespace

class TestBackupQuestion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void takenBackupNameAsksItsOwnQuestion();
    void storedDeleteTRComesBack();

private:
    std::unique_ptr<TMainForm> MakeWindow();

    FilterWorld world_;
    ScriptedDialogs dialogs_;
};

void TestBackupQuestion::initTestCase()
{
    world_.Open();
}

std::unique_ptr<TMainForm> TestBackupQuestion::MakeWindow()
{
    return world_.ShowWindow(dialogs_);
}

void TestBackupQuestion::takenBackupNameAsksItsOwnQuestion()
{
    QTemporaryDir folder;
    lmtest::SampleFile(folder, "run.dta", {300});
    const QByteArray original = lmtest::ReadFile(folder.filePath("run.dta"));
    const QByteArray other = "the original of run.ald";
    lmtest::WriteFile(folder.filePath("run.BAK"), other);

    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("run.dta");
    w->EditPostFile->clear();
    w->Grids[0]->SetRows({{"Amplitude", "40", "60"}});
    QSignalSpy finished(w.get(), &TMainForm::runFinished);

    // Yes to filtering into the source, No to the backup: nothing changes.
    dialogs_.answers = {true, false};
    w->BtnRun->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(dialogs_.questions.size(), 2);
    QVERIFY2(dialogs_.questions[1].contains(folder.filePath("run.BAK")), qPrintable(dialogs_.questions[1]));
    QCOMPARE(dialogs_.errors.size(), 1);
    QVERIFY2(dialogs_.errors[0].contains(folder.filePath("run.BAK")), qPrintable(dialogs_.errors[0]));
    QCOMPARE(lmtest::ReadFile(folder.filePath("run.BAK")), other);
    QCOMPARE(lmtest::ReadFile(folder.filePath("run.dta")), original);

    // Yes to both: the backup is the recording's own original now.
    dialogs_.questions.clear();
    dialogs_.errors.clear();
    dialogs_.answers = {true, true};
    w->BtnRun->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(dialogs_.questions.size(), 2);
    QVERIFY(dialogs_.errors.isEmpty());
    QCOMPARE(lmtest::ReadFile(folder.filePath("run.BAK")), original);
    QVERIFY(lmtest::ReadFile(folder.filePath("run.dta")) != original);
}

void TestBackupQuestion::storedDeleteTRComesBack()
{
    auto w = MakeWindow();
    FilterForm form = w->Form();
    form.filterName = "with TR";
    form.grids[0] = {{"Amplitude", "40", "60"}};
    form.expressions = {"A", "", "", ""};
    form.deleteTR = true;
    const int withTR = world_.store->Insert(form);
    form.filterName = "without TR";
    form.deleteTR = std::nullopt; // stored before the option was kept
    const int without = world_.store->Insert(form);

    w->CheckBoxTR->setChecked(false);
    w->LoadFilter(withTR);
    QVERIFY(w->CheckBoxTR->isChecked());
    QCOMPARE(w->Form().deleteTR, std::optional<bool>(true));
    w->CheckBoxTR->setChecked(false);
    w->LoadFilter(without);
    QVERIFY(!w->CheckBoxTR->isChecked()); // the user's choice stays
    w->CheckBoxTR->setChecked(true);
    w->LoadFilter(without);
    QVERIFY(w->CheckBoxTR->isChecked());
}

QTEST_MAIN(TestBackupQuestion)
#include "TMainFormBackupTest.moc"
