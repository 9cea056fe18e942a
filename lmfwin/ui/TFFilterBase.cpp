#include "lmfwin/ui/TFFilterBase.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace lmf {

TFFilterBase::TFFilterBase(FilterStore* store, UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), store_(store), dialogs_(dialogs)
{
    setWindowTitle(tr("Filter Database"));
    auto* layout = new QVBoxLayout(this);

    auto* navigator = new QHBoxLayout;
    auto makeButton = [this, navigator](QStyle::StandardPixmap icon, const QString& hint, const char* name) {
        auto* button = new QToolButton(this);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(hint);
        button->setObjectName(name);
        navigator->addWidget(button);
        return button;
    };
    NavFirst = makeButton(QStyle::SP_MediaSkipBackward, tr("First"), "NavFirst");
    NavPrior = makeButton(QStyle::SP_MediaSeekBackward, tr("Previous"), "NavPrior");
    NavNext = makeButton(QStyle::SP_MediaSeekForward, tr("Next"), "NavNext");
    NavLast = makeButton(QStyle::SP_MediaSkipForward, tr("Last"), "NavLast");
    NavDelete = makeButton(QStyle::SP_TrashIcon, tr("Delete"), "NavDelete");
    navigator->addStretch();
    layout->addLayout(navigator);

    List = new QTableWidget(0, 3, this);
    List->setObjectName("List");
    // The number is shown: it tells apart two filters of one name.
    List->setHorizontalHeaderLabels({tr("No."), tr("Date"), tr("Filter name")});
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->horizontalHeader()->setStretchLastSection(true);
    List->verticalHeader()->setVisible(false);
    List->resizeColumnToContents(0);
    List->setColumnWidth(1, std::max(90, List->horizontalHeader()->sectionSizeHint(1)));
    List->setMinimumSize(420, 260);
    layout->addWidget(List);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("Cancel");
    layout->addWidget(buttons);

    connect(NavFirst, &QToolButton::clicked, this, [this] { MoveTo(0); });
    connect(NavPrior, &QToolButton::clicked, this, [this] { MoveTo(List->currentRow() - 1); });
    connect(NavNext, &QToolButton::clicked, this, [this] { MoveTo(List->currentRow() + 1); });
    connect(NavLast, &QToolButton::clicked, this, [this] { MoveTo(List->rowCount() - 1); });
    connect(NavDelete, &QToolButton::clicked, this, &TFFilterBase::DeleteCurrent);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        selectedFid_ = CurrentFid();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(List, &QTableWidget::cellDoubleClicked, this, [this] {
        selectedFid_ = CurrentFid();
        accept();
    });

    Reload(0);
}

void TFFilterBase::Reload(int keepRow)
{
    const QList<StoredFilterRow> rows = store_->List();
    List->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        List->setItem(r, 0, new QTableWidgetItem(QString::number(rows[r].fid)));
        List->setItem(r, 1, new QTableWidgetItem(QLocale().toString(rows[r].date, QLocale::ShortFormat)));
        List->setItem(r, 2, new QTableWidgetItem(rows[r].name));
    }
    List->resizeColumnToContents(0);
    MoveTo(std::min(keepRow, List->rowCount() - 1));
}

void TFFilterBase::MoveTo(int row)
{
    if (List->rowCount() == 0)
        return;
    List->setCurrentCell(std::clamp(row, 0, List->rowCount() - 1), 1);
}

int TFFilterBase::CurrentFid() const
{
    const int row = List->currentRow();
    if (row < 0 || !List->item(row, 0))
        return 0;
    return List->item(row, 0)->text().toInt();
}

void TFFilterBase::DeleteCurrent()
{
    const int fid = CurrentFid();
    if (fid == 0)
        return;
    if (!dialogs_->Question(
            this, windowTitle(),
            tr("Delete the filter \"%1\" (No. %2)?").arg(List->item(List->currentRow(), 2)->text()).arg(fid),
            false))
        return;
    const int row = List->currentRow();
    try {
        store_->Delete(fid);
    } catch (const std::exception& error) {
        dialogs_->Error(this, windowTitle(), QString::fromUtf8(error.what()));
    }
    Reload(row);
}

} // namespace lmf
