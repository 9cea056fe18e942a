#pragma once

// Names of hit parameters: the parameter table of the LMData database answers them (through
// this interface, so that the filter and graph code can be tested with a small fake).

#include "datafiles/LMRec.h"

#include <optional>
#include <string>
#include <string_view>

namespace lm {

class ParamLookup {
public:
    virtual ~ParamLookup() = default;
    // The id (ParamConst) of the row whose name equals `name` ignoring letter case; 0 when
    // there is none. Leading and trailing blanks are part of the name.
    virtual HitParam FindParamId(std::string_view name) const = 0;
    // ParamName of the first row with this id in id-then-name order; no value when none.
    virtual std::optional<std::string> FindParamName(HitParam id) const = 0;
    // ShortName of that row; empty when there is none.
    virtual std::string FindShortName(HitParam id) const = 0;
};

} // namespace lm
