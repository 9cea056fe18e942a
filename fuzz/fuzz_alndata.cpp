// A-Line ISA reader on arbitrary bytes.

#include "datafiles/ALNDFile.h"
#include "FuzzWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    data = fuzz::NonNull(data);
    // The calibration is shared by all files read; each input starts from the defaults so
    // that a finding replays alone.
    lm::ResetAlnCalibration();
    lm::BinaryFile in;
    in.OpenMemory(data, size);
    lm::ALNDFile reader(in);
    fuzz::WalkReader(reader);
    reader.SeekBegin();
    (void)reader.IsAtFirstRecord();
    return 0;
}
