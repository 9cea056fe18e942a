#include "lmfwin/ui/TDataModule.h"

#include "lmdata/AFilterDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmfwin/ui/FilterEngineAdapter.h"
#include "lmdata/LMDatabase.h"
#include "lmfwin/store/StoredFilterControls.h"

#include <QDate>

namespace lmf {

TDataModule2::TDataModule2(const QString& path)
{
    const auto resolved = lm::LMDatabase::ResolvePath(path.toStdString());
    try {
        db_ = std::make_unique<lm::LMDatabase>(lm::LMDatabase::Open(resolved));
    } catch (const lm::ELMDatabase& error) {
        // A read-only database still opens, loads and runs filters; storing one then says why not.
        if (error.kind() != lm::ELMDatabase::Kind::ReadOnly)
            throw;
        db_ = std::make_unique<lm::LMDatabase>(lm::LMDatabase::OpenForReading(resolved));
    }
    filters_ = std::make_unique<lm::AFilterDatabase>(*db_);
    params_ = std::make_unique<lm::AParamTable>(*db_);
}

TDataModule2::~TDataModule2() = default;

QString TDataModule2::DatabasePath() const
{
    return QString::fromStdString(db_->path().string());
}

QList<StoredFilterRow> TDataModule2::List()
{
    QList<StoredFilterRow> list;
    for (const lm::FilterHeader& header : filters_->Filters())
        list.push_back({int(header.fid), QDate::fromString(QString::fromStdString(header.date), Qt::ISODate),
                        QString::fromStdString(header.name)});
    return list;
}

std::optional<FilterForm> TDataModule2::Load(int fid)
{
    const std::optional<lm::StoredFilter> stored = filters_->Load(fid);
    if (!stored)
        return std::nullopt;
    return FormOfControls(lm::ControlsFromStoredFilter(*stored));
}

int TDataModule2::Insert(const FilterForm& form)
{
    return int(filters_->Insert(lm::StoredFilterFromControls(ControlsOfForm(form))));
}

bool TDataModule2::Update(int fid, const FilterForm& form)
{
    return filters_->Update(fid, lm::StoredFilterFromControls(ControlsOfForm(form)));
}

void TDataModule2::Delete(int fid)
{
    filters_->Delete(fid);
}

QStringList TDataModule2::ParamNames(const QString& systemName)
{
    QStringList names;
    for (const std::string& name : params_->SystemParamNames(systemName.toStdString()))
        names << QString::fromStdString(name);
    return names;
}

} // namespace lmf
