#pragma once

// The test setup dialog: edits a copy of the current test setup's fields, opens other
// setup files and saves them. The current setup changes only when the dialog is applied
// (OK, Save, Save as), and then as a whole: a field that is not a number stops the apply
// with a message naming it and leaves the current setup as it was.

#include "lmqwin2/evaluation/ATestSetup.h"

#include <QDialog>
#include <QTableWidget>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lmq {

class TSpinEdit;
class UserDialogs;

// The hold grid with its row keys: Insert, Ctrl+Delete, Shift+Up/Down and Down on the
// last row.
class THoldGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit THoldGrid(QWidget* parent = nullptr);
    std::vector<lm::AHoldGridRow> Rows() const;
    // An empty list shows one new row.
    void SetRows(const std::vector<lm::AHoldGridRow>& rows);
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetNewRow(int row);
    void SwapRows(int a, int b);
    bool IsRowKey(const QKeyEvent* event) const;
    void FinishEditing();
};

class TFTestSetup : public QDialog {
    Q_OBJECT
public:
    TFTestSetup(lm::ATestSetup& current, UserDialogs* dialogs, QWidget* parent = nullptr);

    // Controls and caption from a setup.
    void FillFrom(const lm::ATestSetup& setup);
    // Reads every control into the current setup. False, with the message shown and the
    // current setup unchanged, when a field is not a number.
    bool Apply();

    void OpenCommand();
    void SaveCommand();
    void SaveAsCommand();
    void OkCommand();

    QLineEdit* EditTestLabel;
    TSpinEdit* EditTestTH;
    THoldGrid* HoldGrid;
    QCheckBox* CheckHoldsView;
    QLineEdit* EditMPT;
    QLineEdit* EditLockout;
    QLineEdit* EditDivV;
    QLineEdit* EditShiftV;
    QLineEdit* EditDivP;
    QLineEdit* EditShiftP;
    TSpinEdit* EditEvalTH;
    TSpinEdit* EditHiAmpLev;
    TSpinEdit* EditSevHitNum;
    TSpinEdit* EditHstLimit1;
    TSpinEdit* EditHstLimit2;
    TSpinEdit* EditHstLastHits2;
    TSpinEdit* EditHstLimit3;
    TSpinEdit* EditHstLastHits3;
    TSpinEdit* EditHstLimit4;
    QLineEdit* EditHstLastHits4;
    TSpinEdit* EditHstLimit4Copy;
    TSpinEdit* EditHstLastHits5;
    QLineEdit* EditLDExponent;
    TSpinEdit* EditClass1;
    TSpinEdit* EditClass2;
    TSpinEdit* EditClass3;
    QPushButton* BtnOpen;
    QPushButton* BtnSave;
    QPushButton* BtnSaveAs;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    const lm::ATestSetup& PrivateSetup() const { return private_; }

private:
    // The controls as a setup (holds from the grid); raises lm::AFieldError.
    lm::ATestSetup ReadControls() const;
    bool ApplyAndSave(const std::string& path);

    lm::ATestSetup& current_;
    lm::ATestSetup private_; // what "Open" loads
    UserDialogs* dialogs_;
};

} // namespace lmq
