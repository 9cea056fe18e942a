#include "datafiles/ALNDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/internal/AlineRecognition.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lm {

namespace {

constexpr size_t kStartTime = 1896;

std::array<ALNChannelCalib, kAlnCalibChannels> DefaultCalibration()
{
    std::array<ALNChannelCalib, kAlnCalibChannels> table{};
    for (ALNChannelCalib& e : table)
        e.Update();
    return table;
}

// Shared by every file read in this program run, as the acquisition software does.
std::array<ALNChannelCalib, kAlnCalibChannels> gCalibration = DefaultCalibration();

// 20 log10(a) dB for every 16-bit amplitude a, made once: a logarithm per hit would take
// a good part of a load.
const std::vector<double>& AmplitudeDecibels()
{
    static const std::vector<double> table = [] {
        std::vector<double> decibels(65536, 0.0);
        for (uint32_t a = 1; a < decibels.size(); ++a)
            decibels[a] = 20.0 * std::log10(double(a));
        return decibels;
    }();
    return table;
}

} // namespace

void ALNChannelCalib::Update()
{
    double b = 0.0;
    if (mode == 1)
        b = c2;
    else if (mode == 2)
        b = c2 * 0.0001;
    const double ratio = b == 0.0 || c1 == 0 || c4 == 0 ? 0.0 : double(c3) * 1000.0 / c4 / c1 / b;
    // A setting without a defined conversion contributes 0 dB instead of an infinite offset.
    conversion = ratio > 0.0 && std::isfinite(ratio) ? 20.0 * std::log10(ratio) : 0.0;
    gain = gainCode * 0.375;
    offset = conversion + gain;
}

std::array<ALNChannelCalib, kAlnCalibChannels>& AlnCalibration()
{
    return gCalibration;
}

void ResetAlnCalibration()
{
    gCalibration = DefaultCalibration();
}

size_t ALNDFile::BodySize(uint32_t type)
{
    switch (type) {
    case 0:
    case 2:
        return 32;
    case 4:
    case 5:
        return 36;
    default: // 1 (sub-type and 12 bytes), 3 and every other type
        return 16;
    }
}

ALNDFile::ALNDFile(BinaryFile& in) : AWDiskFile(in)
{
    const uint64_t fileSize = in.Size();
    in.ReadAt(0, testParam_.data(), kTestParamSize);
    in.ReadAt(kTestParamSize, hrdw_.data(), kHrdwDescrSize);
    uint8_t counts[8] = {};
    in.ReadAt(kTestParamSize + kHrdwDescrSize, counts, sizeof counts);
    startTime_ = read_i32le(testParam_.data() + kStartTime);

    const uint64_t tableBytes = uint64_t(read_u32le(counts)) * 12;
    const uint64_t configSize = read_u32le(counts + 4);
    firstRecord_ = kTableStart + tableBytes + configSize;
    // Keep only the part of the table the file holds; a larger count means no records.
    const uint64_t avail = fileSize > kTableStart ? fileSize - kTableStart : 0;
    blockTable_.resize(size_t(std::min(tableBytes, avail / 12 * 12)));
    if (!blockTable_.empty())
        in.ReadAt(kTableStart, blockTable_.data(), blockTable_.size());
    in.Seek(firstRecord_);
}

uint64_t ALNDFile::SeekBegin()
{
    file_.Seek(0);
    return 0;
}

uint64_t ALNDFile::SeekFirstRecord()
{
    file_.Seek(firstRecord_);
    return firstRecord_;
}

bool ALNDFile::ReadNext()
{
    uint8_t* r = record_.data();
    if (file_.Read(r, kRecordHeadSize) != kRecordHeadSize)
        return false;
    type_ = read_u32le(r);
    const size_t body = BodySize(type_);
    if (file_.Read(r + kRecordHeadSize, body) != body)
        return false;
    if (type_ == 1) {
        const uint8_t* b = r + kRecordHeadSize;
        const uint32_t channel = b[4];
        if (read_u32le(b) == 2 && channel < kAlnCalibChannels) {
            ALNChannelCalib& e = gCalibration[channel];
            e.setting = read_u16le(b + 6);
            e.gainCode = b[11];
            e.Update();
        }
    }
    return true;
}

TickTime ALNDFile::RecordTicks() const
{
    // Exact integer arithmetic: no tick is lost to rounding of microseconds * 1e-6.
    const int32_t diff = int32_t(read_u32le(record_.data() + 4) - uint32_t(startTime_));
    const int64_t ticks = int64_t(diff) * 4000000 + int64_t(read_u32le(record_.data() + 8)) * 4;
    if (ticks <= 0)
        return TickTime{};
    return TickTime::FromValue(uint64_t(ticks) & TickTime::kMaxValue);
}

long double ALNDFile::GetTime()
{
    const int32_t diff = int32_t(read_u32le(record_.data() + 4) - uint32_t(startTime_));
    return (long double)diff + (long double)read_u32le(record_.data() + 8) * 1e-6L;
}

bool ALNDFile::AmplitudeDb(double& value) const
{
    const uint8_t* b = record_.data() + kRecordHeadSize;
    const uint32_t channel = b[0];
    const uint32_t amplitude = read_u16le(b + 2);
    // Amplitude 0 has no logarithm and channels from 32 on have no calibration entry:
    // both give amplitude 0.
    if (amplitude == 0 || channel >= kAlnCalibChannels)
        return false;
    value = std::trunc(AmplitudeDecibels()[amplitude] + gCalibration[channel].offset);
    return true;
}

void ALNDFile::ReadRecord(LMShortHit& hit)
{
    if (type_ == 0 || type_ == 4) {
        const uint8_t* b = record_.data() + kRecordHeadSize;
        hit.kind = rkHit;
        hit.SetHitFlags(0);
        hit.time = RecordTicks();
        hit.channel = uint8_t(b[0] + 1);
        double db = 0.0;
        // The field is 8 bits wide: the low bits of the truncated value are kept.
        hit.amplitude = AmplitudeDb(db) ? uint8_t(int32_t(db)) : 0;
        hit.energy = uint16_t(read_u32le(b + 4));
        hit.duration = read_u32le(b + 8);
        hit.rise = uint16_t(read_u32le(b + 12));
        hit.counts = uint16_t(read_u32le(b + 16));
    } else if (type_ == 3) {
        hit.kind = rkParametric;
    } else {
        hit.kind = rkOther;
    }
}

long double ALNDFile::GetValue(HitParam param)
{
    const uint8_t* b = record_.data() + kRecordHeadSize;
    switch (param) {
    case hpTime:
        return GetTime();
    case hpChannel:
        return (long double)b[0] + 1;
    case hpRise:
        return read_u32le(b + 12);
    case hpCounts:
        return read_u32le(b + 16);
    case hpEnergy:
        return read_u32le(b + 4);
    case hpDuration:
        return read_u32le(b + 8);
    case hpAmplitude: {
        double db = 0.0;
        return AmplitudeDb(db) ? (long double)db : 0.0L;
    }
    default:
        return 0.0L;
    }
}

int ALNDFile::GetRecordCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext())
        ++count;
    return count;
}

int ALNDFile::GetHitCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext())
        if (type_ == 0 || type_ == 4)
            ++count;
    return count;
}

bool IsAlineIsaFile(BinaryFile& file)
{
    return IsAlineFile(file, 3844, 0x1313CFCF);
}

} // namespace lm
