// The dialogs and windows of the correlation program, each driven as a user would: fields,
// keys, buttons, and what they leave behind in the setup, the options, the database and
// on disk.

#include "WindowTestSupport.h"
#include "datafiles/ELMData.h"
#include "help/ui/THelpViewer.h"
#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/graphs/TLMPointGraph.h"
#include "lmqwin2/graphs/frames/FrameSession.h"
#include "lmqwin2/ui/DialogScreenshots.h"
#include "lmqwin2/ui/TDataBaseForm.h"
#include "lmqwin2/ui/TFAboutBox.h"
#include "lmqwin2/ui/TFDataInfo.h"
#include "lmqwin2/ui/TFDataStatistic.h"
#include "lmqwin2/ui/TFDataView.h"
#include "lmqwin2/ui/TFLastChanges.h"
#include "lmqwin2/ui/TFTestSetup.h"
#include "lmqwin2/ui/TImageCanvas.h"
#include "lmqwin2/ui/TOptionsForm.h"
#include "lmqwin2/ui/TSpinEdit.h"
#include "lmqwin2/ui/TTimeMarkForm.h"
#include "lmqwin2/ui/TZoomParamForm.h"
#include "testsupport/ShortHits.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <map>

using namespace lmq;
using namespace lmq::test;
using lmtest::FramedHit;

namespace {

class SilentProtocol final : public lm::FrameProtocolSink {
public:
    void Message(const std::string&) override {}
    void NewSelection(const lm::TFrameRect&) override {}
};

// Types a text into a grid cell through its editor, as the keyboard does.
void SetGridCell(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

QStringList GridRow(const THoldGrid* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << grid->Cell(row, c);
    return cells;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dialogs_ = FakeDialogs();
        dialogs_.frameChoice = lm::FrameLimitChoice::IgnoreNew;
    }

    void setupDialogShowsTheSetup();
    void setupRoundTripOfThreeHolds();
    void holdGridKeys();
    void setupSaveAsksAndNoWritesNothing();
    void setupBadNumberStopsTheApply();
    void optionsOkAppliesAndSaves();
    void optionsLastUsedGraphOnlyForStartupChoiceOne();
    void optionsBadConversionChangesNothing();
    void copyDialogDpiPreselectionAndOk();
    void zoomDialogRange();
    void dataViewListsTenThousandAndColoursEvents();
    void dataViewUnsortedMessage();
    void statisticsTabsEqualLmtoolStat();
    void statisticsWithoutFramesAreEmpty();
    void dataInformationAndItsError();
    void protocolAndReleaseNotesViewers();
    void databaseEditorAddsPageWithTwoGraphs();
    void databaseEditorMarksCellsOutsideTheGrid();
    void helpTopicsAndHotKeys();
    void aboutBox();
    void picturesOfEveryDialog();

private:
    FakeDialogs dialogs_;
};

// ---- test setup -------------------------------------------------------------------------

void TestDialogs::setupDialogShowsTheSetup()
{
    lm::ATestSetup setup;
    setup.FileName = "/tmp/a.ini";
    TFTestSetup dialog(setup, &dialogs_);
    QCOMPARE(dialog.windowTitle(), QString("Test setup - /tmp/a.ini"));
    // An empty hold list shows one new row.
    QCOMPARE(dialog.HoldGrid->rowCount(), 1);
    QCOMPARE(GridRow(dialog.HoldGrid, 0), QStringList({"", "", "", "600", "120"}));
    QCOMPARE(dialog.HoldGrid->horizontalHeaderItem(2)->text(), QString("Start, sec"));
    QCOMPARE(dialog.EditMPT->text(), QString("5000"));
    QCOMPARE(dialog.EditHstLastHits4->text(), QString("0.8"));
    QCOMPARE(dialog.EditLDExponent->text(), QString("4"));
    QVERIFY(!dialog.EditHstLastHits2->isEnabled());
    QVERIFY(!dialog.EditHstLimit4Copy->isEnabled());
    // The greyed copy follows MP_HstLimit4, and the spin buttons keep to their range.
    dialog.EditHstLimit4->SetText("29999");
    QCOMPARE(dialog.EditHstLimit4Copy->Text(), QString("29999"));
    dialog.EditHstLimit4->stepBy(5);
    QCOMPARE(dialog.EditHstLimit4->Text(), QString("30000"));
    dialog.EditTestTH->SetText("3");
    dialog.EditTestTH->stepBy(-10);
    QCOMPARE(dialog.EditTestTH->Text(), QString("0"));
}

void TestDialogs::setupRoundTripOfThreeHolds()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("three.ini");
    lm::ATestSetup current;
    {
        TFTestSetup dialog(current, &dialogs_);
        THoldGrid* grid = dialog.HoldGrid;
        grid->setRowCount(4);
        const QStringList rows[4] = {{"H1", "10", "3600", "600", "120"},
                                     {"skipped", "5", "", "600", "120"},
                                     {"H2", "12.5", "4800", "300", "60"},
                                     {"H3", "0.1", "6000", "900", "0"}};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                SetGridCell(grid, r, c, rows[r][c]);
        dialog.EditTestLabel->setText("Vessel 7");
        dialogs_.fileAnswer = folder.filePath("three"); // the extension is added
        QTest::mouseClick(dialog.BtnSaveAs, Qt::LeftButton);
        QCOMPARE(dialog.windowTitle(), "Test setup - " + path);
        // Save as does not make the chosen file the setup's own.
        QVERIFY(current.FileName.empty());
    }
    QCOMPARE(current.HoldCount(), 3);
    QCOMPARE(current.HoldSlots(), 3);

    lm::ATestSetup loaded;
    QVERIFY(loaded.LoadFromFile(path.toStdString()));
    QCOMPARE(loaded.TestLabel, std::string("Vessel 7"));
    QCOMPARE(loaded.HoldCount(), 3);
    QCOMPARE(loaded.Holds[0].label, std::string("H1"));
    QCOMPARE(loaded.Holds[1].label, std::string("H2"));
    QCOMPARE(loaded.Holds[1].pressure, 12.5f);
    QCOMPARE(loaded.Holds[2].start, 6000.0f);

    // Opened in the dialog, the file's holds fill the grid and the caption names it; the
    // current setup only changes when the dialog is applied.
    lm::ATestSetup other;
    TFTestSetup dialog(other, &dialogs_);
    dialogs_.fileAnswer = path;
    QTest::mouseClick(dialog.BtnOpen, Qt::LeftButton);
    QCOMPARE(dialog.windowTitle(), "Test setup - " + path);
    QCOMPARE(dialog.HoldGrid->rowCount(), 3);
    QCOMPARE(GridRow(dialog.HoldGrid, 1), QStringList({"H2", "12.5", "4800", "300", "60"}));
    QCOMPARE(other.HoldCount(), 0);
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(other.HoldCount(), 3);
    QCOMPARE(other.FileName, path.toStdString());

    // A file that is no setup file: the warning, nothing refilled.
    QFile junk(folder.filePath("junk.ini"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("[Other]\nA=1\n");
    junk.close();
    dialogs_.fileAnswer = junk.fileName();
    QTest::mouseClick(dialog.BtnOpen, Qt::LeftButton);
    QCOMPARE(dialogs_.shown.last().text, QString(lm::kMsgUnknownSetupFormat));
    QCOMPARE(dialog.windowTitle(), "Test setup - " + path);
}

void TestDialogs::holdGridKeys()
{
    lm::ATestSetup setup;
    setup.Holds = {{"A", 1, 10, 600, 120}, {"B", 2, 20, 600, 120}, {"C", 3, 30, 600, 120}};
    TFTestSetup dialog(setup, &dialogs_);
    THoldGrid* grid = dialog.HoldGrid;
    const auto labels = [grid] {
        QStringList l;
        for (int r = 0; r < grid->rowCount(); ++r)
            l << grid->Cell(r, 0);
        return l;
    };

    grid->setCurrentCell(1, 2);
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(labels(), QStringList({"A", "", "B", "C"}));
    QCOMPARE(GridRow(grid, 1), QStringList({"", "", "", "600", "120"}));
    QCOMPARE(grid->currentRow(), 1);
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier); // not the row key
    QCOMPARE(grid->rowCount(), 4);

    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(labels(), QStringList({"A", "B", "C"}));

    // Shift+Down swaps with the row below; the current row stays where it was.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(labels(), QStringList({"B", "A", "C"}));
    QCOMPARE(grid->currentRow(), 0);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier); // first row: nothing
    QCOMPARE(labels(), QStringList({"B", "A", "C"}));
    grid->setCurrentCell(2, 0);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(labels(), QStringList({"B", "C", "A"}));
    QCOMPARE(grid->currentRow(), 2);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier); // last row: nothing
    QCOMPARE(grid->rowCount(), 3);

    // Down on the last row appends a new row and moves to it.
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->currentRow(), 3);
    QCOMPARE(GridRow(grid, 3), QStringList({"", "", "", "600", "120"}));

    // Deleting the last row makes the row above current; the only row is emptied.
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->currentRow(), 2);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(GridRow(grid, 0), QStringList({"", "", "", "", ""}));

    // The keys also work while a cell is typed in, and the typed text stays in its row.
    grid->SetRows({{"X", "1", "2", "3", "4"}, {"Y", "1", "2", "3", "4"}});
    grid->setCurrentCell(0, 0);
    grid->editItem(grid->item(0, 0));
    QWidget* editor = grid->indexWidget(grid->currentIndex());
    QVERIFY(editor);
    QTest::keyClicks(editor, "Z");
    QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid->Cell(0, 0), QString("Y"));
    QCOMPARE(grid->Cell(1, 0), QString("Z"));
}

void TestDialogs::setupSaveAsksAndNoWritesNothing()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("own.ini");
    lm::ATestSetup current;
    current.FileName = path.toStdString();
    TFTestSetup dialog(current, &dialogs_);
    dialog.EditMPT->setText("7000");

    dialogs_.confirm = false;
    QTest::mouseClick(dialog.BtnSave, Qt::LeftButton);
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("confirm"));
    QCOMPARE(dialogs_.shown[0].caption, QString("Warning"));
    QCOMPARE(dialogs_.shown[0].text, "Test Setup file\n\"" + path + "\"\nwill be rewriten. Continue?");
    QVERIFY(!QFile::exists(path));
    QCOMPARE(current.MPT, 5000u);

    dialogs_.confirm = true;
    QTest::mouseClick(dialog.BtnSave, Qt::LeftButton);
    QVERIFY(QFile::exists(path));
    QCOMPARE(current.MPT, 7000u);

    // Without a file name Save asks for one, as Save as does.
    lm::ATestSetup unnamed;
    TFTestSetup second(unnamed, &dialogs_);
    dialogs_.shown.clear();
    dialogs_.fileAnswer = folder.filePath("new.ini");
    QTest::mouseClick(second.BtnSave, Qt::LeftButton);
    QVERIFY(dialogs_.shown.isEmpty());
    QVERIFY(QFile::exists(dialogs_.fileAnswer));
}

void TestDialogs::setupBadNumberStopsTheApply()
{
    lm::ATestSetup current;
    TFTestSetup dialog(current, &dialogs_);
    dialog.EditTestLabel->setText("changed");
    dialog.EditMPT->setText("12x");
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected)); // still open
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("error"));
    QVERIFY2(dialogs_.shown[0].text.contains("MPT, us") && dialogs_.shown[0].text.contains("'12x'"),
             qPrintable(dialogs_.shown[0].text));
    QCOMPARE(current.TestLabel, std::string("Default test"));

    // A hold cell that is no number names its row.
    dialog.EditMPT->setText("6000");
    SetGridCell(dialog.HoldGrid, 0, 2, "100");
    SetGridCell(dialog.HoldGrid, 0, 1, "ten");
    QVERIFY(!dialog.Apply());
    QVERIFY2(dialogs_.shown.last().text.contains("row 1"), qPrintable(dialogs_.shown.last().text));
    QCOMPARE(current.MPT, 5000u);
    SetGridCell(dialog.HoldGrid, 0, 1, "10");
    QVERIFY(dialog.Apply());
    QCOMPARE(current.MPT, 6000u);
    QCOMPARE(current.TestLabel, std::string("changed"));
    QCOMPARE(current.HoldCount(), 1);
}

// ---- options ----------------------------------------------------------------------------

void TestDialogs::optionsOkAppliesAndSaves()
{
    lm::AOptions options;
    lm::ATestSetup setup;
    MapStore store;
    TOptionsForm dialog(options, setup, store, &dialogs_);
    QCOMPARE(dialog.Tabs->tabText(0), QString("    View    "));
    QCOMPARE(dialog.Tabs->tabText(1), QString("    Data    "));
    QCOMPARE(dialog.ColorScheme->checkedId(), 3);
    QCOMPARE(dialog.StartupGraph->checkedId(), 2);
    QCOMPARE(dialog.SpinPointSize->maximum(), 10);
    QCOMPARE(dialog.SpinVertGraphNum->maximum(), 6);
    QCOMPARE(dialog.SpinHorizGraphNum->maximum(), 7);
    QCOMPARE(dialog.EditDivS->text(), QString("1"));

    dialog.Language->button(1)->setChecked(true);
    dialog.SpinPointSize->setValue(7);
    dialog.ColorScheme->button(1)->setChecked(true);
    dialog.EditDivR->setText("2,5");
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(options.ProgramLanguage, 1);
    QCOMPARE(options.PointSize, 7);
    QCOMPARE(options.HalfPointSize, 3);
    QCOMPARE(options.ColorScheme, 1);
    QCOMPARE(setup.DivisorReal, 2.5);
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, QString("Programm's language will be changed at the next launch"));
    QCOMPARE(store.values["LanguageOverride"], std::string("RUS"));
    QCOMPARE(store.values["ProgramLanguage"], std::string("1"));
    QCOMPARE(store.values["PointSize"], std::string("7"));
    QCOMPARE(store.values["ColorScheme"], std::string("1"));

    // Unchanged language: no message, no new record of it.
    dialogs_.shown.clear();
    store.values.erase("LanguageOverride");
    TOptionsForm again(options, setup, store, &dialogs_);
    QTest::mouseClick(again.BtnOk, Qt::LeftButton);
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(store.values.count("LanguageOverride"), size_t(0));
}

void TestDialogs::optionsLastUsedGraphOnlyForStartupChoiceOne()
{
    lm::AOptions options;
    options.LastUsedGraphNo = 4;
    lm::ATestSetup setup;
    for (int choice : {0, 2, 1}) {
        MapStore store;
        TOptionsForm dialog(options, setup, store, &dialogs_);
        dialog.StartupGraph->button(choice)->setChecked(true);
        QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
        QCOMPARE(store.values["StartUpGraph"], std::to_string(choice));
        QCOMPARE(store.values.count("LastUsedGraphNo"), size_t(choice == 1 ? 1 : 0));
    }
}

void TestDialogs::optionsBadConversionChangesNothing()
{
    lm::AOptions options;
    lm::ATestSetup setup;
    MapStore store;
    TOptionsForm dialog(options, setup, store, &dialogs_);
    dialog.SpinPointSize->setValue(9);
    dialog.EditDivS->setText("4");
    dialog.EditOffsetR->setText("x1");
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialogs_.shown.last().text.contains("OffsetR"));
    QCOMPARE(options.PointSize, 2);
    QCOMPARE(setup.DivisorSys, 1.0);
    QVERIFY(store.written.empty());
}

// ---- copy, zoom ---------------------------------------------------------------------------

void TestDialogs::copyDialogDpiPreselectionAndOk()
{
    lm::AOptions options;
    options.PrnDPI = 150;
    TTimeMarkForm dialog(options, "Amplitude vs Energy");
    QCOMPARE(dialog.windowTitle(), QString("Copy to Clipboard"));
    QCOMPARE(dialog.GraphName->text(), QString("Amplitude vs Energy"));
    QCOMPARE(dialog.Dpi->checkedId(), 200);
    QCOMPARE(dialog.Dpi->checkedButton()->text(), QString("200"));
    QCOMPARE(dialog.SpinWidth->minimum(), 30);
    QCOMPARE(dialog.SpinWidth->maximum(), 300);
    dialog.SpinWidth->setValue(120);
    dialog.SpinHeight->setValue(400); // beyond the range: 300
    dialog.Dpi->button(300)->setChecked(true);

    // Cancel stores nothing, OK stores all three.
    dialog.reject();
    QCOMPARE(options.PrnWidth, 100);
    QCOMPARE(options.PrnDPI, 150);
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(options.PrnWidth, 120);
    QCOMPARE(options.PrnHeight, 300);
    QCOMPARE(options.PrnDPI, 300);

    // The copy: PrnDPI 150 is offered as 200, and OK makes the picture 100 x 50 mm at 200 DPI
    // with 25 mm to the inch, black on white.
    lm::AOptions copyOptions;
    copyOptions.PrnDPI = 150;
    TTimeMarkForm copyDialog(copyOptions, "Amp");
    QTest::mouseClick(copyDialog.BtnOk, Qt::LeftButton);
    QCOMPARE(copyOptions.PrnDPI, 200);
    lm::LMDataSet data;
    data.Records = {FramedHit(1.0, 0)};
    lm::ATestSetup setup;
    lm::TCommonData common;
    common.Data = &data;
    common.Options = &copyOptions;
    common.Setup = &setup;
    lm::TLMPointGraph graph(common, 0);
    lm::GraphRecord record;
    record.name = "Amp";
    record.xAxisType = lm::hpTime;
    record.xMax = 10;
    record.yAxisType = lm::hpAmplitude;
    record.yMax = 100;
    graph.SetParams(record);
    const QImage picture = lm::RenderGraphPicture(graph, copyOptions);
    QCOMPARE(picture.size(), QSize(800, 400));
    QCOMPARE(picture.pixel(2, 2), qRgb(255, 255, 255));
    QCOMPARE(copyOptions.ColorScheme, 3); // restored after the copy
}

void TestDialogs::zoomDialogRange()
{
    lm::AOptions options;
    TZoomParamForm dialog(options, &dialogs_);
    QCOMPARE(dialog.windowTitle(), QString("Zoom.."));
    dialog.EditMin->setText("100");
    dialog.EditMax->setText("100");
    QTest::mouseClick(dialog.BtnOk, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Range(), (lm::ZoomRange{100, 101}));
    QVERIFY(options.TimeFilterOn);
    QCOMPARE(options.TimeFilterStart, 100.0);
    QCOMPARE(options.TimeFilterEnd, 101.0);

    lm::AOptions untouched;
    TZoomParamForm bad(untouched, &dialogs_);
    bad.EditMin->setText("1.5");
    QTest::mouseClick(bad.BtnOk, Qt::LeftButton);
    QCOMPARE(bad.result(), int(QDialog::Rejected));
    QVERIFY(dialogs_.shown.last().text.contains("Minimum time value"));
    QVERIFY(!untouched.TimeFilterOn);
}

// ---- data view ------------------------------------------------------------------------------

void TestDialogs::dataViewListsTenThousandAndColoursEvents()
{
    lm::LMDataSet data;
    for (int i = 0; i < 20000; ++i)
        data.Records.push_back(FramedHit(1 + i * 0.1, 1));
    lm::ATestSetup setup;
    lm::AOptions options;
    TFDataView view(data, setup, options, &dialogs_);
    QCOMPARE(view.windowTitle(), QString("Data view.."));
    QCOMPARE(view.List->count(), 10000);
    QVERIFY(view.Title->text().startsWith("   Num"));
    QCOMPARE(view.List->item(0)->foreground().color(), QColor(Qt::black));
    QVERIFY(!view.CheckEventView->isChecked());

    // Event view from the check box: an event with one hit inside MPT, shown as a shadow hit.
    lm::LMDataSet events;
    events.Records = {FramedHit(1.0, 1), FramedHit(1.002, 1, 2), FramedHit(2.0, 1)};
    TFDataView eventView(events, setup, options, &dialogs_);
    QCOMPARE(eventView.List->count(), 3);
    eventView.CheckEventView->setChecked(true);
    QCOMPARE(eventView.List->count(), 2);
    eventView.CheckShadow->setChecked(true);
    QCOMPARE(eventView.List->count(), 3);
    QCOMPARE(eventView.List->item(0)->foreground().color(), QColor(255, 0, 0));
    QCOMPARE(eventView.List->item(1)->foreground().color(), QColor(0, 0, 255));
    QCOMPARE(eventView.List->item(2)->foreground().color(), QColor(255, 0, 0));
    QVERIFY(eventView.Title->text().endsWith("dT"));
    QVERIFY(dialogs_.shown.isEmpty());

    // With event view on globally the box starts ticked.
    options.EventsView = true;
    TFDataView global(events, setup, options, &dialogs_);
    QVERIFY(global.CheckEventView->isChecked());
    QCOMPARE(global.List->count(), 2);
}

void TestDialogs::dataViewUnsortedMessage()
{
    lm::LMDataSet data;
    data.Records = {FramedHit(2.0, 1), FramedHit(1.0, 1)};
    lm::ATestSetup setup;
    lm::AOptions options;
    options.EventsView = true;
    TFDataView view(data, setup, options, &dialogs_);
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Error"));
    QCOMPARE(dialogs_.shown[0].text, QString("Data file doesn't sorted. Event View is impossible."));
    QCOMPARE(view.List->count(), 1);
}

// ---- statistics -----------------------------------------------------------------------------

void TestDialogs::statisticsTabsEqualLmtoolStat()
{
    QTemporaryDir folder;
    const QString file = lmtest::SampleFile(folder, "stat.ald", {2000, 4});

    lm::LMDataSet data;
    data.Load(file.toStdString());
    lm::TFrameArray frames;
    SilentProtocol protocol;
    lm::FrameSession session{data, frames, protocol, lm::TimeRangeFilter{}, false};
    lm::TFrameRect first;
    first.XParam = int32_t(lm::hpAmplitude);
    first.XMin = 40;
    first.XMax = 70;
    first.YParam = int32_t(lm::hpEnergy);
    first.YMin = 0;
    first.YMax = 65535;
    first.Channels.set();
    lm::TFrameRect second = first;
    second.XMin = 60;
    second.XMax = 100;
    lm::ReplaceFrames(session, first);
    lm::AddFrame(session, second);

    lm::ATestSetup setup;
    lm::AOptions options;
    TFDataStatistic window(data, frames.OccupiedMask(), setup, options, &dialogs_);
    QVERIFY(window.Built());
    QCOMPARE(window.windowTitle(), QString("Sets statistic.."));
    const QStringList tabs = {"Amplitude Distr.", "Statistic Distr.", "Local/Dynamic",
                              " Pressure holds",  "   MONPAC+   ",    "ZIP"};
    QCOMPARE(window.Tabs->count(), 6);
    for (int t = 0; t < 6; ++t)
        QCOMPARE(window.Tabs->tabText(t), tabs[t]);
    QCOMPARE(window.Tabs->currentIndex(), 0);

    QProcess lmtool;
    lmtool.start(qEnvironmentVariable("LMTOOL"),
                 {"stat", file, "--frame", "256:40:70:64:0:65535", "--frame", "256:60:100:64:0:65535"});
    QVERIFY(lmtool.waitForFinished(60000));
    QCOMPARE(lmtool.exitCode(), 0);
    const QString output = QString::fromUtf8(lmtool.readAllStandardOutput());
    const QStringList headings = {"== Amplitude Distr.\n", "== Statistic Distr.\n", "== MONPAC+\n",
                                  "== Local/Dynamic\n", "== Pressure holds\n"};
    const int tabOf[5] = {TFDataStatistic::AmplitudeTab, TFDataStatistic::StatisticTab,
                          TFDataStatistic::MonpacTab, TFDataStatistic::LocDynTab, TFDataStatistic::HoldsTab};
    for (int i = 0; i < 5; ++i) {
        const int from = output.indexOf(headings[i]) + int(headings[i].size());
        const int to = i + 1 < 5 ? output.indexOf(headings[i + 1]) : int(output.size());
        QVERIFY(from >= int(headings[i].size()) && to >= from);
        const QString expected = output.mid(from, to - from);
        QVERIFY2(!expected.isEmpty(), qPrintable(headings[i]));
        QCOMPARE(window.Texts[tabOf[i]]->toPlainText(), expected);
    }
    // Tab stops of 1000 twips (700 in the pressure holds table) at the screen's resolution.
    QCOMPARE(int(window.Texts[0]->tabStopDistance()), int(1000 * window.logicalDpiX() / 1440.0));
    QCOMPARE(int(window.Texts[TFDataStatistic::HoldsTab]->tabStopDistance()),
             int(700 * window.logicalDpiX() / 1440.0));
}

void TestDialogs::statisticsWithoutFramesAreEmpty()
{
    lm::LMDataSet data;
    data.Records = {FramedHit(1.0, 0), FramedHit(2.0, 0)};
    lm::ATestSetup setup;
    lm::AOptions options;
    TFDataStatistic window(data, 0, setup, options, &dialogs_);
    for (QPlainTextEdit* text : window.Texts)
        QVERIFY(text->toPlainText().isEmpty());
    QVERIFY(dialogs_.shown.isEmpty());

    // Event view over data out of time order: the warning, nothing printed.
    lm::LMDataSet unsorted;
    unsorted.Records = {FramedHit(2.0, 1), FramedHit(1.0, 1)};
    options.EventsView = true;
    TFDataStatistic failed(unsorted, 1, setup, options, &dialogs_);
    QVERIFY(!failed.Built());
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("warning"));
    QCOMPARE(dialogs_.shown[0].text, QString("Data file doesn't sorted (1.00 s). Event View is impossible."));
    for (QPlainTextEdit* text : failed.Texts)
        QVERIFY(text->toPlainText().isEmpty());
}

// ---- information, protocol, release notes --------------------------------------------------

void TestDialogs::dataInformationAndItsError()
{
    QTemporaryDir folder;
    const QString file = lmtest::SampleFile(folder, "info.ald", {10, 4});
    TFDataInfo info(file, &dialogs_);
    QCOMPARE(info.windowTitle(), QString("Data File Information"));
    QVERIFY2(info.Text->toPlainText().startsWith("File Name:\t" + file + "\n\nData type: "),
             qPrintable(info.Text->toPlainText()));
    QVERIFY(dialogs_.shown.isEmpty());

    TFDataInfo missing(folder.filePath("none.ald"), &dialogs_);
    QVERIFY(missing.Text->toPlainText().isEmpty());
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, QString("Data file doesn't exist"));
}

void TestDialogs::protocolAndReleaseNotesViewers()
{
    lm::AProtocol protocol([] { return std::string("01.02.2026 10:00:00"); });
    protocol.Add("LMQ launched");
    protocol.Add("Data loaded\tx.ald");
    TFLastChanges view;
    view.ShowProtocol(protocol);
    QCOMPARE(view.windowTitle(), QString("Protocol data view"));
    QCOMPARE(view.Text->toPlainText(),
             QString("01.02.2026 10:00:00\tLMQ launched\n01.02.2026 10:00:00\tData loaded\tx.ald"));

    QTemporaryDir folder;
    TFLastChanges notes;
    QVERIFY(!LoadReleaseNotes(notes, folder.path(), &dialogs_));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Error.."));
    QCOMPARE(dialogs_.shown[0].text, "Fail '" + folder.filePath("techinfo.md") + "' doesn't exist.");

    QVERIFY(LoadReleaseNotes(notes, QString(LM_SOURCE_DIR) + "/lmqwin2", &dialogs_));
    QCOMPARE(notes.windowTitle(), QString("Last changes"));
    QVERIFY(notes.Text->toPlainText().contains("AE Quorvel"));
    QVERIFY(notes.StatusPath->text().endsWith("techinfo.md"));
}

// ---- graph database editor ------------------------------------------------------------------

void TestDialogs::databaseEditorAddsPageWithTwoGraphs()
{
    QTemporaryDir folder;
    lm::LMDatabase db = lm::LMDatabase::Open(folder.filePath("LMData.sqlite").toStdString());
    lm::AGraphDatabase graphs(db);
    lm::AParamTable params(db);
    lm::AOptions options;
    const size_t systemsBefore = graphs.Systems().size();
    TDataBaseForm editor(graphs, params, options, &dialogs_);
    QCOMPARE(editor.windowTitle(), QString("Graph Data Base.."));
    QCOMPARE(editor.GridSystems->rowCount(), int(systemsBefore));
    QVERIFY(editor.ComboGraphType->count() >= 3);
    QVERIFY(editor.ComboXAxis->count() > 0);

    QTest::mouseClick(editor.BtnAddSystem, Qt::LeftButton);
    QCOMPARE(graphs.Systems().size(), systemsBefore + 1);
    const int64_t system = graphs.Systems().back().id;
    QCOMPARE(editor.GridSystems->currentRow(), int(systemsBefore));
    QTest::mouseClick(editor.BtnAddPage, Qt::LeftButton);
    // Renaming a page in its grid posts it at once.
    editor.GridPages->item(0, 0)->setText("Bursts");
    QTest::mouseClick(editor.BtnAddGraph, Qt::LeftButton);
    QTest::mouseClick(editor.BtnAddGraph, Qt::LeftButton);
    QCOMPARE(editor.GridGraphs->rowCount(), 2);
    // The second graph takes the next free cell.
    QCOMPARE(editor.GridGraphs->item(1, 0)->text(), QString("1"));
    QCOMPARE(editor.GridGraphs->item(1, 2)->text(), QString("2"));
    // The fields of the selected (second) graph.
    editor.EditTitle->setText("Energy");
    emit editor.EditTitle->editingFinished();
    editor.ComboYAxis->setCurrentIndex(editor.ComboYAxis->findData(64));
    emit editor.ComboYAxis->activated(editor.ComboYAxis->currentIndex());
    editor.SpinLeftX->setValue(1);
    editor.SpinRightX->setValue(3);

    const std::vector<lm::GraphPage> pages = graphs.Pages(system);
    QCOMPARE(pages.size(), size_t(1));
    QCOMPARE(pages[0].name, std::string("Bursts"));
    const std::vector<lm::GraphRecord> stored = graphs.Graphs(pages[0].id);
    QCOMPARE(stored.size(), size_t(2));
    QCOMPARE(stored[1].name, std::string("Energy"));
    QCOMPARE(stored[1].yAxisType, 64u);
    QCOMPARE(int(stored[1].lx), 1);
    QCOMPARE(int(stored[1].rx), 3);
    QCOMPARE(editor.GridGraphs->item(1, 4)->text(), QString("Energy"));

    QTest::mouseClick(editor.BtnOk, Qt::LeftButton);
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(editor.ChosenSystem(), std::optional<int64_t>(system));
    QCOMPARE(options.LastUsedGraphNo, int(system));

    // Deleting the page removes its graphs; Cancel keeps what was posted.
    TDataBaseForm again(graphs, params, options, &dialogs_);
    QCOMPARE(again.GridSystems->currentRow(), int(systemsBefore)); // the last used set
    QCOMPARE(again.GridGraphs->rowCount(), 2);
    QTest::mouseClick(again.BtnDeletePage, Qt::LeftButton);
    QCOMPARE(dialogs_.shown.last().kind, QString("confirm"));
    again.reject();
    QVERIFY(graphs.Pages(system).empty());
    QVERIFY(graphs.Graphs(pages[0].id).empty());
    QVERIFY(!again.ChosenSystem());
}

void TestDialogs::databaseEditorMarksCellsOutsideTheGrid()
{
    QTemporaryDir folder;
    lm::LMDatabase db = lm::LMDatabase::Open(folder.filePath("LMData.sqlite").toStdString());
    lm::AGraphDatabase graphs(db);
    lm::AParamTable params(db);
    lm::AOptions options; // 5 x 4 cells
    lm::GraphSystem s;
    s.name = "Check";
    const int64_t system = graphs.InsertSystem(s);
    lm::GraphPage p;
    p.systemId = system;
    p.name = "P";
    const int64_t page = graphs.InsertPage(p);
    lm::GraphRecord inside;
    inside.pageId = page;
    inside.name = "in";
    graphs.InsertGraph(inside);
    lm::GraphRecord outside = inside;
    outside.name = "out";
    outside.lx = 4;
    outside.rx = 6;
    graphs.InsertGraph(outside);
    options.LastUsedGraphNo = int(system);

    TDataBaseForm editor(graphs, params, options, &dialogs_);
    QCOMPARE(editor.GridGraphs->rowCount(), 2);
    QVERIFY(editor.GridGraphs->item(0, 2)->toolTip().isEmpty());
    QCOMPARE(editor.GridGraphs->item(1, 2)->foreground().color(), QColor(Qt::red));
    QVERIFY(editor.GridGraphs->item(1, 2)->toolTip().contains("page will end here"));
    // Moving it inside in the grid clears the mark; the value is posted.
    editor.GridGraphs->item(1, 2)->setText("5");
    QVERIFY(editor.GridGraphs->item(1, 2)->toolTip().isEmpty());
    QCOMPARE(int(graphs.Graphs(page)[1].rx), 5);
    // A cell that is no number is refused and shown as stored.
    editor.GridGraphs->item(1, 0)->setText("x");
    QCOMPARE(dialogs_.shown.last().kind, QString("error"));
    QCOMPARE(editor.GridGraphs->item(1, 0)->text(), QString("4"));
}

// ---- help, about ------------------------------------------------------------------------------

void TestDialogs::helpTopicsAndHotKeys()
{
    lmhelp::THelpViewer viewer(LM_MANUAL_DIR);
    const struct {
        const char* topic;
        const char* heading;
    } topics[] = {{lmhelp::kTopicSuite, "AE Lumeny"},
                  {lmhelp::kTopicQuorvel, "AE Quorvel"},
                  {lmhelp::kTopicQuickTour, "Quick tour"},
                  {lmhelp::kTopicHotKeys, "Hot keys"},
                  {lmhelp::kTopicTessaline, "AE Tessaline"}};
    for (const auto& t : topics) {
        QVERIFY2(viewer.ShowTopic(t.topic), t.topic);
        QCOMPARE(viewer.CurrentTopic(), QString(t.topic));
        QVERIFY2(viewer.Browser->toPlainText().startsWith(t.heading), t.topic);
    }
    // Every shortcut of the command table is on the hot keys page.
    viewer.ShowTopic(lmhelp::kTopicHotKeys);
    const QString keys = viewer.Browser->toPlainText();
    for (const char* key : {"Alt+F4",     "F5",         "Ctrl+F5",   "Ctrl+Alt+A", "F2",
                            "F3",         "Ctrl+F2",    "Ctrl+Left", "Ctrl+Right", "F9",
                            "Ctrl+T",     "F6",         "F7",        "F8",         "Ins",
                            "Ctrl+A",     "Ctrl+D",     "Ctrl+C",    "Del",        "Alt+Backspace",
                            "Ctrl+Alt+D", "Ctrl+Alt+S", "Ctrl+I",    "Ctrl+Alt+T", "F10",
                            "F1",         "Ctrl+F1"})
        QVERIFY2(keys.contains(QString(key) + "\t") || keys.contains(QString(key) + "\n") ||
                     keys.contains(QString(key) + " "),
                 key);
    // Links between topics work, and a missing topic says so.
    QVERIFY(!viewer.ShowTopic("nothing.md"));
    QVERIFY(viewer.Browser->toPlainText().contains("nothing.md"));
}

void TestDialogs::aboutBox()
{
    TFAboutBox about;
    QCOMPARE(about.windowTitle(), QString("About..."));
    QVERIFY(about.Title->text().contains("AE Quorvel"));
    QVERIFY(about.BuildLabel->text().startsWith("Build : "));
}

void TestDialogs::picturesOfEveryDialog()
{
    QTemporaryDir folder;
    // LM_DIALOG_PICTURES keeps the pictures for looking at them.
    const QString out = qEnvironmentVariableIsSet("LM_DIALOG_PICTURES")
                            ? qEnvironmentVariable("LM_DIALOG_PICTURES")
                            : folder.path();
    const QString file = lmtest::SampleFile(folder, "shots.ald", {3000, 6});
    lm::LMDataSet data;
    data.Load(file.toStdString());
    lm::TFrameArray frames;
    SilentProtocol sink;
    lm::FrameSession session{data, frames, sink, lm::TimeRangeFilter{}, false};
    lm::TFrameRect frame;
    frame.XParam = int32_t(lm::hpAmplitude);
    frame.XMin = 45;
    frame.XMax = 100;
    frame.YParam = int32_t(lm::hpEnergy);
    frame.YMax = 65535;
    frame.Channels.set();
    lm::ReplaceFrames(session, frame);
    frame.XMin = 60;
    lm::AddFrame(session, frame);
    lm::LMDatabase db = lm::LMDatabase::Open(folder.filePath("LMData.sqlite").toStdString());
    lm::AGraphDatabase graphs(db);
    lm::AParamTable params(db);
    lm::AProtocol protocol;
    protocol.Add("LMQ launched");
    protocol.Add(lm::protocol_text::DataLoaded(file.toStdString()));
    lm::ATestSetup setup;
    lm::AOptions options;

    DialogScreenshotState state;
    state.data = &data;
    state.occupiedSlots = frames.OccupiedMask();
    state.setup = &setup;
    state.options = &options;
    state.protocol = &protocol;
    state.graphs = &graphs;
    state.params = &params;
    state.programFolder = QString(LM_SOURCE_DIR) + "/lmqwin2";
    state.manualFolder = LM_MANUAL_DIR;
    state.dialogs = &dialogs_;
    const QStringList written = SaveDialogScreenshots(state, out + "/lmqwin2");
    QVERIFY2(dialogs_.shown.isEmpty(), dialogs_.shown.isEmpty() ? "" : qPrintable(dialogs_.shown[0].text));
    for (const char* name : {"statistics-amplitude", "statistics-parameters", "statistics-locdyn",
                             "statistics-holds", "statistics-monpac", "statistics-zip", "test-setup",
                             "options-view", "options-data", "graph-database", "copy", "zoom", "data-view",
                             "data-info", "protocol", "last-changes", "about", "help", "help-hot-keys"}) {
        const QString expected = out + "/lmqwin2-" + name + ".png";
        QVERIFY2(written.contains(expected), name);
        QVERIFY2(!QImage(expected).isNull(), name);
    }
}

QTEST_MAIN(TestDialogs)
#include "DialogsTest.moc"
