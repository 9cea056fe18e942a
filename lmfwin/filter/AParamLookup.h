#pragma once

// Parameter names typed in the filter grids resolve through the parameter table of the
// database; the filter code only sees this small interface (a fake table in tests, an
// adapter over the database in the programs).

#include "datafiles/LMRec.h"

#include <optional>
#include <string>

namespace lm {

class AParamLookup {
public:
    virtual ~AParamLookup() = default;
    // The id of the row whose name equals `name` ignoring letter case; 0 when none.
    // Leading and trailing blanks are part of the name.
    virtual HitParam FindParamId(const std::string& name) const = 0;
    // The name of the first row with that id; no value when none.
    virtual std::optional<std::string> FindParamName(HitParam id) const = 0;
};

} // namespace lm
