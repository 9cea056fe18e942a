#pragma once

// Shared exercise of a reader for the fuzz targets: every operation a program may call on
// a reader, then a copy through a writer into memory.

#include "datafiles/AWDiskFile.h"
#include "datafiles/BinaryFile.h"
#include "datafiles/ELMData.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

namespace fuzz {

inline constexpr lm::HitParam kParams[] = {0,   1,   2,    4,    8,    16,   32,    64,   128,
                                           256, 512, 1024, 2048, 4096, 8192, 16384, 32768};

// libFuzzer passes a null pointer for the empty input; the memory stream copies zero bytes
// from it, which the sanitizer reports against the stream, not the readers under test.
inline const uint8_t* NonNull(const uint8_t* data)
{
    static const uint8_t none = 0;
    return data ? data : &none;
}

// Keeps the compiler from dropping the computed values.
inline volatile long double sink;

// The record counts, then a walk over every record asking everything about it.
inline void WalkReader(lm::AWDiskFile& reader)
{
    const int count = reader.GetRecordCount();
    const int hits = reader.GetHitCount();
    if (count < 0 || hits < 0)
        __builtin_trap();
    (void)reader.GetLabel();
    (void)reader.GetVersion();
    (void)reader.GetDateTime();
    std::ostringstream info;
    reader.PrintInfo(info);

    reader.SetEventWindows(lm::TickTime::FromValue(40), lm::TickTime::FromValue(400));
    reader.SeekFirstRecord();
    lm::LMShortHit hit;
    int walked = 0;
    while (reader.ReadNext()) {
        ++walked;
        reader.ReadRecord(hit);
        long double sum = reader.GetTime();
        for (lm::HitParam param : kParams)
            sum += reader.GetValue(param);
        sink = sum + hit.Value(lm::hpFreq) + reader.IsHit() + reader.IsTestStop() + reader.HasTime() +
               reader.IsKnownRecord() + reader.IsParametric() + reader.IsComment() + reader.IsTRRecord() +
               reader.IsAtFirstRecord() + reader.CanBeFiltered();
        if (reader.IsHit()) {
            try {
                reader.CheckEventTime();
            } catch (const lm::ELMData& e) {
                if (e.Code != lm::kErrNotSorted)
                    __builtin_trap();
            }
        }
        if (reader.IsEndOfData())
            break;
    }
    sink = walked;
}

// Listing of the whole file (the formats that list record by record get one call per record).
inline void ListReader(lm::AWDiskFile& reader, bool recordByRecord)
{
    std::ostringstream out;
    constexpr uint32_t all = 0xBFFF;
    if (recordByRecord) {
        reader.PrintCaption(out, all);
        reader.SeekFirstRecord();
        while (reader.ReadNext())
            reader.PrintRecord(out, all);
    } else {
        reader.SeekFirstRecord();
        reader.PrintFile(out, all);
    }
}

// The copy loop of the programs into memory; answers the bytes written.
template <class Format> std::vector<uint8_t> CopyThrough(Format& reader)
{
    std::vector<uint8_t> bytes;
    lm::BinaryFile out;
    out.OpenMemoryWrite(bytes);
    {
        Format writer(reader, out);
        reader.SeekFirstRecord();
        writer.SeekFirstRecord();
        while (reader.ReadNext())
            writer.AppendRecord(reader);
        writer.WriteHeader();
    }
    out.Close();
    return bytes;
}

template <class Format> std::vector<uint8_t> CopyBytes(const std::vector<uint8_t>& input)
{
    lm::BinaryFile in;
    in.OpenMemory(NonNull(input.data()), input.size());
    Format reader(in);
    return CopyThrough(reader);
}

} // namespace fuzz
