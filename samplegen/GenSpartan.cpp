// Sample writer of the Spartan 3000 format: header, 32-byte records, end-of-data record.

#include "datafiles/ByteOrder.h"
#include "datafiles/SDFile.h"
#include "samplegen/SampleGen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace lm::gen {

namespace {

constexpr size_t kRecord = SDFile::kRecordSize;
constexpr size_t kFlushRecords = 32768; // 1 MiB of records per write

uint16_t Clamp16(double v)
{
    return uint16_t(std::clamp(v, 0.0, 65535.0));
}
uint8_t Clamp8(double v)
{
    return uint8_t(std::clamp(v, 0.0, 255.0));
}

void Put(BinaryFile& out, const uint8_t* data, size_t n)
{
    if (out.Write(data, n) != n || out.Failed())
        throw std::runtime_error("cannot write the Spartan sample file");
}

} // namespace

void WriteSpartanSample(BinaryFile& out, const SampleOptions& options)
{
    std::array<uint8_t, SDFile::kHeaderSize> header{};
    // The header is completed at the end, once counts and times are known.
    Put(out, header.data(), header.size());

    std::vector<uint8_t> buf;
    buf.reserve(kFlushRecords * kRecord);
    uint32_t dataRecords = 0;
    uint32_t sequence = 0;
    uint64_t firstTicks = 0;
    uint64_t lastTicks = 0;

    const auto record = [&](uint8_t code) -> uint8_t* {
        const size_t at = buf.size();
        buf.resize(at + kRecord);
        uint8_t* r = buf.data() + at;
        std::memset(r, 0, kRecord);
        r[0] = code;
        if (code != SDFile::scEndOfData)
            ++dataRecords;
        return r;
    };
    // A writer's header times are the first non-zero and the latest timed record.
    const auto timed = [&](uint8_t* r, uint64_t ticks) {
        write_u48le(r + 1, ticks);
        if (firstTicks == 0)
            firstTicks = ticks;
        lastTicks = std::max(lastTicks, ticks);
    };
    const auto flushIfFull = [&] {
        if (buf.size() >= kFlushRecords * kRecord) {
            Put(out, buf.data(), buf.size());
            buf.clear();
        }
    };
    const auto par1Raw = [](double volts) { return Clamp16(std::round(volts / 0.005 + 2000.0)); };

    SampleEventStream stream(options);
    SampleEvent e;
    while (stream.Next(e)) {
        switch (e.kind) {
        case SampleEvent::Hit: {
            uint8_t* r = record(SDFile::scHit);
            timed(r, e.ticks);
            r[7] = uint8_t(e.channel);
            write_u32le(r + 8, ++sequence);
            write_u16le(r + 12, Clamp16(e.rise));
            write_u16le(r + 14, Clamp16(e.countsToPeak));
            write_u16le(r + 16, Clamp16(e.counts));
            write_u16le(r + 18, Clamp16(e.energy));
            write_u32le(r + 20, e.duration);
            r[24] = Clamp8(e.amplitude);
            r[25] = Clamp8(e.rms);
            r[26] = 40; // threshold
            write_u16le(r + 27, par1Raw(e.parametric));
            r[29] = 0;  // DP
            r[30] = 20; // gain
            break;
        }
        case SampleEvent::Parametric: {
            uint8_t* r = record(SDFile::scParametric);
            timed(r, e.ticks);
            write_u16le(r + 27, par1Raw(e.parametric));
            r[29] = 1;
            break;
        }
        case SampleEvent::Comment: {
            uint8_t* r = record(SDFile::scComment);
            const size_t n = std::min<size_t>(e.text.size(), kRecord - 1);
            std::memcpy(r + 1, e.text.data(), n);
            break;
        }
        case SampleEvent::TimeMark:
            break; // the format has no time marks
        case SampleEvent::Pause:
            timed(record(SDFile::scPause), e.ticks);
            break;
        case SampleEvent::Resume:
            timed(record(SDFile::scResume), e.ticks);
            break;
        case SampleEvent::Stop:
            timed(record(SDFile::scStop), e.ticks);
            break;
        }
        flushIfFull();
    }
    record(SDFile::scEndOfData);
    Put(out, buf.data(), buf.size());

    uint8_t* h = header.data();
    write_u32le(h + SDFile::kTotalRecords, dataRecords);
    write_u32le(h + SDFile::kFirstHitTime, SDFile::HeaderTime(TickTime::FromValue(firstTicks)));
    write_u32le(h + SDFile::kFirstHitNumber, 1);
    write_u32le(h + SDFile::kLastHitTime, SDFile::HeaderTime(TickTime::FromValue(lastTicks)));
    write_u32le(h + SDFile::kLastHitNumber, dataRecords);
    h[20] = ' ';
    std::memcpy(h + SDFile::kDateTime, "12/09/26 10:30:00", 17);
    h[SDFile::kAutoDumpFlag] = 0;
    h[SDFile::kContinuousFlag] = 0;
    std::memcpy(h + SDFile::kVersion, "V3.10 ", 6);
    const std::string label = "Synthetic Spartan test";
    h[SDFile::kLabelLength] = uint8_t(label.size());
    std::memcpy(h + SDFile::kLabel, label.data(), label.size());
    h[SDFile::kTimeDrivenFlag] = 1;

    const uint64_t end = out.Tell();
    if (!out.Seek(0))
        throw std::runtime_error("cannot write the Spartan sample file");
    Put(out, header.data(), header.size());
    out.Seek(end);
}

} // namespace lm::gen
