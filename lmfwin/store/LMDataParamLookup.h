#pragma once

// The filter engine's parameter lookup over the parameter table of an open LMData database.

#include "lmdata/AParamTable.h"
#include "lmfwin/filter/AParamLookup.h"

namespace lm {

class LMDatabase;

class LMDataParamLookup final : public AParamLookup {
public:
    // The database must outlive the lookup.
    explicit LMDataParamLookup(LMDatabase& db) : table_(db) {}

    HitParam FindParamId(const std::string& name) const override;
    std::optional<std::string> FindParamName(HitParam id) const override;

private:
    AParamTable table_;
};

} // namespace lm
