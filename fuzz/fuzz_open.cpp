// Recognition, reader creation, loading and the copy of the programs on arbitrary bytes.

#include "FuzzWalk.h"
#include "datafiles/ALNDFile.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/DataFileOpen.h"
#include "datafiles/RecognitionText.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    data = fuzz::NonNull(data);
    lm::ResetAlnCalibration();
    fuzz::sink = lm::IsText(data, long(size)) +
                 lm::IsDataFilePath(std::string(data, data + std::min<size_t>(size, 64)));

    lm::BinaryFile in;
    in.OpenMemory(data, size);
    const int loading = lm::RecogniseForLoading(in);
    const int writing = lm::RecogniseForWriting(in);
    if (in.Tell() != 0)
        __builtin_trap();
    if (loading >= 0) {
        const auto reader = lm::CreateReader(loading, in);
        std::vector<lm::LMShortHit> records;
        const lm::LoadStats stats = lm::LoadRecords(*reader, lm::DataFileType(loading), records);
        if (stats.read > records.size() || stats.hits + stats.timeMarks > stats.read)
            __builtin_trap();
        std::ostringstream text;
        reader->PrintInfo(text);
        lm::LMShortHit::PrintTitles(text);
        for (uint32_t i = 0; i < std::min<uint32_t>(stats.read, 64); ++i)
            records[i].PrintValues(text);
    }

    lm::BinaryFile source;
    source.OpenMemory(data, size);
    std::vector<uint8_t> bytes;
    lm::BinaryFile target;
    target.OpenMemoryWrite(bytes);
    lm::DataCopy copy = lm::OpenDataCopy(source, target);
    if (bool(copy) != (writing >= 0))
        __builtin_trap();
    if (copy) {
        copy.reader->SeekFirstRecord();
        copy.writer->SeekFirstRecord();
        while (copy.reader->ReadNext())
            if (copy.reader->IsHit() || copy.reader->IsKnownRecord())
                copy.writer->AppendRecord(*copy.reader);
        copy.writer->WriteHeader();
    } else if (!bytes.empty()) {
        __builtin_trap(); // nothing is written for an unwritable file
    }
    return 0;
}
