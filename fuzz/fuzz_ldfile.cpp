// DiSP/Locan reader and writer on arbitrary bytes.

#include "FuzzWalk.h"
#include "datafiles/LDFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    data = fuzz::NonNull(data);
    lm::BinaryFile in;
    in.OpenMemory(data, size);
    lm::LDFile reader(in);
    fuzz::WalkReader(reader);

    reader.SeekFirstRecord();
    while (reader.SkipRecord())
        (void)reader.IsTimeMark();
    std::ostringstream dump;
    reader.SeekFirstRecord();
    reader.PrintDump(dump);

    fuzz::ListReader(reader, false);
    // The message stream is copied message by message, so a copy of the copy is the copy.
    const std::vector<uint8_t> copy = fuzz::CopyThrough(reader);
    if (fuzz::CopyBytes<lm::LDFile>(copy) != copy)
        __builtin_trap();
    return 0;
}
