#include "lmfwin/ui/TMainForm.h"

#include "datafiles/DataFileOpen.h"
#include "datafiles/DataFormat.h"
#include "help/ui/THelpViewer.h"
#include "lmfwin/filter/ExpressionCheck.h"
#include "lmfwin/filter/FilterMessages.h"
#include "lmfwin/ui/TFAbout.h"
#include "lmfwin/ui/TFFilterBase.h"
#include "lmfwin/ui/TFProtocolView.h"
#include "lmfwin/ui/TLookUpParamDlg.h"
#include "lmfwin/ui/UiMessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

namespace lmf {

namespace {

constexpr const char* kTitle = "AE Tessaline";

QString Text(int id)
{
    return UiText(id);
}

// The program's icon, drawn here: a burst on a baseline inside a ring.
QIcon TessalineIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 60, 140), 2));
    painter.setBrush(QColor(220, 232, 250));
    painter.drawEllipse(2, 2, 28, 28);
    painter.setPen(QPen(QColor(200, 40, 30), 2));
    const QPointF wave[] = {{6, 16}, {10, 16}, {13, 7}, {16, 25}, {19, 10}, {22, 19}, {26, 16}};
    painter.drawPolyline(wave, 7);
    return QIcon(pixmap);
}

} // namespace

namespace {

// "*.a *.b *.A *.B": pattern lists carry both letter cases, as the file names of these
// systems are often upper case.
QString BothCases(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e.toUpper();
    return patterns.join(' ');
}

} // namespace

QStringList DataFileFilters()
{
    // One filter per format the dialogs offer, from the format table; then every file, then
    // every offered extension together.
    QStringList filters;
    QStringList offered;
    for (const lm::DataFormat& format : lm::DataFormats()) {
        if (!format.dialogName)
            continue;
        QStringList extensions;
        QStringList shown;
        for (const std::string& e : format.dialogExtensions) {
            extensions << QString::fromStdString(e);
            shown << QStringLiteral("*.") + extensions.back();
            if (!offered.contains(extensions.back()))
                offered << extensions.back();
        }
        filters << QStringLiteral("%1 (%2) (%3)")
                       .arg(QString::fromUtf8(format.dialogName), shown.join(QStringLiteral(", ")),
                            BothCases(extensions));
    }
    offered.sort();
    filters << TMainForm::tr("All files (*)") << TMainForm::tr("AE Data Files (%1)").arg(BothCases(offered));
    return filters;
}

QString ExpressionSyntax()
{
    return TMainForm::tr("A, B, C, D: the windows; & and, | or; parentheses group.\n"
                         "No precedence: left to right, so A|B&C means (A|B)&C.\n"
                         "Every other character is ignored.");
}

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_.addButton(button, i);
        layout->addWidget(button);
    }
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemChosen(id);
    });
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton* button = group_.button(index))
        button->setChecked(true);
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return static_cast<QRadioButton*>(group_.button(index));
}

TMainForm::TMainForm(FilterEngine* engine, FilterStore* store, UserDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), engine_(engine), store_(store)
{
    if (!dialogs) {
        ownDialogs_ = std::make_unique<PlatformDialogs>();
        dialogs = ownDialogs_.get();
    }
    dialogs_ = dialogs;

    setWindowTitle(kTitle);
    setWindowIcon(TessalineIcon());
    // A fixed-size window: title, minimise and close, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* top = new QWidget(central);
    BuildTopPanel(top);
    layout->addWidget(top);

    PageControl = new QTabWidget(central);
    PageControl->setObjectName("PageControl");
    BuildFiltrationPage();
    BuildServicePage();
    layout->addWidget(PageControl);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    BtnHide = new QPushButton(tr(" H&ide"), central);
    BtnHide->setObjectName("BtnHide");
    BtnExit = new QPushButton(tr(" &Exit"), central);
    BtnExit->setObjectName("BtnExit");
    bottom->addWidget(BtnHide);
    bottom->addWidget(BtnExit);
    layout->addLayout(bottom);
    // On a screen smaller than the window the content scrolls instead of being cut off.
    Scroll = new QScrollArea(this);
    Scroll->setObjectName("Scroll");
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setWidgetResizable(true);
    Scroll->setWidget(central);
    setCentralWidget(Scroll);

    connect(BtnHide, &QPushButton::clicked, this, &TMainForm::HideToTray);
    connect(BtnExit, &QPushButton::clicked, this, &QWidget::close);

    auto* f9 = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(f9, &QShortcut::activated, this, &TMainForm::StartRun);

    busyDisabled_ = {EditSourceFile,  BtnSourceFile, EditPostFile, BtnPostFile, EditFilterName,
                     GridExpressions, BtnRun,        PageControl,  BtnExit};
    connect(EditPostFile, &QLineEdit::textEdited, this, [this] { confirmedPostFile_.clear(); });

    WriteGridHeaders();
    TreatmentChosen(0);
    ReportEnablingChanged();
    BuildTray();
    FitButtonsToTheirTexts();
    ReadSettings();
    FitToScreen();
    UpdateHideEnabled();
}

void TMainForm::FitButtonsToTheirTexts()
{
    // Room around every caption in the user's font and language.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        const int text = button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
        button->setMinimumWidth(std::max(button->minimumWidth(), text + 24));
    }
}

void TMainForm::FitToScreen()
{
    // The window keeps one size; where the screen is smaller it takes what the screen
    // offers (less the title bar) and its content scrolls.
    QWidget* content = Scroll->widget();
    content->adjustSize();
    QSize wanted = content->sizeHint().expandedTo(content->minimumSizeHint());
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size() - QSize(8, 32);
        if (wanted.width() > available.width())
            wanted.rheight() += Scroll->horizontalScrollBar()->sizeHint().height();
        if (wanted.height() > available.height())
            wanted.rwidth() += Scroll->verticalScrollBar()->sizeHint().width();
        wanted = wanted.boundedTo(available);
    }
    setFixedSize(wanted);
}

TMainForm::~TMainForm()
{
    if (runThread_) {
        cancelRequested_ = true;
        runThread_->wait();
    }
    if (writeSettingsOnDestroy)
        WriteSettings();
}

void TMainForm::BuildTopPanel(QWidget* panel)
{
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    BtnSourceFile = new QPushButton(tr("Source"), panel);
    BtnSourceFile->setObjectName("BtnSourceFile");
    EditSourceFile = new QLineEdit(panel);
    EditSourceFile->setObjectName("EditSourceFile");
    BtnPostFile = new QPushButton(tr("Destination"), panel);
    BtnPostFile->setObjectName("BtnPostFile");
    EditPostFile = new QLineEdit(panel);
    EditPostFile->setObjectName("EditPostFile");
    auto* nameLabel = new QLabel(tr("Filter &Name:"), panel);
    EditFilterName = new QLineEdit(tr("New filter"), panel);
    EditFilterName->setObjectName("EditFilterName");
    nameLabel->setBuddy(EditFilterName);
    for (QLineEdit* edit : {EditSourceFile, EditPostFile, EditFilterName})
        edit->setMinimumWidth(300);

    grid->addWidget(BtnSourceFile, 0, 0);
    grid->addWidget(EditSourceFile, 0, 1);
    grid->addWidget(BtnPostFile, 1, 0);
    grid->addWidget(EditPostFile, 1, 1);
    grid->addWidget(nameLabel, 2, 0, Qt::AlignRight);
    grid->addWidget(EditFilterName, 2, 1);

    GridExpressions = new TKeyboardGrid(4, 1, panel);
    GridExpressions->setObjectName("GridExpressions");
    GridExpressions->setVerticalHeaderLabels(
        {tr("All hits"), tr("Second hit"), tr("Third hit"), tr("Any hit")});
    GridExpressions->setToolTip(ExpressionSyntax());
    for (int r = 1; r < 4; ++r)
        GridExpressions->verticalHeaderItem(r)->setForeground(
            palette().color(QPalette::Disabled, QPalette::Text));
    GridExpressions->verticalHeader()->setDefaultSectionSize(20);
    GridExpressions->horizontalHeader()->setStretchLastSection(true);
    GridExpressions->setFixedHeight(4 * 20 + 26);
    GridExpressions->setMinimumWidth(300);
    GridExpressions->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* scopeLabel = new QLabel(tr("Filter sco&pe"), panel);
    scopeLabel->setBuddy(GridExpressions);
    auto* expressions = new QVBoxLayout;
    expressions->setSpacing(1);
    expressions->addWidget(scopeLabel);
    expressions->addWidget(GridExpressions);
    grid->addLayout(expressions, 0, 2, 3, 1);

    BtnRun = new QPushButton(tr("&Start"), panel);
    BtnRun->setObjectName("BtnRun");
    BtnCancel = new QPushButton(tr("Cancel"), panel);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setEnabled(false);
    ProgressRun = new QProgressBar(panel);
    ProgressRun->setObjectName("ProgressRun");
    ProgressRun->setValue(0);
    ProgressRun->setTextVisible(false);
    auto* runBox = new QVBoxLayout;
    runBox->addWidget(BtnRun);
    runBox->addWidget(BtnCancel);
    runBox->addStretch();
    grid->addLayout(runBox, 0, 3, 3, 1);
    grid->addWidget(ProgressRun, 3, 0, 1, 4);
    ProgressRun->setFixedHeight(12);

    connect(BtnSourceFile, &QPushButton::clicked, this, &TMainForm::ChooseSource);
    connect(BtnPostFile, &QPushButton::clicked, this, &TMainForm::ChooseDestination);
    connect(BtnRun, &QPushButton::clicked, this, &TMainForm::StartRun);
    connect(BtnCancel, &QPushButton::clicked, this, &TMainForm::CancelRun);
}

void TMainForm::BuildFiltrationPage()
{
    PageFiltration = new QWidget;
    PageFiltration->setObjectName("PageFiltration");
    auto* layout = new QHBoxLayout(PageFiltration);

    auto* windows = new QGridLayout;
    const QString titles[4] = {tr("&A"), tr("&B"), tr("&C"), tr("&D (Correlation)")};
    const char* names[4] = {"GridA", "GridB", "GridC", "GridD"};
    for (int w = 0; w < 4; ++w) {
        auto* box = new QGroupBox(titles[w], PageFiltration);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        Grids[w] = new TFilterGrid(w == 3 ? 5 : 3, w == 3 ? QList<int>{0, 3} : QList<int>{0}, box);
        Grids[w]->setObjectName(names[w]);
        Grids[w]->setMinimumSize(w == 3 ? 320 : 200, 92);
        BoxDep[w] = new QCheckBox(tr("Join with \"AND\""), box);
        BoxDep[w]->setObjectName(QString("BoxDep") + QChar('A' + w));
        boxLayout->addWidget(Grids[w]);
        boxLayout->addWidget(BoxDep[w]);
        windows->addWidget(box, w / 2, w % 2);
        connect(Grids[w], &TFilterGrid::lookupRequested, this, [this, w] { OpenParamLookup(Grids[w]); });
    }
    layout->addLayout(windows, 1);

    auto* side = new QGridLayout;
    RadioGroupType =
        new TRadioGroup(tr(" Filtration-Type  "), {tr("Included"), tr("Excluded")}, PageFiltration);
    RadioGroupType->setObjectName("RadioGroupType");
    RadioGroupType->SetItemIndex(0);
    RadioGroupEventType = new TRadioGroup(
        tr(" Datasets  "), {tr("As Hits"), tr("As Events"), tr("As Mechanic")}, PageFiltration);
    RadioGroupEventType->setObjectName("RadioGroupEventType");
    RadioGroupEventType->SetItemIndex(0);

    BoxEvents = new QGroupBox(tr(" Events "), PageFiltration);
    auto* events = new QGridLayout(BoxEvents);
    LabelMPT = new QLabel(tr("MPT :"), BoxEvents);
    LabelLOCK = new QLabel(tr("LOCK :"), BoxEvents);
    EditMPT = new QLineEdit(BoxEvents);
    EditMPT->setObjectName("EditMPT");
    EditLOCK = new QLineEdit(BoxEvents);
    EditLOCK->setObjectName("EditLOCK");
    events->addWidget(LabelMPT, 0, 0);
    events->addWidget(EditMPT, 0, 1);
    events->addWidget(LabelLOCK, 1, 0);
    events->addWidget(EditLOCK, 1, 1);

    BoxMechanic = new QGroupBox(tr(" Mechanic "), PageFiltration);
    auto* mechanic = new QGridLayout(BoxMechanic);
    LabelForward = new QLabel(tr("Forward :"), BoxMechanic);
    LabelBack = new QLabel(tr("Back :"), BoxMechanic);
    EditForward = new QLineEdit(BoxMechanic);
    EditForward->setObjectName("EditForward");
    EditBackWard = new QLineEdit(BoxMechanic);
    EditBackWard->setObjectName("EditBackWard");
    mechanic->addWidget(LabelForward, 0, 0);
    mechanic->addWidget(EditForward, 0, 1);
    mechanic->addWidget(LabelBack, 1, 0);
    mechanic->addWidget(EditBackWard, 1, 1);
    for (QLineEdit* edit : {EditMPT, EditLOCK, EditForward, EditBackWard})
        edit->setMaximumWidth(90);

    auto* options = new QGroupBox(tr(" Options  "), PageFiltration);
    auto* optionsLayout = new QVBoxLayout(options);
    CheckBoxTDP = new QCheckBox(tr("Delete Parametric"), options);
    CheckBoxTDP->setObjectName("CheckBoxTDP");
    CheckBoxTR = new QCheckBox(tr("Delete TR"), options);
    CheckBoxTR->setObjectName("CheckBoxTR");
    CheckBoxEOT = new QCheckBox(tr("Smart End of Time"), options);
    CheckBoxEOT->setObjectName("CheckBoxEOT");
    CheckBoxEOT->setEnabled(false);
    optionsLayout->addWidget(CheckBoxTDP);
    optionsLayout->addWidget(CheckBoxTR);
    optionsLayout->addWidget(CheckBoxEOT);

    // Two columns beside the windows keep the page low enough for small screens.
    side->addWidget(RadioGroupType, 0, 0);
    side->addWidget(RadioGroupEventType, 1, 0);
    side->addWidget(options, 2, 0);
    side->addWidget(BoxEvents, 0, 1);
    side->addWidget(BoxMechanic, 1, 1);
    side->setRowStretch(3, 1);
    layout->addLayout(side);

    connect(RadioGroupEventType, &TRadioGroup::itemChosen, this, &TMainForm::TreatmentChosen);

    FiltrationMenu = new QMenu(PageFiltration);
    QAction* clear = FiltrationMenu->addAction(tr("&Clear"));
    clear->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    clear->setShortcutContext(Qt::WindowShortcut);
    addAction(clear);
    connect(clear, &QAction::triggered, this, &TMainForm::ClearFilter);
    PageFiltration->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PageFiltration, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { FiltrationMenu->popup(PageFiltration->mapToGlobal(at)); });

    PageControl->addTab(PageFiltration, tr("Filtration"));
}

void TMainForm::BuildServicePage()
{
    PageService = new QWidget;
    PageService->setObjectName("PageService");
    auto* layout = new QGridLayout(PageService);

    auto* report = new QGroupBox(tr(" Report "), PageService);
    auto* reportLayout = new QVBoxLayout(report);
    CheckBoxPrtEnable = new QCheckBox(tr("Make report file"), report);
    CheckBoxPrtEnable->setObjectName("CheckBoxPrtEnable");
    CheckBoxPrtEnable->setChecked(true);
    reportLayout->addWidget(CheckBoxPrtEnable);
    RadioGroupPrt = new TRadioGroup(tr(" Report file "),
                                    {tr("Report file in each folder"), tr("Common report file")}, report);
    RadioGroupPrt->setObjectName("RadioGroupPrt");
    RadioGroupPrt->SetItemIndex(0);
    reportLayout->addWidget(RadioGroupPrt);
    LabelPrtFileDir = new QLabel(tr("Report &folder"), report);
    EditPrtFileDir = new QLineEdit(report);
    LabelPrtFileDir->setBuddy(EditPrtFileDir);
    EditPrtFileDir->setObjectName("EditPrtFileDir");
    BtnPrtFileDir = new QPushButton("...", report);
    BtnPrtFileDir->setObjectName("BtnPrtFileDir");
    BtnPrtFileDir->setMaximumWidth(40);
    BtnPrtFileDir->setToolTip(UiText(msgChooseProtocolFolder));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(EditPrtFileDir);
    folderRow->addWidget(BtnPrtFileDir);
    reportLayout->addWidget(LabelPrtFileDir);
    reportLayout->addLayout(folderRow);
    layout->addWidget(report, 0, 0, 2, 1);

    auto* common = new QGroupBox(tr(" Common  "), PageService);
    auto* commonLayout = new QVBoxLayout(common);
    CheckBoxSaveFolder = new QCheckBox(tr("Save work folder"), common);
    CheckBoxSaveFolder->setObjectName("CheckBoxSaveFolder");
    CheckBoxSaveFolder->setChecked(true);
    CheckBoxSaveConfig = new QCheckBox(tr("Save configuration on exit"), common);
    CheckBoxSaveConfig->setObjectName("CheckBoxSaveConfig");
    CheckBoxSaveConfig->setChecked(true);
    commonLayout->addWidget(CheckBoxSaveFolder);
    commonLayout->addWidget(CheckBoxSaveConfig);
    layout->addWidget(common, 0, 1);

    auto* database = new QGroupBox(tr(" Filter Database "), PageService);
    auto* databaseLayout = new QHBoxLayout(database);
    BaseLoad = new QPushButton(tr("&Open"), database);
    BaseLoad->setObjectName("BaseLoad");
    BaseAdd = new QPushButton(tr("&Insert"), database);
    BaseAdd->setObjectName("BaseAdd");
    BaseUpdate = new QPushButton(tr("&Update"), database);
    BaseUpdate->setObjectName("BaseUpdate");
    BaseUpdate->setEnabled(false);
    databaseLayout->addWidget(BaseLoad);
    databaseLayout->addWidget(BaseAdd);
    databaseLayout->addWidget(BaseUpdate);
    layout->addWidget(database, 1, 1);

    RGLanguage = new TRadioGroup(tr(" Language "), {tr("English"), tr("Russian")}, PageService);
    RGLanguage->setObjectName("RGLanguage");
    RGLanguage->SetItemIndex(0);
    layout->addWidget(RGLanguage, 0, 2, 2, 1);

    auto* buttons = new QHBoxLayout;
    BtnReportView = new QPushButton(tr("&Report View"), PageService);
    BtnReportView->setObjectName("BtnReportView");
    BtnHelp = new QPushButton(tr("&Help"), PageService);
    BtnHelp->setObjectName("BtnHelp");
    BtnAbout = new QPushButton(tr("&About"), PageService);
    BtnAbout->setObjectName("BtnAbout");
    buttons->addWidget(BtnReportView);
    buttons->addWidget(BtnHelp);
    buttons->addWidget(BtnAbout);
    buttons->addStretch();
    layout->addLayout(buttons, 2, 0, 1, 3);
    LabelWorkFolder = new QLabel(PageService);
    LabelWorkFolder->setObjectName("LabelWorkFolder");
    LabelWorkFolder->setEnabled(false);
    layout->addWidget(LabelWorkFolder, 3, 0, 1, 3);
    layout->setRowStretch(4, 1);

    connect(CheckBoxPrtEnable, &QCheckBox::toggled, this, &TMainForm::ReportEnablingChanged);
    connect(RadioGroupPrt, &TRadioGroup::itemChosen, this, &TMainForm::ReportEnablingChanged);
    connect(BtnPrtFileDir, &QPushButton::clicked, this, &TMainForm::ChooseReportFolder);
    connect(BaseLoad, &QPushButton::clicked, this, &TMainForm::OpenFilter);
    connect(BaseAdd, &QPushButton::clicked, this, &TMainForm::InsertFilter);
    connect(BaseUpdate, &QPushButton::clicked, this, &TMainForm::UpdateFilter);
    connect(RGLanguage, &TRadioGroup::itemChosen, this, &TMainForm::LanguageChosen);
    connect(BtnReportView, &QPushButton::clicked, this, &TMainForm::ReportView);
    connect(BtnHelp, &QPushButton::clicked, this, &TMainForm::ShowHelp);
    connect(BtnAbout, &QPushButton::clicked, this, &TMainForm::ShowAbout);

    PageControl->addTab(PageService, tr("Service"));
}

void TMainForm::BuildTray()
{
    TrayMenu = new QMenu(this);
    TrayRestore = TrayMenu->addAction(tr("&Restore"));
    TrayExit = TrayMenu->addAction(tr("&Exit"));
    TrayRestore->setEnabled(false);
    connect(TrayRestore, &QAction::triggered, this, &TMainForm::RestoreFromTray);
    connect(TrayExit, &QAction::triggered, this, &QWidget::close);

    // Without a notification area a hidden window could not be brought back.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setToolTip(kTitle);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) {
            RestoreFromTray();
        } else if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
            TrayRestore->setEnabled(true);
            TrayMenu->popup(QCursor::pos());
        }
    });
    TrayIcon->show();
}

void TMainForm::WriteGridHeaders()
{
    GridExpressions->setHorizontalHeaderLabels({Text(msgHeaderExpression)});
    for (int w = 0; w < 3; ++w)
        Grids[w]->SetHeaders({Text(msgHeaderParameter), tr("Min"), tr("Max")}, {70, 46, 46});
    Grids[3]->SetHeaders({Text(msgHeaderParameterY), "=", "a *", Text(msgHeaderParameterX), "+ b"},
                         {70, 30, 51, 70, 51});
}

void TMainForm::OnActivated()
{
    // Done once: repeating it on every activation would throw away the user's page and
    // first expression each time a message box closes.
    if (activatedOnce_)
        return;
    activatedOnce_ = true;
    PageControl->setCurrentWidget(PageFiltration);
    WriteGridHeaders();
    // The first expression is preset, unless the last session left one.
    auto* cell = GridExpressions->item(0, 0);
    if (!cell)
        GridExpressions->setItem(0, 0, new QTableWidgetItem("A"));
    else if (cell->text().isEmpty())
        cell->setText("A");
}

void TMainForm::RestorePosition()
{
    // Back where it was, when that place is still on one of the screens.
    if (!savedPosition_)
        return;
    const QRect wanted(*savedPosition_, frameGeometry().size());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(wanted)) {
            move(*savedPosition_);
            break;
        }
    }
    savedPosition_.reset();
}

void TMainForm::showEvent(QShowEvent* event)
{
    RestorePosition();
    QMainWindow::showEvent(event);
    OnActivated();
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        OnActivated();
        UpdateHideEnabled();
    }
}

void TMainForm::UpdateHideEnabled()
{
    // Hiding needs the icon in the notification area to come back by; a run keeps the window.
    const bool tray = TrayIcon && QSystemTrayIcon::isSystemTrayAvailable();
    BtnHide->setEnabled(tray && !running_);
}

void TMainForm::TreatmentChosen(int index)
{
    const bool events = index == 1;
    const bool mechanic = index == 2;
    for (QWidget* widget : std::initializer_list<QWidget*>{BoxEvents, LabelMPT, LabelLOCK, EditMPT, EditLOCK})
        widget->setEnabled(events);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{BoxMechanic, LabelForward, LabelBack, EditForward, EditBackWard})
        widget->setEnabled(mechanic);
    if (!events) {
        EditMPT->clear();
        EditLOCK->clear();
    }
    if (!mechanic) {
        EditForward->clear();
        EditBackWard->clear();
    }
}

void TMainForm::ReportEnablingChanged()
{
    const bool report = CheckBoxPrtEnable->isChecked();
    const bool common = report && RadioGroupPrt->ItemIndex() == 1;
    RadioGroupPrt->setEnabled(report);
    EditPrtFileDir->setEnabled(common);
    BtnPrtFileDir->setEnabled(common);
    LabelPrtFileDir->setEnabled(common);
}

void TMainForm::LanguageChosen(int index)
{
    if (settingsLoading_)
        return;
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    settings.setValue(kLanguageOverrideKey, index == 1 ? "RUS" : "ENU");
    settings.sync();
    dialogs_->Information(this, Text(msgCaptionSummary), Text(msgLanguageNextLaunch));
}

void TMainForm::ReadSettings()
{
    settingsLoading_ = true;
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    if (!settings.value("SaveConfig", true).toBool()) {
        CheckBoxSaveConfig->setChecked(false);
    } else {
        CheckBoxSaveConfig->setChecked(true);
        if (settings.value("SaveFolder", true).toBool()) {
            CheckBoxSaveFolder->setChecked(true);
            workFolder_ = settings.value("WorkFolder", QString()).toString();
        } else {
            CheckBoxSaveFolder->setChecked(false);
            workFolder_.clear();
        }
        if (settings.value("SaveProtocol", true).toBool()) {
            CheckBoxPrtEnable->setChecked(true);
            EditPrtFileDir->setText(settings.value("ProtocolFolder", QString()).toString());
            RadioGroupPrt->SetItemIndex(settings.value("OneProtocolFile", false).toBool() ? 1 : 0);
        } else {
            CheckBoxPrtEnable->setChecked(false);
        }
        RGLanguage->SetItemIndex(settings.value("Language", false).toBool() ? 1 : 0);
        // What the user worked on last time, and where the window was.
        EditSourceFile->setText(settings.value("SourceFile", EditSourceFile->text()).toString());
        EditPostFile->setText(settings.value("PostFile", EditPostFile->text()).toString());
        EditFilterName->setText(settings.value("FilterName", EditFilterName->text()).toString());
        const QStringList expressions = settings.value("Expressions").toStringList();
        if (!expressions.isEmpty())
            for (int r = 0; r < 4; ++r)
                GridExpressions->setItem(r, 0, new QTableWidgetItem(expressions.value(r)));
        const QPoint position = settings.value("WindowPosition", QPoint(-1, -1)).toPoint();
        if (position != QPoint(-1, -1))
            savedPosition_ = position;
    }
    LabelWorkFolder->setText(workFolder_);
    ReportEnablingChanged();
    settingsLoading_ = false;
}

void TMainForm::WriteSettings()
{
    // File dialogs here leave the process's current folder alone, so a chosen work
    // folder is kept; only an empty one takes the current folder.
    if (workFolder_.isEmpty())
        workFolder_ = QDir::currentPath();
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    if (CheckBoxSaveConfig->isChecked()) {
        settings.setValue("SaveConfig", true);
        settings.setValue("SaveFolder", CheckBoxSaveFolder->isChecked());
        if (CheckBoxSaveFolder->isChecked())
            settings.setValue("WorkFolder", workFolder_);
        settings.setValue("SaveProtocol", CheckBoxPrtEnable->isChecked());
        if (CheckBoxPrtEnable->isChecked()) {
            settings.setValue("ProtocolFolder", EditPrtFileDir->text());
            settings.setValue("OneProtocolFile", RadioGroupPrt->ItemIndex() == 1);
        }
        settings.setValue("Language", RGLanguage->ItemIndex() == 1);
        settings.setValue("SourceFile", EditSourceFile->text());
        settings.setValue("PostFile", EditPostFile->text());
        settings.setValue("FilterName", EditFilterName->text());
        QStringList expressions;
        for (int r = 0; r < 4; ++r)
            expressions << (GridExpressions->item(r, 0) ? GridExpressions->item(r, 0)->text() : QString());
        settings.setValue("Expressions", expressions);
        settings.setValue("WindowPosition", pos());
    } else {
        settings.setValue("SaveConfig", false);
    }
    settings.sync();
}

void TMainForm::SetWorkFolder(const QString& folder)
{
    workFolder_ = folder;
    LabelWorkFolder->setText(folder);
}

void TMainForm::TakeDataFileName(const QString& path)
{
    if (lm::IsDataFilePath(path.toStdString()))
        EditSourceFile->setText(path);
    else
        dialogs_->Information(this, Text(msgCaptionAttention), Text(msgTypeNotRegistered));
}

void TMainForm::ApplyCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return;
    if (arguments.size() > 1) {
        dialogs_->Information(this, Text(msgCaptionAttention), Text(msgTooManyArguments));
        return;
    }
    // Made absolute: a run resolves relative names against the work folder, not against
    // the folder the program was started from.
    TakeDataFileName(QFileInfo(arguments.first()).absoluteFilePath());
}

void TMainForm::DropFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (paths.size() > 1) {
        dialogs_->Information(this, Text(msgCaptionAttention), Text(msgDropOneFile));
        return;
    }
    TakeDataFileName(paths.first());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    event->acceptProposedAction();
    DropFiles(paths);
}

void TMainForm::CommitEdits()
{
    // A cell still being typed in counts as typed: F9 does not take the focus from it.
    QWidget* editor = QApplication::focusWidget();
    if (!editor)
        return;
    for (QTableWidget* table :
         std::initializer_list<QTableWidget*>{GridExpressions, Grids[0], Grids[1], Grids[2], Grids[3]})
        if (table->viewport()->isAncestorOf(editor))
            emit table->itemDelegate()->commitData(editor);
}

FilterForm TMainForm::Form() const
{
    FilterForm form;
    form.filterName = EditFilterName->text();
    form.sourceFile = EditSourceFile->text();
    form.postFile = EditPostFile->text();
    form.activePageCaption = PageControl->tabText(PageControl->currentIndex());
    form.filterType = RadioGroupType->ItemIndex();
    form.deleteParametric = CheckBoxTDP->isChecked();
    form.deleteTR = CheckBoxTR->isChecked();
    form.smartEndOfTime = CheckBoxEOT->isChecked();
    form.treatment = RadioGroupEventType->ItemIndex();
    form.mpt = EditMPT->text();
    form.lock = EditLOCK->text();
    form.forward = EditForward->text();
    form.back = EditBackWard->text();
    for (int w = 0; w < 4; ++w) {
        form.grids[w] = Grids[w]->Rows();
        form.joinAnd[w] = BoxDep[w]->isChecked();
    }
    for (int r = 0; r < 4; ++r) {
        const QTableWidgetItem* cell = GridExpressions->item(r, 0);
        form.expressions[r] = cell ? cell->text() : QString();
    }
    form.makeReport = CheckBoxPrtEnable->isChecked();
    form.commonReportFile = RadioGroupPrt->ItemIndex() == 1;
    form.reportFolder = EditPrtFileDir->text();
    form.workFolder = workFolder_;
    return form;
}

void TMainForm::SetForm(const FilterForm& form)
{
    ClearFilter();
    EditFilterName->setText(form.filterName);
    // The treatment first: choosing it empties the fields it disables.
    RadioGroupEventType->SetItemIndex(form.treatment);
    TreatmentChosen(form.treatment);
    RadioGroupType->SetItemIndex(form.filterType);
    EditMPT->setText(form.mpt);
    EditLOCK->setText(form.lock);
    EditForward->setText(form.forward);
    EditBackWard->setText(form.back);
    CheckBoxTDP->setChecked(form.deleteParametric);
    // A filter stored without "Delete TR" leaves the box as the user has set it.
    if (form.deleteTR)
        CheckBoxTR->setChecked(*form.deleteTR);
    CheckBoxEOT->setChecked(form.smartEndOfTime);
    for (int w = 0; w < 4; ++w) {
        BoxDep[w]->setChecked(form.joinAnd[w]);
        if (!form.grids[w].empty())
            Grids[w]->SetRows(form.grids[w]);
    }
    for (int r = 0; r < 4; ++r)
        GridExpressions->setItem(r, 0, new QTableWidgetItem(form.expressions[r]));
}

void TMainForm::ChooseSource()
{
    const QStringList filters = DataFileFilters();
    const QString name =
        dialogs_->OpenFileName(this, Text(msgSourceFileName), filters.join(";;"), filters[4]);
    if (name.isEmpty())
        return;
    EditSourceFile->setText(name);
    SetWorkFolder(QFileInfo(name).absolutePath());
}

void TMainForm::ChooseDestination()
{
    const QStringList filters = DataFileFilters();
    const QString name =
        dialogs_->SaveFileName(this, Text(msgDestinationFileName), filters.join(";;"), filters[4]);
    if (name.isEmpty())
        return;
    EditPostFile->setText(name);
    SetWorkFolder(QFileInfo(name).absolutePath());
    // The file dialog has asked before choosing an existing file: that answer counts once.
    confirmedPostFile_ = QFileInfo(name).absoluteFilePath();
}

void TMainForm::SetBusy(bool busy)
{
    for (QWidget* widget : busyDisabled_)
        widget->setEnabled(!busy);
    BtnCancel->setEnabled(busy);
    UpdateHideEnabled();
    if (busy)
        BtnRun->setCursor(Qt::WaitCursor);
    else
        BtnRun->unsetCursor();
}

QString TMainForm::ResolvedName(const QString& name) const
{
    if (name.isEmpty() || QFileInfo(name).isAbsolute())
        return name;
    return QDir(workFolder_.isEmpty() ? QDir::currentPath() : workFolder_).absoluteFilePath(name);
}

bool TMainForm::ExpressionAccepted(const QString& expression)
{
    const std::string text = expression.toStdString();
    const lm::ExpressionCheck check = lm::CheckExpression(text);
    if (!check.Surprising())
        return true;
    QStringList ignored;
    for (const std::string& part : check.ignored)
        ignored << "\"" + QString::fromStdString(part) + "\"";
    const QString question = tr("\"%1\" is read as \"%2\" (ignored: %3). Run anyway?")
                                 .arg(expression, QString::fromStdString(check.readAs), ignored.join(", "));
    return dialogs_->Question(this, Text(msgCaptionAttention), question + "\n\n" + ExpressionSyntax(), true);
}

bool TMainForm::PostFileReplacementAccepted(const FilterForm& form)
{
    // Filtering into the source itself has its own questions in the run.
    const QFileInfo post(ResolvedName(form.postFile));
    if (form.postFile.isEmpty() || !post.exists())
        return true;
    const QFileInfo source(ResolvedName(form.sourceFile));
    if (source.exists() && source.canonicalFilePath() == post.canonicalFilePath())
        return true;
    if (post.absoluteFilePath() == confirmedPostFile_)
        return true;
    return dialogs_->Question(this, Text(msgCaptionAttention),
                              tr("The destination file\n%1\nexists already. Replace it?")
                                  .arg(QDir::toNativeSeparators(post.absoluteFilePath())),
                              true);
}

void TMainForm::StartRun()
{
    if (running_ || !engine_)
        return;
    CommitEdits();
    const FilterForm form = Form();
    // Nothing starts unless the user agrees to what the run will really do.
    if (!ExpressionAccepted(form.expressions[0]) || !PostFileReplacementAccepted(form))
        return;
    confirmedPostFile_.clear();
    running_ = true;
    cancelRequested_ = false;
    lastResult_.clear();
    ProgressRun->setValue(0);
    SetBusy(true);

    runThread_ = QThread::create([this, form] {
        RunHooks hooks;
        hooks.progress = [this](unsigned position, unsigned maximum) {
            QMetaObject::invokeMethod(
                this,
                [this, position, maximum] {
                    ProgressRun->setMaximum(int(std::min<unsigned>(maximum, INT32_MAX)));
                    ProgressRun->setValue(int(std::min<unsigned>(position, INT32_MAX)));
                },
                Qt::QueuedConnection);
        };
        hooks.askYesNo = [this](const QString& caption, const QString& text) {
            bool yes = false;
            QMetaObject::invokeMethod(
                this,
                [this, caption, text] {
                    // Closing the window meanwhile has already said: stop.
                    if (closeAfterRun_)
                        return false;
                    return dialogs_->Question(this, LocalizeEngineText(caption), LocalizeEngineText(text),
                                              true);
                },
                Qt::BlockingQueuedConnection, &yes);
            return yes;
        };
        hooks.cancel = &cancelRequested_;
        bool ok = false;
        bool general = false;
        QString text, protocolError;
        try {
            const RunOutcome outcome = engine_->Run(form, hooks);
            text = outcome.resultText;
            protocolError = outcome.protocolError;
            ok = true;
        } catch (const FilterFault& fault) {
            text = fault.text();
        } catch (const std::exception& error) {
            text = QString::fromUtf8(error.what());
            general = true;
        } catch (...) {
            text = QStringLiteral("Unknown error");
            general = true;
        }
        QMetaObject::invokeMethod(
            this,
            [this, ok, general, text, protocolError] {
                if (general) {
                    // Faults no command expects go to the general error display.
                    running_ = false;
                    SetBusy(false);
                    ProgressRun->setValue(0);
                    if (!CloseAfterRun())
                        dialogs_->Error(this, kTitle, text);
                    emit runFinished();
                } else {
                    RunEnded(ok, text, protocolError);
                }
            },
            Qt::QueuedConnection);
    });
    connect(runThread_, &QThread::finished, runThread_, &QObject::deleteLater);
    connect(runThread_, &QThread::finished, this, [this] { runThread_ = nullptr; });
    runThread_->start();
}

void TMainForm::RunEnded(bool ok, const QString& text, const QString& protocolError)
{
    running_ = false;
    SetBusy(false);
    ProgressRun->setValue(0);
    if (ok)
        lastResult_ = LocalizeEngineText(text);
    if (CloseAfterRun()) {
        emit runFinished();
        return;
    }
    if (ok) {
        dialogs_->Information(this, Text(msgCaptionSummary), lastResult_);
        if (!protocolError.isEmpty())
            dialogs_->Error(this, Text(msgCaptionError), LocalizeEngineText(protocolError));
    } else {
        dialogs_->Error(this, Text(msgCaptionError), LocalizeEngineText(text));
    }
    emit runFinished();
}

bool TMainForm::CloseAfterRun()
{
    if (!closeAfterRun_)
        return false;
    // The user has asked to cancel and exit: no result box, the window closes.
    closeAfterRun_ = false;
    closingConfirmed_ = true;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return true;
}

void TMainForm::CancelRun()
{
    if (running_)
        cancelRequested_ = true;
}

void TMainForm::ClearFilter()
{
    if (running_)
        return;
    for (TFilterGrid* grid : Grids)
        grid->Clear();
    for (int r = 0; r < 4; ++r)
        GridExpressions->setItem(r, 0, new QTableWidgetItem(QString()));
}

void TMainForm::LoadFilter(int fid)
{
    const std::optional<FilterForm> stored = store_->Load(fid);
    if (!stored)
        return;
    loadedFilter_ = fid;
    SetForm(*stored);
    BaseUpdate->setEnabled(true);
}

void TMainForm::OpenFilter()
{
    if (!store_)
        return;
    TFFilterBase chooser(store_, dialogs_, this);
    if (chooser.exec() == QDialog::Accepted && chooser.SelectedFid() > 0)
        LoadFilter(chooser.SelectedFid());
}

bool TMainForm::StoringAccepted(const FilterForm& form, int storedFid)
{
    if (form.filterName.trimmed().isEmpty()) {
        dialogs_->Error(this, Text(msgCaptionError), tr("The filter has no name. Type one to store it."));
        EditFilterName->setFocus();
        return false;
    }
    try {
        engine_->Validate(form);
    } catch (const FilterFault& fault) {
        dialogs_->Error(this, Text(msgCaptionError), LocalizeEngineText(fault.text()));
        return false;
    }
    // Two filters of one name can only be told apart by their numbers: only on request
    // (once: a filter that keeps its name is not asked about again).
    QStringList others;
    for (const StoredFilterRow& row : store_->List()) {
        if (row.fid == storedFid && row.name == form.filterName)
            return true;
        if (row.name == form.filterName && row.fid != storedFid)
            others << QString::number(row.fid);
    }
    if (others.isEmpty())
        return true;
    return dialogs_->Question(
        this, Text(msgCaptionAttention),
        tr("A filter named \"%1\" is stored already (No. %2). Store a second filter of this name?")
            .arg(form.filterName, others.join(", ")),
        true);
}

void TMainForm::InsertFilter()
{
    if (!store_ || !engine_)
        return;
    CommitEdits();
    const FilterForm form = Form();
    if (!StoringAccepted(form, 0))
        return;
    try {
        loadedFilter_ = store_->Insert(form);
    } catch (const std::exception& error) {
        dialogs_->Error(this, kTitle, QString::fromUtf8(error.what()));
        return;
    }
    BaseUpdate->setEnabled(true);
    dialogs_->Information(this, Text(msgCaptionSummary), Text(msgFilterInserted));
}

void TMainForm::UpdateFilter()
{
    if (!store_ || !engine_ || loadedFilter_ == 0)
        return;
    CommitEdits();
    const FilterForm form = Form();
    if (!StoringAccepted(form, loadedFilter_))
        return;
    bool stored = false;
    try {
        stored = store_->Update(loadedFilter_, form);
    } catch (const std::exception& error) {
        dialogs_->Error(this, kTitle, QString::fromUtf8(error.what()));
        return;
    }
    // The deleted filter can be stored anew with the button of that name, as it is labelled.
    dialogs_->Information(this, Text(msgCaptionSummary),
                          stored ? Text(msgFilterOverwritten)
                                 : tr("The filter's record has been deleted. Try the '%1' button.")
                                       .arg(BaseAdd->text().remove('&')));
}

void TMainForm::ReportView()
{
    FilterForm form = Form();
    if (form.workFolder.isEmpty())
        form.workFolder = QDir::currentPath();
    const QString path = engine_ ? engine_->ProtocolPath(form) : QString();
    if (path.isEmpty()) {
        // "Common report file" without a folder names no file at all.
        dialogs_->Error(this, Text(msgCaptionError), Text(lm::kMsgNoReportFolder).section('\n', 0, 0));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        dialogs_->Error(this, Text(msgCaptionError), Text(msgProtocolFile) + path + Text(msgNotFound));
        return;
    }
    auto* viewer = new TFProtocolView(path, dialogs_, this);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->show();
}

void TMainForm::ChooseReportFolder()
{
    const QString folder = dialogs_->FolderName(this, Text(msgChooseProtocolFolder), EditPrtFileDir->text());
    if (!folder.isEmpty())
        EditPrtFileDir->setText(folder);
}

QString TMainForm::HelpText()
{
    return tr("Filter expression (the first row decides which hits are kept):\n%1\n\n"
              "Window grids: Insert adds a row, Ctrl+Delete deletes one, Shift+Up/Down move it, "
              "Ctrl+F1 in a parameter column looks a name up.\n"
              "Tab leaves a grid after its last cell, Ctrl+Tab from any cell. F9 starts the run.")
        .arg(ExpressionSyntax());
}

void TMainForm::ShowHelp()
{
    lmhelp::ShowHelp(lmhelp::kTopicTessaline, this,
                     HelpFolder.isEmpty() ? lmhelp::ManualFolder() : HelpFolder);
}

void TMainForm::ShowAbout()
{
    TFAbout about(this);
    about.exec();
}

void TMainForm::HideToTray()
{
    UpdateHideEnabled();
    if (!BtnHide->isEnabled())
        return;
    hide();
}

void TMainForm::RestoreFromTray()
{
    show();
    raise();
    activateWindow();
    TrayRestore->setEnabled(false);
}

void TMainForm::OpenParamLookup(TFilterGrid* grid)
{
    if (!store_)
        return;
    TLookUpParamDlg1 lookup(store_, systemChoice_, this);
    lookup.adjustSize();
    // Centred over the main window and kept inside the screen.
    QRect area = frameGeometry();
    QRect box(QPoint(0, 0), lookup.sizeHint());
    box.moveCenter(area.center());
    if (QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        box.moveLeft(std::clamp(box.left(), available.left(),
                                std::max(available.left(), available.right() - box.width())));
        box.moveTop(std::clamp(box.top(), available.top(),
                               std::max(available.top(), available.bottom() - box.height())));
    }
    lookup.move(box.topLeft());
    const int row = grid->currentRow() + 1;
    const int column = grid->currentColumn();
    if (lookup.exec() == QDialog::Accepted && !lookup.Result().isEmpty())
        grid->SetCell(row, column, lookup.Result());
    systemChoice_ = lookup.Choice();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (running_) {
        // Only with the user's word: the run is cancelled (leaving nothing behind) and the
        // window closes when it has stopped.
        if (!closeAfterRun_ && dialogs_->Question(this, Text(msgCaptionExit),
                                                  tr("A filtration is running. Cancel it and exit?"), true)) {
            closeAfterRun_ = true;
            cancelRequested_ = true;
        }
        event->ignore();
        return;
    }
    if (closingConfirmed_ || dialogs_->Question(this, Text(msgCaptionExit), Text(msgQuitQuestion), false)) {
        if (TrayIcon)
            TrayIcon->hide();
        event->accept();
        // A hidden window (exit from the tray menu) is no last window being closed, so
        // the program would run on unseen and without its icon: end it here.
        if (!isVisible() && QGuiApplication::quitOnLastWindowClosed())
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    } else {
        event->ignore();
    }
}

QStringList TMainForm::SaveScreenshots(const QString& path)
{
    // The whole window as a large enough screen shows it, whatever the screen here.
    const QSize fitted = size();
    QWidget* content = Scroll->widget();
    setFixedSize(content->sizeHint().expandedTo(content->minimumSizeHint()));
    QStringList written;
    const int current = PageControl->currentIndex();
    const QString base = path.endsWith(".png", Qt::CaseInsensitive) ? path.left(path.size() - 4) : path;
    QDir().mkpath(QFileInfo(base).absolutePath());
    const char* names[2] = {"filtration", "service"};
    for (int page = 0; page < PageControl->count() && page < 2; ++page) {
        PageControl->setCurrentIndex(page);
        QApplication::processEvents();
        const QString file = base + "-" + names[page] + ".png";
        if (grab().save(file))
            written << file;
    }
    PageControl->setCurrentIndex(current);
    setFixedSize(fitted);

    // The dialogs as they open from the window.
    auto save = [&](QWidget& dialog, const char* name) {
        dialog.adjustSize();
        const QString file = base + "-" + name + ".png";
        if (dialog.grab().save(file))
            written << file;
    };
    TFAbout about(this);
    save(about, "about");
    if (store_) {
        TFFilterBase chooser(store_, dialogs_, this);
        save(chooser, "filters");
        TLookUpParamDlg1 lookup(store_, systemChoice_, this);
        save(lookup, "lookup");
    }
    return written;
}

} // namespace lmf
