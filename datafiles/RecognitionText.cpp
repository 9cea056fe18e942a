#include "datafiles/RecognitionText.h"

namespace lm {

bool IsText(const uint8_t* bytes, long length)
{
    for (long i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (b >= 0x20 && b <= 0x7E)
            continue;
        if (b >= 9 && b <= 13)
            continue;
        if (b == 0 && i > 0)
            continue;
        return false;
    }
    return true;
}

} // namespace lm
