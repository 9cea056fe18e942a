#include "lmfwin/ui/UiMessages.h"

#include "lmfwin/filter/FilterMessages.h"

namespace lmf {

QString UiText(int id)
{
    // One message table for the whole program, kept with the filter engine.
    const char* text = lm::FilterMessage(id);
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace lmf
