// Sample writers of the two A-Line formats.
//
// Both encode the shared synthetic session into a complete file: a header with test
// parameters, a hardware description with a per-channel calibration, and the records.
// The raw ADC amplitudes are chosen so that the readers decode them to exactly the
// session's whole dB values with the calibration written into the same file.

#include "datafiles/ALNDFile.h"
#include "datafiles/ALNPCIDFile.h"
#include "datafiles/ByteOrder.h"
#include "samplegen/SampleGen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lm::gen {

namespace {

constexpr int32_t kStartTime = 1700000000; // 2023-11-14 22:13:20 UTC
constexpr uint64_t kTicksPerSecond = 4000000;
constexpr size_t kChunk = 1 << 20;

// Records are encoded into a block that is handed to the stream in one write.
class RecordSink {
public:
    explicit RecordSink(BinaryFile& out) : out_(out) { buffer_.reserve(kChunk + 70000); }
    uint8_t* Append(size_t n)
    {
        if (buffer_.size() + n > kChunk)
            Flush();
        const size_t at = buffer_.size();
        buffer_.resize(at + n);
        return buffer_.data() + at;
    }
    void Flush()
    {
        if (!buffer_.empty() && out_.Write(buffer_.data(), buffer_.size()) != buffer_.size())
            throw std::runtime_error("Cannot write the sample file");
        buffer_.clear();
        if (out_.Failed())
            throw std::runtime_error("Cannot write the sample file");
    }

private:
    BinaryFile& out_;
    std::vector<uint8_t> buffer_;
};

void WriteAll(BinaryFile& out, const uint8_t* data, size_t size)
{
    if (out.Write(data, size) != size || out.Failed())
        throw std::runtime_error("Cannot write the sample file");
}

void PutText(uint8_t* field, size_t size, const std::string& text)
{
    std::memcpy(field, text.data(), std::min(size - 1, text.size()));
}

// Smallest raw amplitude that decodes to each whole dB value, for a decoding that grows
// with the raw value. Encoding clamps the ideal raw value into its dB value's range, so
// the reader's truncation gives back exactly the session's whole dB.
class AmplitudeEncoder {
public:
    AmplitudeEncoder(std::function<double(uint32_t)> decode, uint32_t maxRaw) : maxRaw_(maxRaw)
    {
        for (int db = 0; db < int(first_.size()); ++db) {
            uint32_t lo = 1, hi = maxRaw + 1; // first raw value with decode >= db
            while (lo < hi) {
                const uint32_t mid = lo + (hi - lo) / 2;
                if (decode(mid) >= db)
                    hi = mid;
                else
                    lo = mid + 1;
            }
            first_[size_t(db)] = lo;
        }
    }
    uint32_t Encode(double db, double ideal) const
    {
        const int whole = std::clamp(int(db), 0, int(first_.size()) - 2);
        const uint32_t lo = first_[size_t(whole)];
        const uint32_t hi = first_[size_t(whole) + 1];
        double raw = std::round(ideal);
        if (lo < hi && lo <= maxRaw_)
            raw = std::clamp(raw, double(lo), double(hi - 1));
        return uint32_t(std::clamp(raw, 1.0, double(maxRaw_)));
    }

private:
    uint32_t maxRaw_;
    std::array<uint32_t, 140> first_{};
};

struct WallTime {
    int32_t seconds;
    uint32_t microseconds;
};

WallTime ToWall(uint64_t ticks)
{
    return {int32_t(uint32_t(kStartTime) + uint32_t(ticks / kTicksPerSecond)),
            uint32_t(ticks % kTicksPerSecond / 4)};
}

// ---------------------------------------------------------------------------------------
// A-Line 32D

struct PciChannel {
    int32_t gain;
    float dAdc;
    uint16_t freq;
    double k;
    double kTerm; // 20 log10(K), as the reader derives it
};

PciChannel PciChannelOf(int index)
{
    // Alternate two plausible amplifier set-ups so that the calibration matters.
    PciChannel c{};
    c.gain = index % 2 == 0 ? 20 : 26;
    c.dAdc = index % 2 == 0 ? 10.0f : 20.0f;
    c.freq = 10000;
    c.k = double(c.dAdc) / std::pow(10.0, double(c.gain) * 0.05);
    c.kTerm = 20.0 * std::log10(c.k);
    return c;
}

void PutPciHeader(std::vector<uint8_t>& header, const SampleOptions& options, int channels, uint32_t records,
                  int32_t stopTime)
{
    const size_t configSize = size_t(channels) * ALNPCIDFile::kChannelConfigSize;
    header.assign(ALNPCIDFile::kHeaderSize + 12 + configSize, 0);
    uint8_t* p = header.data();
    write_u32le(p + 0, 0x434C4E41); // "ALNC"
    write_u32le(p + 4, 1);
    write_u32le(p + 8, 0);
    write_u32le(p + 12, 43521);
    write_u32le(p + 16, 0x0320);
    write_u32le(p + 20, 0x0105);
    write_u32le(p + 96, 2);
    write_u32le(p + 100, 1);
    PutText(p + 104, 255, "Synthetic vessel");
    PutText(p + 359, 255, "lmtool gen");
    PutText(p + 614, 255, "Sample data");
    const std::string comment = "Synthetic A-Line 32D session, seed " + std::to_string(options.seed);
    write_u32le(p + 872, uint32_t(comment.size()));
    PutText(p + 876, 1000, comment);
    write_u32le(p + 1876, 0);
    write_u32le(p + 1880, 24);
    write_u32le(p + 1888, 1);
    write_u32le(p + 1896, uint32_t(kStartTime));
    write_u32le(p + 1900, uint32_t(stopTime));
    write_u32le(p + 1904, 1);
    PutText(p + 1908, 255, "SAMPLE.ALD");
    PutText(p + 2163, 255, "SAMPLE.CFG");
    write_u32le(p + 3916, records);

    uint8_t* h = p + ALNPCIDFile::kTestParamSize;
    write_u32le(h + 0, 0x1515CFCF);
    write_u32le(h + 4, 1);
    write_u32le(h + 12, uint32_t(ALNPCIDFile::kHrdwDescrSize));
    write_u32le(h + 96, 1);
    write_u32le(h + 100, uint32_t(configSize));

    uint8_t* table = p + ALNPCIDFile::kHeaderSize;
    write_u32le(table + 0, 1);
    write_u32le(table + 4, 0);
    write_u32le(table + 8, uint32_t(configSize));

    for (int c = 0; c < channels; ++c) {
        uint8_t* r = table + 12 + size_t(c) * ALNPCIDFile::kChannelConfigSize;
        const PciChannel ch = PciChannelOf(c);
        write_u32le(r + 0, uint32_t(c));
        write_u32le(r + 92, uint32_t(ch.gain));
        write_f32le(r + 96, ch.dAdc);
        write_u32le(r + 348, 16);
        write_u32le(r + 360, ch.freq);
        write_u32le(r + 508, 16);
        write_u32le(r + 520, ch.freq);
        write_u16le(r + 1108, 40);
        write_u16le(r + 1112, 3);
        write_u16le(r + 1114, 1);
        write_u16le(r + 1116, 2);
    }
}

uint8_t* PutPciRecord(RecordSink& sink, uint16_t type, size_t size)
{
    uint8_t* r = sink.Append(4 + size);
    write_u16le(r, type);
    write_u16le(r + 2, uint16_t(size));
    std::memset(r + 4, 0, size);
    return r + 4;
}

void PutWall(uint8_t* d, uint64_t ticks)
{
    const WallTime w = ToWall(ticks);
    write_u32le(d, uint32_t(w.seconds));
    write_u32le(d + 4, w.microseconds);
}

} // namespace

void WriteAlinePciSample(BinaryFile& out, const SampleOptions& options)
{
    if (options.channels > int(ALNPCIDFile::kChannels))
        throw std::runtime_error("A-Line 32D files hold at most 128 channels");
    SampleOptions opts = options;
    opts.channels = std::max(1, opts.channels);
    const int channels = opts.channels;

    std::vector<AmplitudeEncoder> encoders;
    std::vector<PciChannel> setups;
    for (int c = 0; c < channels; ++c) {
        const PciChannel ch = PciChannelOf(c);
        setups.push_back(ch);
        // The reader's formula, evaluated the same way.
        encoders.emplace_back(
            [ch](uint32_t a) {
                return 20.0 * std::log10(double(a) * 1000.0 * double(ch.dAdc) / 1000.0) - ch.gain;
            },
            131071u);
    }

    // The header is written again at the end with the record count and the stop time.
    std::vector<uint8_t> header;
    PutPciHeader(header, opts, channels, 0, kStartTime);
    WriteAll(out, header.data(), header.size());

    RecordSink sink(out);
    SampleEventStream stream(opts);
    SampleEvent e;
    uint32_t records = 0;
    uint64_t lastTicks = 0;
    while (stream.Next(e)) {
        ++records;
        lastTicks = std::max(lastTicks, e.ticks);
        switch (e.kind) {
        case SampleEvent::Hit: {
            const int index = e.channel - 1;
            const PciChannel& ch = setups[size_t(index)];
            const double ideal = std::pow(10.0, (e.amplitude + ch.gain) / 20.0) / ch.dAdc;
            uint32_t amplitude = encoders[size_t(index)].Encode(e.amplitude, ideal);
            if ((amplitude & 0xFFFF) == 0)
                ++amplitude; // a zero amplitude word means "no amplitude"
            uint32_t rise = e.rise, duration = e.duration;
            uint16_t w = 0x0400; // scale code 1: factor 1.0, extended layout
            if (duration >= (1u << 19) || rise >= (1u << 19)) {
                w = 0x0800; // factor 2.0 for very long hits
                rise /= 2;
                duration /= 2;
            }
            rise = std::min(rise, (1u << 19) - 1);
            duration = std::min(duration, (1u << 19) - 1);
            const uint32_t counts = std::min(e.counts, (1u << 17) - 1);
            w = uint16_t(w | (duration >> 16) | ((amplitude >> 16) << 3) | ((rise >> 16) << 4) |
                         ((counts >> 16) << 7));
            // Energy as mantissa and exponent, chosen so that the reader's formula gives back
            // the whole dB of 10 log10 of the session's energy.
            // (At least 1 dB: values between 0 and 1 dB would truncate to 0.)
            const double target = std::max(1.0, std::floor(10.0 * std::log10(std::max(1.0, e.energy))));
            const auto decoded = [&ch](uint64_t r) {
                return 10.0 * std::log10(double(r) * 1000.0 / ch.freq) + ch.kTerm;
            };
            uint64_t raw =
                uint64_t(std::max<long long>(1, std::llround(e.energy * ch.freq / (1000.0 * ch.k * ch.k))));
            while (decoded(raw) < target)
                ++raw;
            while (raw > 1 && decoded(raw) >= target + 1.0)
                --raw;
            uint32_t exponent = 0;
            while (raw >= (uint64_t(1) << 27)) {
                raw >>= 1;
                ++exponent;
            }
            const uint32_t packed = uint32_t(raw << 5) | exponent;

            uint8_t* d = PutPciRecord(sink, 5, 30);
            PutWall(d, e.ticks);
            write_u16le(d + 8, uint16_t(index));
            write_u16le(d + 10, uint16_t(amplitude));
            write_u16le(d + 12, uint16_t(duration));
            write_u16le(d + 14, w);
            write_u16le(d + 16, uint16_t(rise));
            write_u16le(d + 20, uint16_t(counts));
            write_u16le(d + 26, uint16_t(packed));
            write_u16le(d + 28, uint16_t(packed >> 16));
            break;
        }
        case SampleEvent::Parametric: {
            uint8_t* d = PutPciRecord(sink, 3, 16);
            PutWall(d, e.ticks);
            write_u32le(d + 8, uint32_t(int32_t(std::lround(e.parametric * 1000.0)))); // mV
            write_u32le(d + 12, 1);                                                    // input number
            break;
        }
        case SampleEvent::Comment: {
            const size_t size = std::min<size_t>(e.text.size() + 1, ALNPCIDFile::kMaxRecordData);
            uint8_t* d = PutPciRecord(sink, 7, size);
            std::memcpy(d, e.text.data(), size - 1);
            break;
        }
        case SampleEvent::TimeMark: {
            uint8_t* d = PutPciRecord(sink, 6, 12);
            PutWall(d, e.ticks);
            write_u32le(d + 8, uint32_t(e.markNumber));
            break;
        }
        case SampleEvent::Pause:
        case SampleEvent::Resume:
        case SampleEvent::Stop: {
            // System messages: 1 pause, 2 resume, 3 stop.
            uint8_t* d = PutPciRecord(sink, 1, 12);
            PutWall(d, e.ticks);
            write_u32le(d + 8, e.kind == SampleEvent::Pause ? 1 : e.kind == SampleEvent::Resume ? 2 : 3);
            break;
        }
        }
    }
    sink.Flush();

    PutPciHeader(header, opts, channels, records, ToWall(lastTicks).seconds + 1);
    if (!out.Seek(0))
        throw std::runtime_error("Cannot write the sample file");
    WriteAll(out, header.data(), ALNPCIDFile::kHeaderSize);
    if (!out.Flush())
        throw std::runtime_error("Cannot write the sample file");
}

// ---------------------------------------------------------------------------------------
// A-Line ISA

void WriteAlineIsaSample(BinaryFile& out, const SampleOptions& options)
{
    if (options.channels > int(kAlnCalibChannels))
        throw std::runtime_error("A-Line ISA files hold at most 32 channels");
    SampleOptions opts = options;
    opts.channels = std::max(1, opts.channels);
    const int channels = opts.channels;

    constexpr size_t kConfigSize = 64;
    std::vector<uint8_t> header(ALNDFile::kTableStart + 12 + kConfigSize, 0);
    uint8_t* p = header.data();
    write_u32le(p + 0, 0x434C4E41);
    write_u32le(p + 4, 1);
    write_u32le(p + 12, 43521);
    write_u32le(p + 16, 0x0210);
    write_u32le(p + 20, 0x0301);
    write_u32le(p + 1896, uint32_t(kStartTime));
    uint8_t* h = p + ALNDFile::kTestParamSize;
    write_u32le(h + 0, 0x1313CFCF);
    write_u32le(h + 4, 1);
    write_u32le(p + 3940, 1);
    write_u32le(p + 3944, uint32_t(kConfigSize));
    write_u32le(p + 3948, 1);
    write_u32le(p + 3952, 0);
    write_u32le(p + 3956, uint32_t(kConfigSize));
    WriteAll(out, header.data(), header.size());

    RecordSink sink(out);
    const auto put = [&sink](uint32_t type, uint64_t ticks) {
        const size_t body = ALNDFile::BodySize(type);
        uint8_t* r = sink.Append(12 + body);
        std::memset(r, 0, 12 + body);
        write_u32le(r, type);
        const WallTime w = ToWall(ticks);
        write_u32le(r + 4, uint32_t(w.seconds));
        write_u32le(r + 8, w.microseconds);
        return r + 12;
    };

    // Each channel's gain is announced by a calibration record before the first hit, so the
    // file decodes the same whatever was read before it.
    std::vector<AmplitudeEncoder> encoders;
    std::vector<double> offsets;
    for (int c = 0; c < channels; ++c) {
        ALNChannelCalib calib;
        calib.gainCode = 16 + 8 * (c % 3);
        calib.Update();
        offsets.push_back(calib.offset);
        const double offset = calib.offset;
        encoders.emplace_back(
            [offset](uint32_t a) { return std::trunc(20.0 * std::log10(double(a)) + offset); }, 65535u);
        uint8_t* b = put(1, 0);
        write_u32le(b, 2);
        b[4] = uint8_t(c);
        write_u16le(b + 6, uint16_t(calib.setting));
        b[11] = uint8_t(calib.gainCode);
    }

    SampleEventStream stream(opts);
    SampleEvent e;
    uint64_t hits = 0;
    while (stream.Next(e)) {
        switch (e.kind) {
        case SampleEvent::Hit: {
            const int index = e.channel - 1;
            const double ideal = std::pow(10.0, (e.amplitude - offsets[size_t(index)]) / 20.0);
            // Every tenth hit uses the longer hit record.
            uint8_t* b = put(++hits % 10 == 0 ? 4 : 0, e.ticks);
            b[0] = uint8_t(index);
            write_u16le(b + 2, uint16_t(encoders[size_t(index)].Encode(e.amplitude, ideal)));
            write_u32le(b + 4, uint32_t(std::llround(e.energy)));
            write_u32le(b + 8, e.duration);
            write_u32le(b + 12, e.rise);
            write_u32le(b + 16, e.counts);
            break;
        }
        case SampleEvent::Parametric: {
            uint8_t* b = put(3, e.ticks);
            write_u32le(b, uint32_t(int32_t(std::lround(e.parametric * 1000.0)))); // mV
            break;
        }
        case SampleEvent::Comment:
            break; // the format has no comment record
        case SampleEvent::TimeMark:
        case SampleEvent::Pause:
        case SampleEvent::Resume:
        case SampleEvent::Stop: {
            // System records: 1 time mark (with its number), 2 pause, 3 resume, 4 stop.
            uint8_t* b = put(2, e.ticks);
            const uint32_t code = e.kind == SampleEvent::TimeMark ? 1
                                  : e.kind == SampleEvent::Pause  ? 2
                                  : e.kind == SampleEvent::Resume ? 3
                                                                  : 4;
            write_u32le(b, code);
            write_u32le(b + 4, uint32_t(e.markNumber));
            break;
        }
        }
    }
    sink.Flush();
    if (!out.Flush())
        throw std::runtime_error("Cannot write the sample file");
}

} // namespace lm::gen
