#include "lmfwin/store/LMDataParamLookup.h"

namespace lm {

HitParam LMDataParamLookup::FindParamId(const std::string& name) const
{
    return table_.FindParamId(name);
}

std::optional<std::string> LMDataParamLookup::FindParamName(HitParam id) const
{
    return table_.FindParamName(id);
}

} // namespace lm
