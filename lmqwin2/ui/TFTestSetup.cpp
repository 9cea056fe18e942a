#include "lmqwin2/ui/TFTestSetup.h"

#include "lmqwin2/evaluation/DialogFields.h"
#include "lmqwin2/ui/TSpinEdit.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmq {

namespace {

constexpr int kColumns = 5;
const char* const kHoldTitles[kColumns] = {"Hold label", "Pressure, MPa", "Start, sec", "Length, sec",
                                           "Delay, sec"};
constexpr const char* kSetupFilter = "Test setup file (*.ini)";

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string S(const QString& s)
{
    return s.toStdString();
}

QString Int(long long v)
{
    return QString::number(v);
}

QString Float(double v)
{
    return Q(lm::FormatGeneral6(v));
}

} // namespace

// ---- hold grid ----------------------------------------------------------------------------

THoldGrid::THoldGrid(QWidget* parent) : QTableWidget(1, kColumns, parent)
{
    QStringList titles;
    for (const char* t : kHoldTitles)
        titles << t;
    setHorizontalHeaderLabels(titles);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setColumnWidth(0, 110);
    for (int c = 1; c < kColumns; ++c)
        setColumnWidth(c, 90);
    SetNewRow(0);
    setCurrentCell(0, 0);
}

QString THoldGrid::Cell(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void THoldGrid::SetCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

void THoldGrid::SetNewRow(int row)
{
    const lm::AHoldGridRow fresh = lm::NewHoldGridRow();
    for (int c = 0; c < kColumns; ++c)
        SetCell(row, c, QString());
    SetCell(row, 3, Q(fresh.length));
    SetCell(row, 4, Q(fresh.delay));
}

std::vector<lm::AHoldGridRow> THoldGrid::Rows() const
{
    std::vector<lm::AHoldGridRow> rows;
    for (int r = 0; r < rowCount(); ++r)
        rows.push_back({S(Cell(r, 0)), S(Cell(r, 1).trimmed()), S(Cell(r, 2).trimmed()),
                        S(Cell(r, 3).trimmed()), S(Cell(r, 4).trimmed())});
    return rows;
}

void THoldGrid::SetRows(const std::vector<lm::AHoldGridRow>& rows)
{
    clearContents();
    setRowCount(std::max<int>(int(rows.size()), 1));
    if (rows.empty())
        SetNewRow(0);
    for (int r = 0; r < int(rows.size()); ++r) {
        const lm::AHoldGridRow& row = rows[size_t(r)];
        SetCell(r, 0, Q(row.label));
        SetCell(r, 1, Q(row.pressure));
        SetCell(r, 2, Q(row.start));
        SetCell(r, 3, Q(row.length));
        SetCell(r, 4, Q(row.delay));
    }
    setCurrentCell(0, 0);
}

void THoldGrid::SwapRows(int a, int b)
{
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* first = takeItem(a, c);
        QTableWidgetItem* second = takeItem(b, c);
        setItem(a, c, second);
        setItem(b, c, first);
    }
}

bool THoldGrid::IsRowKey(const QKeyEvent* event) const
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Delete:
        return mods == Qt::ControlModifier;
    case Qt::Key_Insert:
        return mods == Qt::NoModifier;
    case Qt::Key_Up:
        return mods == Qt::ShiftModifier;
    case Qt::Key_Down:
        return mods == Qt::ShiftModifier || (mods == Qt::NoModifier && currentRow() == rowCount() - 1);
    default:
        return false;
    }
}

void THoldGrid::FinishEditing()
{
    const QModelIndex index = currentIndex();
    QWidget* editor = index.isValid() ? indexWidget(index) : nullptr;
    if (!editor)
        return;
    emit itemDelegate()->commitData(editor);
    emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool THoldGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableWidget::edit(index, trigger, event))
        return false;
    // The row keys work while a cell is typed in, and the typed text stays with its row.
    if (QWidget* editor = indexWidget(index))
        editor->installEventFilter(this);
    return true;
}

bool THoldGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWidgetType() && viewport()->isAncestorOf(static_cast<QWidget*>(watched))) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
            IsRowKey(static_cast<QKeyEvent*>(event))) {
            if (type == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            FinishEditing();
            setFocus();
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void THoldGrid::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int row = std::max(currentRow(), 0);
    const int column = std::max(currentColumn(), 0);
    const int key = event->key();
    if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
        insertRow(row);
        SetNewRow(row);
        setCurrentCell(row, column);
    } else if (key == Qt::Key_Delete && mods == Qt::ControlModifier) {
        if (rowCount() > 1) {
            removeRow(row);
            setCurrentCell(std::min(row, rowCount() - 1), column);
        } else {
            for (int c = 0; c < kColumns; ++c)
                SetCell(0, c, QString());
            setCurrentCell(0, column);
        }
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && mods == Qt::ShiftModifier) {
        const int other = key == Qt::Key_Up ? row - 1 : row + 1;
        if (other >= 0 && other < rowCount()) {
            SwapRows(row, other);
            setCurrentCell(row, column);
        }
    } else if (key == Qt::Key_Down && mods == Qt::NoModifier && row == rowCount() - 1) {
        insertRow(rowCount());
        SetNewRow(rowCount() - 1);
        setCurrentCell(rowCount() - 1, column);
    } else {
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// ---- dialog -------------------------------------------------------------------------------

TFTestSetup::TFTestSetup(lm::ATestSetup& current, UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), current_(current), dialogs_(dialogs)
{
    setObjectName("TFTestSetup");
    setWindowTitle("Test setup..");

    auto spin = [this](const char* name, int max) {
        auto* edit = new TSpinEdit(0, max, this);
        edit->setObjectName(name);
        edit->setMinimumWidth(70);
        return edit;
    };
    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMinimumWidth(70);
        return edit;
    };

    // Test parameters.
    auto* test = new QGroupBox("Test parameters", this);
    auto* testLayout = new QGridLayout(test);
    EditTestLabel = line("EditTestLabel");
    EditTestTH = spin("EditTestTH", 100);
    testLayout->addWidget(new QLabel("Test label", test), 0, 0);
    testLayout->addWidget(EditTestLabel, 0, 1);
    testLayout->addWidget(new QLabel("Test ThresHold", test), 0, 2);
    testLayout->addWidget(EditTestTH, 0, 3);
    HoldGrid = new THoldGrid(test);
    HoldGrid->setObjectName("HoldGrid");
    HoldGrid->setMinimumSize(520, 150);
    testLayout->addWidget(HoldGrid, 1, 0, 1, 4);
    CheckHoldsView = new QCheckBox("Show pressure holds", test);
    CheckHoldsView->setObjectName("CheckHoldsView");
    testLayout->addWidget(CheckHoldsView, 2, 0, 1, 4);
    testLayout->setColumnStretch(1, 1);

    // Events setup.
    auto* events = new QGroupBox("Events setup", this);
    auto* eventsLayout = new QGridLayout(events);
    EditMPT = line("EditMPT");
    EditLockout = line("EditLockout");
    eventsLayout->addWidget(new QLabel("MPT, us ", events), 0, 0);
    eventsLayout->addWidget(EditMPT, 0, 1);
    eventsLayout->addWidget(new QLabel("Lockout, us", events), 1, 0);
    eventsLayout->addWidget(EditLockout, 1, 1);

    // Parametric data conversion.
    auto* parametric = new QGroupBox("Parametric data conversion", this);
    auto* paramLayout = new QGridLayout(parametric);
    EditDivV = line("EditDivV");
    EditShiftV = line("EditShiftV");
    EditDivP = line("EditDivP");
    EditShiftP = line("EditShiftP");
    paramLayout->addWidget(new QLabel("DivV", parametric), 0, 0);
    paramLayout->addWidget(EditDivV, 0, 1);
    paramLayout->addWidget(new QLabel("ShiftV", parametric), 0, 2);
    paramLayout->addWidget(EditShiftV, 0, 3);
    paramLayout->addWidget(new QLabel("(ParV = Data/DivV + ShiftV) ", parametric), 0, 4);
    paramLayout->addWidget(new QLabel("DivP", parametric), 1, 0);
    paramLayout->addWidget(EditDivP, 1, 1);
    paramLayout->addWidget(new QLabel("ShiftP", parametric), 1, 2);
    paramLayout->addWidget(EditShiftP, 1, 3);
    paramLayout->addWidget(new QLabel("(ParP = ParV/DivP +ShiftP) ", parametric), 1, 4);

    // ASME - MONPAC+.
    auto* monpac = new QGroupBox("ASME - MONPAC+", this);
    auto* monpacLayout = new QGridLayout(monpac);
    EditEvalTH = spin("EditEvalTH", 100);
    EditHiAmpLev = spin("EditHiAmpLev", 100);
    EditSevHitNum = spin("EditSevHitNum", 100);
    EditHstLimit1 = spin("EditHstLimit1", 30000);
    EditHstLimit2 = spin("EditHstLimit2", 30000);
    EditHstLastHits2 = spin("EditHstLastHits2", 30000);
    EditHstLastHits2->setEnabled(false);
    EditHstLimit3 = spin("EditHstLimit3", 30000);
    EditHstLastHits3 = spin("EditHstLastHits3", 30000);
    EditHstLimit4 = spin("EditHstLimit4", 30000);
    EditHstLastHits4 = line("EditHstLastHits4");
    EditHstLimit4Copy = spin("EditHstLimit4Copy", 30000);
    EditHstLimit4Copy->setEnabled(false);
    EditHstLastHits5 = spin("EditHstLastHits5", 30000);
    connect(EditHstLimit4->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
            [this](const QString& text) { EditHstLimit4Copy->SetText(text); });
    int r = 0;
    monpacLayout->addWidget(new QLabel("Evaluate ThresHold", monpac), r, 0, 1, 2);
    monpacLayout->addWidget(EditEvalTH, r++, 2);
    monpacLayout->addWidget(new QLabel("High amplitude level", monpac), r, 0, 1, 2);
    monpacLayout->addWidget(EditHiAmpLev, r++, 2);
    monpacLayout->addWidget(new QLabel("Highest energy events number ", monpac), r, 0, 1, 2);
    monpacLayout->addWidget(EditSevHitNum, r++, 2);
    const auto historicRow = [&](TSpinEdit* limit, const char* middle, QWidget* k, const char* n = "N < ") {
        monpacLayout->addWidget(new QLabel(n, monpac), r, 0, Qt::AlignRight);
        monpacLayout->addWidget(limit, r, 1);
        monpacLayout->addWidget(new QLabel(middle, monpac), r, 2, k ? Qt::AlignRight : Qt::Alignment());
        if (k)
            monpacLayout->addWidget(k, r, 3);
        ++r;
    };
    historicRow(EditHstLimit1, "- Historic Index not applicable", nullptr);
    historicRow(EditHstLimit2, "K = ", EditHstLastHits2);
    historicRow(EditHstLimit3, "K =", EditHstLastHits3);
    historicRow(EditHstLimit4, "K = N*", EditHstLastHits4);
    historicRow(EditHstLimit4Copy, "K = N -", EditHstLastHits5, "N > ");
    monpacLayout->setColumnStretch(2, 1);

    // Local-Dynamic.
    auto* locdyn = new QGroupBox("Local-Dynamic", this);
    auto* locdynLayout = new QGridLayout(locdyn);
    EditLDExponent = line("EditLDExponent");
    locdynLayout->addWidget(new QLabel("V calculation Exponent", locdyn), 0, 0);
    locdynLayout->addWidget(EditLDExponent, 0, 1);
    auto* classes = new QGroupBox(" Classification (maxW/V < .. ) ", locdyn);
    auto* classLayout = new QGridLayout(classes);
    EditClass1 = spin("EditClass1", 30000);
    EditClass2 = spin("EditClass2", 30000);
    EditClass3 = spin("EditClass3", 30000);
    classLayout->addWidget(new QLabel("Class 1", classes), 0, 0);
    classLayout->addWidget(EditClass1, 0, 1);
    classLayout->addWidget(new QLabel("Class 2", classes), 1, 0);
    classLayout->addWidget(EditClass2, 1, 1);
    classLayout->addWidget(new QLabel("Class 3", classes), 2, 0);
    classLayout->addWidget(EditClass3, 2, 1);
    locdynLayout->addWidget(classes, 1, 0, 1, 2);

    // Buttons.
    BtnOpen = new QPushButton("Open", this);
    BtnSave = new QPushButton("Save", this);
    BtnSaveAs = new QPushButton("Save as", this);
    BtnOk = new QPushButton("OK", this);
    BtnCancel = new QPushButton("Cancel", this);
    BtnOpen->setObjectName("BtnOpen");
    BtnSave->setObjectName("BtnSave");
    BtnSaveAs->setObjectName("BtnSaveAs");
    BtnOk->setObjectName("BtnOk");
    BtnCancel->setObjectName("BtnCancel");
    BtnOk->setAutoDefault(false);
    BtnOk->setDefault(false);
    connect(BtnOpen, &QPushButton::clicked, this, &TFTestSetup::OpenCommand);
    connect(BtnSave, &QPushButton::clicked, this, &TFTestSetup::SaveCommand);
    connect(BtnSaveAs, &QPushButton::clicked, this, &TFTestSetup::SaveAsCommand);
    connect(BtnOk, &QPushButton::clicked, this, &TFTestSetup::OkCommand);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {BtnOpen, BtnSave, BtnSaveAs, BtnCancel})
        b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(test);
    auto* bottomLeft = new QHBoxLayout;
    bottomLeft->addWidget(events);
    bottomLeft->addWidget(locdyn);
    left->addLayout(bottomLeft);
    left->addWidget(parametric);
    auto* right = new QVBoxLayout;
    right->addWidget(monpac);
    right->addStretch(1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(BtnOpen, 0, 0);
    buttons->addWidget(BtnSave, 0, 1);
    buttons->addWidget(BtnSaveAs, 0, 2);
    buttons->addWidget(BtnOk, 1, 1);
    buttons->addWidget(BtnCancel, 1, 2);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    FillFrom(current_);
}

void TFTestSetup::FillFrom(const lm::ATestSetup& s)
{
    setWindowTitle(Q(lm::SetupDialogCaption(s.FileName)));
    EditTestLabel->setText(Q(s.TestLabel));
    EditTestTH->SetText(Int(s.TestTH));
    std::vector<lm::AHoldGridRow> rows;
    for (const lm::AHold& h : s.Holds)
        rows.push_back(
            {h.label, S(Float(h.pressure)), S(Float(h.start)), S(Float(h.length)), S(Float(h.delay))});
    HoldGrid->SetRows(rows);
    CheckHoldsView->setChecked(s.HoldsView);
    EditMPT->setText(Int(s.MPT));
    EditLockout->setText(Int(s.Lockout));
    EditDivV->setText(Float(s.DivisorSys));
    EditShiftV->setText(Float(s.OffsetSys));
    EditDivP->setText(Float(s.DivisorReal));
    EditShiftP->setText(Float(s.OffsetReal));
    EditEvalTH->SetText(Int(s.EvalTH));
    EditHiAmpLev->SetText(Int(s.HiAmpLev));
    EditSevHitNum->SetText(Int(s.SevHitNum));
    EditHstLimit1->SetText(Int(s.MP_HstLimit1));
    EditHstLimit2->SetText(Int(s.MP_HstLimit2));
    EditHstLastHits2->SetText(Int(s.MP_HstLastHits2));
    EditHstLimit3->SetText(Int(s.MP_HstLimit3));
    EditHstLastHits3->SetText(Int(s.MP_HstLastHits3));
    EditHstLimit4->SetText(Int(s.MP_HstLimit4));
    EditHstLastHits4->setText(Float(s.MP_HstLastHits4));
    EditHstLastHits5->SetText(Int(s.MP_HstLastHits5));
    EditLDExponent->setText(Float(s.LDExponent));
    EditClass1->SetText(Int(s.Class1));
    EditClass2->SetText(Int(s.Class2));
    EditClass3->SetText(Int(s.Class3));
}

lm::ATestSetup TFTestSetup::ReadControls() const
{
    using namespace lm;
    ATestSetup s = current_;
    if (!private_.FileName.empty())
        s.FileName = private_.FileName;
    const auto i = [](const char* field, const TSpinEdit* e) { return ParseFieldInt(field, S(e->Text())); };
    const auto u = [](const char* field, const QLineEdit* e) {
        return ParseFieldUnsigned(field, S(e->text()));
    };
    const auto d = [](const char* field, const QLineEdit* e) {
        return ParseFieldDouble(field, S(e->text()));
    };
    s.TestLabel = S(EditTestLabel->text());
    s.TestTH = i("Test ThresHold", EditTestTH);
    s.HoldsView = CheckHoldsView->isChecked();
    s.MPT = u("MPT, us", EditMPT);
    s.Lockout = u("Lockout, us", EditLockout);
    s.DivisorSys = d("DivV", EditDivV);
    s.OffsetSys = d("ShiftV", EditShiftV);
    s.DivisorReal = d("DivP", EditDivP);
    s.OffsetReal = d("ShiftP", EditShiftP);
    s.EvalTH = i("Evaluate ThresHold", EditEvalTH);
    s.HiAmpLev = i("High amplitude level", EditHiAmpLev);
    s.SevHitNum = i("Highest energy events number", EditSevHitNum);
    s.MP_HstLimit1 = i("N < (Historic Index not applicable)", EditHstLimit1);
    s.MP_HstLimit2 = i("N < (second row)", EditHstLimit2);
    s.MP_HstLastHits2 = i("K = (second row)", EditHstLastHits2);
    s.MP_HstLimit3 = i("N < (third row)", EditHstLimit3);
    s.MP_HstLastHits3 = i("K = (third row)", EditHstLastHits3);
    s.MP_HstLimit4 = i("N < (fourth row)", EditHstLimit4);
    s.MP_HstLastHits4 = ParseFieldFloat("K = N*", S(EditHstLastHits4->text()));
    s.MP_HstLastHits5 = i("K = N -", EditHstLastHits5);
    s.LDExponent = d("V calculation Exponent", EditLDExponent);
    s.Class1 = i("Class 1", EditClass1);
    s.Class2 = i("Class 2", EditClass2);
    s.Class3 = i("Class 3", EditClass3);

    s.ClearHolds();
    const std::vector<AHoldGridRow> rows = HoldGrid->Rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        try {
            for (const AHold& h : HoldsFromGrid({rows[r]}))
                s.Holds.push_back(h);
        } catch (const std::invalid_argument& e) {
            throw AFieldError("\"Holds\", row " + std::to_string(r + 1) + ": " + e.what());
        }
    }
    return s;
}

bool TFTestSetup::Apply()
{
    try {
        current_ = ReadControls();
        return true;
    } catch (const lm::AFieldError& e) {
        if (dialogs_)
            dialogs_->Error(this, "Error", Q(e.what()));
        return false;
    }
}

void TFTestSetup::OpenCommand()
{
    if (!dialogs_)
        return;
    const QString path = dialogs_->OpenFileName(this, "Open", kSetupFilter);
    if (path.isEmpty())
        return;
    if (private_.LoadFromFile(S(path)))
        FillFrom(private_);
    else
        dialogs_->Warning(this, "Warning", lm::kMsgUnknownSetupFormat);
}

bool TFTestSetup::ApplyAndSave(const std::string& path)
{
    if (!Apply())
        return false;
    if (!current_.SaveToFile(path)) {
        dialogs_->Error(this, "Error", "Cannot write the test setup file '" + Q(path) + "'.");
        return false;
    }
    return true;
}

void TFTestSetup::SaveCommand()
{
    if (!dialogs_)
        return;
    // The file the setup came from, or the one opened in the dialog.
    const std::string target = private_.FileName.empty() ? current_.FileName : private_.FileName;
    if (target.empty()) {
        SaveAsCommand();
        return;
    }
    if (!dialogs_->Confirm(this, "Warning", Q(lm::SetupSaveQuestion(target))))
        return;
    ApplyAndSave(target);
}

void TFTestSetup::SaveAsCommand()
{
    if (!dialogs_)
        return;
    QString path = dialogs_->SaveFileName(this, "Save as..", kSetupFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".ini";
    if (ApplyAndSave(S(path)))
        setWindowTitle(Q(lm::SetupDialogCaption(S(path))));
}

void TFTestSetup::OkCommand()
{
    if (Apply())
        accept();
}

} // namespace lmq
