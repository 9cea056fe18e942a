#include "lmqwin2/ui/TDataBaseForm.h"

#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmqwin2/evaluation/DialogFields.h"
#include "lmqwin2/ui/UserDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <climits>

namespace lmq {

namespace {

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

QTableWidget* Grid(QWidget* parent, const char* name, const QStringList& titles)
{
    auto* grid = new QTableWidget(0, int(titles.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(titles);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void SetCell(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

QSpinBox* Spin(QWidget* parent, const char* name, int min, int max)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(min, max);
    return spin;
}

void Choose(QComboBox* combo, int data)
{
    const int index = combo->findData(data);
    combo->setCurrentIndex(index);
}

QWidget* Titled(QWidget* parent, const char* title, QTableWidget* grid, QPushButton* add, QPushButton* remove)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    layout->addLayout(buttons);
    return box;
}

} // namespace

TDataBaseForm::TDataBaseForm(lm::AGraphDatabase& graphs, const lm::AParamTable& params, lm::AOptions& options,
                             UserDialogs* dialogs, QWidget* parent)
    : QDialog(parent), graphs_(graphs), options_(options), dialogs_(dialogs)
{
    setObjectName("TDataBaseForm");
    setWindowTitle("Graph Data Base..");

    GridSystems = Grid(this, "GridSystems", {"Name"});
    GridPages = Grid(this, "GridPages", {"Page name"});
    GridGraphs = Grid(this, "GridGraphs", {"LX", "LY", "RX", "RY", "Name"});
    for (int c = 0; c < 4; ++c)
        GridGraphs->setColumnWidth(c, 34);
    auto button = [this](const char* caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    BtnAddSystem = button("Add set", "BtnAddSystem");
    BtnDeleteSystem = button("Delete set", "BtnDeleteSystem");
    BtnAddPage = button("Add page", "BtnAddPage");
    BtnDeletePage = button("Delete page", "BtnDeletePage");
    BtnAddGraph = button("Add graph", "BtnAddGraph");
    BtnDeleteGraph = button("Delete graph", "BtnDeleteGraph");

    // Fields of the selected graph.
    auto* fields = new QGroupBox(this);
    auto* f = new QGridLayout(fields);
    EditTitle = new QLineEdit(fields);
    EditTitle->setObjectName("EditTitle");
    EditTitle->setMaxLength(50);
    EditChannels = new QLineEdit(fields);
    EditChannels->setObjectName("EditChannels");
    EditChannels->setMaxLength(20);
    CheckNoColored = new QCheckBox(QString::fromUtf8("No соlored"), fields);
    CheckNoColored->setObjectName("CheckNoColored");
    f->addWidget(new QLabel("Title", fields), 0, 0);
    f->addWidget(EditTitle, 0, 1, 1, 4);
    f->addWidget(new QLabel("Channels", fields), 1, 0);
    f->addWidget(EditChannels, 1, 1, 1, 3);
    f->addWidget(CheckNoColored, 1, 4);

    ComboXAxis = new QComboBox(fields);
    ComboYAxis = new QComboBox(fields);
    ComboXAxis->setObjectName("ComboXAxis");
    ComboYAxis->setObjectName("ComboYAxis");
    for (const lm::ParamRow& row : params.Rows()) {
        // One entry per parameter, under its first name.
        if (ComboXAxis->findData(int(row.paramConst)) >= 0)
            continue;
        ComboXAxis->addItem(Q(row.paramName), int(row.paramConst));
        ComboYAxis->addItem(Q(row.paramName), int(row.paramConst));
    }
    SpinXMin = Spin(fields, "SpinXMin", INT_MIN, INT_MAX);
    SpinXMax = Spin(fields, "SpinXMax", INT_MIN, INT_MAX);
    SpinYMin = Spin(fields, "SpinYMin", INT_MIN, INT_MAX);
    SpinYMax = Spin(fields, "SpinYMax", INT_MIN, INT_MAX);
    CheckXLog = new QCheckBox(fields);
    CheckYLog = new QCheckBox(fields);
    CheckXLog->setObjectName("CheckXLog");
    CheckYLog->setObjectName("CheckYLog");
    f->addWidget(new QLabel("Axis Type", fields), 2, 1);
    f->addWidget(new QLabel("Min", fields), 2, 2);
    f->addWidget(new QLabel("Max", fields), 2, 3);
    f->addWidget(new QLabel("Log", fields), 2, 4);
    f->addWidget(new QLabel("X", fields), 3, 0);
    f->addWidget(ComboXAxis, 3, 1);
    f->addWidget(SpinXMin, 3, 2);
    f->addWidget(SpinXMax, 3, 3);
    f->addWidget(CheckXLog, 3, 4);
    f->addWidget(new QLabel("Y", fields), 4, 0);
    f->addWidget(ComboYAxis, 4, 1);
    f->addWidget(SpinYMin, 4, 2);
    f->addWidget(SpinYMax, 4, 3);
    f->addWidget(CheckYLog, 4, 4);

    auto lookup = [fields](const char* name, const std::vector<lm::LookupRow>& rows) {
        auto* combo = new QComboBox(fields);
        combo->setObjectName(name);
        for (const lm::LookupRow& row : rows)
            combo->addItem(Q(row.name), row.id);
        return combo;
    };
    ComboGraphType = lookup("ComboGraphType", graphs.GraphTypes());
    ComboBinSum = lookup("ComboBinSum", graphs.BinSumTypes());
    ComboCumulation = lookup("ComboCumulation", graphs.CumTypes());
    SpinBinNum = Spin(fields, "SpinBinNum", 0, INT_MAX);
    f->addWidget(new QLabel("Graph type", fields), 5, 0);
    f->addWidget(ComboGraphType, 5, 1);
    f->addWidget(new QLabel("BinNum", fields), 5, 2);
    f->addWidget(SpinBinNum, 5, 3);
    f->addWidget(new QLabel("BinSum type", fields), 6, 0);
    f->addWidget(ComboBinSum, 6, 1);
    f->addWidget(new QLabel("Cumulation", fields), 7, 0);
    f->addWidget(ComboCumulation, 7, 1);

    auto* position = new QGroupBox("Plot position", fields);
    auto* p = new QGridLayout(position);
    SpinLeftX = Spin(position, "SpinLeftX", 0, 99);
    SpinLeftY = Spin(position, "SpinLeftY", 0, 99);
    SpinRightX = Spin(position, "SpinRightX", 0, 99);
    SpinRightY = Spin(position, "SpinRightY", 0, 99);
    p->addWidget(new QLabel("Left X", position), 0, 0);
    p->addWidget(SpinLeftX, 0, 1);
    p->addWidget(new QLabel("Left Y", position), 0, 2);
    p->addWidget(SpinLeftY, 0, 3);
    p->addWidget(new QLabel("Right X", position), 1, 0);
    p->addWidget(SpinRightX, 1, 1);
    p->addWidget(new QLabel("Right Y", position), 1, 2);
    p->addWidget(SpinRightY, 1, 3);
    f->addWidget(position, 6, 2, 2, 3);
    f->setColumnStretch(1, 1);

    BtnOk = new QPushButton("OK", this);
    BtnCancel = new QPushButton("Cancel", this);
    BtnOk->setObjectName("BtnOk");
    BtnCancel->setObjectName("BtnCancel");
    BtnOk->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);
    connect(BtnOk, &QPushButton::clicked, this, &TDataBaseForm::OkCommand);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grids = new QHBoxLayout;
    grids->addWidget(Titled(this, "Graph set", GridSystems, BtnAddSystem, BtnDeleteSystem), 2);
    grids->addWidget(Titled(this, "Page", GridPages, BtnAddPage, BtnDeletePage), 2);
    grids->addWidget(Titled(this, "Plots definition", GridGraphs, BtnAddGraph, BtnDeleteGraph), 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addWidget(fields);
    layout->addLayout(buttons);
    resize(820, 600);

    connect(GridSystems, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous)
            SelectSystem(row);
    });
    connect(GridPages, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous)
            SelectPage(row);
    });
    connect(GridGraphs, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous)
            SelectGraph(row);
    });
    connect(GridSystems, &QTableWidget::cellChanged, this, &TDataBaseForm::SystemCellChanged);
    connect(GridPages, &QTableWidget::cellChanged, this, &TDataBaseForm::PageCellChanged);
    connect(GridGraphs, &QTableWidget::cellChanged, this, &TDataBaseForm::GraphCellChanged);
    connect(BtnAddSystem, &QPushButton::clicked, this, &TDataBaseForm::AddSystem);
    connect(BtnDeleteSystem, &QPushButton::clicked, this, &TDataBaseForm::DeleteSystem);
    connect(BtnAddPage, &QPushButton::clicked, this, &TDataBaseForm::AddPage);
    connect(BtnDeletePage, &QPushButton::clicked, this, &TDataBaseForm::DeletePage);
    connect(BtnAddGraph, &QPushButton::clicked, this, &TDataBaseForm::AddGraph);
    connect(BtnDeleteGraph, &QPushButton::clicked, this, &TDataBaseForm::DeleteGraph);
    for (QLineEdit* e : {EditTitle, EditChannels})
        connect(e, &QLineEdit::editingFinished, this, &TDataBaseForm::GraphFieldsChanged);
    for (QCheckBox* c : {CheckNoColored, CheckXLog, CheckYLog})
        connect(c, &QCheckBox::toggled, this, &TDataBaseForm::GraphFieldsChanged);
    for (QComboBox* c : {ComboXAxis, ComboYAxis, ComboGraphType, ComboBinSum, ComboCumulation})
        connect(c, &QComboBox::activated, this, &TDataBaseForm::GraphFieldsChanged);
    for (QSpinBox* s :
         {SpinXMin, SpinXMax, SpinYMin, SpinYMax, SpinBinNum, SpinLeftX, SpinLeftY, SpinRightX, SpinRightY})
        connect(s, &QSpinBox::valueChanged, this, &TDataBaseForm::GraphFieldsChanged);

    LoadSystems(options.LastUsedGraphNo);
}

int64_t TDataBaseForm::CurrentSystemId() const
{
    const int row = GridSystems->currentRow();
    return row >= 0 && row < int(systems_.size()) ? systems_[size_t(row)].id : 0;
}

int64_t TDataBaseForm::CurrentPageId() const
{
    const int row = GridPages->currentRow();
    return row >= 0 && row < int(pages_.size()) ? pages_[size_t(row)].id : 0;
}

void TDataBaseForm::LoadSystems(int64_t selectId)
{
    loading_ = true;
    systems_ = graphs_.Systems();
    GridSystems->setRowCount(int(systems_.size()));
    int select = systems_.empty() ? -1 : 0;
    for (int r = 0; r < int(systems_.size()); ++r) {
        SetCell(GridSystems, r, 0, Q(systems_[size_t(r)].name));
        if (systems_[size_t(r)].id == selectId)
            select = r;
    }
    GridSystems->setCurrentCell(select, 0);
    loading_ = false;
    SelectSystem(select);
}

void TDataBaseForm::SelectSystem(int)
{
    if (!loading_)
        LoadPages(0);
}

void TDataBaseForm::LoadPages(int64_t selectId)
{
    loading_ = true;
    pages_ = CurrentSystemId() ? graphs_.Pages(CurrentSystemId()) : std::vector<lm::GraphPage>{};
    GridPages->setRowCount(int(pages_.size()));
    int select = pages_.empty() ? -1 : 0;
    for (int r = 0; r < int(pages_.size()); ++r) {
        SetCell(GridPages, r, 0, Q(pages_[size_t(r)].name));
        if (pages_[size_t(r)].id == selectId)
            select = r;
    }
    GridPages->setCurrentCell(select, 0);
    loading_ = false;
    LoadGraphs(0);
}

void TDataBaseForm::SelectPage(int)
{
    if (!loading_)
        LoadGraphs(0);
}

void TDataBaseForm::ShowGraphRow(int r)
{
    const lm::GraphRecord& g = graphRows_[size_t(r)];
    const int values[4] = {g.lx, g.ly, g.rx, g.ry};
    for (int c = 0; c < 4; ++c)
        SetCell(GridGraphs, r, c, QString::number(values[c]));
    SetCell(GridGraphs, r, 4, Q(g.name));
    // A rectangle outside the page grid is kept (the page then ends before this graph),
    // but shown in red so that the user sees why the graph does not appear.
    const QString problem =
        Q(lm::CellRectProblem(g.lx, g.ly, g.rx, g.ry, options_.HorizGraphNum, options_.VertGraphNum));
    for (int c = 0; c < 5; ++c) {
        QTableWidgetItem* item = GridGraphs->item(r, c);
        item->setForeground(problem.isEmpty() ? QBrush() : QBrush(Qt::red));
        item->setToolTip(problem);
    }
}

void TDataBaseForm::LoadGraphs(int64_t selectId)
{
    loading_ = true;
    graphRows_ = CurrentPageId() ? graphs_.Graphs(CurrentPageId()) : std::vector<lm::GraphRecord>{};
    GridGraphs->setRowCount(int(graphRows_.size()));
    int select = graphRows_.empty() ? -1 : 0;
    for (int r = 0; r < int(graphRows_.size()); ++r) {
        ShowGraphRow(r);
        if (graphRows_[size_t(r)].id == selectId)
            select = r;
    }
    GridGraphs->setCurrentCell(select, 0);
    currentGraph_ = select;
    loading_ = false;
    ShowGraphFields();
}

void TDataBaseForm::SelectGraph(int row)
{
    if (loading_)
        return;
    currentGraph_ = row;
    ShowGraphFields();
}

void TDataBaseForm::ShowGraphFields()
{
    loading_ = true;
    const bool any = currentGraph_ >= 0 && currentGraph_ < int(graphRows_.size());
    const lm::GraphRecord g = any ? graphRows_[size_t(currentGraph_)] : lm::GraphRecord{};
    EditTitle->setText(Q(g.name));
    EditChannels->setText(Q(g.channels));
    CheckNoColored->setChecked(g.allChannel);
    Choose(ComboXAxis, int(g.xAxisType));
    Choose(ComboYAxis, int(g.yAxisType));
    SpinXMin->setValue(g.xMin);
    SpinXMax->setValue(g.xMax);
    SpinYMin->setValue(g.yMin);
    SpinYMax->setValue(g.yMax);
    CheckXLog->setChecked(g.xLog);
    CheckYLog->setChecked(g.yLog);
    Choose(ComboGraphType, g.graphTypeId);
    Choose(ComboBinSum, g.yBinSumTypeId);
    Choose(ComboCumulation, g.yCumTypeId);
    SpinBinNum->setValue(g.xBinNum);
    SpinLeftX->setValue(g.lx);
    SpinLeftY->setValue(g.ly);
    SpinRightX->setValue(g.rx);
    SpinRightY->setValue(g.ry);
    const QString problem =
        any ? Q(lm::CellRectProblem(g.lx, g.ly, g.rx, g.ry, options_.HorizGraphNum, options_.VertGraphNum))
            : QString();
    for (QSpinBox* s : {SpinLeftX, SpinLeftY, SpinRightX, SpinRightY}) {
        s->setStyleSheet(problem.isEmpty() ? QString() : QString("QSpinBox { color: red; }"));
        s->setToolTip(problem);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             EditTitle, EditChannels, CheckNoColored, ComboXAxis, ComboYAxis, SpinXMin, SpinXMax, SpinYMin,
             SpinYMax, CheckXLog, CheckYLog, ComboGraphType, ComboBinSum, ComboCumulation, SpinBinNum,
             SpinLeftX, SpinLeftY, SpinRightX, SpinRightY})
        w->setEnabled(any);
    loading_ = false;
}

bool TDataBaseForm::Post(const std::function<void()>& write)
{
    try {
        write();
        return true;
    } catch (const std::exception& e) {
        if (dialogs_)
            dialogs_->Error(this, "Error", Q(e.what()));
        const int64_t system = CurrentSystemId();
        LoadSystems(system);
        return false;
    }
}

void TDataBaseForm::SystemCellChanged(int row, int)
{
    if (loading_ || row < 0 || row >= int(systems_.size()))
        return;
    lm::GraphSystem& s = systems_[size_t(row)];
    s.name = GridSystems->item(row, 0)->text().toStdString();
    Post([&] { graphs_.UpdateSystem(s); });
}

void TDataBaseForm::PageCellChanged(int row, int)
{
    if (loading_ || row < 0 || row >= int(pages_.size()))
        return;
    lm::GraphPage& p = pages_[size_t(row)];
    p.name = GridPages->item(row, 0)->text().toStdString();
    Post([&] { graphs_.UpdatePage(p); });
}

void TDataBaseForm::GraphCellChanged(int row, int column)
{
    if (loading_ || row < 0 || row >= int(graphRows_.size()))
        return;
    lm::GraphRecord g = graphRows_[size_t(row)];
    const QString text = GridGraphs->item(row, column)->text().trimmed();
    if (column == 4) {
        g.name = text.toStdString();
    } else {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < 0 || value > SHRT_MAX) {
            if (dialogs_)
                dialogs_->Error(this, "Error", "'" + text + "' is not a valid cell number");
            loading_ = true;
            ShowGraphRow(row);
            loading_ = false;
            return;
        }
        int16_t* cells[4] = {&g.lx, &g.ly, &g.rx, &g.ry};
        *cells[column] = int16_t(value);
    }
    if (!Post([&] { graphs_.UpdateGraph(g); }))
        return;
    graphRows_[size_t(row)] = g;
    loading_ = true;
    ShowGraphRow(row);
    loading_ = false;
    if (row == currentGraph_)
        ShowGraphFields();
}

void TDataBaseForm::GraphFieldsChanged()
{
    if (loading_ || currentGraph_ < 0 || currentGraph_ >= int(graphRows_.size()))
        return;
    lm::GraphRecord g = graphRows_[size_t(currentGraph_)];
    g.name = EditTitle->text().toStdString();
    g.channels = EditChannels->text().toStdString();
    g.allChannel = CheckNoColored->isChecked();
    if (ComboXAxis->currentIndex() >= 0)
        g.xAxisType = uint32_t(ComboXAxis->currentData().toInt());
    if (ComboYAxis->currentIndex() >= 0)
        g.yAxisType = uint32_t(ComboYAxis->currentData().toInt());
    g.xMin = SpinXMin->value();
    g.xMax = SpinXMax->value();
    g.yMin = SpinYMin->value();
    g.yMax = SpinYMax->value();
    g.xLog = CheckXLog->isChecked();
    g.yLog = CheckYLog->isChecked();
    if (ComboGraphType->currentIndex() >= 0)
        g.graphTypeId = ComboGraphType->currentData().toInt();
    if (ComboBinSum->currentIndex() >= 0)
        g.yBinSumTypeId = ComboBinSum->currentData().toInt();
    if (ComboCumulation->currentIndex() >= 0)
        g.yCumTypeId = ComboCumulation->currentData().toInt();
    g.xBinNum = SpinBinNum->value();
    g.lx = int16_t(SpinLeftX->value());
    g.ly = int16_t(SpinLeftY->value());
    g.rx = int16_t(SpinRightX->value());
    g.ry = int16_t(SpinRightY->value());
    if (!Post([&] { graphs_.UpdateGraph(g); }))
        return;
    graphRows_[size_t(currentGraph_)] = g;
    loading_ = true;
    ShowGraphRow(currentGraph_);
    loading_ = false;
    ShowGraphFields();
}

void TDataBaseForm::AddSystem()
{
    lm::GraphSystem s;
    s.name = "Graph set " + std::to_string(systems_.size() + 1);
    int64_t id = 0;
    if (Post([&] { id = graphs_.InsertSystem(s); }))
        LoadSystems(id);
}

void TDataBaseForm::DeleteSystem()
{
    const int row = GridSystems->currentRow();
    if (row < 0 || row >= int(systems_.size()))
        return;
    const lm::GraphSystem s = systems_[size_t(row)];
    if (dialogs_ &&
        !dialogs_->Confirm(this, "Warning",
                           "Delete the graph set \"" + Q(s.name) + "\" with its pages and graphs?"))
        return;
    Post([&] { graphs_.DeleteSystem(s.id); });
    LoadSystems(row > 0 ? systems_[size_t(row - 1)].id : 0);
}

void TDataBaseForm::AddPage()
{
    if (!CurrentSystemId())
        return;
    lm::GraphPage p;
    p.systemId = CurrentSystemId();
    p.name = "Page " + std::to_string(pages_.size() + 1);
    int64_t id = 0;
    if (Post([&] { id = graphs_.InsertPage(p); }))
        LoadPages(id);
}

void TDataBaseForm::DeletePage()
{
    const int row = GridPages->currentRow();
    if (row < 0 || row >= int(pages_.size()))
        return;
    const lm::GraphPage p = pages_[size_t(row)];
    if (dialogs_ &&
        !dialogs_->Confirm(this, "Warning", "Delete the page \"" + Q(p.name) + "\" with its graphs?"))
        return;
    Post([&] { graphs_.DeletePage(p.id); });
    LoadPages(row > 0 ? pages_[size_t(row - 1)].id : 0);
}

void TDataBaseForm::AddGraph()
{
    if (!CurrentPageId())
        return;
    // A new graph takes the first cell of the page grid that no graph covers (the first
    // cell when all are taken), as a point graph of amplitude over time.
    lm::GraphRecord g;
    g.pageId = CurrentPageId();
    const auto covered = [this](int x, int y) {
        for (const lm::GraphRecord& other : graphRows_)
            if (x >= other.lx && x < other.rx && y >= other.ly && y < other.ry)
                return true;
        return false;
    };
    int16_t cellX = 0, cellY = 0;
    bool found = false;
    for (int y = 0; y < options_.VertGraphNum && !found; ++y)
        for (int x = 0; x < options_.HorizGraphNum && !found; ++x)
            if (!covered(x, y)) {
                cellX = int16_t(x);
                cellY = int16_t(y);
                found = true;
            }
    g.lx = cellX;
    g.ly = cellY;
    g.rx = int16_t(cellX + 1);
    g.ry = int16_t(cellY + 1);
    g.name = "Graph " + std::to_string(graphRows_.size() + 1);
    g.graphTypeId = lm::kPointGraph;
    g.xAxisType = 1;   // time
    g.yAxisType = 256; // amplitude
    g.xMax = 1000;
    g.yMax = 100;
    int64_t id = 0;
    if (Post([&] { id = graphs_.InsertGraph(g); }))
        LoadGraphs(id);
}

void TDataBaseForm::DeleteGraph()
{
    const int row = GridGraphs->currentRow();
    if (row < 0 || row >= int(graphRows_.size()))
        return;
    const int64_t id = graphRows_[size_t(row)].id;
    Post([&] { graphs_.DeleteGraph(id); });
    LoadGraphs(row > 0 ? graphRows_[size_t(row - 1)].id : 0);
}

void TDataBaseForm::OkCommand()
{
    if (const int64_t id = CurrentSystemId()) {
        chosen_ = id;
        options_.LastUsedGraphNo = int(id);
    }
    accept();
}

} // namespace lmq
