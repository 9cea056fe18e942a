#pragma once

// The chooser of stored filters: a list of the filters with a navigator (first, previous,
// next, last, delete) and OK / Cancel. OK answers the FID of the current row.

#include "lmfwin/ui/FilterServices.h"
#include "lmfwin/ui/UserDialogs.h"

#include <QDialog>
#include <QTableWidget>
#include <QToolButton>

namespace lmf {

class TFFilterBase : public QDialog {
    Q_OBJECT
public:
    TFFilterBase(FilterStore* store, UserDialogs* dialogs, QWidget* parent = nullptr);

    // FID of the current row after OK; 0 otherwise.
    int SelectedFid() const { return selectedFid_; }
    int CurrentFid() const;
    // The navigator's delete: asks, then deletes the current filter with its rows.
    void DeleteCurrent();

    QTableWidget* List;
    QToolButton* NavFirst;
    QToolButton* NavPrior;
    QToolButton* NavNext;
    QToolButton* NavLast;
    QToolButton* NavDelete;

private:
    void Reload(int keepRow);
    void MoveTo(int row);

    FilterStore* store_;
    UserDialogs* dialogs_;
    int selectedFid_ = 0;
};

} // namespace lmf
