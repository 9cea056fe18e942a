#include "datafiles/AWDiskFile.h"

namespace lm {

void AWDiskFile::NoteAppendedTime(TickTime t)
{
    currentTime_ = t;
    if (firstTime_.IsZero()) {
        events_.EventReference = currentTime_;
        firstTime_ = currentTime_;
    }
    if (currentTime_ > events_.EventReference)
        events_.EventReference = currentTime_;
}

} // namespace lm
