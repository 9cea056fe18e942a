#include "datafiles/AWDiskFile.h"

namespace lm {

int AWDiskFile::CheckEventTicks(TickTime t)
{
    if (t < referenceTime_)
        throw ELMData(kErrNotSorted);
    // The difference is taken in seconds and converted back, as the acquisition software does.
    const TickTime d = TickTime::FromSeconds(t.Seconds() - referenceTime_.Seconds());
    if (d <= eventWindow_)
        return 1;
    if (d <= lockoutWindow_)
        return 2;
    referenceTime_ = t;
    return 0;
}

void AWDiskFile::NoteAppendedTime(TickTime t)
{
    currentTime_ = t;
    if (firstTime_.IsZero()) {
        referenceTime_ = currentTime_;
        firstTime_ = currentTime_;
    }
    if (currentTime_ > referenceTime_)
        referenceTime_ = currentTime_;
}

}  // namespace lm
