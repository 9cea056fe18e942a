#pragma once

// The data module of the program: the connection to the database "LMData" with its filter
// tables and parameter table, opened at start and kept for the whole run.

#include "lmfwin/ui/FilterServices.h"

#include <memory>

namespace lm {
class LMDatabase;
class AFilterDatabase;
class AParamTable;
} // namespace lm

namespace lmf {

class TDataModule2 : public FilterStore {
public:
    // Opens (creating on first use) the database at `path`, or the default database when
    // `path` is empty. Throws std::runtime_error when it cannot be opened.
    explicit TDataModule2(const QString& path = QString());
    ~TDataModule2() override;

    QString DatabasePath() const;

    QList<StoredFilterRow> List() override;
    std::optional<FilterForm> Load(int fid) override;
    int Insert(const FilterForm& form) override;
    bool Update(int fid, const FilterForm& form) override;
    void Delete(int fid) override;
    QStringList ParamNames(const QString& systemName) override;

private:
    std::unique_ptr<lm::LMDatabase> db_;
    std::unique_ptr<lm::AFilterDatabase> filters_;
    std::unique_ptr<lm::AParamTable> params_;
};

} // namespace lmf
