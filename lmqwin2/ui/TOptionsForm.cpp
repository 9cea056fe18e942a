#include "lmqwin2/ui/TOptionsForm.h"

#include "lmqwin2/evaluation/DialogFields.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lmq {

namespace {

QButtonGroup* RadioGroup(QWidget* owner, QGroupBox* box, const QStringList& captions, const char* name)
{
    auto* group = new QButtonGroup(owner);
    group->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], box);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return group;
}

void Check(QButtonGroup* group, int id)
{
    if (QAbstractButton* b = group->button(id))
        b->setChecked(true);
}

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(min, max);
    spin->setValue(std::clamp(value, min, max));
    return spin;
}

} // namespace

TOptionsForm::TOptionsForm(lm::AOptions& options, lm::ATestSetup& setup, lm::ASettingsStore& store,
                           UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), options_(options), setup_(setup), store_(store), dialogs_(dialogs)
{
    setObjectName("TOptionsForm");
    setWindowTitle("Options..");
    Tabs = new QTabWidget(this);

    // View tab.
    auto* view = new QWidget(Tabs);
    auto* viewLayout = new QGridLayout(view);
    CheckWriteReport = new QCheckBox("Save protocol file ( _Protocol.txt )", view);
    CheckSaveConfig = new QCheckBox("Save Options on Exit", view);
    CheckWriteReport->setObjectName("CheckWriteReport");
    CheckSaveConfig->setObjectName("CheckSaveConfig");
    auto* startup = new QGroupBox(" Startup graph set ", view);
    StartupGraph = RadioGroup(this, startup,
                              {"Default graph set", "Last used graph set", "First graph set from DataBase"},
                              "StartupGraph");
    auto* scheme = new QGroupBox(" Color scheme ", view);
    QStringList schemes;
    for (const char* name : lm::kColorSchemeNames)
        schemes << name;
    ColorScheme = RadioGroup(this, scheme, schemes, "ColorScheme");
    auto* language = new QGroupBox(" Language ", view);
    Language = RadioGroup(this, language, {"English", "Russian"}, "Language");
    SpinPointSize = Spin(view, "SpinPointSize", 1, 10, options.PointSize);
    CheckShowGrid = new QCheckBox("Show grids inside plots", view);
    CheckShowGrid->setObjectName("CheckShowGrid");
    SpinVertGraphNum = Spin(view, "SpinVertGraphNum", 2, 6, options.VertGraphNum);
    SpinHorizGraphNum = Spin(view, "SpinHorizGraphNum", 2, 7, options.HorizGraphNum);

    viewLayout->addWidget(CheckWriteReport, 0, 0, 1, 2);
    viewLayout->addWidget(CheckSaveConfig, 1, 0, 1, 2);
    viewLayout->addWidget(startup, 2, 0);
    viewLayout->addWidget(scheme, 2, 1);
    viewLayout->addWidget(language, 3, 0);
    auto* sizes = new QGridLayout;
    sizes->addWidget(new QLabel("Point size", view), 0, 0);
    sizes->addWidget(SpinPointSize, 0, 1);
    sizes->addWidget(new QLabel("Vertical graph number", view), 1, 0);
    sizes->addWidget(SpinVertGraphNum, 1, 1);
    sizes->addWidget(new QLabel("Horisontal graph number", view), 2, 0);
    sizes->addWidget(SpinHorizGraphNum, 2, 1);
    sizes->addWidget(CheckShowGrid, 3, 0, 1, 2);
    viewLayout->addLayout(sizes, 3, 1);
    viewLayout->setRowStretch(4, 1);
    Tabs->addTab(view, "    View    ");

    // Data tab.
    auto* dataTab = new QWidget(Tabs);
    auto* dataLayout = new QVBoxLayout(dataTab);
    CheckTimeAxisFromFile = new QCheckBox("Time axis range from datafile", dataTab);
    CheckShowParamData = new QCheckBox("Show Parametric Records", dataTab);
    CheckTimeAxisFromFile->setObjectName("CheckTimeAxisFromFile");
    CheckShowParamData->setObjectName("CheckShowParamData");
    dataLayout->addWidget(CheckTimeAxisFromFile);
    dataLayout->addWidget(CheckShowParamData);
    auto* conversion = new QGroupBox("Parametric data conversion", dataTab);
    auto* convLayout = new QGridLayout(conversion);
    auto edit = [conversion](const char* name, double value) {
        auto* e = new QLineEdit(QString::fromStdString(lm::FormatGeneral6(value)), conversion);
        e->setObjectName(name);
        e->setMaximumWidth(100);
        return e;
    };
    EditDivS = edit("EditDivS", setup.DivisorSys);
    EditOffsetS = edit("EditOffsetS", setup.OffsetSys);
    EditDivR = edit("EditDivR", setup.DivisorReal);
    EditOffsetR = edit("EditOffsetR", setup.OffsetReal);
    convLayout->addWidget(new QLabel("DivS", conversion), 0, 0);
    convLayout->addWidget(EditDivS, 0, 1);
    convLayout->addWidget(new QLabel("OffsetS", conversion), 0, 2);
    convLayout->addWidget(EditOffsetS, 0, 3);
    convLayout->addWidget(new QLabel("(Par = Data/DivS + OffsetS) ", conversion), 0, 4);
    convLayout->addWidget(new QLabel("DivR", conversion), 1, 0);
    convLayout->addWidget(EditDivR, 1, 1);
    convLayout->addWidget(new QLabel("OffsetR", conversion), 1, 2);
    convLayout->addWidget(EditOffsetR, 1, 3);
    convLayout->addWidget(new QLabel("(Par = Data/DivR + OffsetR) ", conversion), 1, 4);
    dataLayout->addWidget(conversion);
    dataLayout->addStretch(1);
    Tabs->addTab(dataTab, "    Data    ");

    BtnOk = new QPushButton("OK", this);
    BtnCancel = new QPushButton("Cancel", this);
    BtnOk->setObjectName("BtnOk");
    BtnCancel->setObjectName("BtnCancel");
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TOptionsForm::OkCommand);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs);
    layout->addLayout(buttons);

    CheckWriteReport->setChecked(options.WriteReport);
    CheckSaveConfig->setChecked(options.SaveConfig);
    Check(StartupGraph, options.StartUpGraph);
    Check(ColorScheme, options.ColorScheme);
    Check(Language, options.ProgramLanguage);
    CheckTimeAxisFromFile->setChecked(options.TimeAxisFromFile);
    CheckShowParamData->setChecked(options.ShowParamData);
    CheckShowGrid->setChecked(options.ShowGrid);
}

bool TOptionsForm::Apply()
{
    double divS, offsetS, divR, offsetR;
    try {
        divS = lm::ParseFieldDouble("DivS", EditDivS->text().toStdString());
        offsetS = lm::ParseFieldDouble("OffsetS", EditOffsetS->text().toStdString());
        divR = lm::ParseFieldDouble("DivR", EditDivR->text().toStdString());
        offsetR = lm::ParseFieldDouble("OffsetR", EditOffsetR->text().toStdString());
    } catch (const lm::AFieldError& e) {
        if (dialogs_)
            dialogs_->Error(this, "Error", QString::fromStdString(e.what()));
        return false;
    }
    setup_.DivisorSys = divS;
    setup_.OffsetSys = offsetS;
    setup_.DivisorReal = divR;
    setup_.OffsetReal = offsetR;

    const int language = Language->checkedId() < 0 ? options_.ProgramLanguage : Language->checkedId();
    const bool languageChanged = language != options_.ProgramLanguage;
    options_.WriteReport = CheckWriteReport->isChecked();
    options_.SaveConfig = CheckSaveConfig->isChecked();
    if (StartupGraph->checkedId() >= 0)
        options_.StartUpGraph = StartupGraph->checkedId();
    if (ColorScheme->checkedId() >= 0)
        options_.ColorScheme = ColorScheme->checkedId();
    options_.ProgramLanguage = language;
    options_.SetPointSize(SpinPointSize->value());
    options_.TimeAxisFromFile = CheckTimeAxisFromFile->isChecked();
    options_.ShowParamData = CheckShowParamData->isChecked();
    options_.ShowGrid = CheckShowGrid->isChecked();
    options_.VertGraphNum = SpinVertGraphNum->value();
    options_.HorizGraphNum = SpinHorizGraphNum->value();
    if (languageChanged) {
        store_.SetString(kLanguageOverrideKey, lm::LanguageLocaleCode(language));
        if (dialogs_)
            dialogs_->Information(this, "Options..", lm::kMsgLanguageChanged);
    }
    options_.Save(store_);
    return true;
}

void TOptionsForm::OkCommand()
{
    if (Apply())
        accept();
}

} // namespace lmq
