#include "Datamod.h"

#include "AFilterDatabase.h"
#include "AParamTable.h"
#include "Afilter.h"
#include "LMDatabase.h"
#include "LocaleText.h"

#include <QDate>
#include <algorithm>

namespace lmf {

namespace {

std::string Std(const QString& text)
{
    return text.toStdString();
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A stored number as the grids show it: up to 15 significant digits, the user's separator.
QString NumberText(double value)
{
    QString text = QString::number(value, 'g', 15);
    const char separator = lm::UserDecimalSeparator();
    if (separator != '.')
        text.replace('.', QChar(separator));
    return text;
}

double NumberOf(const QString& text)
{
    double value = 0;
    lm::ParseFilterNumber(Std(text), lm::UserDecimalSeparator(), value);
    return value;
}

std::optional<int32_t> IntegerOf(const QString& text)
{
    uint32_t value = 0;
    if (!lm::ParseFilterInteger(Std(text), value))
        return std::nullopt;
    return int32_t(value);
}

QString IntegerText(const std::optional<int32_t>& value)
{
    return value ? QString::number(*value) : QString();
}

lm::StoredFilter ToStored(const FilterForm& form)
{
    lm::StoredFilter stored;
    lm::FilterHeader& h = stored.header;
    h.name = Std(form.filterName);
    h.deleteTDP = form.deleteParametric;
    h.eotType = form.smartEndOfTime;
    h.includeFilter = int16_t(form.filterType);
    h.treatmentMethod = int16_t(form.treatment);
    // The event and mechanic values belong to their treatment only.
    if (form.treatment == lm::kTreatmentEvents) {
        h.mpt = IntegerOf(form.mpt);
        h.lock = IntegerOf(form.lock);
    } else if (form.treatment == lm::kTreatmentMechanic) {
        h.forward = IntegerOf(form.forward);
        h.back = IntegerOf(form.back);
    }
    h.aDep = form.joinAnd[0];
    h.bDep = form.joinAnd[1];
    h.cDep = form.joinAnd[2];
    h.dDep = form.joinAnd[3];

    for (int w = 0; w < 3; ++w) {
        const GridRows& rows = form.grids[w];
        if (rows.empty() || rows[0].value(0).isEmpty())
            continue;
        for (size_t r = 0; r < rows.size(); ++r) {
            lm::MinMaxRow row;
            row.window = w;
            row.recNum = int32_t(r + 1);
            row.param = Std(rows[r].value(0));
            row.min = NumberOf(rows[r].value(1));
            row.max = NumberOf(rows[r].value(2));
            stored.minMax.push_back(row);
        }
    }
    const GridRows& d = form.grids[3];
    if (!d.empty() && !d[0].value(0).isEmpty()) {
        for (size_t r = 0; r < d.size(); ++r) {
            lm::EquationRow row;
            row.recNum = int32_t(r + 1);
            row.yParam = Std(d[r].value(0));
            row.token = Std(d[r].value(1));
            row.a = NumberOf(d[r].value(2));
            row.xParam = Std(d[r].value(3));
            row.b = NumberOf(d[r].value(4));
            stored.equations.push_back(row);
        }
    }
    for (int r = 0; r < 4; ++r)
        if (!form.expressions[r].isEmpty())
            stored.expressions.push_back({r + 1, Std(form.expressions[r])});
    return stored;
}

// Grid rows from stored rows: as many data rows as rows stored (at least one), each row
// at its record number.
template <typename Row, typename Cells>
GridRows ToGrid(const std::vector<Row>& rows, int columns, Cells cells)
{
    int count = std::max<int>(1, int(rows.size()));
    for (const Row& row : rows)
        count = std::max(count, std::min(row.recNum, 10000));
    const QStringList emptyRow(columns, QString());
    GridRows grid(size_t(count), emptyRow);
    for (const Row& row : rows)
        if (row.recNum >= 1 && row.recNum <= count)
            grid[size_t(row.recNum - 1)] = cells(row);
    return grid;
}

} // namespace

TDataModule2::TDataModule2(const QString& path)
{
    db_ = std::make_unique<lm::LMDatabase>(lm::LMDatabase::Open(lm::LMDatabase::ResolvePath(Std(path))));
    filters_ = std::make_unique<lm::AFilterDatabase>(*db_);
    params_ = std::make_unique<lm::AParamTable>(*db_);
}

TDataModule2::~TDataModule2() = default;

QString TDataModule2::DatabasePath() const
{
    return Q(db_->path().string());
}

QList<StoredFilterRow> TDataModule2::List()
{
    QList<StoredFilterRow> list;
    for (const lm::FilterHeader& header : filters_->Filters())
        list.push_back({int(header.fid), QDate::fromString(Q(header.date), Qt::ISODate), Q(header.name)});
    return list;
}

std::optional<FilterForm> TDataModule2::Load(int fid)
{
    const std::optional<lm::StoredFilter> stored = filters_->Load(fid);
    if (!stored)
        return std::nullopt;
    const lm::FilterHeader& h = stored->header;
    FilterForm form;
    form.filterName = Q(h.name);
    form.treatment = h.treatmentMethod;
    form.filterType = h.includeFilter;
    form.mpt = IntegerText(h.mpt);
    form.lock = IntegerText(h.lock);
    form.forward = IntegerText(h.forward);
    form.back = IntegerText(h.back);
    form.deleteParametric = h.deleteTDP;
    form.smartEndOfTime = h.eotType;
    form.joinAnd = {h.aDep, h.bDep, h.cDep, h.dDep};
    for (int w = 0; w < 3; ++w) {
        std::vector<lm::MinMaxRow> rows;
        for (const lm::MinMaxRow& row : stored->minMax)
            if (row.window == w)
                rows.push_back(row);
        form.grids[w] = ToGrid(rows, 3, [](const lm::MinMaxRow& row) {
            return QStringList{Q(row.param), NumberText(row.min), NumberText(row.max)};
        });
    }
    std::vector<lm::EquationRow> equations;
    for (const lm::EquationRow& row : stored->equations)
        if (row.window == 0)
            equations.push_back(row);
    form.grids[3] = ToGrid(equations, 5, [](const lm::EquationRow& row) {
        return QStringList{Q(row.yParam), Q(row.token), NumberText(row.a), Q(row.xParam), NumberText(row.b)};
    });
    for (const lm::ExpressionRow& row : stored->expressions)
        if (row.recNum >= 1 && row.recNum <= 4)
            form.expressions[size_t(row.recNum - 1)] = Q(row.expression);
    return form;
}

int TDataModule2::Insert(const FilterForm& form)
{
    return int(filters_->Insert(ToStored(form)));
}

bool TDataModule2::Update(int fid, const FilterForm& form)
{
    return filters_->Update(fid, ToStored(form));
}

void TDataModule2::Delete(int fid)
{
    filters_->Delete(fid);
}

QStringList TDataModule2::ParamNames(const QString& systemName)
{
    QStringList names;
    for (const std::string& name : params_->SystemParamNames(Std(systemName)))
        names << Q(name);
    return names;
}

} // namespace lmf
