#pragma once

// The parameter table AEParams: the names users type and choose for hit parameters, and
// the links of parameters to acquisition systems (AESystem, "Prm&Sys") offered by the
// parameter lookup dialog.

#include "datafiles/ParamLookup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lm {

class LMDatabase;

struct ParamRow {
    int64_t paramId = 0;
    uint32_t paramConst = 0; // HitParam value
    std::string paramName;
    std::string shortName;
};

// One choice of the lookup dialog's " System " group and the system name it queries.
struct SystemChoice {
    const char* shown;
    const char* systemName;
};

// The seven choices in the order shown; the first one is the start choice.
const std::vector<SystemChoice>& SystemChoices();

// System name queried for a choice as shown ("Vallen System AMSY" -> "Vallen System AMS");
// a text that is not a shown choice is returned unchanged.
std::string SystemNameOfChoice(std::string_view shown);

class AParamTable final : public ParamLookup {
public:
    explicit AParamTable(LMDatabase& db) : db_(db) {}

    HitParam FindParamId(std::string_view name) const override;
    std::optional<std::string> FindParamName(HitParam id) const override;
    std::string FindShortName(HitParam id) const override;

    // Every row in ParamConst-then-ParamName order.
    std::vector<ParamRow> Rows() const;
    // Every ParamName, ordered by name ignoring case (the editor's axis choices).
    std::vector<std::string> ParamNames() const;

    // Names of the systems of AESystem, in table order.
    std::vector<std::string> SystemNames() const;
    // The lookup dialog's query: distinct ParamName linked to the system `systemName`,
    // ordered by ParamName. An unknown system gives an empty list.
    std::vector<std::string> SystemParamNames(std::string_view systemName) const;
    // The rows linked to a system, in ParamConst-then-ParamName order.
    std::vector<ParamRow> SystemRows(std::string_view systemName) const;
    bool HasSystem(std::string_view systemName) const;

private:
    LMDatabase& db_;
};

} // namespace lm
