// A-Line 32D reader and writer on arbitrary bytes.

#include "datafiles/ALNPCIDFile.h"
#include "FuzzWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    data = fuzz::NonNull(data);
    lm::BinaryFile in;
    in.OpenMemory(data, size);
    lm::ALNPCIDFile reader(in);
    fuzz::WalkReader(reader);
    fuzz::ListReader(reader, true);
    std::ostringstream shortCaption;
    reader.PrintCaption(shortCaption, lm::ALNPCIDFile::kShortCaption);

    // The copy is read back as a file of its own.
    const std::vector<uint8_t> copy = fuzz::CopyThrough(reader);
    lm::BinaryFile again;
    again.OpenMemory(fuzz::NonNull(copy.data()), copy.size());
    lm::ALNPCIDFile copyReader(again);
    fuzz::WalkReader(copyReader);
    return 0;
}
