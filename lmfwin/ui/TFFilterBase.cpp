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
    setWindowTitle(QString::fromUtf8("База данных фильтров"));
    auto* layout = new QVBoxLayout(this);

    auto* navigator = new QHBoxLayout;
    auto makeButton = [this, navigator](QStyle::StandardPixmap icon, const char* hint, const char* name) {
        auto* button = new QToolButton(this);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(QString::fromUtf8(hint));
        button->setObjectName(name);
        navigator->addWidget(button);
        return button;
    };
    NavFirst = makeButton(QStyle::SP_MediaSkipBackward, "Первая", "NavFirst");
    NavPrior = makeButton(QStyle::SP_MediaSeekBackward, "Предыдущая", "NavPrior");
    NavNext = makeButton(QStyle::SP_MediaSeekForward, "Следующая", "NavNext");
    NavLast = makeButton(QStyle::SP_MediaSkipForward, "Последняя", "NavLast");
    NavDelete = makeButton(QStyle::SP_TrashIcon, "Удалить", "NavDelete");
    navigator->addStretch();
    layout->addLayout(navigator);

    List = new QTableWidget(0, 3, this);
    List->setObjectName("List");
    List->setHorizontalHeaderLabels(
        {QString::fromUtf8("№"), QString::fromUtf8("Дата"), QString::fromUtf8("Название фильтра")});
    List->setColumnHidden(0, true);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->horizontalHeader()->setStretchLastSection(true);
    List->verticalHeader()->setVisible(false);
    List->setColumnWidth(1, 90);
    List->setMinimumSize(420, 260);
    layout->addWidget(List);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    QPushButton* cancel = buttons->addButton(QString::fromUtf8("&Отмена"), QDialogButtonBox::RejectRole);
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
    if (!dialogs_->Question(this, windowTitle(), QString::fromUtf8("Удалить запись?"), false))
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
