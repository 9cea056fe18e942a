#pragma once

// The main window of the correlation program "AE Quorvel": the graph pages filling the
// client area, the tool bar, the channel panel and the status bar with the data set's
// counters. Every command is an action of this window that calls one operation of the
// layers below and then redraws the graphs and refreshes the status bar.

#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/AProtocol.h"
#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/graphs/TLMPageControl.h"
#include "lmqwin2/ui/TPageWidget.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QActionGroup;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolBar;

namespace lm {
class AGraphDatabase;
class AParamTable;
class LMDatabase;
} // namespace lm

namespace lmq {

class DataLoader;
class TChannelPanel;
class UserDialogs;

inline constexpr const char* kProgramTitle = "AE Quorvel";

// Where the window finds what lies outside it.
struct QuorvelEnvironment {
    lm::ASettingsStore* settings = nullptr; // the options' store (required)
    UserDialogs* dialogs = nullptr;         // message boxes and questions (required)
    QString programPath;                    // the program file; its folder holds the start-up setup
    QStringList arguments;                  // the command line without the program name
    QString userDataFolder;                 // where "_Protocol.txt" goes when the program's folder is closed
    QString manualFolder;                   // the help topics; empty: "help" beside the program
    bool persistent = true;                 // false: shutdown writes neither options nor protocol file
};

class TLmqMain : public QMainWindow, private GraphMouseHandler {
    Q_OBJECT
public:
    explicit TLmqMain(const QuorvelEnvironment& environment, QWidget* parent = nullptr);
    ~TLmqMain() override;

    // State the commands work on: the options, the test setup and the protocol of the run,
    // and the page control with the data set, the frames and the zoom stack.
    lm::AOptions Options;
    lm::ATestSetup TestSetupData;
    lm::AProtocol Protocol;
    std::unique_ptr<lm::TLMPageControl> PageControl;
    bool AllToggle = false; // the next "All" sets every box to this
    bool FrameMode() const; // true while the "Zoom" button is up

    lm::LMDataSet& Data() { return PageControl->Data(); }
    lm::TFrameArray& Frames() { return PageControl->Frames(); }
    std::vector<lm::ATimeRange>& ZoomStack() { return PageControl->Common().ZoomStack; }
    lm::TimeRangeFilter TimeFilter() const { return PageControl->Common().TimeFilter(); }
    // The tab of page `index` (null when there is none).
    TPageWidget* PageWidget(int index) const;

    // Loading: the command of the menu and the command line both end here. The load runs on
    // a worker thread; the pages show the new data when it has succeeded.
    void LoadDataFile(const QString& path);
    bool Loading() const;
    void WaitForLoad();

    // The steps of the command table that are not only an action's trigger.
    void RefreshStatus();
    // Every graph of every page draws anew; the page shown draws at once.
    void RedrawAll();
    void RebuildPages();
    // Runs a modal dialog of a command, centred over the window and inside the screen.
    int ExecDialog(QDialog& dialog);
    // Answers the dialogs of commands in place of their modal loop when set (tests): it
    // accepts or rejects the dialog, and ExecDialog answers the dialog's result.
    std::function<void(QDialog&)> AnswerDialog;
    // Puts a copy of a graph on the clipboard (PrnWidth x PrnHeight mm at PrnDPI).
    void CopyGraph(lm::TLMGraph& graph);

    // Renders the window (with the first point graph framed when data are loaded) to PATH.
    bool SaveScreenshot(const QString& path);
    // Renders the dialogs of the commands over the current state to BASE-<name>.png;
    // answers the files written.
    QStringList SaveDialogPictures(const QString& base);

    // Shutdown: view state into the options, options saved, last protocol line and the
    // report file. Runs once, on close or at the latest when the window is destroyed.
    void Shutdown();

    QString ReportFolderUsed() const { return reportFolder_; }

    // Actions, in the order of the command table.
    QAction* OpenAction;
    QAction* SaveAsAction;
    QAction* ExitAction;
    QAction* RefreshAction;
    QAction* RefreshtoStart1;
    QAction* AllShowAction;
    QAction* ZoomAction;
    QAction* UnZoomAction;
    QAction* ZoomAtAction;
    QAction* TimeScrollLeft;
    QAction* TimeScrollRight;
    QAction* EventView;
    QAction* EventShadow;
    QAction* ShowDeleted;
    QAction* ShowTimeMark;
    QAction* DataDependences;
    QAction* ColoredChannels;
    QAction* ColoredQuantaty;
    QAction* Frames2JointOR;
    QAction* Frames2JointAND;
    QAction* FramesDelete;
    QAction* JointClear;
    QAction* InvertJoin;
    QAction* JointDeleteData;
    QAction* UndeleteData;
    QAction* InvertDeleted;
    QAction* ShowData;
    QAction* ShowStatistic;
    QAction* DataInfo;
    QAction* TestSetup;
    QAction* TestSetupMenuItem; // the menu's entry of TestSetup, with its own key F10
    QAction* Setup1;
    QAction* DataBase1;
    QAction* ProtocolView1;
    QAction* PanelViewItem;
    QAction* ChannelsPanelItem;
    QAction* Top1;
    QAction* Bottom1;
    QAction* Left1;
    QAction* Right1;
    QAction* AAELumeny;
    QAction* AQuorvel;
    QAction* AQuickTour;
    QAction* AHelpHotKeys;
    QAction* AShowChanges;
    QAction* About1;

    QToolBar* ToolBar;
    TChannelPanel* ChannelPanel;
    QScrollArea* ChannelArea;
    QTabWidget* PageTabs;
    QLabel* StatusPanels[7];
    QProgressBar* LoadProgress;
    QPushButton* LoadCancel;

    QMenu* FileMenu;
    QMenu* ViewMenu;
    QMenu* DataMenu;
    QMenu* SetsMenu;
    QMenu* SetupMenu;
    QMenu* HelpMenu;

signals:
    // A load has ended (succeeded, failed or cancelled).
    void loadEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ApplyViewState();
    void DockToolBar(int align);
    int ToolBarAlignNow() const;

    void OpenCommand();
    void SaveAsCommand();
    void RefreshCommand();
    void RefreshToStartCommand();
    void AllShowCommand();
    void EventShadowCommand();
    void SetColorMode(int viewType);
    // A command of the page control, then the redraw and the status.
    void PageCommand(lm::TLMPageControl::Command command);
    void HelpCommand(int topic);
    void AboutCommand();
    void ZoomAtCommand();
    void TestSetupCommand();
    void OptionsCommand();
    void DataBaseCommand();
    void LastChangesCommand();

    void LoadFinished();
    void LoadFailed(const QString& message);
    void LoadCancelled();
    void ShowLoading(bool on);

    bool WriteReportFile(QString& error);
    void OpenGraphDatabase();
    void RelayoutPages();
    void ApplyMouseOutcome(TGraphView& view, const lm::MouseOutcome& outcome);
    void UpdateCursor(TGraphView& view, Qt::KeyboardModifiers modifiers);

    void GraphMousePress(TGraphView& view, QMouseEvent* event) override;
    void GraphMouseMove(TGraphView& view, QMouseEvent* event) override;
    void GraphMouseRelease(TGraphView& view, QMouseEvent* event) override;
    void GraphMouseLeave(TGraphView& view) override;
    void PagePaintError(const std::string& text) override;

    QuorvelEnvironment env_;
    UserDialogs* dialogs_;
    DataLoader* loader_;
    class MessageBoxAdapter;
    class FrameQuestionAdapter;
    std::unique_ptr<MessageBoxAdapter> box_;
    std::unique_ptr<FrameQuestionAdapter> question_;
    std::unique_ptr<lm::LMDatabase> database_;
    std::unique_ptr<lm::AGraphDatabase> graphDatabase_;
    std::unique_ptr<lm::AParamTable> paramTable_;
    std::unique_ptr<lm::AGraphSource> graphSource_;
    std::vector<TPageWidget*> pageWidgets_;
    std::string shownPaintError_;
    bool paintErrorPending_ = false;
    bool shownOnce_ = false;
    bool shutDown_ = false;
    QString reportFolder_;
};

} // namespace lmq
