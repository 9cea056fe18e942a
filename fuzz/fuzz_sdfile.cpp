// Spartan 3000 reader and writer on arbitrary bytes.

#include "FuzzWalk.h"
#include "datafiles/SDFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    data = fuzz::NonNull(data);
    lm::BinaryFile in;
    in.OpenMemory(data, size);
    lm::SDFile reader(in);
    fuzz::WalkReader(reader);
    (void)reader.IsHeaderValid();

    // Random access: forward over hits, backward, to a record by number.
    reader.SeekFirstRecord();
    reader.SkipHits();
    (void)reader.GetRecordIndex();
    reader.ReadPrevious();
    std::vector<uint8_t> raw;
    lm::BinaryFile rawOut;
    rawOut.OpenMemoryWrite(raw);
    reader.WriteRawTo(rawOut);
    reader.SeekRecord(int(size % 7));
    reader.ReadNext();
    reader.SeekRecord(-1);
    reader.ReadNext();

    fuzz::ListReader(reader, false);
    // Copying a copy changes nothing: the writer's header is a function of the records.
    const std::vector<uint8_t> copy = fuzz::CopyThrough(reader);
    if (fuzz::CopyBytes<lm::SDFile>(copy) != copy)
        __builtin_trap();
    return 0;
}
