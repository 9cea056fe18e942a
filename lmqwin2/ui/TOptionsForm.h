#pragma once

// The options dialog: the view options, the colour scheme, the language, the start-up
// graph set and the parametric conversion of the current test setup. OK applies every
// control at once (a conversion field that is not a number stops it and changes
// nothing), records a language change for the next start and saves the options.

#include "lmqwin2/evaluation/AOptions.h"
#include "lmqwin2/evaluation/ATestSetup.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace lmq {

class UserDialogs;

// Settings value that carries the language of the next start ("ENU" or "RUS").
inline constexpr const char* kLanguageOverrideKey = "LanguageOverride";

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(lm::AOptions& options, lm::ATestSetup& setup, lm::ASettingsStore& store,
                 UserDialogs* dialogs, QWidget* parent = nullptr);

    // Reads the controls back; false (message shown, nothing changed) when a field is not
    // a number.
    bool Apply();
    void OkCommand();

    QTabWidget* Tabs;
    QCheckBox* CheckWriteReport;
    QCheckBox* CheckSaveConfig;
    QButtonGroup* StartupGraph;
    QButtonGroup* ColorScheme;
    QButtonGroup* Language;
    QSpinBox* SpinPointSize;
    QCheckBox* CheckTimeAxisFromFile;
    QCheckBox* CheckShowParamData;
    QCheckBox* CheckShowGrid;
    QSpinBox* SpinVertGraphNum;
    QSpinBox* SpinHorizGraphNum;
    QLineEdit* EditDivS;
    QLineEdit* EditOffsetS;
    QLineEdit* EditDivR;
    QLineEdit* EditOffsetR;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

private:
    lm::AOptions& options_;
    lm::ATestSetup& setup_;
    lm::ASettingsStore& store_;
    UserDialogs* dialogs_;
};

} // namespace lmq
