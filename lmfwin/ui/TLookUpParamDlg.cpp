#include "lmfwin/ui/TLookUpParamDlg.h"

#include "lmfwin/ui/TMainForm.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lmf {

QStringList LookupSystemChoices()
{
    // The system names themselves are the query's keys; only the first two are words.
    return {TLookUpParamDlg1::tr("Common parameters"),
            TLookUpParamDlg1::tr("All parameters"),
            "Spartan 3000",
            "Locan/SpartanPC/Spartan2000/DiSP",
            "A-Line 32D",
            "Vallen System AMSY",
            "Malachit AS"};
}

namespace {

const char* const kSystemNames[] = {
    "Common parameters", "All parameters",    "Spartan 3000", "Locan/SpartanPC/Spartan2000/DiSP",
    "A-Line 32D",        "Vallen System AMS", "Malachit AS"};

} // namespace

QString LookupSystemName(int choice)
{
    // The database names the Vallen system without its last letter.
    return QString::fromLatin1(kSystemNames[std::clamp(choice, 0, 6)]);
}

TLookUpParamDlg1::TLookUpParamDlg1(FilterStore* store, int choice, QWidget* parent)
    : QDialog(parent), store_(store)
{
    setWindowTitle(tr("Parameter Lookup"));
    auto* layout = new QHBoxLayout(this);
    auto* listSide = new QVBoxLayout;
    auto* listLabel = new QLabel(tr("&Parameter"), this);
    listSide->addWidget(listLabel);
    ParamList = new QListWidget(this);
    ParamList->setObjectName("ParamList");
    ParamList->setMinimumSize(180, 240);
    listLabel->setBuddy(ParamList);
    listSide->addWidget(ParamList);
    layout->addLayout(listSide);

    auto* side = new QVBoxLayout;
    SystemGroup = new TRadioGroup(tr(" System "), LookupSystemChoices(), this);
    SystemGroup->setObjectName("SystemGroup");
    side->addWidget(SystemGroup);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    side->addWidget(buttons);
    side->addStretch();
    layout->addLayout(side);

    SystemGroup->SetItemIndex(std::clamp(choice, 0, 6));
    connect(SystemGroup, &TRadioGroup::itemChosen, this, [this] { Query(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (QListWidgetItem* item = ParamList->currentItem())
            result_ = item->text();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        result_.clear();
        reject();
    });
    connect(ParamList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        result_ = item->text();
        accept();
    });
    Query();
}

int TLookUpParamDlg1::Choice() const
{
    return SystemGroup->ItemIndex();
}

void TLookUpParamDlg1::SetChoice(int choice)
{
    SystemGroup->SetItemIndex(choice);
}

void TLookUpParamDlg1::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Query();
}

void TLookUpParamDlg1::Query()
{
    const QString current = ParamList->currentItem() ? ParamList->currentItem()->text() : QString();
    ParamList->clear();
    ParamList->addItems(store_->ParamNames(LookupSystemName(Choice())));
    const auto found = ParamList->findItems(current, Qt::MatchExactly);
    ParamList->setCurrentRow(found.isEmpty() ? 0 : ParamList->row(found.first()));
}

} // namespace lmf
