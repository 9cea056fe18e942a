#pragma once

// The parameter lookup: the parameter names of one acquisition system, chosen in a radio
// group of seven systems. OK answers the name of the current row.

#include "lmfwin/ui/FilterServices.h"

#include <QDialog>
#include <QListWidget>

namespace lmf {

class TRadioGroup;

// The choices as shown, and the system names the query is given.
QStringList LookupSystemChoices();
QString LookupSystemName(int choice);

class TLookUpParamDlg1 : public QDialog {
    Q_OBJECT
public:
    TLookUpParamDlg1(FilterStore* store, int choice, QWidget* parent = nullptr);

    QString Result() const { return result_; }
    int Choice() const;
    void SetChoice(int choice);

    QListWidget* ParamList;
    TRadioGroup* SystemGroup;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Query();

    FilterStore* store_;
    QString result_;
};

} // namespace lmf
