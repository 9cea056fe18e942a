// The main window of the correlation program driven as a user would: command line, keys,
// the channel panel, the set commands, time scrolling, loading in the background, the
// settings written at close and read at the next start, and the protocol file.

#include "lmqwin2/ui/TLmqMain.h"

#include "WindowTestSupport.h"
#include "help/ui/THelpViewer.h"
#include "lmqwin2/ui/DataLoader.h"
#include "lmqwin2/ui/TChannelPanel.h"
#include "lmqwin2/ui/TFAboutBox.h"
#include "lmqwin2/ui/TFrameFinishForm.h"
#include "lmqwin2/ui/TPageWidget.h"
#include "lmqwin2/ui/TSettingsStore.h"
#include "lmqwin2/ui/TTimeMarkForm.h"
#include "lmqwin2/ui/TZoomParamForm.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <map>

using namespace lmq;
using namespace lmq::test;

namespace {

QString Panel(TLmqMain& w, int i)
{
    return w.StatusPanels[i]->text();
}

// A frame of all hits whose amplitude lies in [from, to] (over the whole time axis), drawn
// with the window's channel selection.
lm::TFrameRect AmplitudeFrame(TLmqMain& w, double from, double to)
{
    lm::TFrameRect frame;
    frame.XParam = lm::hpAmplitude;
    frame.YParam = lm::hpTime;
    frame.XMin = from;
    frame.XMax = to;
    frame.YMin = 0;
    frame.YMax = 1e9;
    frame.Channels = w.Options.CheckedChan;
    return frame;
}

void AddFrame(TLmqMain& w, double from, double to)
{
    w.Frames().Add(AmplitudeFrame(w, from, to), w.Data(), w.TimeFilter(), w.Options.EventsView);
}

uint32_t HitsWhere(TLmqMain& w, const std::function<bool(const lm::LMShortHit&)>& test)
{
    uint32_t n = 0;
    for (const lm::LMShortHit& r : w.Data().Records)
        if (r.kind == lm::rkHit && test(r))
            ++n;
    return n;
}

// The view of graph `slot` on the page shown.
TGraphView* ViewOf(TLmqMain& w, int slot)
{
    TPageWidget* page = w.PageWidget(w.PageTabs->currentIndex());
    return page ? page->View(slot) : nullptr;
}

// A point inside the plot of a view's graph at fractions (fx, fy) of its width and height.
QPoint InPlot(TGraphView* view, double fx, double fy)
{
    const lm::PlotArea& p = view->Graph()->Plot;
    return QPoint(p.Left + int((p.Right - p.Left) * fx), p.Top + int((p.Bottom - p.Top) * fy));
}

void Drag(QWidget* view, QPoint from, QPoint to, Qt::KeyboardModifiers mods = {})
{
    QTest::mousePress(view, Qt::LeftButton, mods, from);
    QTest::mouseMove(view, (from + to) / 2);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, mods, to);
}

QString LastLine(TLmqMain& w)
{
    return QString::fromStdString(w.Protocol.Lines.back()).section('\t', 1);
}

} // namespace

class TestLmqMain : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void commandLineFileLoadsWhenShown();
    void commandLineWithoutDataFile_data();
    void commandLineWithoutDataFile();
    void startupTestSetupBesideTheProgram();
    void commandsCaptionsAndShortcuts();
    void channelSelectionChangesOnlyWithRefresh();
    void allTogglesEveryBox();
    void channelPanelLayout();
    void setCommandsUpdateCounters();
    void undeleteAskedFirst();
    void eventViewClearsFrames();
    void shadowHitsWithoutEventView();
    void timeScrollExamples_data();
    void timeScrollExamples();
    void timeScrollWithEmptyStackDoesNothing();
    void viewStateSurvivesRestart();
    void saveConfigOffWritesOnlySaveConfig();
    void viewStateInTheUsersSettings();
    void protocolLinesAndReportFile();
    void reportFileFallsBackToUserFolder();
    void reportFileErrorWhenNoFolderTakesIt();
    void failedLoadKeepsPreviousData();
    void cancelledLoadKeepsPreviousData();
    void windowProcessesEventsDuringLoad();
    void pagesFromTheGraphDatabase();
    void dragOnPointGraphDrawsFrame();
    void bandIsDrawnOverTheStoredImage();
    void ninthFrameAsksTheQuestion_data();
    void ninthFrameAsksTheQuestion();
    void zoomModeDragZoomsInTime();
    void altZoomOneGraphThenUnZoomAll();
    void cursorReadOut();
    void ctrlRightButtonCopiesGraph();
    void frameLimitQuestion();
    void dialogsPlacedOverTheWindow();
    void helpAndAboutOpenTheirWindows();
    void zoomDialogSetsTimeRangeOfAllGraphs();

private:
    std::unique_ptr<TLmqMain> MakeWindow(const QStringList& arguments = {});
    std::unique_ptr<TLmqMain> LoadedWindow();
    // The dialogs the commands opened (class names), answered by `answer` (OK by default).
    QStringList opened_;
    std::function<void(QDialog&)> answer_;

    QTemporaryDir dir_;
    QString sample_; // 20000 hits on 8 channels
    QString big_;    // 400000 hits
    MapStore store_;
    FakeDialogs dialogs_;
    QString programPath_;
    QString userFolder_;
};

void TestLmqMain::initTestCase()
{
    QVERIFY(dir_.isValid());
    qputenv("LMDATA", dir_.filePath("LMData.sqlite").toUtf8());
    sample_ = lmtest::SampleFile(dir_, "sample.dta", {20000, 8, 1});
    big_ = lmtest::SampleFile(dir_, "big.dta", {400000, 8, 2});
    // A program folder of its own with a start-up setup of every default.
    QDir(dir_.path()).mkpath("bin");
    programPath_ = dir_.filePath("bin/lmqwin2");
    QVERIFY(QFile::copy(QStringLiteral(LMQWIN2_BUILT) + ".INI", programPath_ + ".INI"));
    userFolder_ = dir_.filePath("userdata/AELumeny");
}

void TestLmqMain::init()
{
    opened_.clear();
    answer_ = nullptr;
    store_ = MapStore();
    dialogs_ = FakeDialogs();
}

std::unique_ptr<TLmqMain> TestLmqMain::MakeWindow(const QStringList& arguments)
{
    QuorvelEnvironment env;
    env.settings = &store_;
    env.dialogs = &dialogs_;
    env.programPath = programPath_;
    env.arguments = arguments;
    env.userDataFolder = userFolder_;
    env.manualFolder = LM_MANUAL_DIR;
    auto w = std::make_unique<TLmqMain>(env);
    // No command waits on a modal dialog here.
    w->AnswerDialog = [this](QDialog& dialog) {
        opened_ << dialog.metaObject()->className();
        if (answer_)
            answer_(dialog);
        else
            dialog.accept();
    };
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("window not exposed");
    return w;
}

std::unique_ptr<TLmqMain> TestLmqMain::LoadedWindow()
{
    auto w = MakeWindow({sample_});
    w->WaitForLoad();
    return w;
}

void TestLmqMain::commandLineFileLoadsWhenShown()
{
    auto w = MakeWindow({sample_});
    QTRY_VERIFY(!w->Loading());
    QCOMPARE(w->windowTitle(), "AE Quorvel - " + sample_);
    QCOMPARE(Panel(*w, 1), QString("HITS:20000    "));
    QCOMPARE(Panel(*w, 2), QString("EVNT: - "));
    QCOMPARE(Panel(*w, 3), QString("FRMD:0        "));
    QCOMPARE(Panel(*w, 4), QString("GRPD:0        "));
    QCOMPARE(Panel(*w, 5), QString("DLTD:0        "));
    QVERIFY(dialogs_.shown.isEmpty());
    QCOMPARE(QString::fromStdString(w->Protocol.Lines.back()).section('\t', 1), "Data loaded\t" + sample_);
}

void TestLmqMain::commandLineWithoutDataFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("text file") << QStringList{dir_.filePath("notes.txt")};
    QTest::newRow("two files") << QStringList{sample_, sample_};
    QTest::newRow("none") << QStringList{};
}

void TestLmqMain::commandLineWithoutDataFile()
{
    QFETCH(QStringList, arguments);
    auto w = MakeWindow(arguments);
    QVERIFY(!w->Loading());
    QCOMPARE(w->windowTitle(), QString("AE Quorvel"));
    QVERIFY(!w->Data().IsLoaded());
    // The status bar shows its first texts until something refreshes it.
    const QStringList first = {"", "HITS:", "EVNT:", "FRM:", "GRPD:", "DEL: ", ""};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(Panel(*w, i), first[i]);
    QCOMPARE(w->StatusPanels[0]->minimumWidth(), 200);
    QCOMPARE(w->StatusPanels[1]->minimumWidth(), 75);
    QCOMPARE(w->StatusPanels[6]->minimumWidth(), 50);
    QCOMPARE(w->Protocol.Lines.size(), size_t(1));
    QCOMPARE(QString::fromStdString(w->Protocol.Lines[0]).section('\t', 1), QString("LMQ launched"));
}

void TestLmqMain::startupTestSetupBesideTheProgram()
{
    // The default setup placed beside the built program carries the marker and every default.
    {
        auto w = MakeWindow();
        QVERIFY(dialogs_.shown.isEmpty());
        lm::ATestSetup defaults;
        QCOMPARE(QString::fromStdString(w->TestSetupData.FileName), programPath_ + ".INI");
        QCOMPARE(w->TestSetupData.TestLabel, defaults.TestLabel);
        QCOMPARE(w->TestSetupData.MPT, defaults.MPT);
        QCOMPARE(w->TestSetupData.Lockout, defaults.Lockout);
        QCOMPARE(w->TestSetupData.MP_HstLastHits4, defaults.MP_HstLastHits4);
        QCOMPARE(w->TestSetupData.LDExponent, defaults.LDExponent);
        QVERIFY(w->TestSetupData.Holds.empty());
    }
    // A file without the marker, or none at all, gives the warning and keeps the defaults.
    const QString saved = programPath_;
    for (const QByteArray& content : {QByteArray("[Test]\nTestLabel=Other\n"), QByteArray()}) {
        QDir(dir_.path()).mkpath("other");
        programPath_ = dir_.filePath("other/lmqwin2");
        QFile::remove(programPath_ + ".INI");
        if (!content.isEmpty()) {
            QFile file(programPath_ + ".INI");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        dialogs_.shown.clear();
        auto w = MakeWindow();
        QCOMPARE(dialogs_.shown.size(), 1);
        QCOMPARE(dialogs_.shown[0].caption, QString("Warning"));
        QCOMPARE(dialogs_.shown[0].text, QString("Test Setup - unknown format of INI file"));
        QCOMPARE(w->TestSetupData.TestLabel, std::string("Default test"));
    }
    programPath_ = saved;
}

void TestLmqMain::commandsCaptionsAndShortcuts()
{
    auto w = MakeWindow();
    struct Row {
        QAction* action;
        const char* text;
        const char* key;
    };
    const Row rows[] = {
        {w->OpenAction, "Open data file..", ""},
        {w->SaveAsAction, "Save data as..", ""},
        {w->ExitAction, "Exit", "Alt+F4"},
        {w->RefreshAction, "Refresh", "F5"},
        {w->RefreshtoStart1, "Refresh to start", "Ctrl+F5"},
        {w->AllShowAction, "Show all channels", "Ctrl+Alt+A"},
        {w->ZoomAction, "Zoom", "F2"},
        {w->UnZoomAction, "UnZoom", "F3"},
        {w->ZoomAtAction, "Zoom..", "Ctrl+F2"},
        {w->TimeScrollLeft, "Scroll Left", "Ctrl+Left"},
        {w->TimeScrollRight, "Scroll Right", "Ctrl+Right"},
        {w->EventView, "Event view", "F9"},
        {w->EventShadow, "Show Shadow hits", ""},
        {w->ShowDeleted, "Show deleted", ""},
        {w->ShowTimeMark, "Show time marks", "Ctrl+T"},
        {w->DataDependences, "Data dependences", "F6"},
        {w->ColoredChannels, "Colored channels", "F7"},
        {w->ColoredQuantaty, "Colored Amount", "F8"},
        {w->Frames2JointOR, "Add to grouped with OR", "Ins"},
        {w->Frames2JointAND, "Add to grouped with AND", "Ctrl+A"},
        {w->FramesDelete, "Delete all frames", "Ctrl+D"},
        {w->JointClear, "Clear grouped data", "Ctrl+C"},
        {w->InvertJoin, "Invert grouped data", ""},
        {w->JointDeleteData, "Delete grouped data", "Del"},
        {w->UndeleteData, "Undelete data", "Alt+Backspace"},
        {w->InvertDeleted, "Invert deleted data", ""},
        {w->ShowData, "Show framed data", "Ctrl+Alt+D"},
        {w->ShowStatistic, "Show sets statistic", "Ctrl+Alt+S"},
        {w->DataInfo, "Data file information..", "Ctrl+I"},
        {w->TestSetup, "Test setup", "Ctrl+Alt+T"},
        {w->TestSetupMenuItem, "Test setup..", "F10"},
        {w->Setup1, "&Options..", ""},
        {w->DataBase1, "Graph data &base..", ""},
        {w->ProtocolView1, "Protocol view...", ""},
        {w->PanelViewItem, "View toolbar", ""},
        {w->ChannelsPanelItem, "Channels panel", ""},
        {w->AAELumeny, "AE Lumeny help", ""},
        {w->AQuorvel, "AE Quorvel", "F1"},
        {w->AQuickTour, "Quick tour", ""},
        {w->AHelpHotKeys, "Hot keys", "Ctrl+F1"},
        {w->AShowChanges, "Last changes", ""},
        {w->About1, "About..", ""},
    };
    for (const Row& row : rows) {
        QCOMPARE(row.action->text(), QString(row.text));
        QCOMPARE(row.action->shortcut().toString(QKeySequence::PortableText), QString(row.key));
    }
    QCOMPARE(w->OpenAction->iconText(), QString("Open Data File"));
    QCOMPARE(w->AllShowAction->iconText(), QString("All"));
    QCOMPARE(w->ShowTimeMark->iconText(), QString("ShowTimeMark"));
    // "Colored Amount" cannot be reached by its key.
    QVERIFY(!w->ColoredQuantaty->isEnabled() && !w->ColoredQuantaty->isVisible());
    // The menus and the tool bar in their order.
    QStringList menus;
    for (QMenu* m : {w->FileMenu, w->ViewMenu, w->DataMenu, w->SetsMenu, w->SetupMenu, w->HelpMenu})
        menus << m->title();
    QCOMPARE(menus, (QStringList{"&File", "&View", "&Data", "&Sets", "Se&tup", "&Help"}));
    QStringList tools;
    for (QAction* a : w->ToolBar->actions())
        if (!a->isSeparator() && a->isVisible())
            tools << a->iconText();
    QCOMPARE(tools, (QStringList{"Open Data File", "Save data as..", "Data dependences", "Colored channels",
                                 "Delete grouped data", "Undelete data", "Zoom", "UnZoom", "Scroll Left",
                                 "Scroll Right", "ShowTimeMark", "Event view", "Show Shadow hits"}));
    for (QAction* toggle : {w->ZoomAction, w->ShowTimeMark, w->EventView, w->EventShadow})
        QVERIFY(toggle->isCheckable());

    // F2 flips the button and the menu item together; the frame mode follows.
    QVERIFY(w->FrameMode());
    QTest::keyClick(w.get(), Qt::Key_F2);
    QVERIFY(w->ZoomAction->isChecked() && !w->FrameMode());
    QTest::keyClick(w.get(), Qt::Key_F2);
    QVERIFY(w->FrameMode());
    // F8 is dead; F6 and F7 switch the colour mode.
    QCOMPARE(w->Options.ViewType, 1);
    QTest::keyClick(w.get(), Qt::Key_F8);
    QCOMPARE(w->Options.ViewType, 1);
    QTest::keyClick(w.get(), Qt::Key_F6);
    QCOMPARE(w->Options.ViewType, 2);
    QTest::keyClick(w.get(), Qt::Key_F7);
    QCOMPARE(w->Options.ViewType, 0);
    QVERIFY(w->ColoredChannels->isChecked() && !w->DataDependences->isChecked());
}

void TestLmqMain::channelSelectionChangesOnlyWithRefresh()
{
    auto w = LoadedWindow();
    QVERIFY(w->Options.CheckedChan.all());
    const QImage& image = w->PageWidget(0)->Surface.GraphImage(0);
    const qint64 key = image.cacheKey();
    w->ChannelPanel->Box(5)->click();
    QCoreApplication::processEvents();
    QVERIFY(!w->ChannelPanel->Box(5)->isChecked());
    QVERIFY(w->Options.CheckedChan.test(4));
    QCOMPARE(w->PageWidget(0)->Surface.GraphImage(0).cacheKey(), key); // not drawn again
    QTest::keyClick(w.get(), Qt::Key_F5);
    QVERIFY(!w->Options.CheckedChan.test(4));
    QVERIFY(w->PageWidget(0)->Surface.GraphImage(0).cacheKey() != key);
    QCOMPARE(w->Options.CheckedChan.count(), size_t(127));
    // The panel's button does the same.
    w->ChannelPanel->Box(5)->click();
    w->ChannelPanel->RefreshButton->click();
    QVERIFY(w->Options.CheckedChan.all());
}

void TestLmqMain::allTogglesEveryBox()
{
    auto w = MakeWindow();
    w->ChannelPanel->AllButton->click();
    QCOMPARE(w->ChannelPanel->Checked().count(), size_t(0));
    QVERIFY(w->Options.CheckedChan.all()); // until Refresh
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(w->ChannelPanel->Checked().all());
    w->ChannelPanel->AllButton->click();
    QCOMPARE(w->ChannelPanel->Checked().count(), size_t(0));
}

void TestLmqMain::channelPanelLayout()
{
    // Two columns 60 apart; 1-32 and 65-96 left, 33-64 and 97-128 right; rows 14 apart,
    // 8 more after every eight.
    const QPoint one = TChannelPanel::CellOrigin(1);
    QCOMPARE(TChannelPanel::CellOrigin(2) - one, QPoint(0, 14));
    QCOMPARE(TChannelPanel::CellOrigin(9) - one, QPoint(0, 8 * 14 + 8));
    QCOMPARE(TChannelPanel::CellOrigin(33) - one, QPoint(60, 0));
    QCOMPARE(TChannelPanel::CellOrigin(65) - one, QPoint(0, 32 * 14 + 4 * 8));
    QCOMPARE(TChannelPanel::CellOrigin(97) - one, QPoint(60, 32 * 14 + 4 * 8));
    QCOMPARE(TChannelPanel::CellOrigin(128) - one, QPoint(60, 63 * 14 + 7 * 8));
    // Each box carries its channel index and caption; the stored selection checks them.
    store_.values["CheckedChan"] = std::string(127, '1') + "0"; // channel 1 off
    auto w = MakeWindow();
    QCOMPARE(w->ChannelPanel->Box(77)->text(), QString("77"));
    QCOMPARE(w->ChannelPanel->Box(77)->property("channelIndex").toInt(), 76);
    QVERIFY(!w->ChannelPanel->Box(1)->isChecked());
    QVERIFY(w->ChannelPanel->Box(2)->isChecked() && w->ChannelPanel->Box(128)->isChecked());
    // The square beside a box is the channel's colour, outlined in grey.
    const QImage panel = w->ChannelPanel->grab().toImage();
    const QPoint at = TChannelPanel::CellOrigin(3);
    const lm::RGB colour = lm::ChannelColor(3);
    QCOMPARE(panel.pixelColor(at + QPoint(6, 6)), QColor(colour.r, colour.g, colour.b));
    QCOMPARE(panel.pixelColor(at), QColor(0x80, 0x80, 0x80));
    QCOMPARE(panel.pixelColor(at + QPoint(12, 12)), QColor(0x80, 0x80, 0x80));
}

void TestLmqMain::setCommandsUpdateCounters()
{
    auto w = LoadedWindow();
    auto amplitude = [](const lm::LMShortHit& r) { return double(r.amplitude); };
    AddFrame(*w, 40, 60);
    AddFrame(*w, 50, 70);
    const uint32_t inBoth = HitsWhere(*w, [&](auto& r) { return amplitude(r) >= 50 && amplitude(r) <= 60; });
    const uint32_t inAny = HitsWhere(*w, [&](auto& r) { return amplitude(r) >= 40 && amplitude(r) <= 70; });
    QVERIFY(inBoth > 0 && inAny > inBoth);
    w->RefreshStatus();
    QCOMPARE(Panel(*w, 3), QString::asprintf("FRMD:%-9u", inAny));

    // Ctrl+A: AND of the two frames; the frames are gone afterwards.
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(Panel(*w, 4), QString::asprintf("GRPD:%-9u", inBoth));
    QCOMPARE(Panel(*w, 3), QString("FRMD:0        "));
    QVERIFY(!w->Frames().Any());
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back())
                .endsWith(QString::asprintf("Existing selections (%u) grouped by AND...", inBoth)));
    // Ctrl+A without a frame does nothing at all.
    const size_t lines = w->Protocol.Lines.size();
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w->Protocol.Lines.size(), lines);

    // Ins: OR of two frames adds the hits of either to the grouped set.
    AddFrame(*w, 40, 60);
    AddFrame(*w, 50, 70);
    QTest::keyClick(w.get(), Qt::Key_Insert);
    QCOMPARE(Panel(*w, 4), QString::asprintf("GRPD:%-9u", inAny));

    // Del: the grouped hits become deleted ones.
    QTest::keyClick(w.get(), Qt::Key_Delete);
    QCOMPARE(Panel(*w, 4), QString("GRPD:0        "));
    QCOMPARE(Panel(*w, 5), QString::asprintf("DLTD:%-9u", inAny));
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back())
                .endsWith(QString::asprintf("Grouped data (%u) deleted...", inAny)));

    // Alt+Backspace, confirmed: everything is back.
    AddFrame(*w, 0, 255);
    QTest::keyClick(w.get(), Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(Panel(*w, 5), QString("DLTD:0        "));
    QCOMPARE(Panel(*w, 3), QString("FRMD:0        "));
    QVERIFY(!w->Frames().Any());
    QCOMPARE(dialogs_.shown.back().text, QString("Deleted data will be undeleted.\nConfirm please"));
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back()).endsWith("Deleted data undeleted..."));

    // Ctrl+D deletes the frames and the frame bits; Ctrl+C clears the grouped set.
    AddFrame(*w, 0, 255);
    QTest::keyClick(w.get(), Qt::Key_D, Qt::ControlModifier);
    QVERIFY(!w->Frames().Any());
    QCOMPARE(Panel(*w, 3), QString("FRMD:0        "));
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back()).endsWith("Existing selections cleaned..."));
    AddFrame(*w, 40, 60);
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(w->Data().GroupedCount > 0);
    QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(Panel(*w, 4), QString("GRPD:0        "));
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back()).endsWith("Grouped data cleaned..."));

    // The two inversions from the menu.
    w->InvertDeleted->trigger();
    QCOMPARE(Panel(*w, 5), QString::asprintf("DLTD:%-9u", w->Data().HitCount));
    w->InvertJoin->trigger();
    QCOMPARE(Panel(*w, 4), QString("GRPD:0        "));
    QVERIFY(QString::fromStdString(w->Protocol.Lines.back())
                .endsWith(QString::asprintf("Grouped data (%u) inverted...", w->Data().HitCount)));
}

void TestLmqMain::undeleteAskedFirst()
{
    auto w = LoadedWindow();
    AddFrame(*w, 0, 255);
    QTest::keyClick(w.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w.get(), Qt::Key_Delete);
    const uint32_t deleted = w->Data().DeletedCount;
    QVERIFY(deleted > 0);
    AddFrame(*w, 0, 255);
    const size_t lines = w->Protocol.Lines.size();
    dialogs_.confirm = false;
    QTest::keyClick(w.get(), Qt::Key_Backspace, Qt::AltModifier);
    // No: the frames are gone anyway, nothing else changes and no line is written.
    QVERIFY(!w->Frames().Any());
    QCOMPARE(w->Data().DeletedCount, deleted);
    QCOMPARE(w->Protocol.Lines.size(), lines);
}

void TestLmqMain::eventViewClearsFrames()
{
    auto w = LoadedWindow();
    AddFrame(*w, 0, 255);
    QVERIFY(w->Data().FramedCount > 0);
    QTest::keyClick(w.get(), Qt::Key_F9);
    QVERIFY(w->Options.EventsView && w->EventView->isChecked());
    QVERIFY(!w->Frames().Any());
    QCOMPARE(w->Data().FramedCount, 0u);
    QCOMPARE(HitsWhere(*w, [](auto& r) { return r.FrameBits != 0; }), 0u);
    // The events were counted by the drawing of the page shown.
    QVERIFY(w->Data().EventCount > 0 && w->Data().EventCount < w->Data().HitCount);
    QCOMPARE(Panel(*w, 2), QString::asprintf("EVNT:%-9u", w->Data().EventCount));
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(Panel(*w, 2), QString("EVNT: - "));
}

void TestLmqMain::shadowHitsWithoutEventView()
{
    auto w = LoadedWindow();
    w->EventShadow->trigger();
    QVERIFY(w->Options.SecondAsShadow && w->EventShadow->isChecked());
    w->EventShadow->trigger();
    QVERIFY(!w->Options.SecondAsShadow);
}

void TestLmqMain::timeScrollExamples_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("na");
    QTest::addColumn<int>("nb");
    QTest::newRow("right by a third") << 100 << 104 << true << 101 << 105;
    QTest::newRow("width 1 moves by 1") << 100 << 101 << true << 101 << 102;
    QTest::newRow("left stops at 0") << 2 << 32 << false << 0 << 30;
    QTest::newRow("left by a third") << 30 << 60 << false << 20 << 50;
    QTest::newRow("width 2 moves by 1") << 10 << 12 << false << 9 << 11;
}

void TestLmqMain::timeScrollExamples()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, right);
    QFETCH(int, na);
    QFETCH(int, nb);
    auto w = LoadedWindow();
    w->ZoomStack().push_back({a, b});
    QTest::keyClick(w.get(), right ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(w->ZoomStack().size(), size_t(2));
    QCOMPARE(w->ZoomStack().back(), (lm::ATimeRange{na, nb}));
    QCOMPARE(int(w->Options.TimeFilterStart), na);
    QCOMPARE(int(w->Options.TimeFilterEnd), nb);
    QVERIFY(!w->Options.TimeFilterOn); // its on/off state is unchanged
}

void TestLmqMain::timeScrollWithEmptyStackDoesNothing()
{
    auto w = LoadedWindow();
    QTest::keyClick(w.get(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(w.get(), Qt::Key_Left, Qt::ControlModifier);
    QVERIFY(w->ZoomStack().empty());
}

void TestLmqMain::viewStateSurvivesRestart()
{
    {
        auto w = MakeWindow();
        // Defaults: tool bar on top and visible, channel panel visible, coloured amount.
        QVERIFY(w->Top1->isChecked() && w->PanelViewItem->isChecked() && w->ChannelsPanelItem->isChecked());
        QVERIFY(w->ToolBar->isVisible() && w->ChannelArea->isVisible());
        QVERIFY(w->ColoredQuantaty->isChecked());
        w->Left1->trigger();
        QCOMPARE(w->toolBarArea(w->ToolBar), Qt::LeftToolBarArea);
        w->ChannelsPanelItem->trigger();
        QVERIFY(!w->ChannelArea->isVisible());
        w->DataDependences->trigger();
        QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier); // time marks off
        w->ShowDeleted->trigger();
        QTest::keyClick(w.get(), Qt::Key_F9);
        w->ChannelPanel->Box(7)->click();
        w->RefreshAction->trigger();
        w->close();
    }
    QCOMPARE(store_.values["ToolBarAlign"], std::string("3"));
    QCOMPARE(store_.values["ChanPanVisible"], std::string("0"));
    QCOMPARE(store_.values["ViewType"], std::string("2"));
    {
        auto w = MakeWindow();
        QVERIFY(w->Left1->isChecked());
        QCOMPARE(w->toolBarArea(w->ToolBar), Qt::LeftToolBarArea);
        QVERIFY(!w->ChannelsPanelItem->isChecked() && !w->ChannelArea->isVisible());
        QVERIFY(w->DataDependences->isChecked());
        QVERIFY(!w->ShowTimeMark->isChecked() && w->ShowDeleted->isChecked() && w->EventView->isChecked());
        QVERIFY(!w->ChannelPanel->Box(7)->isChecked() && w->ChannelPanel->Box(8)->isChecked());
        // The tool bar hidden, docked right.
        w->PanelViewItem->trigger();
        w->Right1->trigger();
        QVERIFY(!w->ToolBar->isVisible());
    }
    QCOMPARE(store_.values["ToolBarVisible"], std::string("0"));
    QCOMPARE(store_.values["ToolBarAlign"], std::string("4"));
    auto w = MakeWindow();
    QVERIFY(!w->PanelViewItem->isChecked() && !w->ToolBar->isVisible() && w->Right1->isChecked());
}

void TestLmqMain::saveConfigOffWritesOnlySaveConfig()
{
    store_.values["SaveConfig"] = "0";
    {
        auto w = MakeWindow();
        w->Left1->trigger();
        w->DataDependences->trigger();
    }
    QCOMPARE(store_.written, std::vector<std::string>{"SaveConfig"});
    QCOMPARE(store_.values["SaveConfig"], std::string("0"));
}

void TestLmqMain::viewStateInTheUsersSettings()
{
    // Through the program's own store: QSettings("Varnholt", "AELumeny"), group "Quorvel".
    lmtest::KeepSettingsIn(dir_.filePath("config"));
    auto open = [&](lm::TSettingsStore& settings) {
        QuorvelEnvironment env;
        env.settings = &settings;
        env.dialogs = &dialogs_;
        env.programPath = programPath_;
        auto w = std::make_unique<TLmqMain>(env);
        w->show();
        return w;
    };
    {
        lm::TSettingsStore settings;
        auto w = open(settings);
        w->Bottom1->trigger();
        w->ChannelPanel->Box(128)->click();
        w->RefreshAction->trigger();
        w->close();
    }
    QSettings raw("Varnholt", "AELumeny");
    QCOMPARE(raw.value("Quorvel/ToolBarAlign").toInt(), 2);
    QCOMPARE(raw.value("Quorvel/CheckedChan").toString(), "0" + QString(127, '1'));
    lm::TSettingsStore settings;
    auto w = open(settings);
    QCOMPARE(w->toolBarArea(w->ToolBar), Qt::BottomToolBarArea);
    QVERIFY(!w->ChannelPanel->Box(128)->isChecked() && w->ChannelPanel->Box(127)->isChecked());
    raw.clear();
}

void TestLmqMain::protocolLinesAndReportFile()
{
    QFile::remove(dir_.filePath("bin/_Protocol.txt"));
    store_.values["WriteReport"] = "1";
    {
        auto w = LoadedWindow();
        AddFrame(*w, 0, 255);
        QTest::keyClick(w.get(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(w->close());
        QCOMPARE(w->ReportFolderUsed(), dir_.filePath("bin"));
    }
    QFile file(dir_.filePath("bin/_Protocol.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0].section('\t', 1), QString("LMQ launched"));
    QCOMPARE(lines[1].section('\t', 1), "Data loaded\t" + sample_);
    QCOMPARE(lines[2].section('\t', 1), QString("Existing selections cleaned..."));
    QCOMPARE(lines[3].section('\t', 1), QString("LMQ closed"));
    QVERIFY(!lines[0].section('\t', 0, 0).isEmpty()); // the time stamp

    // With "WriteReport" off no file is written.
    QVERIFY(file.remove());
    store_.values["WriteReport"] = "0";
    MakeWindow()->close();
    QVERIFY(!QFile::exists(dir_.filePath("bin/_Protocol.txt")));
}

void TestLmqMain::reportFileFallsBackToUserFolder()
{
    // A program folder that cannot take the file (here a file in its place, so that the
    // test holds for any user) sends it to the user's data folder.
    const QString saved = programPath_;
    QFile(dir_.filePath("closed")).open(QIODevice::WriteOnly);
    programPath_ = dir_.filePath("closed/lmqwin2");
    store_.values["WriteReport"] = "1";
    {
        auto w = MakeWindow();
        dialogs_.shown.clear(); // the start-up setup warning
        w->close();
        QCOMPARE(w->ReportFolderUsed(), userFolder_);
    }
    programPath_ = saved;
    QVERIFY(QFile::exists(userFolder_ + "/_Protocol.txt"));
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestLmqMain::reportFileErrorWhenNoFolderTakesIt()
{
    // Folders that are files cannot take the report, whoever runs the test.
    const QString saved = programPath_;
    const QString savedUser = userFolder_;
    QFile(dir_.filePath("blocked")).open(QIODevice::WriteOnly);
    programPath_ = dir_.filePath("blocked/lmqwin2");
    userFolder_ = dir_.filePath("blocked/AELumeny");
    store_.values["WriteReport"] = "1";
    {
        auto w = MakeWindow();
        dialogs_.shown.clear(); // the start-up setup warning
        w->close();
    }
    programPath_ = saved;
    userFolder_ = savedUser;
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Error.."));
    QCOMPARE(dialogs_.shown[0].text,
             "Error of saving '" + dir_.filePath("blocked/AELumeny/_Protocol.txt") + "'.");
}

void TestLmqMain::failedLoadKeepsPreviousData()
{
    auto w = LoadedWindow();
    const QString title = w->windowTitle();
    QFile junk(dir_.filePath("junk.dta"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(5000, '\x7f'));
    junk.close();
    for (const QString& path : {junk.fileName(), dir_.filePath("missing.dta")}) {
        dialogs_.shown.clear();
        dialogs_.fileAnswer = path;
        w->OpenAction->trigger();
        w->WaitForLoad();
        QCOMPARE(dialogs_.shown.size(), 1);
        QCOMPARE(dialogs_.shown[0].kind, QString("warning"));
        QCOMPARE(dialogs_.shown[0].text,
                 QString(path.endsWith("junk.dta") ? "Unknown data type.." : "Data file doesn't exist"));
        QCOMPARE(w->windowTitle(), title);
        QCOMPARE(w->Data().HitCount, 20000u);
        QCOMPARE(Panel(*w, 1), QString("HITS:20000    "));
    }
}

void TestLmqMain::cancelledLoadKeepsPreviousData()
{
    auto w = LoadedWindow();
    AddFrame(*w, 0, 255);
    const uint32_t framed = w->Data().FramedCount;
    const size_t lines = w->Protocol.Lines.size();
    w->LoadDataFile(big_);
    QVERIFY(w->Loading());
    QVERIFY(w->LoadProgress->isVisible() && w->LoadCancel->isVisible());
    QVERIFY(!w->OpenAction->isEnabled());
    w->LoadCancel->click();
    w->WaitForLoad();
    QVERIFY(!w->LoadProgress->isVisible() && !w->LoadCancel->isVisible());
    QVERIFY(w->OpenAction->isEnabled());
    QCOMPARE(w->windowTitle(), "AE Quorvel - " + sample_);
    QCOMPARE(w->Data().HitCount, 20000u);
    QCOMPARE(w->Data().FramedCount, framed);
    QCOMPARE(w->Protocol.Lines.size(), lines);
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestLmqMain::windowProcessesEventsDuringLoad()
{
    auto w = MakeWindow();
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    QElapsedTimer clock;
    clock.start();
    w->LoadDataFile(big_);
    int ticksWhileLoading = 0;
    while (w->Loading()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ticksWhileLoading = ticks;
    }
    QCOMPARE(w->Data().HitCount, 400000u);
    // The event loop went on while the file was read on the worker thread.
    QVERIFY2(ticksWhileLoading > 3,
             qPrintable(QString("%1 ticks in %2 ms").arg(ticksWhileLoading).arg(clock.elapsed())));
}

void TestLmqMain::pagesFromTheGraphDatabase()
{
    auto w = LoadedWindow();
    // The first graph set of the seeded database, one tab per page.
    QVERIFY(w->PageTabs->count() >= 2);
    QCOMPARE(w->PageTabs->count(), w->PageControl->PageCount());
    QCOMPARE(w->PageTabs->tabText(0), QString::fromStdString(w->PageControl->Page(0).Caption));
    TPageWidget* page = w->PageWidget(0);
    QCOMPARE(page->size(),
             QSize(w->PageControl->Page(0).Geometry.PageWidth, w->PageControl->Page(0).Geometry.PageHeight));
    for (TGraphView* view : page->Views()) {
        const lm::TLMGraph* g = view->Graph();
        QCOMPARE(view->geometry(), QRect(g->Left, g->Top, g->Width, g->Height));
        QCOMPARE(page->Surface.GraphImage(view->Slot).size(), view->size());
    }
    // Time graphs run from 0 to the file's time axis end.
    const lm::TLMGraph* timeGraph = ViewOf(*w, 3)->Graph();
    QVERIFY(timeGraph->IsTimeGraph());
    QCOMPARE(timeGraph->XMax, int64_t(w->Data().TimeAxisMax));

    // Switching tabs shows the other page's images and comes back to the stored ones.
    const qint64 before = page->Surface.GraphImage(0).cacheKey();
    w->PageTabs->setCurrentIndex(1);
    QTest::qWait(20);
    w->PageTabs->setCurrentIndex(0);
    QTest::qWait(20);
    QCOMPARE(page->Surface.GraphImage(0).cacheKey(), before);
}

void TestLmqMain::dragOnPointGraphDrawsFrame()
{
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 0);
    QVERIFY(view && view->Graph()->IsPointGraph());
    Drag(view, InPlot(view, 0.2, 0.2), InPlot(view, 0.8, 0.9));
    QCOMPARE(w->Frames().Count(), 1);
    QVERIFY(!view->Band());
    QVERIFY(w->Data().FramedCount > 0);
    QCOMPARE(Panel(*w, 3), QString::asprintf("FRMD:%-9u", w->Data().FramedCount));
    const QString line = LastLine(*w);
    QVERIFY2(line.startsWith("New selection:\t"), qPrintable(line));
    QVERIFY2(line.contains("Events: No; Chans: 1-128"), qPrintable(line));
    // A second frame without Shift replaces the first.
    Drag(view, InPlot(view, 0.1, 0.1), InPlot(view, 0.3, 0.3));
    QCOMPARE(w->Frames().Count(), 1);
    const auto& lines = w->Protocol.Lines;
    QCOMPARE(QString::fromStdString(lines[lines.size() - 2]).section('\t', 1),
             QString("All existing selections cleaned..."));
}

void TestLmqMain::bandIsDrawnOverTheStoredImage()
{
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 0);
    const QImage& image = view->Page.Surface.GraphImage(0);
    const qint64 key = image.cacheKey();
    const QPoint from = InPlot(view, 0.3, 0.3);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 10; ++i) {
        QTest::mouseMove(view, from + QPoint(5 * i, 4 * i));
        QCoreApplication::processEvents();
    }
    QVERIFY(view->Band());
    QCOMPARE(*view->Band(), (lm::BandRect{from.x(), from.y(), from.x() + 50, from.y() + 40}));
    // The graph was not drawn again: its image is the one stored before the drag.
    QCOMPARE(view->Page.Surface.GraphImage(0).cacheKey(), key);
    QVERIFY(!view->Graph()->NeedsRedraw);
    // On the screen the band shows in the rubber band colour; inside it the graph's pixels.
    const QImage screen = view->grab().toImage();
    const lm::RGB c = w->Options.Color(9);
    bool bandSeen = false;
    for (int x = from.x(); x <= from.x() + 50; ++x)
        bandSeen = bandSeen || screen.pixelColor(x, from.y()) == QColor(c.r, c.g, c.b);
    QVERIFY(bandSeen);
    QCOMPARE(screen.pixelColor(from + QPoint(25, 20)), image.pixelColor(from + QPoint(25, 20)));
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(50, 40));
    QVERIFY(!view->Band());
}

void TestLmqMain::ninthFrameAsksTheQuestion_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("line");
    QTest::newRow("delete all but the new")
        << int(lm::FrameLimitChoice::DeleteAllExceptNew) << 1 << "New selection:";
    QTest::newRow("ignore the new") << int(lm::FrameLimitChoice::IgnoreNew) << 8 << "New selection:";
    QTest::newRow("group with AND") << int(lm::FrameLimitChoice::GroupAndAddNew) << 1 << "grouped by AND...";
    QTest::newRow("group with OR") << int(lm::FrameLimitChoice::GroupOrAddNew) << 1 << "grouped by OR...";
}

void TestLmqMain::ninthFrameAsksTheQuestion()
{
    QFETCH(int, choice);
    QFETCH(int, frames);
    QFETCH(QString, line);
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 0);
    // Eight overlapping frames, the first without Shift, each a little smaller.
    for (int i = 0; i < 8; ++i)
        Drag(view, InPlot(view, 0.05 + 0.02 * i, 0.05), InPlot(view, 0.95 - 0.02 * i, 0.95),
             i == 0 ? Qt::NoModifier : Qt::ShiftModifier);
    QCOMPARE(w->Frames().Count(), 8);
    QCOMPARE(dialogs_.frameQuestions, 0);
    const size_t lines = w->Protocol.Lines.size();
    const uint32_t framedBefore = w->Data().FramedCount;
    dialogs_.frameChoice = lm::FrameLimitChoice(choice);
    Drag(view, InPlot(view, 0.4, 0.4), InPlot(view, 0.6, 0.6), Qt::ShiftModifier);
    QCOMPARE(dialogs_.frameQuestions, 1);
    QCOMPARE(w->Frames().Count(), frames);
    if (lm::FrameLimitChoice(choice) == lm::FrameLimitChoice::IgnoreNew) {
        QCOMPARE(w->Protocol.Lines.size(), lines);
        QCOMPARE(w->Data().FramedCount, framedBefore);
        return;
    }
    QVERIFY2(LastLine(*w).contains(line) || QString::fromStdString(w->Protocol.Lines[lines]).contains(line),
             qPrintable(LastLine(*w)));
    if (lm::FrameLimitChoice(choice) != lm::FrameLimitChoice::DeleteAllExceptNew)
        QCOMPARE(Panel(*w, 4), QString::asprintf("GRPD:%-9u", w->Data().GroupedCount));
    QCOMPARE(Panel(*w, 3), QString::asprintf("FRMD:%-9u", w->Data().FramedCount));
}

void TestLmqMain::zoomModeDragZoomsInTime()
{
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 3);
    lm::TLMGraph* g = view->Graph();
    QVERIFY(g->IsTimeGraph());
    // In frame mode the drag on this point graph draws a frame.
    w->PageControl->ZoomTo(0, 40); // a fine enough scale for tenths of a second
    w->RedrawAll();
    QTest::keyClick(w.get(), Qt::Key_F2);
    QVERIFY(!w->FrameMode());
    const int y = InPlot(view, 0, 0.5).y();
    Drag(view, QPoint(g->XPixel(10.9), y), QPoint(g->XPixel(20.2), y));
    QCOMPARE(w->ZoomStack().back(), (lm::ATimeRange{10, 20}));
    QCOMPARE(w->ZoomStack().size(), size_t(2));
    QVERIFY(w->TimeFilter().On);
    QCOMPARE(w->TimeFilter().Start, 10);
    QCOMPARE(w->TimeFilter().End, 20);
    QCOMPARE(g->XMin, int64_t(10));
    QCOMPARE(g->XMax, int64_t(20));
    QCOMPARE(w->Frames().Count(), 0);
    // Every time graph of every page follows.
    for (int p = 0; p < w->PageControl->PageCount(); ++p)
        for (const auto& other : w->PageControl->Page(p).Graphs)
            if (other && other->IsTimeGraph())
                QCOMPARE(other->XMax, int64_t(20));
    // Back to frame mode: the same drag draws a frame.
    QTest::keyClick(w.get(), Qt::Key_F2);
    Drag(view, QPoint(g->XPixel(12), y - 30), QPoint(g->XPixel(18), y + 30));
    QCOMPARE(w->Frames().Count(), 1);
    // F3 goes back to (0, 40), then to the whole file.
    QTest::keyClick(w.get(), Qt::Key_F3);
    QCOMPARE(g->XMax, int64_t(40));
    QTest::keyClick(w.get(), Qt::Key_F3);
    QVERIFY(w->ZoomStack().empty() && !w->TimeFilter().On);
    QCOMPARE(g->XMax, int64_t(w->Data().TimeAxisMax));
}

void TestLmqMain::altZoomOneGraphThenUnZoomAll()
{
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 3);
    lm::TLMGraph* g = view->Graph();
    const int64_t end = int64_t(w->Data().TimeAxisMax);
    lm::TLMGraph* other = w->PageControl->Graph(1, 0);
    QVERIFY(other && other->IsTimeGraph());
    QTest::keyClick(w.get(), Qt::Key_F2);
    const int y = InPlot(view, 0, 0.5).y();
    Drag(view, InPlot(view, 0.25, 0.5), InPlot(view, 0.5, 0.5), Qt::AltModifier);
    QVERIFY(g->XMax < end);
    QCOMPARE(other->XMax, end);
    QVERIFY(!w->TimeFilter().On);
    QCOMPARE(w->ZoomStack().size(), size_t(1));
    QTest::keyClick(w.get(), Qt::Key_F3);
    QCOMPARE(g->XMin, int64_t(0));
    QCOMPARE(g->XMax, end);
    Q_UNUSED(y);
}

void TestLmqMain::cursorReadOut()
{
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 0);
    const lm::TLMGraph* g = view->Graph();
    const QPoint at = InPlot(view, 0.5, 0.5);
    QTest::mouseMove(view, at);
    QCOMPARE(Panel(*w, 0),
             QString::asprintf(" %s = %.2f, %s = %.2f", g->XShortName.c_str(), g->XValueAt(at.x()),
                               g->YShortName.c_str(), g->YValueAt(at.y())));
    QVERIFY(!g->XShortName.empty());
    QTest::mouseMove(view, QPoint(2, 2)); // outside the plot
    QCOMPARE(Panel(*w, 0), QString());
}

void TestLmqMain::ctrlRightButtonCopiesGraph()
{
    store_.values["PrnWidth"] = "60";
    store_.values["PrnHeight"] = "40";
    store_.values["PrnDPI"] = "100";
    auto w = LoadedWindow();
    TGraphView* view = ViewOf(*w, 0);
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(view, Qt::RightButton, Qt::ControlModifier, InPlot(view, 0.5, 0.5));
    QCOMPARE(opened_, QStringList{"lmq::TTimeMarkForm"});
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(60 * 100 / 25, 40 * 100 / 25));
    // Black on white, whatever the scheme on the screen.
    QCOMPARE(copied.pixelColor(1, 1), QColor(Qt::white));
    // A right button without Ctrl copies nothing.
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(view, Qt::RightButton, {}, InPlot(view, 0.5, 0.5));
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
    // The size chosen in the dialog makes the copy; Cancel copies nothing.
    answer_ = [](QDialog& dialog) {
        auto& form = static_cast<TTimeMarkForm&>(dialog);
        form.SpinWidth->setValue(50);
        form.SpinHeight->setValue(35);
        form.BtnOk->click();
    };
    QTest::mouseClick(view, Qt::RightButton, Qt::ControlModifier, InPlot(view, 0.5, 0.5));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(50 * 100 / 25, 35 * 100 / 25));
    QGuiApplication::clipboard()->clear();
    answer_ = [](QDialog& dialog) { dialog.reject(); };
    QTest::mouseClick(view, Qt::RightButton, Qt::ControlModifier, InPlot(view, 0.5, 0.5));
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
}

void TestLmqMain::frameLimitQuestion()
{
    TFrameFinishForm form;
    QCOMPARE(form.windowTitle(), QString("Warning"));
    QVERIFY(form.findChild<QLabel*>()->text() ==
            "The allowable amount of frames is exceeded. Choose one of the folowing: ");
    const QStringList expected = {"Delete all frames, except new frame", "Ignore new frame",
                                  "Groop existing frames with \"AND\", add new frame",
                                  "Groop existing frames with \"OR\", add new frame"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(form.Choices[i]->text(), expected[i]);
    QVERIFY(form.Choices[0]->isChecked());
    // OK takes the checked choice; closing the question ignores the new frame.
    QTimer::singleShot(0, &form, [&] {
        form.Choices[3]->setChecked(true);
        form.accept();
    });
    form.exec();
    QCOMPARE(form.Choice(), lm::FrameLimitChoice::GroupOrAddNew);
    QTimer::singleShot(0, &form, [&] { form.reject(); });
    form.exec();
    QCOMPARE(form.Choice(), lm::FrameLimitChoice::IgnoreNew);
}

void TestLmqMain::dialogsPlacedOverTheWindow()
{
    auto w = MakeWindow();
    const QRect screen = w->screen()->availableGeometry();
    w->move(screen.topLeft() + QPoint(50, 50));
    QDialog dialog(w.get());
    dialog.resize(300, 200);
    PlaceDialog(&dialog, w.get());
    QCOMPARE(dialog.frameGeometry().center(), w->frameGeometry().center());
    // A window near the right and bottom edges keeps the dialog inside the screen.
    w->move(screen.bottomRight() - QPoint(100, 100));
    PlaceDialog(&dialog, w.get());
    QVERIFY(screen.contains(QRect(dialog.pos(), dialog.frameSize())));
}

void TestLmqMain::helpAndAboutOpenTheirWindows()
{
    auto w = MakeWindow();
    // Every help command shows its topic of the manual in the one help viewer.
    const std::pair<QAction*, QString> topics[] = {{w->AAELumeny, lmhelp::kTopicSuite},
                                                   {w->AQuorvel, lmhelp::kTopicQuorvel},
                                                   {w->AQuickTour, lmhelp::kTopicQuickTour},
                                                   {w->AHelpHotKeys, lmhelp::kTopicHotKeys}};
    for (const auto& [action, topic] : topics) {
        action->trigger();
        auto* viewer = w->findChild<lmhelp::THelpViewer*>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->CurrentTopic(), topic);
    }
    QCOMPARE(w->findChildren<lmhelp::THelpViewer*>().size(), 1);
    QVERIFY(opened_.isEmpty()); // the viewer stays open beside the window
    w->About1->trigger();
    QCOMPARE(opened_, QStringList{"lmq::TFAboutBox"});
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestLmqMain::zoomDialogSetsTimeRangeOfAllGraphs()
{
    auto w = LoadedWindow();
    // Cancel leaves the time axes alone.
    answer_ = [](QDialog& dialog) { dialog.reject(); };
    w->ZoomAtAction->trigger();
    QVERIFY(w->ZoomStack().empty());
    QVERIFY(!w->Options.TimeFilterOn);
    // OK with the same start and end zooms to one second from there.
    answer_ = [](QDialog& dialog) {
        auto& form = static_cast<TZoomParamForm&>(dialog);
        form.EditMin->setText("100");
        form.EditMax->setText("100");
        form.BtnOk->click();
    };
    QTest::keyClick(w.get(), Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(opened_, (QStringList{"lmq::TZoomParamForm", "lmq::TZoomParamForm"}));
    QCOMPARE(w->ZoomStack().size(), size_t(1));
    QCOMPARE(w->ZoomStack().back(), (lm::ATimeRange{100, 101}));
    QVERIFY(w->Options.TimeFilterOn);
    int timeGraphs = 0;
    for (int p = 0; p < w->PageControl->PageCount(); ++p)
        for (const auto& g : w->PageControl->Page(p).Graphs)
            if (g && g->IsTimeGraph()) {
                ++timeGraphs;
                QCOMPARE(g->XMin, int64_t(100));
                QCOMPARE(g->XMax, int64_t(101));
            }
    QVERIFY(timeGraphs > 0);
    // "UnZoom" goes back to the whole file.
    QTest::keyClick(w.get(), Qt::Key_F3);
    QVERIFY(w->ZoomStack().empty());
}

QTEST_MAIN(TestLmqMain)
#include "TLmqMainTest.moc"
