#include "lmqwin2/ui/TLmqMain.h"

#include "help/ui/THelpViewer.h"
#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmqwin2/ui/DataLoader.h"
#include "lmqwin2/ui/DialogScreenshots.h"
#include "lmqwin2/ui/TChannelPanel.h"
#include "lmqwin2/ui/TDataBaseForm.h"
#include "lmqwin2/ui/TFAboutBox.h"
#include "lmqwin2/ui/TFDataInfo.h"
#include "lmqwin2/ui/TFDataStatistic.h"
#include "lmqwin2/ui/TFDataView.h"
#include "lmqwin2/ui/TFLastChanges.h"
#include "lmqwin2/ui/TFTestSetup.h"
#include "lmqwin2/ui/TImageCanvas.h"
#include "lmqwin2/ui/TOptionsForm.h"
#include "lmqwin2/ui/TSettingsStore.h"
#include "lmqwin2/ui/TTimeMarkForm.h"
#include "lmqwin2/ui/TZoomParamForm.h"
#include "lmqwin2/ui/ToolIcons.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>

namespace lmq {

namespace {

// The file dialog's title: its first three letters are Cyrillic.
const QString kOpenTitle = QString::fromUtf8("\xD0\x9E\xD1\x80\xD0\xB5n Data File");
const QString kDataFilter =
    QString::fromUtf8("All AE Systems (*.dta *.dtt *.ald);;"
                      "DiSP (*.dta);;"
                      "Spartan 3000 (*.dta *.dtt);;"
                      "ALine32D (*.ald);;"
                      "\xD0\x92\xD1\x81\xD0\xB5 \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\xD1\x8B (*)");

// Extensions of a data file named on the command line.
bool IsCommandLineDataFile(const QString& path)
{
    static const QStringList extensions = {"DTA", "DTT", "SDA", "SDT", "LDA", "LDT", "ALD"};
    return extensions.contains(QFileInfo(path).suffix().toUpper());
}

constexpr int kPanelWidths[7] = {200, 75, 75, 75, 75, 75, 50};

} // namespace

// The page control's message boxes and frame-limit question through the window's dialogs.
class TLmqMain::MessageBoxAdapter final : public lm::AMessageBox {
public:
    explicit MessageBoxAdapter(TLmqMain& window) : window_(window) {}
    void Warning(const std::string& caption, const std::string& text) override
    {
        window_.dialogs_->Warning(&window_, QString::fromStdString(caption), QString::fromStdString(text));
    }
    bool Confirm(const std::string& text) override
    {
        return window_.dialogs_->Confirm(&window_, "Confirm", QString::fromStdString(text));
    }

private:
    TLmqMain& window_;
};

class TLmqMain::FrameQuestionAdapter final : public lm::AFrameLimitQuestion {
public:
    explicit FrameQuestionAdapter(TLmqMain& window) : window_(window) {}
    lm::FrameLimitChoice Ask() override { return window_.dialogs_->AskFrameLimit(&window_); }

private:
    TLmqMain& window_;
};

TLmqMain::TLmqMain(const QuorvelEnvironment& environment, QWidget* parent)
    : QMainWindow(parent), env_(environment), dialogs_(environment.dialogs)
{
    setWindowTitle(kProgramTitle);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The page control first: it owns the data set of the run.
    PageControl = std::make_unique<lm::TLMPageControl>(Options, TestSetupData, Protocol);
    PageControl->PaintThreads = std::max(1, QThread::idealThreadCount());
    box_ = std::make_unique<MessageBoxAdapter>(*this);
    question_ = std::make_unique<FrameQuestionAdapter>(*this);
    loader_ = new DataLoader(this);
    connect(loader_, &DataLoader::finished, this, &TLmqMain::LoadFinished);
    connect(loader_, &DataLoader::failed, this, &TLmqMain::LoadFailed);
    connect(loader_, &DataLoader::cancelled, this, &TLmqMain::LoadCancelled);

    // The page control fills the client area, the channel panel stands beside it.
    auto* client = new QWidget(this);
    auto* layout = new QHBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageTabs = new QTabWidget(client);
    PageTabs->setDocumentMode(true);
    layout->addWidget(PageTabs, 1);
    ChannelPanel = new TChannelPanel;
    ChannelArea = new QScrollArea(client);
    ChannelArea->setWidget(ChannelPanel);
    ChannelArea->setWidgetResizable(false);
    ChannelArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ChannelArea->setFixedWidth(ChannelPanel->width() + 18);
    ChannelArea->hide();
    layout->addWidget(ChannelArea);
    setCentralWidget(client);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    connect(ChannelPanel->AllButton, &QPushButton::clicked, AllShowAction, &QAction::trigger);
    connect(ChannelPanel->RefreshButton, &QPushButton::clicked, RefreshAction, &QAction::trigger);

    // Options first, then the start-up test setup beside the program, then the protocol.
    Options.Load(*env_.settings);
    Options.SetPointSize(Options.PointSize);
    if (!TestSetupData.LoadFromFile(lm::StartupSetupPath(env_.programPath)))
        dialogs_->Warning(this, "Warning", lm::kMsgUnknownSetupFormat);
    Protocol.Add(lm::protocol_text::kLaunched);
    OpenGraphDatabase();

    connect(PageTabs, &QTabWidget::currentChanged, this, [this] { RelayoutPages(); });
    resize(1100, 760);
}

void TLmqMain::OpenGraphDatabase()
{
    // Without its database the program still opens files; it just has no pages to show.
    try {
        database_ = std::make_unique<lm::LMDatabase>(lm::LMDatabase::Open(lm::LMDatabase::ResolvePath({})));
        graphDatabase_ = std::make_unique<lm::AGraphDatabase>(*database_);
        paramTable_ = std::make_unique<lm::AParamTable>(*database_);
        graphSource_ = std::make_unique<lm::GraphDatabaseSource>(*graphDatabase_);
        PageControl->SetGraphSource(graphSource_.get());
        PageControl->SetParamLookup(paramTable_.get());
    } catch (const std::exception& error) {
        dialogs_->Error(this, "Error", QString::fromUtf8(error.what()));
    }
}

TLmqMain::~TLmqMain()
{
    Shutdown();
}

bool TLmqMain::FrameMode() const
{
    return PageControl->Common().FrameMode;
}

TPageWidget* TLmqMain::PageWidget(int index) const
{
    return index >= 0 && index < int(pageWidgets_.size()) ? pageWidgets_[size_t(index)] : nullptr;
}

void TLmqMain::CreateActions()
{
    // One place for every command: caption (the menu's wording where it differs from the
    // tool button's), shortcut and whether it toggles.
    auto make = [this](const QString& caption, const QString& menuText, const QKeySequence& key = {},
                       bool checkable = false) {
        auto* action = new QAction(menuText.isEmpty() ? caption : menuText, this);
        action->setIconText(caption);
        action->setToolTip(key.isEmpty() ? caption
                                         : caption + " (" + key.toString(QKeySequence::NativeText) + ")");
        if (!key.isEmpty())
            action->setShortcut(key);
        action->setCheckable(checkable);
        addAction(action); // shortcuts work while the menus or the tool bar are hidden
        return action;
    };
    OpenAction = make("Open Data File", "Open data file..");
    SaveAsAction = make("Save data as..", "");
    ExitAction = make("Exit", "", QKeySequence(Qt::ALT | Qt::Key_F4));
    RefreshAction = make("Refresh", "", QKeySequence(Qt::Key_F5));
    RefreshtoStart1 = make("Refresh to start", "", QKeySequence(Qt::CTRL | Qt::Key_F5));
    AllShowAction = make("All", "Show all channels", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
    ZoomAction = make("Zoom", "", QKeySequence(Qt::Key_F2), true);
    UnZoomAction = make("UnZoom", "", QKeySequence(Qt::Key_F3));
    ZoomAtAction = make("Zoom..", "", QKeySequence(Qt::CTRL | Qt::Key_F2));
    TimeScrollLeft = make("Scroll Left", "", QKeySequence(Qt::CTRL | Qt::Key_Left));
    TimeScrollRight = make("Scroll Right", "", QKeySequence(Qt::CTRL | Qt::Key_Right));
    EventView = make("Event view", "", QKeySequence(Qt::Key_F9), true);
    EventShadow = make("Show Shadow hits", "", {}, true);
    ShowDeleted = make("Show deleted", "", {}, true);
    ShowTimeMark = make("ShowTimeMark", "Show time marks", QKeySequence(Qt::CTRL | Qt::Key_T), true);
    DataDependences = make("Data dependences", "", QKeySequence(Qt::Key_F6), true);
    ColoredChannels = make("Colored channels", "", QKeySequence(Qt::Key_F7), true);
    ColoredQuantaty = make("Colored Amount", "", QKeySequence(Qt::Key_F8), true);
    Frames2JointOR = make("Add to grouped with OR", "", QKeySequence(Qt::Key_Insert));
    Frames2JointAND = make("Add to grouped with AND", "", QKeySequence(Qt::CTRL | Qt::Key_A));
    FramesDelete = make("Delete all frames", "", QKeySequence(Qt::CTRL | Qt::Key_D));
    JointClear = make("Clear grouped data", "", QKeySequence(Qt::CTRL | Qt::Key_C));
    InvertJoin = make("Invert grouped data", "");
    JointDeleteData = make("Delete grouped data", "", QKeySequence(Qt::Key_Delete));
    UndeleteData = make("Undelete data", "", QKeySequence(Qt::ALT | Qt::Key_Backspace));
    InvertDeleted = make("Invert deleted data", "");
    ShowData = make("Show data", "Show framed data", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
    ShowStatistic = make("Show sets statistic", "", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    DataInfo = make("Data file information..", "", QKeySequence(Qt::CTRL | Qt::Key_I));
    TestSetup = make("Test setup", "", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T));
    TestSetupMenuItem = make("Test setup", "Test setup..", QKeySequence(Qt::Key_F10));
    Setup1 = make("&Options..", "");
    DataBase1 = make("Graph data &base..", "");
    ProtocolView1 = make("Protocol view...", "");
    PanelViewItem = make("View toolbar", "", {}, true);
    ChannelsPanelItem = make("Channels panel", "", {}, true);
    Top1 = make("Top", "", {}, true);
    Bottom1 = make("Bottom", "", {}, true);
    Left1 = make("Left", "", {}, true);
    Right1 = make("Right", "", {}, true);
    AAELumeny = make("AE Lumeny help", "");
    AQuorvel = make("AE Quorvel", "", QKeySequence(Qt::Key_F1));
    AQuickTour = make("Quick tour", "");
    AHelpHotKeys = make("Hot keys", "", QKeySequence(Qt::CTRL | Qt::Key_F1));
    AShowChanges = make("Last changes", "");
    About1 = make("About..", "");

    // The colour mode is one of three; "Colored Amount" is reached only through the stored
    // "ViewType", so its entry is hidden and disabled and its key does nothing.
    auto* colourModes = new QActionGroup(this);
    for (QAction* a : {DataDependences, ColoredChannels, ColoredQuantaty})
        colourModes->addAction(a);
    ColoredQuantaty->setVisible(false);
    ColoredQuantaty->setEnabled(false);
    auto* sides = new QActionGroup(this);
    for (QAction* a : {Top1, Bottom1, Left1, Right1})
        sides->addAction(a);

    connect(OpenAction, &QAction::triggered, this, &TLmqMain::OpenCommand);
    connect(SaveAsAction, &QAction::triggered, this, &TLmqMain::SaveAsCommand);
    connect(ExitAction, &QAction::triggered, this, &QWidget::close);
    connect(RefreshAction, &QAction::triggered, this, &TLmqMain::RefreshCommand);
    using Command = lm::TLMPageControl::Command;
    connect(RefreshtoStart1, &QAction::triggered, this, [this] { PageCommand(Command::RefreshtoStart1); });
    connect(AllShowAction, &QAction::triggered, this, &TLmqMain::AllShowCommand);
    connect(ZoomAction, &QAction::toggled, this,
            [this](bool down) { PageControl->Common().FrameMode = !down; });
    connect(UnZoomAction, &QAction::triggered, this, [this] { PageCommand(Command::UnZoom); });
    connect(TimeScrollLeft, &QAction::triggered, this, [this] { PageCommand(Command::TimeScrollLeft); });
    connect(TimeScrollRight, &QAction::triggered, this, [this] { PageCommand(Command::TimeScrollRight); });
    connect(EventView, &QAction::triggered, this, [this] {
        PageCommand(Command::EventView);
        EventView->setChecked(Options.EventsView);
    });
    connect(EventShadow, &QAction::triggered, this, &TLmqMain::EventShadowCommand);
    connect(ShowDeleted, &QAction::triggered, this, [this](bool on) {
        Options.ShowDeleted = on;
        RedrawAll();
    });
    connect(ShowTimeMark, &QAction::triggered, this, [this](bool on) {
        Options.ShowTimeMark = on;
        RedrawAll();
    });
    connect(DataDependences, &QAction::triggered, this, [this] { SetColorMode(2); });
    connect(ColoredChannels, &QAction::triggered, this, [this] { SetColorMode(0); });
    connect(ColoredQuantaty, &QAction::triggered, this, [this] { SetColorMode(1); });
    const std::pair<QAction*, Command> setCommands[] = {
        {Frames2JointOR, Command::Frames2JointOR}, {Frames2JointAND, Command::Frames2JointAND},
        {FramesDelete, Command::FramesDelete},     {JointClear, Command::JointClear},
        {InvertJoin, Command::InvertJoin},         {JointDeleteData, Command::JointDeleteData},
        {UndeleteData, Command::UndeleteData},     {InvertDeleted, Command::InvertDeleted},
    };
    for (const auto& [action, command] : setCommands)
        connect(action, &QAction::triggered, this, [this, command = command] { PageCommand(command); });
    connect(TestSetupMenuItem, &QAction::triggered, TestSetup, &QAction::trigger);
    connect(PanelViewItem, &QAction::toggled, this, [this](bool on) { ToolBar->setVisible(on); });
    connect(ChannelsPanelItem, &QAction::toggled, this, [this](bool on) { ChannelArea->setVisible(on); });
    connect(Top1, &QAction::triggered, this, [this] { DockToolBar(1); });
    connect(Bottom1, &QAction::triggered, this, [this] { DockToolBar(2); });
    connect(Left1, &QAction::triggered, this, [this] { DockToolBar(3); });
    connect(Right1, &QAction::triggered, this, [this] { DockToolBar(4); });
    connect(AAELumeny, &QAction::triggered, this, [this] { HelpCommand(1); });
    connect(AQuorvel, &QAction::triggered, this, [this] { HelpCommand(101); });
    connect(AQuickTour, &QAction::triggered, this, [this] { HelpCommand(170); });
    connect(AHelpHotKeys, &QAction::triggered, this, [this] { HelpCommand(150); });
    connect(About1, &QAction::triggered, this, &TLmqMain::AboutCommand);
    connect(AShowChanges, &QAction::triggered, this, &TLmqMain::LastChangesCommand);
    connect(ZoomAtAction, &QAction::triggered, this, &TLmqMain::ZoomAtCommand);
    connect(TestSetup, &QAction::triggered, this, &TLmqMain::TestSetupCommand);
    connect(Setup1, &QAction::triggered, this, &TLmqMain::OptionsCommand);
    connect(DataBase1, &QAction::triggered, this, &TLmqMain::DataBaseCommand);
    connect(ShowData, &QAction::triggered, this, [this] {
        TFDataView view(Data(), TestSetupData, Options, dialogs_, this);
        ExecDialog(view);
    });
    connect(ShowStatistic, &QAction::triggered, this, [this] {
        TFDataStatistic window(Data(), Frames().OccupiedMask(), TestSetupData, Options, dialogs_, this);
        ExecDialog(window);
    });
    connect(DataInfo, &QAction::triggered, this, [this] {
        TFDataInfo info(QString::fromStdString(Data().FileName), dialogs_, this);
        ExecDialog(info);
    });
    connect(ProtocolView1, &QAction::triggered, this, [this] {
        TFLastChanges view(this);
        view.ShowProtocol(Protocol);
        ExecDialog(view);
    });
}

void TLmqMain::CreateMenus()
{
    FileMenu = menuBar()->addMenu("&File");
    FileMenu->addAction(OpenAction);
    FileMenu->addAction(SaveAsAction);
    FileMenu->addSeparator();
    FileMenu->addAction(ExitAction);

    ViewMenu = menuBar()->addMenu("&View");
    ViewMenu->addAction(PanelViewItem);
    ViewMenu->addAction(ChannelsPanelItem);
    QMenu* alignment = ViewMenu->addMenu("Toolbar alignment");
    for (QAction* a : {Top1, Bottom1, Left1, Right1})
        alignment->addAction(a);
    ViewMenu->addSeparator();
    for (QAction* a : {ZoomAction, UnZoomAction, ZoomAtAction, TimeScrollLeft, TimeScrollRight})
        ViewMenu->addAction(a);

    DataMenu = menuBar()->addMenu("&Data");
    for (QAction* a : {DataDependences, ColoredChannels, ColoredQuantaty})
        DataMenu->addAction(a);
    DataMenu->addSeparator();
    for (QAction* a : {EventView, EventShadow, ShowDeleted, ShowTimeMark})
        DataMenu->addAction(a);
    DataMenu->addSeparator();
    DataMenu->addAction(TestSetupMenuItem);
    DataMenu->addSeparator();
    for (QAction* a : {RefreshAction, RefreshtoStart1, AllShowAction})
        DataMenu->addAction(a);
    DataMenu->addSeparator();
    DataMenu->addAction(DataInfo);

    SetsMenu = menuBar()->addMenu("&Sets");
    for (QAction* a : {Frames2JointAND, Frames2JointOR, FramesDelete})
        SetsMenu->addAction(a);
    SetsMenu->addSeparator();
    for (QAction* a : {JointClear, InvertJoin, JointDeleteData})
        SetsMenu->addAction(a);
    SetsMenu->addSeparator();
    for (QAction* a : {UndeleteData, InvertDeleted})
        SetsMenu->addAction(a);
    SetsMenu->addSeparator();
    SetsMenu->addAction(ShowData);
    SetsMenu->addAction(ShowStatistic);

    SetupMenu = menuBar()->addMenu("Se&tup");
    for (QAction* a : {Setup1, DataBase1, ProtocolView1})
        SetupMenu->addAction(a);

    HelpMenu = menuBar()->addMenu("&Help");
    for (QAction* a : {AAELumeny, AQuorvel, AQuickTour, AHelpHotKeys})
        HelpMenu->addAction(a);
    HelpMenu->addSeparator();
    HelpMenu->addAction(AShowChanges);
    HelpMenu->addAction(About1);
}

void TLmqMain::CreateToolBar()
{
    ToolBar = new QToolBar("Toolbar", this);
    ToolBar->setObjectName("ToolBar");
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const std::pair<QAction*, ToolIcon> icons[] = {
        {OpenAction, ToolIcon::Open},
        {SaveAsAction, ToolIcon::SaveAs},
        {DataDependences, ToolIcon::DataDependences},
        {ColoredChannels, ToolIcon::ColoredChannels},
        {ColoredQuantaty, ToolIcon::ColoredAmount},
        {JointDeleteData, ToolIcon::DeleteGrouped},
        {UndeleteData, ToolIcon::Undelete},
        {ZoomAction, ToolIcon::Zoom},
        {UnZoomAction, ToolIcon::UnZoom},
        {TimeScrollLeft, ToolIcon::ScrollLeft},
        {TimeScrollRight, ToolIcon::ScrollRight},
        {ShowTimeMark, ToolIcon::TimeMarks},
        {EventView, ToolIcon::EventView},
        {EventShadow, ToolIcon::ShadowHits},
    };
    for (const auto& [action, icon] : icons)
        action->setIcon(MakeToolIcon(icon));
    ToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (QAction* a : {OpenAction, SaveAsAction})
        ToolBar->addAction(a);
    ToolBar->addSeparator();
    for (QAction* a : {DataDependences, ColoredChannels, ColoredQuantaty})
        ToolBar->addAction(a);
    ToolBar->addSeparator();
    for (QAction* a : {JointDeleteData, UndeleteData})
        ToolBar->addAction(a);
    ToolBar->addSeparator();
    for (QAction* a : {ZoomAction, UnZoomAction, TimeScrollLeft, TimeScrollRight})
        ToolBar->addAction(a);
    ToolBar->addSeparator();
    for (QAction* a : {ShowTimeMark, EventView, EventShadow})
        ToolBar->addAction(a);
    addToolBar(Qt::TopToolBarArea, ToolBar);
    ToolBar->hide();
    // A tool bar dragged to another side checks that side's menu item.
    connect(ToolBar, &QToolBar::topLevelChanged, this, [this](bool floating) {
        if (floating)
            return;
        const int align = ToolBarAlignNow();
        QAction* items[4] = {Top1, Bottom1, Left1, Right1};
        items[align - 1]->setChecked(true);
    });
}

void TLmqMain::CreateStatusBar()
{
    // Before the first refresh the panels show their short texts.
    const char* initial[7] = {"", "HITS:", "EVNT:", "FRM:", "GRPD:", "DEL: ", ""};
    for (int i = 0; i < 7; ++i) {
        StatusPanels[i] = new QLabel(initial[i], this);
        StatusPanels[i]->setMinimumWidth(kPanelWidths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(StatusPanels[i]);
    }
    LoadProgress = new QProgressBar(this);
    LoadProgress->setRange(0, 1000);
    LoadProgress->setMaximumWidth(200);
    LoadCancel = new QPushButton("Cancel", this);
    statusBar()->addPermanentWidget(LoadProgress);
    statusBar()->addPermanentWidget(LoadCancel);
    LoadProgress->hide();
    LoadCancel->hide();
    connect(LoadCancel, &QPushButton::clicked, loader_, &DataLoader::Cancel);
    connect(loader_, &DataLoader::progress, this, [this](quint64 read, quint64 size) {
        LoadProgress->setValue(size ? int(std::min<quint64>(read, size) * 1000 / size) : 0);
    });
}

void TLmqMain::RefreshStatus()
{
    const std::array<std::string, 5> texts = PageControl->StatusTexts();
    for (int i = 0; i < 5; ++i)
        StatusPanels[i + 1]->setText(QString::fromStdString(texts[size_t(i)]));
}

void TLmqMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;

    // The pages are there at once; a data file of the command line follows them when loaded.
    ApplyViewState();
    RebuildPages();
    // Without one the status keeps its first texts until a command refreshes it.
    if (env_.arguments.size() == 1 && IsCommandLineDataFile(env_.arguments[0]))
        LoadDataFile(env_.arguments[0]);
    ChannelPanel->SetChecked(Options.CheckedChan);
}

void TLmqMain::ApplyViewState()
{
    ChannelsPanelItem->setChecked(Options.ChanPanVisible);
    ChannelArea->setVisible(Options.ChanPanVisible);
    PanelViewItem->setChecked(Options.ToolBarVisible);
    ToolBar->setVisible(Options.ToolBarVisible);
    DockToolBar(Options.ToolBarAlign);
    (Options.ViewType == 0   ? ColoredChannels
     : Options.ViewType == 1 ? ColoredQuantaty
                             : DataDependences)
        ->setChecked(true);
    EventView->setChecked(Options.EventsView);
    EventShadow->setChecked(Options.SecondAsShadow);
    ShowTimeMark->setChecked(Options.ShowTimeMark);
    ShowDeleted->setChecked(Options.ShowDeleted);
}

void TLmqMain::DockToolBar(int align)
{
    static const Qt::ToolBarArea areas[4] = {Qt::TopToolBarArea, Qt::BottomToolBarArea, Qt::LeftToolBarArea,
                                             Qt::RightToolBarArea};
    QAction* items[4] = {Top1, Bottom1, Left1, Right1};
    const int index = align >= 1 && align <= 3 ? align - 1 : 3;
    const bool visible = PanelViewItem->isChecked();
    removeToolBar(ToolBar);
    addToolBar(areas[index], ToolBar);
    ToolBar->setVisible(visible);
    items[index]->setChecked(true);
}

int TLmqMain::ToolBarAlignNow() const
{
    switch (toolBarArea(ToolBar)) {
    case Qt::BottomToolBarArea:
        return 2;
    case Qt::LeftToolBarArea:
        return 3;
    case Qt::RightToolBarArea:
        return 4;
    default:
        return 1;
    }
}

// --- Loading

void TLmqMain::LoadDataFile(const QString& path)
{
    if (!loader_->Start(path))
        return;
    ShowLoading(true);
}

bool TLmqMain::Loading() const
{
    return loader_->Running();
}

void TLmqMain::WaitForLoad()
{
    loader_->Wait();
}

void TLmqMain::ShowLoading(bool on)
{
    LoadProgress->setValue(0);
    LoadProgress->setVisible(on);
    LoadCancel->setVisible(on);
    // One file at a time; saving reads the loaded file again, so it waits too.
    OpenAction->setEnabled(!on);
    SaveAsAction->setEnabled(!on);
}

void TLmqMain::LoadFinished()
{
    ShowLoading(false);
    std::unique_ptr<lm::LMDataSet> loaded = loader_->TakeResult();
    if (loaded) {
        // What the page control's load does after reading: the new set takes the place of
        // the old one, every graph draws anew on the rebuilt pages, and the protocol says so.
        Data().Swap(*loaded);
        loaded.reset(); // the previous file's records go now, not with the next load
        PageControl->Common().FreshlyLoaded = true;
        RebuildPages();
        Protocol.Add(lm::protocol_text::DataLoaded(Data().FileName));
        setWindowTitle(QString(kProgramTitle) + " - " + loader_->Path());
        // The page shown draws now, so that the counters of its passes are in the status.
        RedrawAll();
    }
    RefreshStatus();
    emit loadEnded();
}

void TLmqMain::LoadFailed(const QString& message)
{
    // The data shown before stay as they were.
    ShowLoading(false);
    dialogs_->Warning(this, "Warning", message);
    RefreshStatus();
    emit loadEnded();
}

void TLmqMain::LoadCancelled()
{
    ShowLoading(false);
    emit loadEnded();
}

void TLmqMain::OpenCommand()
{
    const QString path = dialogs_->OpenFileName(this, kOpenTitle, kDataFilter);
    if (!path.isEmpty())
        LoadDataFile(path);
}

void TLmqMain::SaveAsCommand()
{
    const QString target = dialogs_->SaveFileName(this, "Save Data File", kDataFilter);
    if (target.isEmpty())
        return;
    try {
        Data().Save(target.toStdString());
    } catch (const std::exception& error) {
        dialogs_->Error(this, "Error..", QString::fromUtf8(error.what()));
        return;
    }
    RedrawAll();
    Protocol.Add(lm::protocol_text::DataSaved(target.toStdString()));
}

// --- Channels

void TLmqMain::RefreshCommand()
{
    Options.CheckedChan = ChannelPanel->Checked();
    RedrawAll();
}

void TLmqMain::AllShowCommand()
{
    ChannelPanel->SetAll(AllToggle);
    AllToggle = !AllToggle;
}

// --- Commands of the page control

void TLmqMain::PageCommand(lm::TLMPageControl::Command command)
{
    PageControl->Run(command, *box_);
    RedrawAll();
    RefreshStatus();
}

void TLmqMain::EventShadowCommand()
{
    Options.SecondAsShadow = EventShadow->isChecked();
    if (Options.EventsView) {
        RedrawAll();
        RefreshStatus();
    }
}

void TLmqMain::SetColorMode(int viewType)
{
    Options.ViewType = viewType;
    RedrawAll();
}

// --- Help

void TLmqMain::HelpCommand(int topic)
{
    // The help topics of the program and their files in the suite's manual.
    const char* file = topic == 1     ? lmhelp::kTopicSuite
                       : topic == 170 ? lmhelp::kTopicQuickTour
                       : topic == 150 ? lmhelp::kTopicHotKeys
                                      : lmhelp::kTopicQuorvel;
    lmhelp::ShowHelp(file, this, env_.manualFolder.isEmpty() ? lmhelp::ManualFolder() : env_.manualFolder);
}

void TLmqMain::AboutCommand()
{
    TFAboutBox about(this);
    ExecDialog(about);
}

void TLmqMain::LastChangesCommand()
{
    TFLastChanges notes(this);
    if (LoadReleaseNotes(notes, QFileInfo(env_.programPath).absolutePath(), dialogs_))
        ExecDialog(notes);
}

// --- Dialogs of the commands

void TLmqMain::ZoomAtCommand()
{
    TZoomParamForm dialog(Options, dialogs_, this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    const lm::ZoomRange range = dialog.Range();
    PageControl->ZoomTo(range.start, range.end);
    RedrawAll();
    RefreshStatus();
}

void TLmqMain::TestSetupCommand()
{
    // "Open" and "Save" inside the dialog change the setup as well as OK does.
    TFTestSetup dialog(TestSetupData, dialogs_, this);
    ExecDialog(dialog);
    RedrawAll();
    RefreshStatus();
}

void TLmqMain::OptionsCommand()
{
    TOptionsForm dialog(Options, TestSetupData, *env_.settings, dialogs_, this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    RebuildPages();
    RedrawAll();
    RefreshStatus();
}

void TLmqMain::DataBaseCommand()
{
    if (!graphDatabase_ || !paramTable_) {
        dialogs_->Warning(this, "Warning", "The graph database is not open.");
        return;
    }
    TDataBaseForm editor(*graphDatabase_, *paramTable_, Options, dialogs_, this);
    if (ExecDialog(editor) != QDialog::Accepted)
        return;
    if (editor.ChosenSystem())
        PageControl->GraphSetChosen = true;
    RebuildPages();
    RedrawAll();
    RefreshStatus();
}

// --- Pages

void TLmqMain::RebuildPages()
{
    // The tabs go before the pages they show.
    PageTabs->blockSignals(true);
    while (PageTabs->count() > 0) {
        QWidget* tab = PageTabs->widget(0);
        PageTabs->removeTab(0);
        delete tab;
    }
    pageWidgets_.clear();
    PageControl->BuildPages(*box_);
    RelayoutPages();
    for (int i = 0; i < PageControl->PageCount(); ++i) {
        auto* page = new TPageWidget(*PageControl, i, *this);
        pageWidgets_.push_back(page);
        PageTabs->addTab(page, QString::fromStdString(PageControl->Page(i).Caption));
    }
    PageTabs->blockSignals(false);
    RelayoutPages();
    if (!PageControl->BuildNote.empty())
        statusBar()->showMessage(QString::fromStdString(PageControl->BuildNote), 10000);
}

void TLmqMain::RelayoutPages()
{
    // Every page takes the size of the tab area.
    QWidget* current = PageTabs->currentWidget();
    QSize size = current ? current->size() : PageTabs->size();
    if (!current && PageTabs->tabBar())
        size.rheight() -= PageTabs->tabBar()->sizeHint().height();
    if (size.width() <= 0 || size.height() <= 0)
        return;
    PageControl->Relayout(size.width(), size.height());
    for (TPageWidget* page : pageWidgets_) {
        page->PlaceViews();
        page->update();
    }
}

void TLmqMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    RelayoutPages();
}

void TLmqMain::RedrawAll()
{
    PageControl->RedrawAll();
    shownPaintError_.clear();
    if (TPageWidget* page = PageWidget(PageTabs->currentIndex())) {
        page->Render();
        page->update();
    }
}

void TLmqMain::PagePaintError(const std::string& text)
{
    // Shown once the painting is over, and once until the next redraw.
    if (text == shownPaintError_ || paintErrorPending_)
        return;
    shownPaintError_ = text;
    paintErrorPending_ = true;
    QTimer::singleShot(0, this, [this, text] {
        paintErrorPending_ = false;
        dialogs_->Warning(this, "Error", QString::fromStdString(text));
    });
}

// --- Mouse on the graphs

namespace {

lm::MouseModifiers Modifiers(Qt::KeyboardModifiers m)
{
    return {bool(m & Qt::ShiftModifier), bool(m & Qt::ControlModifier), bool(m & Qt::AltModifier)};
}

lm::MouseButton Button(Qt::MouseButton b)
{
    return b == Qt::RightButton    ? lm::MouseButton::Right
           : b == Qt::MiddleButton ? lm::MouseButton::Middle
                                   : lm::MouseButton::Left;
}

} // namespace

void TLmqMain::GraphMousePress(TGraphView& view, QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ApplyMouseOutcome(view, PageControl->MouseDown(view.Page.Index, view.Slot, Button(event->button()),
                                                   Modifiers(event->modifiers()), at.x(), at.y()));
}

void TLmqMain::GraphMouseMove(TGraphView& view, QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    UpdateCursor(view, event->modifiers());
    ApplyMouseOutcome(view, PageControl->MouseMove(view.Page.Index, view.Slot, Modifiers(event->modifiers()),
                                                   at.x(), at.y()));
}

void TLmqMain::GraphMouseRelease(TGraphView& view, QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    ApplyMouseOutcome(view, PageControl->MouseUp(view.Page.Index, view.Slot, Button(event->button()),
                                                 Modifiers(event->modifiers()), at.x(), at.y(), *question_));
}

void TLmqMain::GraphMouseLeave(TGraphView&)
{
    StatusPanels[0]->clear();
}

void TLmqMain::UpdateCursor(TGraphView& view, Qt::KeyboardModifiers modifiers)
{
    // A cross where a drag draws a frame, a horizontal arrow where it zooms in time.
    const lm::TLMGraph* g = view.Graph();
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (g && PageControl->StartsBand(*g, Modifiers(modifiers)))
        shape = g->IsTimeGraph() && (!FrameMode() || (modifiers & Qt::ControlModifier)) ? Qt::SizeHorCursor
                                                                                        : Qt::CrossCursor;
    if (view.cursor().shape() != shape)
        view.setCursor(shape);
}

void TLmqMain::ApplyMouseOutcome(TGraphView& view, const lm::MouseOutcome& outcome)
{
    if (outcome.CursorText)
        StatusPanels[0]->setText(QString::fromStdString(*outcome.CursorText));
    if (outcome.BandChanged)
        view.SetBand(outcome.BandVisible ? std::optional<lm::BandRect>(outcome.Band) : std::nullopt);
    if (outcome.Repaint) {
        // The frame or zoom marked the graphs; the page shown draws them now.
        if (TPageWidget* page = PageWidget(PageTabs->currentIndex())) {
            page->Render();
            page->update();
        }
    }
    if (outcome.FrameFinished || outcome.Zoomed)
        RefreshStatus();
    if (!outcome.Error.empty())
        dialogs_->Warning(this, "Error", QString::fromStdString(outcome.Error));
    if (outcome.CopyRequested)
        if (lm::TLMGraph* g = view.Graph())
            CopyGraph(*g);
}

int TLmqMain::ExecDialog(QDialog& dialog)
{
    PlaceDialog(&dialog, this);
    if (AnswerDialog) {
        AnswerDialog(dialog);
        return dialog.result();
    }
    return dialog.exec();
}

void TLmqMain::CopyGraph(lm::TLMGraph& graph)
{
    // The size and resolution of the copy first; they stay in the options.
    TTimeMarkForm size(Options, QString::fromStdString(graph.Name), this);
    if (ExecDialog(size) != QDialog::Accepted)
        return;
    QImage image = lm::RenderGraphPicture(graph, Options);
    image.setDotsPerMeterX(int(Options.PrnDPI / 0.0254));
    image.setDotsPerMeterY(int(Options.PrnDPI / 0.0254));
    QGuiApplication::clipboard()->setImage(image);
}

bool TLmqMain::SaveScreenshot(const QString& path)
{
    // The panel and the tool bar are part of the picture whatever the user keeps hidden.
    ChannelsPanelItem->setChecked(true);
    PanelViewItem->setChecked(true);
    QApplication::processEvents();
    RelayoutPages();
    if (Data().IsLoaded() && PageControl->PageCount() > 0) {
        // A frame on the first point graph of the first page, as a user would drag it.
        const lm::TLMTabSheet& sheet = PageControl->Page(0);
        for (const auto& g : sheet.Graphs) {
            if (!g || !g->IsPointGraph())
                continue;
            const lm::PlotArea& p = g->Plot;
            const int w = p.Right - p.Left, h = p.Bottom - p.Top;
            const lm::BandRect band{p.Left + w * 2 / 5, p.Top + h / 5, p.Left + w * 4 / 5, p.Top + h * 3 / 5};
            PageControl->FinishBand(*g, band, {}, *question_);
            break;
        }
        PageTabs->setCurrentIndex(0);
        RedrawAll();
        RefreshStatus();
    }
    QApplication::processEvents();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return grab().save(path);
}

QStringList TLmqMain::SaveDialogPictures(const QString& base)
{
    DialogScreenshotState state;
    state.data = &Data();
    state.occupiedSlots = Frames().OccupiedMask();
    state.setup = &TestSetupData;
    state.options = &Options;
    state.protocol = &Protocol;
    state.graphs = graphDatabase_.get();
    state.params = paramTable_.get();
    if (PageControl->PageCount() > 0)
        for (const auto& g : PageControl->Page(0).Graphs)
            if (g) {
                state.graphName = QString::fromStdString(g->Name);
                break;
            }
    state.programFolder = QFileInfo(env_.programPath).absolutePath();
    state.manualFolder = env_.manualFolder;
    state.dialogs = dialogs_;
    state.owner = this;
    return SaveDialogScreenshots(state, base);
}

// --- Shutdown

void TLmqMain::closeEvent(QCloseEvent* event)
{
    if (Loading()) {
        loader_->Cancel();
        WaitForLoad();
    }
    Shutdown();
    event->accept();
}

bool TLmqMain::WriteReportFile(QString& error)
{
    // The program's folder first; an installed program's folder is closed to its users,
    // so their own data folder takes the file then.
    const QString programFolder = QFileInfo(env_.programPath).absolutePath();
    std::string message;
    for (const QString& folder : {programFolder, env_.userDataFolder}) {
        if (folder.isEmpty())
            continue;
        if (folder == env_.userDataFolder)
            QDir().mkpath(folder);
        if (Protocol.WriteReport(folder.toStdString(), message)) {
            reportFolder_ = folder;
            return true;
        }
    }
    error = QString::fromStdString(message);
    return false;
}

void TLmqMain::Shutdown()
{
    if (shutDown_)
        return;
    shutDown_ = true;
    if (!env_.persistent)
        return;
    if (shownOnce_) {
        Options.ToolBarAlign = ToolBarAlignNow();
        Options.ToolBarVisible = PanelViewItem->isChecked();
        Options.ChanPanVisible = ChannelsPanelItem->isChecked();
        Options.ViewType = ColoredChannels->isChecked() ? 0 : ColoredQuantaty->isChecked() ? 1 : 2;
    }
    Options.Save(*env_.settings);
    Protocol.Add(lm::protocol_text::kClosed);
    if (Options.WriteReport) {
        QString error;
        if (!WriteReportFile(error))
            dialogs_->Error(isVisible() ? this : nullptr, "Error..", error);
    }
}

} // namespace lmq
