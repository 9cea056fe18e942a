#pragma once

// Readers and writers of a data-file format over bytes in memory, for the format tests.

#include "datafiles/BinaryFile.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace lmtest {

// What `write` writes into a stream in memory (a sample writer, say); throws when the stream
// cannot be completed.
template <class Write> std::vector<uint8_t> WrittenBytes(Write&& write)
{
    std::vector<uint8_t> bytes;
    lm::BinaryFile out;
    out.OpenMemoryWrite(bytes);
    write(out);
    if (!out.Close())
        throw std::runtime_error("the stream in memory could not be completed");
    return bytes;
}

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

// What a writer of the same format makes of every record of `reader`, from the first on;
// with `appended`, also how many records the writer took.
template <class Format> std::vector<uint8_t> CopyRecords(Format& reader, int* appended = nullptr)
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
        if (appended)
            *appended = writer.AppendedCount();
    }
    target.Close();
    return out;
}

} // namespace lmtest
