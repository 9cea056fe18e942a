#pragma once

// The main window of the post-filter program: file names, the four filter windows and
// the expressions, run options, report settings, the filter database commands and the
// settings kept between sessions. It gathers its controls into a FilterForm and hands
// that to the engine or the store; the logic lives below the window.

#include "lmfwin/ui/FilterForm.h"
#include "lmfwin/ui/FilterServices.h"
#include "lmfwin/ui/TFilterGrid.h"
#include "lmfwin/ui/UserDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

namespace lmf {

// The settings store of the program: QSettings("Varnholt", "AELumeny"), group "Tessaline".
inline constexpr const char* kSettingsOrganization = "Varnholt";
inline constexpr const char* kSettingsApplication = "AELumeny";
inline constexpr const char* kSettingsGroup = "Tessaline";
// Where the language choice for the next start is recorded (beside the kept settings).
inline constexpr const char* kLanguageOverrideKey = "LanguageOverride";

// The file-type list of the Source and Destination dialogs; the fifth entry is preselected.
QStringList DataFileFilters();
// The syntax of the filter expressions, as the expression grid's tooltip and the help show it.
QString ExpressionSyntax();

// A radio group: a titled box of exclusive buttons with an item index.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);
    int ItemIndex() const { return group_.checkedId(); }
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;

signals:
    void itemChosen(int index);

private:
    QButtonGroup group_;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The window does not own the services; `dialogs` may be null for the platform's own.
    TMainForm(FilterEngine* engine, FilterStore* store, UserDialogs* dialogs = nullptr,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up step with the program's arguments (without the program name).
    void ApplyCommandLine(const QStringList& arguments);
    // Files dropped on the window.
    void DropFiles(const QStringList& paths);

    // Takes the text of a cell editor that is still open into its cell.
    void CommitEdits();
    FilterForm Form() const;
    void SetForm(const FilterForm& form);

    // Commands.
    void ChooseSource();
    void ChooseDestination();
    void StartRun();
    void CancelRun();
    void ClearFilter();
    void OpenFilter();
    void InsertFilter();
    void UpdateFilter();
    void LoadFilter(int fid);
    void ReportView();
    void ChooseReportFolder();
    // Opens the manual's page of this program in the help viewer.
    void ShowHelp();
    QString HelpFolder; // the manual; empty: "help" beside the program
    void ShowAbout();
    void HideToTray();
    void RestoreFromTray();
    void OpenParamLookup(TFilterGrid* grid);

    bool IsRunning() const { return running_; }
    QString WorkFolder() const { return workFolder_; }
    void SetWorkFolder(const QString& folder);
    int LoadedFilter() const { return loadedFilter_; }
    QString LastResult() const { return lastResult_; }

    // Whether destroying the window writes the kept settings.
    bool writeSettingsOnDestroy = true;
    // Writes the kept settings (also done when the window is destroyed).
    void WriteSettings();
    // Saves an image of each page under `path` (a ".png" name gets "-<page>" inserted).
    QStringList SaveScreenshots(const QString& path);
    // The text of the Help command.
    static QString HelpText();

    // Controls, named as the users' documentation names them.
    QLineEdit* EditSourceFile;
    QPushButton* BtnSourceFile;
    QLineEdit* EditPostFile;
    QPushButton* BtnPostFile;
    QLineEdit* EditFilterName;
    TKeyboardGrid* GridExpressions;
    QPushButton* BtnRun;
    QPushButton* BtnCancel;
    QProgressBar* ProgressRun;
    QScrollArea* Scroll;
    QTabWidget* PageControl;
    QWidget* PageFiltration;
    QWidget* PageService;
    std::array<TFilterGrid*, 4> Grids; // GridA, GridB, GridC, GridD
    std::array<QCheckBox*, 4> BoxDep;  // BoxDepA .. BoxDepD
    TRadioGroup* RadioGroupType;
    TRadioGroup* RadioGroupEventType;
    QGroupBox* BoxEvents;
    QLabel* LabelMPT;
    QLabel* LabelLOCK;
    QLineEdit* EditMPT;
    QLineEdit* EditLOCK;
    QGroupBox* BoxMechanic;
    QLabel* LabelForward;
    QLabel* LabelBack;
    QLineEdit* EditForward;
    QLineEdit* EditBackWard;
    QCheckBox* CheckBoxTDP;
    QCheckBox* CheckBoxTR;
    QCheckBox* CheckBoxEOT;
    QCheckBox* CheckBoxPrtEnable;
    TRadioGroup* RadioGroupPrt;
    QLabel* LabelPrtFileDir;
    QLineEdit* EditPrtFileDir;
    QPushButton* BtnPrtFileDir;
    QCheckBox* CheckBoxSaveFolder;
    QCheckBox* CheckBoxSaveConfig;
    QPushButton* BaseLoad;
    QPushButton* BaseAdd;
    QPushButton* BaseUpdate;
    TRadioGroup* RGLanguage;
    QPushButton* BtnReportView;
    QPushButton* BtnHelp;
    QPushButton* BtnAbout;
    QLabel* LabelWorkFolder;
    QPushButton* BtnHide;
    QPushButton* BtnExit;
    QMenu* FiltrationMenu;
    QSystemTrayIcon* TrayIcon = nullptr;
    QMenu* TrayMenu;
    QAction* TrayRestore;
    QAction* TrayExit;

signals:
    // Emitted when a run has ended (successfully or not).
    void runFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildTopPanel(QWidget* panel);
    void BuildFiltrationPage();
    void BuildServicePage();
    void BuildTray();
    void WriteGridHeaders();
    void OnActivated();
    void TreatmentChosen(int index);
    void ReportEnablingChanged();
    void LanguageChosen(int index);
    void ReadSettings();
    void SetBusy(bool busy);
    void RunEnded(bool ok, const QString& text, const QString& protocolError);
    void TakeDataFileName(const QString& path);
    void FitButtonsToTheirTexts();
    void FitToScreen();
    void UpdateHideEnabled();
    void RestorePosition();
    // A file name as a run reads it: relative names are in the work folder.
    QString ResolvedName(const QString& name) const;
    // The questions before a run: an expression that does not read as typed, and a post
    // file that would replace an existing file. Both default to No.
    bool ExpressionAccepted(const QString& expression);
    bool PostFileReplacementAccepted(const FilterForm& form);
    // After a run the user cancelled by closing the window: closes it (true), or false.
    bool CloseAfterRun();
    // The checks before a filter is stored (name, validity, a name stored already).
    bool StoringAccepted(const FilterForm& form, int storedFid);

    FilterEngine* engine_;
    FilterStore* store_;
    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs* dialogs_;

    QString workFolder_;
    int loadedFilter_ = 0;
    bool settingsLoading_ = false;
    bool activatedOnce_ = false;
    bool running_ = false;
    bool closingConfirmed_ = false;
    bool closeAfterRun_ = false;
    // The existing post file the Destination dialog has already asked about.
    QString confirmedPostFile_;
    std::optional<QPoint> savedPosition_;
    std::atomic<bool> cancelRequested_{false};
    QString lastResult_;
    int systemChoice_ = 0; // remembered choice of the parameter lookup
    QThread* runThread_ = nullptr;
    QList<QWidget*> busyDisabled_;
};

} // namespace lmf
