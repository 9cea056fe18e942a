#pragma once

// Readers and writers of a data-file format over bytes in memory, for the format tests.

#include "datafiles/BinaryFile.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace lmtest {

// A reader of `Format` over bytes it keeps alive with its stream.
template <class Format> struct MemoryReader {
    explicit MemoryReader(std::vector<uint8_t> bytes) : data(std::move(bytes))
    {
        in.OpenMemory(data.data(), data.size());
        file = std::make_unique<Format>(in);
    }
    std::vector<uint8_t> data;
    lm::BinaryFile in;
    std::unique_ptr<Format> file;
};

// What a writer of the same format makes of every record of `reader`, from the first on.
template <class Format> std::vector<uint8_t> CopyRecords(Format& reader)
{
    std::vector<uint8_t> out;
    lm::BinaryFile target;
    target.OpenMemoryWrite(out);
    {
        Format writer(reader, target);
        reader.SeekFirstRecord();
        writer.SeekFirstRecord();
        while (reader.ReadNext())
            writer.AppendRecord(reader);
        writer.WriteHeader();
    }
    target.Close();
    return out;
}

} // namespace lmtest
