// The main window of the post-filter driven as a user would: controls, keys, command line,
// settings, a run on a generated file and the filter database in a temporary LMDATA.

#include "lmfwin/ui/TMainForm.h"

#include "WindowTestSupport.h"
#include "help/ui/THelpViewer.h"
#include "lmfwin/ui/TDataModule.h"
#include "lmfwin/ui/TFAbout.h"
#include "lmfwin/ui/TFFilterBase.h"
#include "lmfwin/ui/TFProtocolView.h"
#include "lmfwin/ui/TLookUpParamDlg.h"

#include <QDialogButtonBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <atomic>
#include <functional>

using namespace lmf;
using namespace lmf::test;

class TestMainForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void treatmentEnablingRules();
    void reportEnablingRules();
    void gridKeys();
    void gridKeysWhileEditingACell();
    void lookupOnlyFromParameterColumns();
    void commandLineAndDroppedFiles_data();
    void commandLineAndDroppedFiles();
    void dropTwoFilesChangesNothing();
    void clearKeepsNameAndOptions();
    void reportViewWithoutAndWithProtocol();
    void protocolViewerFindsDownwardsCaseSensitive();
    void settingsWrittenAndReread();
    void languageChoiceRecordedForNextStart();
    void closeAsksFirst();
    void fullRunShowsResult();
    void runKeepsWindowDisabledUntilCancelled();
    void runTakesTheCellBeingEdited();
    void insertOpenUpdateDelete();
    void aboutLogoAnimation();
    void fileAndFolderChoosers();
    void helpOpensTheManual();
    void exitFromTrayMenuEndsHiddenProgram();

private:
    std::unique_ptr<TMainForm> MakeWindow();

    FilterWorld world_;
    FakeDialogs dialogs_;
};

void TestMainForm::initTestCase()
{
    world_.Open();
}

void TestMainForm::init()
{
    FilterWorld::ClearSettings();
    dialogs_ = FakeDialogs();
}

void TestMainForm::cleanup()
{
    FilterWorld::ClearSettings();
}

std::unique_ptr<TMainForm> TestMainForm::MakeWindow()
{
    return world_.ShowWindow(dialogs_);
}

void TestMainForm::treatmentEnablingRules()
{
    auto w = MakeWindow();
    QVERIFY(!w->EditMPT->isEnabled() && !w->EditForward->isEnabled() && !w->BoxEvents->isEnabled());

    w->RadioGroupEventType->Button(2)->click(); // As Mechanic
    QVERIFY(w->BoxMechanic->isEnabled() && w->LabelForward->isEnabled() && w->EditBackWard->isEnabled());
    QVERIFY(!w->BoxEvents->isEnabled() && !w->EditMPT->isEnabled() && !w->LabelLOCK->isEnabled());
    w->EditForward->setText("250000");
    w->EditBackWard->setText("100");

    w->RadioGroupEventType->Button(1)->click(); // As Events empties the Mechanic fields
    QVERIFY(w->EditForward->text().isEmpty() && w->EditBackWard->text().isEmpty());
    QVERIFY(!w->BoxMechanic->isEnabled() && !w->EditForward->isEnabled());
    QVERIFY(w->BoxEvents->isEnabled() && w->LabelMPT->isEnabled() && w->EditLOCK->isEnabled());
    w->EditMPT->setText("5000");
    w->EditLOCK->setText("20000");

    w->RadioGroupEventType->Button(2)->click();
    QVERIFY(w->EditMPT->text().isEmpty() && w->EditLOCK->text().isEmpty());
    w->EditForward->setText("1");
    w->RadioGroupEventType->Button(0)->click(); // As Hits disables and empties all four
    QVERIFY(w->EditForward->text().isEmpty());
    for (QWidget* widget : std::initializer_list<QWidget*>{w->BoxEvents, w->BoxMechanic, w->EditMPT,
                                                           w->EditLOCK, w->EditForward, w->EditBackWard})
        QVERIFY(!widget->isEnabled());
    QVERIFY(!w->CheckBoxEOT->isEnabled());
}

void TestMainForm::reportEnablingRules()
{
    auto w = MakeWindow();
    auto folderControls = [&w] {
        return QList<bool>{w->EditPrtFileDir->isEnabled(), w->BtnPrtFileDir->isEnabled(),
                           w->LabelPrtFileDir->isEnabled()};
    };
    // Defaults: report on, one file per folder: the folder controls are off.
    QVERIFY(w->CheckBoxPrtEnable->isChecked() && w->RadioGroupPrt->isEnabled());
    QCOMPARE(folderControls(), (QList<bool>{false, false, false}));
    w->RadioGroupPrt->Button(1)->click();
    QCOMPARE(folderControls(), (QList<bool>{true, true, true}));
    w->CheckBoxPrtEnable->click();
    QVERIFY(!w->RadioGroupPrt->isEnabled());
    QCOMPARE(folderControls(), (QList<bool>{false, false, false}));
    w->CheckBoxPrtEnable->click();
    QCOMPARE(folderControls(), (QList<bool>{true, true, true}));
    w->RadioGroupPrt->Button(0)->click();
    QCOMPARE(folderControls(), (QList<bool>{false, false, false}));
}

void TestMainForm::gridKeys()
{
    auto w = MakeWindow();
    TFilterGrid* grid = w->Grids[1];
    grid->setFocus();

    // Ctrl+Delete on the single data row empties it and keeps the row.
    grid->SetCell(1, 0, "Amplitude");
    grid->SetCell(1, 1, "40");
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->DataRows(), 1);
    QCOMPARE(grid->Rows()[0], (QStringList{"", "", ""}));

    // Insert puts an empty row at the current row.
    grid->SetRows({{"r1", "1", "1"}, {"r2", "2", "2"}, {"r3", "3", "3"}});
    grid->setCurrentCell(1, 0);
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(grid->DataRows(), 4);
    QCOMPARE(grid->Cell(2, 0), QString());
    QCOMPARE(grid->Cell(3, 0), QString("r2"));
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier); // not with Shift
    QCOMPARE(grid->DataRows(), 4);

    // Shift+Up on row 3 exchanges rows 3 and 2; the focus stays on row 3.
    grid->SetRows({{"r1", "1", "1"}, {"r2", "2", "2"}, {"r3", "3", "3"}});
    grid->setCurrentCell(2, 1);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(grid->Cell(2, 0), QString("r3"));
    QCOMPARE(grid->Cell(3, 0), QString("r2"));
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(grid->currentColumn(), 1);
    // Shift+Down on the last row and Shift+Up on row 1 do nothing.
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(grid->Rows(), (GridRows{{"r1", "1", "1"}, {"r3", "3", "3"}, {"r2", "2", "2"}}));
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid->Cell(2, 0), QString("r1"));
    QCOMPARE(grid->currentRow(), 0);

    // Ctrl+Delete of the last of several rows makes the row above current.
    grid->setCurrentCell(2, 0);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->Rows(), (GridRows{{"r3", "3", "3"}, {"r1", "1", "1"}}));
    QCOMPARE(grid->currentRow(), 1);
}

void TestMainForm::gridKeysWhileEditingACell()
{
    // The row keys act on what the user sees: a cell being typed in counts as typed.
    auto w = MakeWindow();
    TFilterGrid* grid = w->Grids[0];
    auto typeInto = [grid](int row, int column, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        grid->SetCell(row + 1, column, grid->Cell(row + 1, column)); // a cell that has an item
        grid->editItem(grid->item(row, column));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && grid->viewport()->isAncestorOf(editor));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
    };
    auto keyOnEditor = [grid](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor ? editor : static_cast<QWidget*>(grid), key, modifiers);
        grid->setFocus(); // leaving a still open editor would write its text now
        QApplication::processEvents();
    };

    // Shift+Up moves the typed text with its row.
    grid->SetRows({{"r1", "1", "1"}, {"r2", "2", "2"}, {"r3", "3", "3"}});
    typeInto(2, 0, "Energy");
    keyOnEditor(Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(grid->Rows(), (GridRows{{"r1", "1", "1"}, {"Energy", "3", "3"}, {"r2", "2", "2"}}));

    // Ctrl+Delete deletes the row being edited rather than a word of the cell.
    grid->SetRows({{"r1", "1", "1"}, {"r2", "2", "2"}});
    typeInto(0, 1, "7");
    keyOnEditor(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->Rows(), (GridRows{{"r2", "2", "2"}}));

    // Insert keeps the typed text in the row that moves down.
    grid->SetRows({{"r1", "1", "1"}});
    typeInto(0, 2, "9");
    keyOnEditor(Qt::Key_Insert, Qt::NoModifier);
    QCOMPARE(grid->Rows(), (GridRows{{"", "", ""}, {"r1", "1", "9"}}));
}

void TestMainForm::lookupOnlyFromParameterColumns()
{
    auto w = MakeWindow();
    // Min column of grid A: nothing opens (no modal dialog is waiting to be answered).
    w->Grids[0]->setCurrentCell(0, 1);
    QTest::keyClick(w->Grids[0], Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(w->Grids[0]->Cell(1, 1), QString());

    // X-parameter column of grid D: the lookup opens; its choice is remembered.
    int choices = 0;
    QString queried;
    WhenModal<TLookUpParamDlg1>([&](TLookUpParamDlg1* lookup) {
        choices = int(lookup->SystemGroup->findChildren<QRadioButton*>().size());
        QCOMPARE(lookup->Choice(), 0);
        lookup->SetChoice(4); // A-Line 32D
        const auto found = lookup->ParamList->findItems("Amplitude", Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        lookup->ParamList->setCurrentItem(found.first());
        PressOk(lookup);
    });
    w->Grids[3]->setCurrentCell(0, 3);
    QTest::keyClick(w->Grids[3], Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(choices, 7);
    QCOMPARE(w->Grids[3]->Cell(1, 3), QString("Amplitude"));

    // Cancel leaves the cell; the dialog comes back with the remembered choice.
    WhenModal<TLookUpParamDlg1>([&](TLookUpParamDlg1* lookup) {
        QCOMPARE(lookup->Choice(), 4);
        lookup->reject();
    });
    w->Grids[3]->setCurrentCell(0, 0);
    QTest::keyClick(w->Grids[3], Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(w->Grids[3]->Cell(1, 0), QString());
    QCOMPARE(LookupSystemName(5), QString("Vallen System AMS"));
}

void TestMainForm::commandLineAndDroppedFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("message");
    QTest::newRow("none") << QStringList{} << QString() << 0;
    QTest::newRow("ald") << QStringList{"x.ald"} << QDir::current().absoluteFilePath("x.ald") << 0;
    QTest::newRow("upper case") << QStringList{"/data/T1.DTT"} << QString("/data/T1.DTT") << 0;
    QTest::newRow("txt") << QStringList{"x.txt"} << QString() << 1003;
    QTest::newRow("two") << QStringList{"a.ald", "b.ald"} << QString() << 1004;
}

void TestMainForm::commandLineAndDroppedFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, source);
    QFETCH(int, message);
    const QStringList texts{"The file type is not registered", "Too many parameters on the command line"};

    auto w = MakeWindow();
    w->ApplyCommandLine(arguments);
    QCOMPARE(w->EditSourceFile->text(), source);
    if (message == 0) {
        QVERIFY(dialogs_.shown.isEmpty());
    } else {
        QCOMPARE(dialogs_.shown.size(), 1);
        QCOMPARE(dialogs_.shown[0].caption, QString("Attention.."));
        QCOMPARE(dialogs_.shown[0].text, texts[message == 1003 ? 0 : 1]);
    }

    // A single dropped file is taken the same way.
    if (arguments.size() == 1) {
        auto dropped = MakeWindow();
        dialogs_.shown.clear();
        DropOn(dropped.get(), {QUrl::fromLocalFile(QDir::current().absoluteFilePath(arguments[0]))});
        QCOMPARE(dropped->EditSourceFile->text().isEmpty(), source.isEmpty());
        QCOMPARE(dialogs_.shown.size(), message == 0 ? 0 : 1);
    }
}

void TestMainForm::dropTwoFilesChangesNothing()
{
    auto w = MakeWindow();
    w->EditSourceFile->setText("keep.ald");
    DropOn(w.get(), {QUrl::fromLocalFile("/a/one.ald"), QUrl::fromLocalFile("/a/two.ald")});
    QCOMPARE(w->EditSourceFile->text(), QString("keep.ald"));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, QString("Drop ONE file!"));
    QCOMPARE(dialogs_.shown[0].caption, QString("Attention.."));
}

void TestMainForm::clearKeepsNameAndOptions()
{
    auto w = MakeWindow();
    QCOMPARE(w->GridExpressions->item(0, 0)->text(), QString("A"));
    QCOMPARE(w->Grids[0]->horizontalHeaderItem(0)->text(), QString("Parameter"));
    QVERIFY(w->Grids[0]->columnWidth(0) >= 70); // and never narrower than its title
    QCOMPARE(w->Grids[3]->horizontalHeaderItem(3)->text(), QString("Parameter X"));
    QCOMPARE(w->Grids[3]->columnWidth(2), 51);

    w->EditFilterName->setText("Noise");
    w->CheckBoxTDP->setChecked(true);
    w->BoxDep[2]->setChecked(true);
    for (TFilterGrid* grid : w->Grids)
        grid->SetRows({{"x", "1", "2", "", ""}, {"y", "3", "4", "", ""}});
    w->GridExpressions->item(0, 0)->setText("A&B");
    w->GridExpressions->setItem(2, 0, new QTableWidgetItem("C"));

    QTest::keyClick(w->Grids[0], Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    for (TFilterGrid* grid : w->Grids) {
        QCOMPARE(grid->DataRows(), 1);
        QVERIFY(grid->Rows()[0].join("").isEmpty());
    }
    for (int r = 0; r < 4; ++r)
        QVERIFY(!w->GridExpressions->item(r, 0) || w->GridExpressions->item(r, 0)->text().isEmpty());
    QCOMPARE(w->EditFilterName->text(), QString("Noise"));
    QVERIFY(w->CheckBoxTDP->isChecked() && w->BoxDep[2]->isChecked());
}

void TestMainForm::reportViewWithoutAndWithProtocol()
{
    QTemporaryDir folder;
    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    const QString protocol = QDir(folder.path()).filePath("Protocol.txt");

    w->ReportView();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Error.."));
    QCOMPARE(dialogs_.shown[0].text, "Report file '" + protocol + "' not found");

    // "Common report file" without a folder names no file.
    dialogs_.shown.clear();
    w->RadioGroupPrt->SetItemIndex(1);
    w->ReportView();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("error"));
    w->RadioGroupPrt->SetItemIndex(0);

    QFile file(protocol);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("09.12.2026\t\tNoise\nИсточник : \tx.ald\n").toLocal8Bit());
    file.close();
    dialogs_.shown.clear();
    w->ReportView();
    QVERIFY(dialogs_.shown.isEmpty());
    auto* viewer = w->findChild<TFProtocolView*>();
    QVERIFY(viewer);
    QVERIFY(viewer->Text->isReadOnly());
    QVERIFY(viewer->Text->toPlainText().contains(QString::fromUtf8("Источник")));
    QCOMPARE(viewer->StatusPath->text(), protocol);
    QCOMPARE(viewer->windowTitle(), QString("Report File View"));
    QVERIFY(!viewer->ActionPrint->isEnabled());

    // Saved as RTF (Cyrillic as \u escapes) and as text.
    QVERIFY(viewer->SaveAs(folder.filePath("copy.rtf")));
    QFile rtf(folder.filePath("copy.rtf"));
    QVERIFY(rtf.open(QIODevice::ReadOnly));
    const QByteArray rtfBytes = rtf.readAll();
    QVERIFY(rtfBytes.startsWith("{\\rtf1"));
    QVERIFY(rtfBytes.contains("\\u1048?")); // И
    QVERIFY(rtfBytes.contains("\\tab "));
    QVERIFY(viewer->SaveAs(folder.filePath("copy.txt")));
    QFile txt(folder.filePath("copy.txt"));
    QVERIFY(txt.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(txt.readAll()), viewer->Text->toPlainText());
}

void TestMainForm::protocolViewerFindsDownwardsCaseSensitive()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("Protocol.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("alpha Beta beta\nbeta end\n");
    file.close();
    TFProtocolView viewer(path, &dialogs_);
    viewer.show();

    QVERIFY(viewer.FindNext("beta")); // from the start: the lower-case one, not "Beta"
    QCOMPARE(viewer.Text->textCursor().selectionStart(), 11);
    QVERIFY(viewer.FindNext("beta")); // from the end of the selection
    QCOMPARE(viewer.Text->textCursor().selectionStart(), 16);
    QVERIFY(!viewer.FindNext("beta")); // no further match: the selection stays
    QCOMPARE(viewer.Text->textCursor().selectionStart(), 16);
    QVERIFY(!viewer.FindNext("ALPHA"));

    // F3 opens the find box; its button finds the next match.
    viewer.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&viewer));
    QTest::keyClick(viewer.Text, Qt::Key_F3);
    QVERIFY(viewer.FindBox && viewer.FindBox->isVisible());
    viewer.FindText->setText("end");
    viewer.FindBox->findChild<QPushButton*>()->click();
    QCOMPARE(viewer.Text->textCursor().selectedText(), QString("end"));
}

void TestMainForm::settingsWrittenAndReread()
{
    {
        auto w = MakeWindow();
        // Defaults on a first start.
        QVERIFY(w->CheckBoxSaveConfig->isChecked() && w->CheckBoxSaveFolder->isChecked());
        QVERIFY(w->CheckBoxPrtEnable->isChecked());
        QCOMPARE(w->RadioGroupPrt->ItemIndex(), 0);
        QCOMPARE(w->RGLanguage->ItemIndex(), 0);
        w->SetWorkFolder("/data/tests");
        w->RadioGroupPrt->SetItemIndex(1);
        w->EditPrtFileDir->setText("/data/reports");
        w->RGLanguage->SetItemIndex(1);
    }
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    QCOMPARE(settings.value("WorkFolder").toString(), QString("/data/tests"));
    QCOMPARE(settings.value("OneProtocolFile").toBool(), true);
    QCOMPARE(settings.value("ProtocolFolder").toString(), QString("/data/reports"));
    QCOMPARE(settings.value("Language").toBool(), true);
    settings.endGroup();

    dialogs_.shown.clear();
    {
        auto w = MakeWindow();
        QVERIFY(dialogs_.shown.isEmpty()); // reading the language shows no message
        QCOMPARE(w->WorkFolder(), QString("/data/tests"));
        QCOMPARE(w->LabelWorkFolder->text(), QString("/data/tests"));
        QCOMPARE(w->RadioGroupPrt->ItemIndex(), 1);
        QVERIFY(w->EditPrtFileDir->isEnabled());
        QCOMPARE(w->EditPrtFileDir->text(), QString("/data/reports"));
        QCOMPARE(w->RGLanguage->ItemIndex(), 1);
        w->CheckBoxSaveConfig->setChecked(false);
    }
    {
        // "Save configuration on exit" cleared: the next start shows the defaults.
        auto w = MakeWindow();
        QVERIFY(!w->CheckBoxSaveConfig->isChecked());
        QVERIFY(w->WorkFolder().isEmpty());
        QCOMPARE(w->RadioGroupPrt->ItemIndex(), 0);
        QVERIFY(w->EditPrtFileDir->text().isEmpty());
        QCOMPARE(w->RGLanguage->ItemIndex(), 0);
        QVERIFY(w->CheckBoxPrtEnable->isChecked());
    }
    {
        // Report off is kept without its folder options.
        auto w = MakeWindow();
        w->CheckBoxSaveConfig->setChecked(true);
        w->CheckBoxSaveFolder->setChecked(false);
        w->CheckBoxPrtEnable->setChecked(false);
    }
    auto w = MakeWindow();
    QVERIFY(!w->CheckBoxSaveFolder->isChecked());
    QVERIFY(w->WorkFolder().isEmpty());
    QVERIFY(!w->CheckBoxPrtEnable->isChecked());
    QVERIFY(!w->RadioGroupPrt->isEnabled());
}

void TestMainForm::languageChoiceRecordedForNextStart()
{
    auto w = MakeWindow();
    w->RGLanguage->Button(1)->click();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Summary.."));
    QCOMPARE(dialogs_.shown[0].text, QString("Program's language will be changed at the next launch"));
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    QCOMPARE(settings.value(QString(kSettingsGroup) + "/" + kLanguageOverrideKey).toString(), QString("RUS"));
    w->RGLanguage->Button(0)->click();
    settings.sync();
    QCOMPARE(settings.value(QString(kSettingsGroup) + "/" + kLanguageOverrideKey).toString(), QString("ENU"));
}

void TestMainForm::closeAsksFirst()
{
    auto w = MakeWindow();
    dialogs_.answer = false;
    QVERIFY(!w->close());
    QVERIFY(w->isVisible());
    QCOMPARE(dialogs_.shown.last().caption, QString("Exit.."));
    QCOMPARE(dialogs_.shown.last().text, QString("Quit the program?"));
    dialogs_.answer = true;
    QVERIFY(w->close());
    QVERIFY(!w->isVisible());
}

void TestMainForm::fullRunShowsResult()
{
    QTemporaryDir folder;
    lmtest::SampleFile(folder, "test.ald", {300, 4});

    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("test.ald");
    w->EditPostFile->setText("post.ald");
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    QSignalSpy finished(w.get(), &TMainForm::runFinished);
    QTest::keyClick(w.get(), Qt::Key_F9);
    QVERIFY(finished.wait(20000));

    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Summary.."));
    const QString result = dialogs_.shown[0].text;
    const QRegularExpression lines("^Results :  \t.+\nHandling\t +(\\d+) records\nAccepted\t +(\\d+) "
                                   "records\nDeleted\t +(\\d+) records\n$",
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = lines.match(result);
    QVERIFY2(match.hasMatch(), qPrintable(result));
    const int accepted = match.captured(2).toInt();
    QVERIFY(accepted > 0 && accepted < match.captured(1).toInt());
    QCOMPARE(match.captured(1).toInt() - accepted, match.captured(3).toInt());
    QCOMPARE(w->LastResult(), result);
    QVERIFY(QFileInfo(folder.filePath("post.ald")).size() > 0);
    QVERIFY(QFileInfo::exists(folder.filePath("Protocol.txt")));
    QCOMPARE(w->ProgressRun->value(), 0);
    QVERIFY(w->BtnRun->isEnabled() && !w->BtnCancel->isEnabled());

    // No destination: the question comes from the running engine; No cancels the run
    // and leaves the source as it was.
    const QByteArray sourceBytes = [&] {
        QFile f(folder.filePath("test.ald"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    dialogs_.shown.clear();
    dialogs_.answer = false;
    w->EditPostFile->clear();
    w->BtnRun->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(dialogs_.shown.size(), 2);
    QCOMPARE(dialogs_.shown[0].kind, QString("question"));
    QCOMPARE(dialogs_.shown[0].caption, QString("Attention.."));
    QCOMPARE(dialogs_.shown[1].text, QString("Filtration cancelled by the user"));
    QFile source(folder.filePath("test.ald"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), sourceBytes);
    QVERIFY(!QFileInfo::exists(folder.filePath("test.BAK")));
    dialogs_.answer = true;
    w->EditPostFile->setText("post.ald");

    // The run refuses to start from another page than "Filtration".
    dialogs_.shown.clear();
    w->PageControl->setCurrentWidget(w->PageService);
    w->BtnRun->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(dialogs_.shown.size(), 2); // replacing the post file of the first run was asked first
    QCOMPARE(dialogs_.shown[0].kind, QString("question"));
    QCOMPARE(dialogs_.shown[1].text, QString("To filter, choose\n the Filtration page"));
    w->PageControl->setCurrentWidget(w->PageFiltration);

    // A fault of the filter goes to the error box.
    dialogs_.shown.clear();
    w->Grids[0]->SetRows({{"Amplitude", "100", "60"}});
    w->EditPostFile->setText("post2.ald");
    w->BtnRun->click();
    QVERIFY(finished.wait(20000));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Error.."));
    QCOMPARE(dialogs_.shown[0].text, QString("Window A Record 1\nThe minimum is greater than the maximum"));
}

void TestMainForm::runKeepsWindowDisabledUntilCancelled()
{
    BlockingEngine engine;
    TMainForm w(&engine, world_.store.get(), &dialogs_);
    w.show();
    QSignalSpy finished(&w, &TMainForm::runFinished);
    w.BtnRun->click();
    QTRY_VERIFY(engine.started.load());
    QTRY_COMPARE(w.ProgressRun->value(), 5);
    QVERIFY(w.IsRunning());
    for (QWidget* widget : std::initializer_list<QWidget*>{w.EditSourceFile, w.BtnRun, w.PageControl,
                                                           w.BtnExit, w.GridExpressions, w.EditFilterName})
        QVERIFY(!widget->isEnabled());
    QVERIFY(w.BtnCancel->isEnabled());
    dialogs_.answer = false;
    QVERIFY(!w.close()); // closing in the middle of a run only with the user's word
    QVERIFY(w.IsRunning());
    w.BtnCancel->click();
    QVERIFY(finished.wait(5000));
    QVERIFY(!w.IsRunning());
    QVERIFY(w.BtnRun->isEnabled() && w.PageControl->isEnabled() && !w.BtnCancel->isEnabled());
    QCOMPARE(dialogs_.shown.last().caption, QString("Error.."));
    QCOMPARE(dialogs_.shown.last().text, QString("Filtration cancelled by the user"));
    QCOMPARE(w.ProgressRun->value(), 0);
}

void TestMainForm::runTakesTheCellBeingEdited()
{
    CapturingEngine engine;
    TMainForm w(&engine, world_.store.get(), &dialogs_);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.Grids[2]->SetRows({{"Energy", "1", "2"}});
    w.EditFilterName->setText("Typed");
    w.GridExpressions->setFocus();
    w.GridExpressions->setCurrentCell(0, 0);
    w.GridExpressions->editItem(w.GridExpressions->item(0, 0));
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && w.GridExpressions->viewport()->isAncestorOf(editor));
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "C");
    QSignalSpy finished(&w, &TMainForm::runFinished);
    QTest::keyClick(editor, Qt::Key_F9);
    QVERIFY(finished.wait(5000));
    QCOMPARE(engine.form.expressions[0], QString("C"));
    QCOMPARE(engine.form.grids[2], (GridRows{{"Energy", "1", "2"}}));
    QCOMPARE(engine.form.filterName, QString("Typed"));
    QCOMPARE(engine.form.activePageCaption, QString("Filtration"));
    QCOMPARE(dialogs_.shown.last().text, QString("done"));
}

void TestMainForm::insertOpenUpdateDelete()
{
    auto w = MakeWindow();
    QVERIFY(!w->BaseUpdate->isEnabled());

    // A filter that does not validate is not stored.
    w->Grids[0]->SetRows({{"Amplitude", "", "1"}});
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.last().caption, QString("Error.."));
    QVERIFY(!w->BaseUpdate->isEnabled());

    w->Grids[0]->Clear();
    w->EditFilterName->setText("Events 5ms");
    w->RadioGroupEventType->SetItemIndex(1);
    w->EditMPT->setText("5000");
    w->EditLOCK->setText("20000");
    w->RadioGroupType->SetItemIndex(1);
    w->CheckBoxTDP->setChecked(true);
    w->BoxDep[1]->setChecked(true);
    w->Grids[1]->SetRows({{"Amplitude", "40", "60"}, {"Energy", "1", "1000"}, {"Counts", "0", "0"}});
    w->Grids[3]->SetRows({{"Energy", ">=", "2", "Amplitude", "1"}});
    w->GridExpressions->item(0, 0)->setText("B|D");
    dialogs_.shown.clear();
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(dialogs_.shown[0].caption == QString("Summary.."), qPrintable(dialogs_.shown[0].text));
    QCOMPARE(dialogs_.shown[0].text, QString("The filter has been added to the database"));
    QVERIFY(w->BaseUpdate->isEnabled());
    const int fid = w->LoadedFilter();
    QVERIFY(fid > 0);

    // Open it into a fresh window through the chooser.
    auto other = MakeWindow();
    WhenModal<TFFilterBase>([fid](TFFilterBase* chooser) {
        QCOMPARE(chooser->windowTitle(), QString("Filter Database"));
        QCOMPARE(chooser->NavDelete->toolTip(), QString("Delete"));
        QCOMPARE(chooser->NavFirst->toolTip(), QString("First"));
        chooser->NavLast->click();
        QCOMPARE(chooser->CurrentFid(), fid);
        PressOk(chooser);
    });
    other->BaseLoad->click();
    QCOMPARE(other->LoadedFilter(), fid);
    QVERIFY(other->BaseUpdate->isEnabled());
    QCOMPARE(other->EditFilterName->text(), QString("Events 5ms"));
    QCOMPARE(other->RadioGroupEventType->ItemIndex(), 1);
    QCOMPARE(other->EditMPT->text(), QString("5000"));
    QCOMPARE(other->EditLOCK->text(), QString("20000"));
    QVERIFY(other->EditForward->text().isEmpty());
    QCOMPARE(other->RadioGroupType->ItemIndex(), 1);
    QVERIFY(other->CheckBoxTDP->isChecked() && other->BoxDep[1]->isChecked() &&
            !other->BoxDep[0]->isChecked());
    QCOMPARE(other->Grids[1]->DataRows(), 3);
    QCOMPARE(other->Grids[1]->Cell(2, 0), QString("Energy"));
    QCOMPARE(other->Grids[0]->DataRows(), 1);
    QCOMPARE(other->Grids[3]->Rows(), (GridRows{{"Energy", ">=", "2", "Amplitude", "1"}}));
    QCOMPARE(other->GridExpressions->item(0, 0)->text(), QString("B|D"));

    // Update from the second window; the first window's next Open sees it.
    other->EditFilterName->setText("Events changed");
    other->RadioGroupEventType->SetItemIndex(0);
    other->Grids[1]->SetRows({{"Amplitude", "45", "50"}});
    dialogs_.shown.clear();
    other->BaseUpdate->click();
    QCOMPARE(dialogs_.shown.last().text, QString("The filter has been overwritten"));
    w->LoadFilter(fid);
    QCOMPARE(w->EditFilterName->text(), QString("Events changed"));
    QVERIFY(w->EditMPT->text().isEmpty() && w->EditLOCK->text().isEmpty());
    QCOMPARE(w->Grids[1]->DataRows(), 1);
    QCOMPARE(w->Grids[1]->Rows()[0], (QStringList{"Amplitude", "45", "50"}));

    // Delete it in the chooser (after the confirmation); Update then finds no row.
    const int before = int(world_.store->List().size());
    WhenModal<TFFilterBase>([fid](TFFilterBase* chooser) {
        chooser->NavLast->click();
        QCOMPARE(chooser->CurrentFid(), fid);
        chooser->NavDelete->click();
        chooser->reject();
    });
    dialogs_.shown.clear();
    w->BaseLoad->click();
    QCOMPARE(dialogs_.shown.first().kind, QString("question"));
    QCOMPARE(int(world_.store->List().size()), before - 1);
    QVERIFY(!world_.store->Load(fid));
    dialogs_.shown.clear();
    w->BaseUpdate->click();
    // The message names the button as it is labelled.
    QCOMPARE(dialogs_.shown.last().text,
             QString("The filter's record has been deleted. Try the 'Insert' button."));
    QVERIFY(!world_.store->Load(fid));

    // Insert twice: two filters; Update then writes to the second.
    w->BaseAdd->click();
    const int first = w->LoadedFilter();
    w->BaseAdd->click();
    const int second = w->LoadedFilter();
    QVERIFY(first != second);
    w->EditFilterName->setText("Second only");
    w->BaseUpdate->click();
    QCOMPARE(world_.store->Load(second)->filterName, QString("Second only"));
    QCOMPARE(world_.store->Load(first)->filterName, QString("Events changed"));
}

void TestMainForm::aboutLogoAnimation()
{
    TFAbout about;
    about.show();
    QCOMPARE(about.windowTitle(), QString("About..."));
    QVERIFY(about.BuildLabel->text().startsWith("Build : "));
    QVERIFY(about.MemoryLabel->text().startsWith("Memory Used "));
    QVERIFY(about.MemoryLabel->text().endsWith("%"));
    const int first = about.Logo->Frame();
    QTRY_VERIFY_WITH_TIMEOUT(about.Logo->Frame() != first, 2000);
    QTest::mouseDClick(about.Logo, Qt::LeftButton);
    QVERIFY(!about.Logo->Animating());
    const int stopped = about.Logo->Frame();
    QTest::qWait(500);
    QCOMPARE(about.Logo->Frame(), stopped);
    QTest::mouseDClick(about.Logo, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(about.Logo->Frame() != stopped, 2000);
}

void TestMainForm::fileAndFolderChoosers()
{
    auto w = MakeWindow();
    const QStringList expected = {QStringLiteral("Spartan 3000 (*.dta, *.dtt) (*.dta *.dtt *.DTA *.DTT)"),
                                  QStringLiteral("DiSP and Samos (*.dta) (*.dta *.DTA)"),
                                  QStringLiteral("ALine32D (*.ald) (*.ald *.ALD)"),
                                  QStringLiteral("All files (*)"),
                                  QStringLiteral("AE Data Files (*.ald *.dta *.dtt *.ALD *.DTA *.DTT)")};
    QCOMPARE(DataFileFilters(), expected);
    dialogs_.fileAnswer = "/data/run1/T1.DTA";
    w->BtnSourceFile->click();
    QCOMPARE(w->EditSourceFile->text(), QString("/data/run1/T1.DTA"));
    QCOMPARE(w->WorkFolder(), QString("/data/run1"));
    QCOMPARE(w->LabelWorkFolder->text(), QString("/data/run1"));
    dialogs_.fileAnswer = "/data/out/T1.DTA";
    w->BtnPostFile->click();
    QCOMPARE(w->EditPostFile->text(), QString("/data/out/T1.DTA"));
    QCOMPARE(w->WorkFolder(), QString("/data/out"));
    dialogs_.fileAnswer.clear(); // cancelled: nothing changes
    w->BtnSourceFile->click();
    QCOMPARE(w->EditSourceFile->text(), QString("/data/run1/T1.DTA"));

    w->RadioGroupPrt->SetItemIndex(1);
    dialogs_.fileAnswer = "/data/reports";
    w->BtnPrtFileDir->click();
    QCOMPARE(w->EditPrtFileDir->text(), QString("/data/reports"));

    // Without a notification area the window cannot be hidden (it could not come back).
    QCOMPARE(w->BtnHide->isEnabled(), QSystemTrayIcon::isSystemTrayAvailable());
    w->BtnHide->click();
    QCOMPARE(w->isVisible(), !QSystemTrayIcon::isSystemTrayAvailable() ? true : false);
}

void TestMainForm::helpOpensTheManual()
{
    auto w = MakeWindow();
    w->HelpFolder = LM_MANUAL_DIR;
    w->BtnHelp->click();
    QVERIFY(dialogs_.shown.isEmpty());
    auto* viewer = w->findChild<lmhelp::THelpViewer*>();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->CurrentTopic(), QString("tessaline.md"));
    QVERIFY(viewer->Browser->toPlainText().startsWith("AE Tessaline"));
    // The short help text stays what the window's tooltips and messages use.
    QVERIFY(TMainForm::HelpText().contains("No precedence: left to right"));
    QCOMPARE(w->GridExpressions->toolTip(), ExpressionSyntax());
}

void TestMainForm::exitFromTrayMenuEndsHiddenProgram()
{
    // The window hidden to the notification area and "&Exit" chosen in the tray menu: after
    // Yes the program ends (and writes its settings) rather than running on unseen.
    std::unique_ptr<TMainForm> w = MakeWindow();
    w->SetWorkFolder("/data/hidden");
    w->hide();
    QTimer::singleShot(0, w.get(), [&w] { w->TrayExit->trigger(); });
    QTimer::singleShot(3000, qApp, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(dialogs_.shown.last().text, QString("Quit the program?"));
    w.reset();
    QCOMPARE(QSettings(kSettingsOrganization, kSettingsApplication).value("Tessaline/WorkFolder").toString(),
             QString("/data/hidden"));
}

QTEST_MAIN(TestMainForm)
#include "TMainFormTest.moc"
