#include "datafiles/ALNPCIDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/internal/AlineRecognition.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <ostream>
#include <stdexcept>
#include <typeinfo>

namespace lm {

namespace {

constexpr uint64_t kTickMask = TickTime::kMaxValue;

// Offsets inside the test parameter block.
constexpr size_t kObjectName = 104;
constexpr size_t kStartTime = 1896;
constexpr size_t kNumberOfEvents = 3916;

// Offsets inside the hardware description.
constexpr size_t kConfBlocks = 96;
constexpr size_t kConfigDataSize = 100;

// Offsets inside a channel configuration record.
constexpr size_t kCfgChannel = 0;
constexpr size_t kCfgGain = 92;
constexpr size_t kCfgDAdc = 96;
constexpr size_t kCfgAdcBit1 = 348;
constexpr size_t kCfgFreq1 = 360;
constexpr size_t kCfgAdcBit2 = 508;
constexpr size_t kCfgFreq2 = 520;
constexpr size_t kCfgGPre = 1108;
constexpr size_t kCfgDevType = 1112;
constexpr size_t kCfgFltType = 1114;
constexpr size_t kCfgModVers = 1116;

// Hit decoding reads the first 30 bytes; shorter records are zero-padded up to this.
constexpr size_t kHitBytes = 32;

std::string FieldText(const uint8_t* p, size_t size)
{
    const auto* end = std::find(p, p + size, uint8_t(0));
    return std::string(reinterpret_cast<const char*>(p), size_t(end - p));
}

// ctime form: "Www Mmm dd hh:mm:ss yyyy\n" in local time.
std::string CTimeText(int32_t seconds)
{
    const time_t t = seconds;
    struct tm tmv {};
    if (!localtime_r(&t, &tmv))
        return "\n";
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", days[tmv.tm_wday % 7],
                  months[tmv.tm_mon % 12], tmv.tm_mday, tmv.tm_hour, tmv.tm_min, tmv.tm_sec,
                  tmv.tm_year + 1900);
    return text;
}

// A truncated real stored into an integer field of `Bits` bits (the low bits are kept).
template <typename T> T StoreTruncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= 9.2e18 || value <= -9.2e18)
        return 0;
    return T(uint64_t(int64_t(value)));
}

} // namespace

// Decoded quantities of the current record read as hit data.

ALNPCIDFile::ALNPCIDFile(BinaryFile& in) : AWDiskFile(in)
{
    record_.assign(4 + kMaxRecordData + kHitBytes, 0);
    const uint64_t fileSize = in.Size();

    in.ReadAt(0, testParam_.data(), kTestParamSize);
    in.ReadAt(kTestParamSize, hrdw_.data(), kHrdwDescrSize);
    startTime_ = read_i32le(testParam_.data() + kStartTime);

    // Counts and sizes come from the file: keep only what the file actually holds.
    const uint64_t blocks = read_u32le(hrdw_.data() + kConfBlocks);
    const uint64_t configSize = read_u32le(hrdw_.data() + kConfigDataSize);
    const uint64_t tableBytes = blocks * 12;
    const uint64_t configStart = kHeaderSize + tableBytes;
    firstRecord_ = configStart + configSize;

    const uint64_t tableAvail = fileSize > kHeaderSize ? fileSize - kHeaderSize : 0;
    blockTable_.resize(size_t(std::min(tableBytes, tableAvail / 12 * 12)));
    if (!blockTable_.empty())
        in.ReadAt(kHeaderSize, blockTable_.data(), blockTable_.size());

    const uint64_t configAvail = fileSize > configStart ? fileSize - configStart : 0;
    configData_.resize(size_t(std::min(configSize, configAvail)));
    if (!configData_.empty())
        in.ReadAt(configStart, configData_.data(), configData_.size());

    // The first block of type 1 holds the channel configuration records.
    for (size_t i = 0; i + 12 <= blockTable_.size(); i += 12) {
        const uint8_t* entry = blockTable_.data() + i;
        if (read_u32le(entry) != 1)
            continue;
        const uint64_t position = configStart + read_u32le(entry + 4);
        uint64_t count = read_u32le(entry + 8) / kChannelConfigSize;
        const uint64_t avail = fileSize > position ? (fileSize - position) / kChannelConfigSize : 0;
        count = std::min(count, avail);
        channelRecords_.resize(size_t(count * kChannelConfigSize));
        if (!channelRecords_.empty()) {
            const size_t got = in.ReadAt(position, channelRecords_.data(), channelRecords_.size());
            channelRecords_.resize(got / kChannelConfigSize * kChannelConfigSize);
        }
        break;
    }
    BuildCalibration();
    in.Seek(firstRecord_);
}

ALNPCIDFile::ALNPCIDFile(ALNPCIDFile& reader, BinaryFile& out)
    : AWDiskFile(out), testParam_(reader.testParam_), hrdw_(reader.hrdw_), blockTable_(reader.blockTable_),
      configData_(reader.configData_), calib_(reader.calib_), terms_(reader.terms_),
      startTime_(reader.startTime_)
{
    record_.assign(4 + kMaxRecordData + kHitBytes, 0);
    // The writer lays its header out from what it holds, so a header whose counts promised
    // more than the source contained cannot make it seek far beyond the data.
    firstRecord_ = kHeaderSize + blockTable_.size() + configData_.size();
}

void ALNPCIDFile::BuildCalibration()
{
    for (size_t i = 0; i + kChannelConfigSize <= channelRecords_.size(); i += kChannelConfigSize) {
        const uint8_t* r = channelRecords_.data() + i;
        const uint32_t c = read_u32le(r + kCfgChannel);
        if (c >= kChannels)
            continue;
        ALNPCIChannelCalib& e = calib_[c];
        e.channel = c + 1;
        e.d_ADC = read_f32le(r + kCfgDAdc);
        e.d_IN = 1000.0f;
        e.gain = read_i32le(r + kCfgGain);
        e.freq = uint16_t(read_u32le(r + kCfgFreq1));
        e.K = double(e.d_ADC) / std::pow(10.0, double(e.gain) * 0.05);
        e.mode = read_u16le(r + kCfgDevType);
    }
    BuildTerms();
}

void ALNPCIDFile::BuildTerms()
{
    for (size_t c = 0; c < kChannels; ++c) {
        const ALNPCIChannelCalib& e = calib_[c];
        ChannelTerms& t = terms_[c];
        t = ChannelTerms{};
        if (e.channel == 0)
            continue; // no configuration record: no dB values for this channel
        t.dAdc = e.d_ADC;
        t.dIn = e.d_IN;
        t.gain = e.gain;
        t.ampValid = std::isfinite(t.dAdc) && t.dAdc > 0.0 && std::isfinite(t.dIn) && t.dIn > 0.0;
        t.freq = e.freq;
        t.energyValid = e.freq > 0 && std::isfinite(e.K) && e.K > 0.0;
        t.kTerm = t.energyValid ? 20.0 * std::log10(e.K) : 0.0;
        t.plainSplit = e.mode <= 2;
    }
}

TickTime ALNPCIDFile::RecordTicks() const
{
    const uint8_t* d = RecordData();
    // The seconds are subtracted in signed 32-bit arithmetic; the rest is exact integer
    // arithmetic so that no tick is lost to rounding of microseconds * 1e-6.
    const int32_t diff = int32_t(read_u32le(d) - uint32_t(startTime_));
    const int64_t ticks = int64_t(diff) * 4000000 + int64_t(read_u32le(d + 4)) * 4;
    if (ticks <= 0)
        return TickTime{};
    return TickTime::FromValue(uint64_t(ticks) & kTickMask);
}

long double ALNPCIDFile::GetTime()
{
    const uint8_t* d = RecordData();
    const int32_t diff = int32_t(read_u32le(d) - uint32_t(startTime_));
    return (long double)diff + (long double)read_u32le(d + 4) * 1e-6L;
}

void ALNPCIDFile::DecodeHit(HitValues& v) const
{
    const uint8_t* d = RecordData();
    v.channelIndex = read_u16le(d + 8);
    const uint32_t ampWord = read_u16le(d + 10);
    const uint32_t durWord = read_u16le(d + 12);
    const uint32_t w = read_u16le(d + 14);
    const uint32_t riseWord = read_u16le(d + 16);
    const uint32_t countsWord = read_u16le(d + 20);
    const uint64_t e0 = read_u16le(d + 24);
    const uint64_t e1 = read_u16le(d + 26);
    const uint64_t e2 = read_u16le(d + 28);

    const ChannelTerms* t = v.channelIndex < kChannels ? &terms_[v.channelIndex] : nullptr;

    if (w == 0) {
        v.rise = riseWord;
        v.counts = countsWord;
        v.duration = durWord;
        v.amplitudeAdc = ampWord;
    } else {
        const uint32_t rise = ((w >> 4) & 7) * 65536 + riseWord;
        const uint32_t duration = (w & 7) * 65536 + durWord;
        switch ((w >> 10) & 7) {
        case 2:
            v.rise = rise * 2;
            v.duration = duration * 2;
            break;
        case 4:
            v.rise = rise >> 1;
            v.duration = duration >> 1;
            break;
        case 6:
            v.rise = rise >> 2;
            v.duration = duration >> 2;
            break;
        default:
            v.rise = rise;
            v.duration = duration;
            break;
        }
        v.counts = ((w >> 7) & 1) * 65536 + countsWord;
        v.amplitudeAdc = ampWord + ((w & 8) && ampWord != 0 ? 65536 : 0);
    }

    v.amplitudeValid = false;
    v.amplitudeDb = 0.0;
    if (ampWord != 0 && t && t->ampValid) {
        v.amplitudeDb = 20.0 * std::log10(double(v.amplitudeAdc) * 1000.0 * t->dAdc / t->dIn) - t->gain;
        v.amplitudeValid = true;
    }

    if (w != 0) {
        const uint64_t value = e2 * 65536 + e1;
        v.energyRaw = double((value >> 5) << (value & 31));
    } else {
        const double words = double(e0 + e1 * 65536 + e2 * 4294967296ull);
        if (t && !t->plainSplit)
            v.energyRaw = 2.0 * words;
        else
            // No crossings means no energy per crossing: R is 0 rather than a division by 0.
            v.energyRaw = countsWord == 0 ? 0.0 : words * double(durWord) / double(countsWord) * 0.5;
    }
    v.energyValid = false;
    v.energyDb = 0.0;
    if (t && t->energyValid && v.energyRaw > 0.0) {
        v.energyDb = 10.0 * std::log10(v.energyRaw * 1000.0 / t->freq) + t->kTerm;
        v.energyValid = true;
    }
}

void ALNPCIDFile::ReadRecord(LMShortHit& hit)
{
    switch (type_) {
    case 0:
    case 5: {
        HitValues v;
        DecodeHit(v);
        hit.kind = rkHit;
        hit.SetHitFlags(0);
        hit.time = RecordTicks();
        hit.channel = uint8_t(v.channelIndex + 1);
        hit.rise = uint16_t(v.rise);
        hit.counts = uint16_t(v.counts);
        hit.duration = v.duration;
        hit.amplitude = v.amplitudeValid ? StoreTruncated<uint8_t>(v.amplitudeDb) : 0;
        const bool calibrated = v.channelIndex < kChannels && terms_[v.channelIndex].energyValid;
        if (!calibrated)
            hit.energy = 0; // no calibration: no energy in dB
        else if (!v.energyValid || v.energyDb <= 0.0)
            hit.energy = 1;
        else
            hit.energy = StoreTruncated<uint16_t>(v.energyDb);
        break;
    }
    case 3:
        hit.kind = rkParametric;
        break;
    case 6:
        hit.kind = rkTimeMark;
        hit.time = RecordTicks();
        break;
    default:
        hit.kind = rkOther;
        break;
    }
}

long double ALNPCIDFile::GetValue(HitParam param)
{
    if (param == hpTime)
        return GetTime();
    switch (param) {
    case hpChannel:
        return (long double)read_u16le(RecordData() + 8) + 1;
    case hpRise:
        return DecodedHit().rise;
    case hpCounts:
        return DecodedHit().counts;
    case hpDuration:
        return DecodedHit().duration;
    case hpEnergy:
        return DecodedHit().energyDb;
    case hpAmplitude:
        return DecodedHit().amplitudeDb;
    default:
        return 0.0L;
    }
}

const ALNPCIDFile::HitValues& ALNPCIDFile::DecodedHit()
{
    if (decodedSerial_ != recordSerial_) {
        decoded_ = HitValues{};
        DecodeHit(decoded_);
        decodedSerial_ = recordSerial_;
    }
    return decoded_;
}

EventClass ALNPCIDFile::CheckEventTime()
{
    return CheckEventTicks(RecordTicks());
}

uint64_t ALNPCIDFile::SeekBegin()
{
    file_.Seek(0);
    return 0;
}

uint64_t ALNPCIDFile::SeekFirstRecord()
{
    file_.Seek(firstRecord_);
    return firstRecord_;
}

bool ALNPCIDFile::ReadNext()
{
    ++recordSerial_; // whatever the read brings, earlier decoded values no longer apply
    uint8_t* r = record_.data();
    if (file_.Read(r, 4) != 4) {
        size_ = 0;
        return false;
    }
    type_ = read_u16le(r);
    size_ = read_u16le(r + 2);
    if (size_ == 0)
        return false;
    if (file_.Read(r + 4, size_) != size_) {
        size_ = 0;
        return false;
    }
    // Short records decode as if the missing hit fields were 0, never from a previous record.
    if (size_ < kHitBytes)
        std::memset(r + 4 + size_, 0, kHitBytes - size_);
    return true;
}

void ALNPCIDFile::AppendRecord(AWDiskFile& reader)
{
    // Records are copied raw, so only a reader of this very format can supply them.
    if (typeid(reader) != typeid(ALNPCIDFile))
        throw std::invalid_argument("AppendRecord: the reader is not an A-Line 32D file");
    const ALNPCIDFile& r = static_cast<const ALNPCIDFile&>(reader);
    if (r.type_ != 7)
        NoteAppendedTime(r.RecordTicks());
    ++appended_;
    file_.Write(r.record_.data(), 4 + size_t(r.size_));
}

void ALNPCIDFile::WriteHeader()
{
    write_u32le(testParam_.data() + kNumberOfEvents, uint32_t(appended_));
    file_.Seek(0);
    file_.Write(testParam_.data(), kTestParamSize);
    file_.Write(hrdw_.data(), kHrdwDescrSize);
    if (!blockTable_.empty())
        file_.Write(blockTable_.data(), blockTable_.size());
    if (!configData_.empty())
        file_.Write(configData_.data(), configData_.size());
}

std::optional<std::string> ALNPCIDFile::GetLabel()
{
    return FieldText(testParam_.data() + kObjectName, 255);
}

std::optional<std::string> ALNPCIDFile::GetDateTime()
{
    return CTimeText(startTime_);
}

int ALNPCIDFile::GetRecordCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext())
        ++count;
    return count;
}

int ALNPCIDFile::GetHitCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext())
        if (type_ == 5)
            ++count;
    return count;
}

// ---------------------------------------------------------------------------------------
// Listings

namespace {

void Line(std::ostream& out, const char* caption, const std::string& value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%-26s: ", caption);
    out << text << value << '\n';
}

std::string Dec(uint32_t v)
{
    return std::to_string(v);
}
std::string DecSigned(int32_t v)
{
    return std::to_string(v);
}
std::string Hex(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}
std::string YesNo(uint32_t v)
{
    return v ? "Yes" : "No";
}
std::string Str(const uint8_t* p, size_t size)
{
    std::string s = FieldText(p, size);
    return s.empty() ? "-" : s;
}
std::string Version(const uint8_t* p)
{
    return Dec(read_u32le(p)) + "." + Dec(read_u32le(p + 4));
}

const char* FilterFlagText(uint32_t flag)
{
    switch (flag) {
    case 0:
        return " (source)";
    case 1:
        return " (filtered)";
    case 2:
        return " (location filter)";
    case 3:
        return " (concatenation result)";
    case 4:
        return " (clb location filter)";
    default:
        return " (unknown)";
    }
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Trim(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

} // namespace

void ALNPCIDFile::PrintCaption(std::ostream& out, uint32_t columns)
{
    const bool full = (columns & kShortCaption) == 0;
    const uint8_t* p = testParam_.data();
    const auto u32 = [p](size_t off) { return read_u32le(p + off); };
    const auto i32 = [p](size_t off) { return read_i32le(p + off); };

    out << "- ALNTestParam - Aline test parameters, size = " << kTestParamSize << '\n';
    // The full form shows the identification words in hexadecimal.
    if (full)
        Line(out, "Signature", Hex(u32(0)));
    Line(out, "Version 1", Version(p + 4));
    if (full) {
        Line(out, "File type", Hex(u32(12)));
        Line(out, "Hardware version", Hex(u32(16)));
        Line(out, "Software version", Hex(u32(20)));
    } else {
        Line(out, "Hardware version", Dec(u32(16)));
        Line(out, "Software version", Dec(u32(20)));
    }
    Line(out, "Version 2", Version(p + 96));
    Line(out, "Object Name", Str(p + 104, 255));
    Line(out, "Operator Name", Str(p + 359, 255));
    Line(out, "Reference", Str(p + 614, 255));
    if (full)
        Line(out, "Comment size", Dec(u32(872)));
    Line(out, "Comment", Str(p + 876, 1000));
    Line(out, "Filter flag", (full ? Dec(u32(1876)) : std::string()) + FilterFlagText(u32(1876)));
    if (full) {
        Line(out, "Meas max hour", Dec(u32(1880)));
        Line(out, "Meas max min", Dec(u32(1884)));
        Line(out, "Scale init hour", Dec(u32(1888)));
        Line(out, "Scale init min", Dec(u32(1892)));
    }
    Line(out, "Start time", Trim(CTimeText(i32(1896))));
    Line(out, "Stop time", Trim(CTimeText(i32(1900))));
    if (full)
        Line(out, "Aver. time", Dec(u32(1904)));
    Line(out, "Data file name", Str(p + 1908, 255));
    Line(out, "Config. file", Str(p + 2163, 255));
    Line(out, "SDO file", Str(p + 2418, 255));
    Line(out, "2nd gener. file", Str(p + 2673, 255));
    Line(out, "Location file", Str(p + 2928, 255));
    if (full) {
        Line(out, "SDO number", Dec(u32(3184)));
        Line(out, "Number of SDO wave", Dec(u32(3184)));
        Line(out, "Don't write Data flag", YesNo(u32(3188)));
    }
    Line(out, "Don't write Param flag", YesNo(u32(3192)));
    Line(out, "Don't write Noise flag", YesNo(u32(3196)));
    Line(out, "Don't write SDO flag", YesNo(u32(3200)));
    Line(out, "PreFilter used", YesNo(u32(3204)));
    if (full) {
        Line(out, "Loc Coord presence", YesNo(u32(3880)));
        Line(out, "Type of Loc scheme", Dec(u32(3884)));
        Line(out, "X Max", DecSigned(i32(3888)));
        Line(out, "Y Max", DecSigned(i32(3892)));
        Line(out, "Y Min", DecSigned(i32(3896)));
        Line(out, "X Min", DecSigned(i32(3900)));
        Line(out, "Cluster lenght", Dec(u32(3904)));
        Line(out, "Cluster bound", Dec(u32(3908)));
        Line(out, "Cluster height", Dec(u32(3912)));
    }
    Line(out, "Number of events", DecSigned(i32(3916)));

    const uint8_t* h = hrdw_.data();
    out << "- ALNHrdwDescr - Aline hardware description, size = " << kHrdwDescrSize << '\n';
    Line(out, "Signature", Hex(read_u32le(h)));
    Line(out, "Version", Version(h + 4));
    Line(out, "Info Structure Size", Dec(read_u32le(h + 12)));
    Line(out, "ConfBlocks Number", Dec(read_u32le(h + kConfBlocks)));
    Line(out, "ConfigurationData Size", Dec(read_u32le(h + kConfigDataSize)));
    out << "Configuration Blocks:\n";
    char text[256];
    std::snprintf(text, sizeof text, "%12s%12s%12s\n", "Block Type", "Offset", "Size");
    out << text;
    for (size_t i = 0; i + 12 <= blockTable_.size(); i += 12) {
        const uint8_t* e = blockTable_.data() + i;
        std::snprintf(text, sizeof text, "%12u%12u%12u\n", read_u32le(e), read_u32le(e + 4),
                      read_u32le(e + 8));
        out << text;
    }

    out << "Channel's characteristic Array:\n";
    std::snprintf(text, sizeof text, "%8s%14s%10s%8s%8s%14s\n", "Channel", "d_ADC", "d_IN", "Gain", "Freq",
                  "K,uV");
    out << text;
    for (const ALNPCIChannelCalib& e : calib_) {
        if (e.channel == 0)
            continue;
        std::snprintf(text, sizeof text, "%8u%14s%10s%8d%8u%14s\n", e.channel, Fixed(e.d_ADC, 6).c_str(),
                      Fixed(e.d_IN, 1).c_str(), e.gain, unsigned(e.freq), Fixed(e.K, 6).c_str());
        out << text;
    }

    out << "Hardware configuration block:\n";
    std::snprintf(text, sizeof text, "%8s%14s%8s%8s%8s%9s%9s%6s%8s%8s%8s\n", "Channel", "d_ADC", "Gain",
                  "Freq1", "Freq2", "ADC_bit1", "ADC_bit2", "GPre", "DevType", "FltType", "ModVers");
    out << text;
    for (size_t i = 0; i + kChannelConfigSize <= channelRecords_.size(); i += kChannelConfigSize) {
        const uint8_t* r = channelRecords_.data() + i;
        std::snprintf(text, sizeof text, "%8u%14s%8d%8u%8u%9u%9u%6u%8u%8u%8u\n", read_u32le(r + kCfgChannel),
                      Fixed(read_f32le(r + kCfgDAdc), 6).c_str(), read_i32le(r + kCfgGain),
                      read_u32le(r + kCfgFreq1), read_u32le(r + kCfgFreq2), read_u32le(r + kCfgAdcBit1),
                      read_u32le(r + kCfgAdcBit2), unsigned(read_u16le(r + kCfgGPre)),
                      unsigned(read_u16le(r + kCfgDevType)), unsigned(read_u16le(r + kCfgFltType)),
                      unsigned(read_u16le(r + kCfgModVers)));
        out << text;
    }
}

void ALNPCIDFile::PrintRecord(std::ostream& out, uint32_t /*columns*/)
{
    char text[256];
    const bool hitOrNoise = type_ == 0 || type_ == 5 || type_ == 2 || type_ == 4;
    if (hitOrNoise && !captionShown_) {
        std::snprintf(text, sizeof text, "%3s%3s%15s%4s%7s%7s%8s%15s%15s%7s%8s%7s\n", "ID", "Sz",
                      "Time (sec.)", "Ch", "Rise", "Cnts", "Durat", "En,ADC^2", "En,uV^2*us", "En,dB",
                      "Amp,ADC", "Amp,dB");
        out << text;
    }
    captionShown_ = hitOrNoise;

    std::snprintf(text, sizeof text, "%3u%3u", unsigned(type_), unsigned(size_));
    out << text;
    const uint8_t* d = RecordData();
    switch (type_) {
    case 0:
    case 5: {
        HitValues v;
        DecodeHit(v);
        LMShortHit hit;
        ReadRecord(hit);
        uint32_t rise = v.rise, counts = v.counts, duration = v.duration;
        double raw = v.energyRaw;
        if (type_ == 0) {
            // The plain layout keeps 32-bit rise, counts and duration.
            rise = read_u32le(d + 16);
            counts = read_u32le(d + 20);
            duration = read_u32le(d + 12);
            const double words = double(uint64_t(read_u16le(d + 24)) + uint64_t(read_u16le(d + 26)) * 65536 +
                                        uint64_t(read_u16le(d + 28)) * 4294967296ull);
            raw = counts == 0 ? 0.0 : words * double(duration) / double(counts) * 0.5;
        }
        double microvolts = 0.0;
        if (v.channelIndex < kChannels && terms_[v.channelIndex].energyValid) {
            const ALNPCIChannelCalib& e = calib_[v.channelIndex];
            microvolts = std::floor(10.0 * raw * e.K * e.K * 1000.0 / e.freq);
        }
        std::snprintf(text, sizeof text, "%15.7f%4u%7u%7u%8u%15.0f%15.0f%7u%8u%7u\n", double(GetTime()),
                      v.channelIndex + 1, rise, counts, duration, raw, microvolts, unsigned(hit.energy),
                      v.amplitudeAdc, unsigned(hit.amplitude));
        out << text;
        break;
    }
    case 1:
        out << " System message\n";
        break;
    case 2:
        out << " Noise old message\n";
        break;
    case 3:
        out << " Parametric message\n";
        break;
    case 4:
        out << " Noise message\n";
        break;
    case 6:
        out << ' ' << read_i32le(d + 8) << '\n';
        break;
    case 7:
        out << '\n';
        break;
    default:
        out << " Unknown message " << type_ << '\n';
        break;
    }
}

bool IsAlinePciFile(BinaryFile& file)
{
    return IsAlineFile(file, 3960, 0x1515CFCF);
}

} // namespace lm
