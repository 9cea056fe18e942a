// A-Line 32D reader and writer on tiny files built in code.

#include "datafiles/ALNPCIDFile.h"

#include "datafiles/ByteOrder.h"
#include "samplegen/SampleGen.h"
#include "testsupport/MemoryFile.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace lm {
namespace {

constexpr int32_t kStart = 1000;

struct ChannelCfg {
    uint32_t index;
    int32_t gain;
    float dAdc;
    uint32_t freq1;
    uint16_t devType;
};

// Header with a block table of two entries: an uninterpreted block of 16 bytes first,
// then the channel configuration block (type 1) behind it.
std::vector<uint8_t> PciHeader(const std::vector<ChannelCfg>& channels, int32_t events = 0)
{
    const size_t channelBytes = channels.size() * 1168;
    const size_t configSize = 16 + channelBytes;
    std::vector<uint8_t> f(4064 + 24 + configSize, 0);
    uint8_t* p = f.data();
    write_u32le(p + 12, 43521);
    std::memcpy(p + 104, "Vessel 7", 8);
    write_u32le(p + 1876, 1);
    write_u32le(p + 1896, uint32_t(kStart));
    write_u32le(p + 3916, uint32_t(events));
    write_u32le(p + 3960, 0x1515CFCF);
    write_u32le(p + 3960 + 96, 2);
    write_u32le(p + 3960 + 100, uint32_t(configSize));
    uint8_t* table = p + 4064;
    write_u32le(table + 0, 2);
    write_u32le(table + 4, 0);
    write_u32le(table + 8, 16);
    write_u32le(table + 12, 1);
    write_u32le(table + 16, 16);
    write_u32le(table + 20, uint32_t(channelBytes));
    for (size_t i = 0; i < channels.size(); ++i) {
        uint8_t* r = table + 24 + 16 + i * 1168;
        write_u32le(r + 0, channels[i].index);
        write_u32le(r + 92, uint32_t(channels[i].gain));
        write_f32le(r + 96, channels[i].dAdc);
        write_u32le(r + 360, channels[i].freq1);
        write_u16le(r + 1112, channels[i].devType);
    }
    return f;
}

// Channel 0: gain 20 dB, d_ADC 10, Freq 2000, K = 1, DevType 3 (doubled plain energy).
// Channel 5: gain 0 dB, d_ADC 1, Freq 1000, K = 1, DevType 1 (plain energy per crossing).
// Channel 7: gain 40 dB, d_ADC 2, Freq1 0x12345 (Freq 0x2345), K = 0.02.
// Index 200 is out of range and ignored.
std::vector<uint8_t> StandardHeader(int32_t events = 0)
{
    return PciHeader(
        {{0, 20, 10.0f, 2000, 3}, {5, 0, 1.0f, 1000, 1}, {7, 40, 2.0f, 0x12345, 1}, {200, 6, 5.0f, 500, 1}},
        events);
}

void AddRecord(std::vector<uint8_t>& f, uint16_t type, const std::vector<uint8_t>& data)
{
    uint8_t head[4];
    write_u16le(head, type);
    write_u16le(head + 2, uint16_t(data.size()));
    f.insert(f.end(), head, head + 4);
    f.insert(f.end(), data.begin(), data.end());
}

struct HitWords {
    int32_t seconds = kStart;
    uint32_t us = 0;
    uint16_t channel = 0;
    uint16_t amplitude = 0;
    uint16_t duration = 0;
    uint16_t w = 0;
    uint16_t rise = 0;
    uint16_t riseHigh = 0;
    uint16_t counts = 0;
    uint16_t countsHigh = 0;
    uint16_t e0 = 0, e1 = 0, e2 = 0;
};

std::vector<uint8_t> Hit(const HitWords& h, size_t size = 30)
{
    std::vector<uint8_t> d(std::max<size_t>(size, 30), 0);
    write_u32le(&d[0], uint32_t(h.seconds));
    write_u32le(&d[4], h.us);
    write_u16le(&d[8], h.channel);
    write_u16le(&d[10], h.amplitude);
    write_u16le(&d[12], h.duration);
    write_u16le(&d[14], h.w);
    write_u16le(&d[16], h.rise);
    write_u16le(&d[18], h.riseHigh);
    write_u16le(&d[20], h.counts);
    write_u16le(&d[22], h.countsHigh);
    write_u16le(&d[24], h.e0);
    write_u16le(&d[26], h.e1);
    write_u16le(&d[28], h.e2);
    d.resize(size);
    return d;
}

std::vector<uint8_t> Timed(int32_t seconds, uint32_t us, size_t size = 12, int32_t value = 0)
{
    std::vector<uint8_t> d(size, 0);
    write_u32le(&d[0], uint32_t(seconds));
    write_u32le(&d[4], us);
    if (size >= 12)
        write_u32le(&d[8], uint32_t(value));
    return d;
}

struct Reader {
    explicit Reader(const std::vector<uint8_t>& bytes) : data(bytes), file(std::make_unique<BinaryFile>())
    {
        file->OpenMemory(data.data(), data.size());
        pci = std::make_unique<ALNPCIDFile>(*file);
        pci->SeekFirstRecord();
    }
    // Moving keeps the bytes and the stream where they are.
    std::vector<uint8_t> data;
    std::unique_ptr<BinaryFile> file;
    std::unique_ptr<ALNPCIDFile> pci;
};

// A reader positioned on the single record of a file with the standard header.
Reader OneRecord(uint16_t type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> f = StandardHeader();
    AddRecord(f, type, data);
    Reader r(f);
    EXPECT_EQ(r.pci->ReadNext(), 1);
    return r;
}

class UtcZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

TEST(AlinePciHeader, BuildsCalibrationFromFirstChannelBlock)
{
    Reader r(StandardHeader());
    EXPECT_EQ(r.pci->FirstRecordOffset(), 4064u + 24 + 16 + 4 * 1168);
    EXPECT_EQ(r.pci->ChannelRecordCount(), 4u);

    const ALNPCIChannelCalib& c0 = r.pci->Calibration(0);
    EXPECT_EQ(c0.channel, 1u);
    EXPECT_FLOAT_EQ(c0.d_ADC, 10.0f);
    EXPECT_FLOAT_EQ(c0.d_IN, 1000.0f);
    EXPECT_EQ(c0.gain, 20);
    EXPECT_EQ(c0.freq, 2000);
    EXPECT_DOUBLE_EQ(c0.K, 1.0);
    EXPECT_EQ(c0.mode, 3);

    const ALNPCIChannelCalib& c7 = r.pci->Calibration(7);
    EXPECT_EQ(c7.channel, 8u);
    EXPECT_EQ(c7.freq, 0x2345); // low 16 bits of Freq1
    EXPECT_NEAR(c7.K, 0.02, 1e-12);

    EXPECT_EQ(r.pci->Calibration(1).channel, 0u); // never configured
    for (size_t c = 8; c < ALNPCIDFile::kChannels; ++c)
        EXPECT_EQ(r.pci->Calibration(c).channel, 0u) << c; // index 200 went nowhere

    EXPECT_EQ(r.pci->GetLabel(), "Vessel 7");
    EXPECT_FALSE(r.pci->GetVersion().has_value());
    EXPECT_TRUE(r.pci->IsALine());
    EXPECT_TRUE(r.pci->CanBeFiltered());
}

TEST_F(UtcZone, AlinePciDateTimeIsCtimeText)
{
    Reader r(StandardHeader());
    EXPECT_EQ(r.pci->GetDateTime(), "Thu Jan  1 00:16:40 1970\n");
}

TEST(AlinePciRecords, KindsPredicatesAndTimes)
{
    struct Case {
        uint16_t type;
        int32_t kind;
        bool hit, timed, parametric, comment, setsTime, setsValues;
    };
    const Case cases[] = {
        {0, rkHit, false, true, false, false, true, true}, // plain hit: a hit record, yet not IsHit
        {5, rkHit, true, true, false, false, true, true},
        {1, rkOther, false, true, false, false, false, false},
        {2, rkOther, false, true, false, false, false, false},
        {3, rkParametric, false, true, true, false, false, false},
        {4, rkOther, false, true, false, false, false, false},
        {6, rkTimeMark, false, true, false, false, true, false},
        {7, rkOther, false, false, false, true, false, false},
        {9, rkOther, false, true, false, false, false, false},
    };
    for (const Case& c : cases) {
        HitWords h;
        h.seconds = kStart + 2;
        h.amplitude = 1000;
        h.rise = 33;
        Reader r = OneRecord(c.type, Hit(h));
        SCOPED_TRACE(c.type);
        EXPECT_EQ(r.pci->IsHit(), c.hit);
        EXPECT_EQ(r.pci->HasTime(), c.timed);
        EXPECT_EQ(r.pci->IsParametric(), c.parametric);
        EXPECT_EQ(r.pci->IsComment(), c.comment);
        EXPECT_FALSE(r.pci->IsEndOfData());
        EXPECT_TRUE(r.pci->IsKnownRecord());

        LMShortHit hit;
        hit.time = TickTime::FromValue(12345);
        hit.rise = 7;
        hit.SetHitFlags(hfDeleted);
        r.pci->ReadRecord(hit);
        EXPECT_EQ(hit.kind, c.kind);
        EXPECT_EQ(hit.time.Value(), c.setsTime ? 8000000u : 12345u);
        EXPECT_EQ(hit.rise, c.setsValues ? 33 : 7);
        EXPECT_EQ(hit.HitFlags(), c.setsValues ? 0u : hfDeleted);
    }
}

TEST(AlinePciRecords, ScaleWordAppliesToRiseDurationCountsAndAmplitude)
{
    struct Case {
        uint16_t w, riseWord, durationWord, countsWord;
        uint16_t rise;
        uint32_t duration;
        uint16_t counts;
        long double riseValue, countsValue;
    };
    const Case cases[] = {
        {0x0000, 100, 300, 5, 100, 300, 5, 100, 5},
        {0x0400, 100, 300, 5, 100, 300, 5, 100, 5}, // scale code 1: factor 1
        {0x0800, 100, 300, 5, 200, 600, 5, 200, 5}, // code 2: factor 2
        {0x1000, 100, 300, 5, 50, 150, 5, 50, 5},   // code 4: factor 0.5
        {0x1800, 100, 300, 5, 25, 75, 5, 25, 5},    // code 6: factor 0.25
        {0x1000, 101, 301, 5, 50, 150, 5, 50, 5},   // truncated
        {0x0080, 100, 300, 5, 100, 300, 5, 100, 65541},
        // Bits 16-18 of rise and duration: the 16-bit rise field keeps the low bits.
        {0x0477, 100, 300, 5, 100, 7 * 65536 + 300, 5, 7 * 65536 + 100, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        HitWords h;
        h.w = c.w;
        h.rise = c.riseWord;
        h.duration = c.durationWord;
        h.counts = c.countsWord;
        Reader r = OneRecord(5, Hit(h));
        LMShortHit hit;
        r.pci->ReadRecord(hit);
        EXPECT_EQ(hit.rise, c.rise);
        EXPECT_EQ(hit.duration, c.duration);
        EXPECT_EQ(hit.counts, c.counts);
        EXPECT_EQ(r.pci->GetValue(hpRise), c.riseValue);
        EXPECT_EQ(r.pci->GetValue(hpDuration), (long double)c.duration);
        EXPECT_EQ(r.pci->GetValue(hpCounts), c.countsValue);
    }
}

TEST(AlinePciRecords, AmplitudeAndEnergyFromCalibration)
{
    struct Case {
        const char* what;
        HitWords h;
        uint8_t amplitude;
        uint16_t energy;
        double amplitudeDb, energyDb;
    };
    const double log48 = 10.0 * std::log10(48.0);
    const Case cases[] = {
        // 20 log10(1000 * 1000 * 10 / 1000) - 20 = 60 dB exactly.
        {"amplitude", {.amplitude = 1000, .counts = 1}, 60, 1, 60.0, 0.0},
        // W bit 3 adds 65536: 20 log10(65537 * 10) - 20.
        {"17-bit amplitude", {.amplitude = 1, .w = 0x0408}, 96, 1, 20.0 * std::log10(655370.0) - 20.0, 0.0},
        {"zero amplitude", {.amplitude = 0, .counts = 1}, 0, 1, 0.0, 0.0},
        // W != 0: v = 101 is mantissa 3, exponent 5: R = 96; 10 log10(96 * 1000 / 2000) + 20 log10(1).
        {"packed energy", {.amplitude = 1000, .w = 0x0400, .e1 = 101}, 60, 16, 60.0, log48},
        // DevType 3, W = 0: R = 2 * (500 + 65536); 10 log10(R * 1000 / 2000).
        {"doubled energy",
         {.amplitude = 1000, .duration = 40, .counts = 10, .e0 = 500, .e1 = 1},
         60,
         48,
         60.0,
         10.0 * std::log10(66036.0)},
        // DevType 1, W = 0: R = 1000 * 40 / 10 * 0.5 = 2000; 10 log10(2000 * 1000 / 1000).
        {"energy per crossing",
         {.channel = 5, .amplitude = 100, .duration = 40, .counts = 10, .e0 = 1000},
         40,
         33,
         40.0,
         10.0 * std::log10(2000.0)},
        // K = 0.02 adds 20 log10(0.02); Freq is the low 16 bits of Freq1.
        {"energy with K",
         // R = 1000 * 2^10.
         {.channel = 7, .amplitude = 5000, .w = 0x0400, .e1 = uint16_t(1000 << 5 | 10)},
         40,
         16,
         20.0 * std::log10(5000.0 * 2.0) - 40.0,
         10.0 * std::log10(1024000.0 * 1000 / 0x2345) + 20.0 * std::log10(0.02)},
        // e <= 0 stores 1: R = 1 gives 10 log10(1000 / 2000) < 0.
        {"energy below 0 dB",
         {.amplitude = 1000, .w = 0x0400, .e1 = 1 << 5},
         60,
         1,
         60.0,
         10.0 * std::log10(0.5)},
        // No crossings: no energy per crossing (R = 0, no division by zero).
        {"zero counts", {.channel = 5, .amplitude = 100, .duration = 40, .e0 = 1000}, 40, 1, 40.0, 0.0},
        // Channels without a configuration record have no dB values.
        {"uncalibrated channel", {.channel = 3, .amplitude = 1000, .w = 0x0400, .e1 = 101}, 0, 0, 0.0, 0.0},
        {"channel beyond the table",
         {.channel = 300, .amplitude = 1000, .counts = 1, .e0 = 9},
         0,
         0,
         0.0,
         0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reader r = OneRecord(5, Hit(c.h));
        LMShortHit hit;
        r.pci->ReadRecord(hit);
        EXPECT_EQ(hit.amplitude, c.amplitude);
        EXPECT_EQ(hit.energy, c.energy);
        EXPECT_NEAR(double(r.pci->GetValue(hpAmplitude)), c.amplitudeDb, 1e-9);
        EXPECT_NEAR(double(r.pci->GetValue(hpEnergy)), c.energyDb, 1e-9);
        EXPECT_EQ(hit.channel, uint8_t(c.h.channel + 1));
        EXPECT_EQ(r.pci->GetValue(hpChannel), (long double)c.h.channel + 1);
    }
}

TEST(AlinePciRecords, OtherParametersAreZero)
{
    HitWords h;
    h.amplitude = 1000;
    h.counts = 3;
    Reader r = OneRecord(5, Hit(h));
    for (HitParam p : {0u, hpSeq, hpCntPk, hpDP, hpRMS, hpPar1, hpGain, hpThreshold, 16384u, hpFreq})
        EXPECT_EQ(r.pci->GetValue(p), 0.0L) << p;
}

TEST(AlinePciRecords, TimeFromSecondsAndMicroseconds)
{
    struct Case {
        int32_t seconds;
        uint32_t us;
        uint64_t ticks;
        long double time;
    };
    const Case cases[] = {
        {kStart + 1, 0, 4000000, 1.0L},
        {kStart, 500000, 2000000, 0.5L},
        {kStart + 1, 250000, 5000000, 1.25L},
        // Exactly 1.000003 s: 4 000 012 ticks (rounding 3 * 1e-6 first would lose one).
        {kStart + 1, 3, 4000012, 1.000003L},
        {kStart - 1, 0, 0, -1.0L}, // before the start: tick time 0
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        Reader r = OneRecord(6, Timed(c.seconds, c.us, 12, 42));
        LMShortHit hit;
        r.pci->ReadRecord(hit);
        EXPECT_EQ(hit.time.Value(), c.ticks);
        EXPECT_NEAR(double(r.pci->GetTime()), double(c.time), 1e-12);
        EXPECT_NEAR(double(r.pci->GetValue(hpTime)), double(c.time), 1e-12);
    }
    // The seconds are subtracted in signed 32 bits: a difference beyond the range wraps.
    Reader r = OneRecord(6, Timed(int32_t(uint32_t(kStart) + 0x80000000u), 0));
    EXPECT_EQ(r.pci->GetTime(), -2147483648.0L);
}

TEST(AlinePciRecords, CheckEventTimeClassifiesAndRejectsUnsortedHits)
{
    std::vector<uint8_t> f = StandardHeader();
    const uint32_t us[] = {100, 2000, 2050, 2500, 4000, 3000};
    for (uint32_t t : us) {
        HitWords h;
        h.us = t;
        AddRecord(f, 5, Hit(h));
    }
    Reader r(f);
    r.pci->SetEventWindows(TickTime::FromValue(400), TickTime::FromValue(4000)); // 100 us, 1 ms
    const int expected[] = {1, 0, 1, 2, 0};
    for (int e : expected) {
        ASSERT_EQ(r.pci->ReadNext(), 1);
        EXPECT_EQ(r.pci->CheckEventTime(), e);
    }
    EXPECT_EQ(r.pci->ReferenceTime().Value(), 16000u);
    ASSERT_EQ(r.pci->ReadNext(), 1);
    try {
        r.pci->CheckEventTime();
        FAIL() << "an earlier hit must be rejected";
    } catch (const ELMData& e) {
        EXPECT_EQ(e.Code, 2001);
    }
}

TEST(AlinePciRecords, CountsStopAtEmptyOrTruncatedRecord)
{
    std::vector<uint8_t> f = StandardHeader();
    AddRecord(f, 5, Hit({}));
    AddRecord(f, 0, Hit({}));
    AddRecord(f, 3, Timed(kStart, 0, 16));
    AddRecord(f, 7, {'h', 'i', 0});
    AddRecord(f, 6, Timed(kStart, 0));
    AddRecord(f, 5, {}); // size 0 ends every reading loop
    AddRecord(f, 5, Hit({}));
    Reader r(f);
    EXPECT_EQ(r.pci->GetRecordCount(), 5);
    EXPECT_EQ(r.pci->GetHitCount(), 1);

    std::vector<uint8_t> g = StandardHeader();
    AddRecord(g, 5, Hit({}));
    AddRecord(g, 5, Hit({}));
    g.resize(g.size() - 20); // the last record is cut short
    Reader t(g);
    EXPECT_EQ(t.pci->GetRecordCount(), 1);
    EXPECT_EQ(t.pci->ReadNext(), 0);
}

TEST(AlinePciWriter, BookkeepingAndRewrittenEventCount)
{
    std::vector<uint8_t> f = StandardHeader(7);
    AddRecord(f, 7, {'s', 't', 'a', 'r', 't', 0});
    HitWords h;
    h.seconds = kStart + 3;
    AddRecord(f, 5, Hit(h));
    AddRecord(f, 3, Timed(kStart + 2, 0, 16));
    AddRecord(f, 7, {'x', 0});
    Reader r(f);

    std::vector<uint8_t> out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    ALNPCIDFile writer(*r.pci, target);
    EXPECT_EQ(writer.SeekFirstRecord(), r.pci->FirstRecordOffset());
    r.pci->SeekFirstRecord();

    ASSERT_EQ(r.pci->ReadNext(), 1);
    writer.AppendRecord(*r.pci); // a comment has no time
    EXPECT_TRUE(writer.FirstTime().IsZero());
    EXPECT_TRUE(writer.CurrentTime().IsZero());
    ASSERT_EQ(r.pci->ReadNext(), 1);
    writer.AppendRecord(*r.pci);
    EXPECT_EQ(writer.FirstTime().Value(), 12000000u);
    EXPECT_EQ(writer.CurrentTime().Value(), 12000000u);
    ASSERT_EQ(r.pci->ReadNext(), 1);
    writer.AppendRecord(*r.pci); // an earlier parametric record keeps the reference
    EXPECT_EQ(writer.CurrentTime().Value(), 8000000u);
    EXPECT_EQ(writer.ReferenceTime().Value(), 12000000u);
    EXPECT_EQ(writer.FirstTime().Value(), 12000000u);
    EXPECT_EQ(writer.AppendedCount(), 3);

    writer.WriteHeader();
    target.Close();
    ASSERT_EQ(out.size(), f.size() - 6); // all but the last comment
    EXPECT_EQ(read_i32le(out.data() + 3916), 3);
    std::vector<uint8_t> expected(f.begin(), f.end() - 6);
    write_u32le(expected.data() + 3916, 3);
    EXPECT_EQ(out, expected);
}

TEST(AlinePciWriter, RefusesRecordsOfAnotherFormat)
{
    struct OtherFormat : AWDiskFile {
        using AWDiskFile::AWDiskFile;
    };
    Reader r(StandardHeader());
    std::vector<uint8_t> out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    ALNPCIDFile writer(*r.pci, target);
    OtherFormat other(*r.file);
    EXPECT_THROW(writer.AppendRecord(other), std::invalid_argument);
    EXPECT_EQ(writer.AppendedCount(), 0);
}

TEST(AlinePciWriter, EmptyCopyCarriesZeroEvents)
{
    Reader r(StandardHeader(5));
    std::vector<uint8_t> out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    {
        ALNPCIDFile writer(*r.pci, target);
        writer.SeekFirstRecord();
        writer.WriteHeader();
    }
    target.Close();
    ASSERT_EQ(out.size(), r.data.size());
    EXPECT_EQ(read_i32le(out.data() + 3916), 0);
}

TEST(AlinePciWriter, CopiesOversizedRecordsByteForByte)
{
    std::vector<uint8_t> f = StandardHeader(4);
    HitWords h;
    h.amplitude = 1000;
    h.w = 0x0400;
    h.e1 = 101;
    h.rise = 12;
    std::vector<uint8_t> big = Hit(h, 300); // larger than the 104-byte decoding buffer
    for (size_t i = 30; i < big.size(); ++i)
        big[i] = uint8_t(i * 7);
    AddRecord(f, 5, big);
    std::vector<uint8_t> odd(2000);
    for (size_t i = 0; i < odd.size(); ++i)
        odd[i] = uint8_t(i ^ 0x5A);
    AddRecord(f, 9, odd);
    AddRecord(f, 5, Hit(h, 8)); // shorter than hit data: missing fields read as 0
    AddRecord(f, 5, Hit(h));
    Reader r(f);

    ASSERT_EQ(r.pci->ReadNext(), 1);
    EXPECT_EQ(r.pci->RecordSize(), 300);
    LMShortHit hit;
    r.pci->ReadRecord(hit);
    EXPECT_EQ(hit.amplitude, 60);
    EXPECT_EQ(hit.energy, 16);
    EXPECT_EQ(hit.rise, 12);
    ASSERT_EQ(r.pci->ReadNext(), 1);
    EXPECT_EQ(r.pci->RecordType(), 9);
    ASSERT_EQ(r.pci->ReadNext(), 1);
    LMShortHit shortHit;
    r.pci->ReadRecord(shortHit);
    EXPECT_EQ(shortHit.amplitude, 0);
    EXPECT_EQ(shortHit.rise, 0);
    ASSERT_EQ(r.pci->ReadNext(), 1);
    EXPECT_EQ(r.pci->ReadNext(), 0);

    int appended = 0;
    EXPECT_EQ(lmtest::CopyRecords(*r.pci, &appended), f);
    EXPECT_EQ(appended, 4);
}

TEST(AlinePciHostile, CountsAndOffsetsPastTheEnd)
{
    struct Case {
        const char* what;
        size_t offset; // into the file
        uint32_t value;
        int records;
        uint32_t calibratedChannel0;
    };
    const Case cases[] = {
        {"block count", 3960 + 96, 0xFFFFFFFFu, 0, 0},
        {"configuration size", 3960 + 100, 0xFFFFFFFFu, 0, 1},
        {"channel block offset", 4064 + 16, 0xFFFFFF00u, 2, 0},
        {"channel block size", 4064 + 20, 0xFFFFFFFFu, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> f = StandardHeader(2);
        AddRecord(f, 5, Hit({}));
        AddRecord(f, 5, Hit({}));
        write_u32le(f.data() + c.offset, c.value);
        Reader r(f);
        EXPECT_LE(r.pci->ChannelRecordCount() * 1168, f.size());
        EXPECT_EQ(r.pci->Calibration(0).channel, c.calibratedChannel0);
        EXPECT_EQ(r.pci->GetRecordCount(), c.records);
        // A copy stays the size of what the source holds.
        const std::vector<uint8_t> copy = lmtest::CopyRecords(*r.pci);
        EXPECT_LE(copy.size(), f.size());
    }
}

TEST(AlinePciHostile, FileShorterThanTheHeader)
{
    for (size_t size : {0u, 16u, 3961u, 4063u, 4070u}) {
        std::vector<uint8_t> f = StandardHeader();
        f.resize(std::min(size, f.size()));
        Reader r(f);
        EXPECT_EQ(r.pci->GetRecordCount(), 0) << size;
        EXPECT_EQ(r.pci->ChannelRecordCount(), 0u) << size;
    }
}

TEST_F(UtcZone, AlinePciHeaderDump)
{
    std::vector<uint8_t> f = StandardHeader(4);
    Reader r(f);
    std::ostringstream full;
    r.pci->PrintCaption(full, 0xFFFF);
    const std::string text = full.str();
    EXPECT_EQ(text.rfind("- ALNTestParam - Aline test parameters, size = 3960\n"
                         "Signature                 : 0x0\n"
                         "Version 1                 : 0.0\n"
                         "File type                 : 0xAA01\n"
                         "Hardware version          : 0x0\n"
                         "Software version          : 0x0\n"
                         "Version 2                 : 0.0\n"
                         "Object Name               : Vessel 7\n",
                         0),
              0u);
    for (const char* line : {"Signature                 : 0x0\n", "File type                 : 0xAA01\n",
                             "Object Name               : Vessel 7\n", "Operator Name             : -\n",
                             "Filter flag               : 1 (filtered)\n",
                             "Start time                : Thu Jan  1 00:16:40 1970\n",
                             "Don't write Param flag    : No\n", "Number of events          : 4\n",
                             "Signature                 : 0x1515CFCF\n", "ConfBlocks Number         : 2\n",
                             "Channel's characteristic Array:\n", "Hardware configuration block:\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    // Three calibrated channels, four configuration records.
    const size_t calib = text.find("Channel's characteristic Array:\n");
    const size_t config = text.find("Hardware configuration block:\n");
    const std::string calibPart = text.substr(calib, config - calib);
    EXPECT_EQ(std::count(calibPart.begin(), calibPart.end(), '\n'), 2 + 3);
    const std::string configPart = text.substr(config);
    EXPECT_EQ(std::count(configPart.begin(), configPart.end(), '\n'), 2 + 4);

    std::ostringstream brief;
    r.pci->PrintCaption(brief, ALNPCIDFile::kShortCaption);
    const std::string shortText = brief.str();
    EXPECT_EQ(shortText.find("File type"), std::string::npos);
    EXPECT_EQ(shortText.find("Cluster"), std::string::npos);
    EXPECT_NE(shortText.find("Filter flag               :  (filtered)\n"), std::string::npos);
    EXPECT_LT(shortText.size(), text.size());
}

TEST(AlinePciListing, RecordsWithCaptionBeforeEachRunOfHits)
{
    std::vector<uint8_t> f = StandardHeader();
    HitWords h;
    h.us = 500000;
    h.amplitude = 1000;
    h.w = 0x0400;
    h.e1 = 101;
    h.rise = 12;
    h.counts = 3;
    h.duration = 40;
    AddRecord(f, 5, Hit(h));
    AddRecord(f, 5, Hit(h));
    AddRecord(f, 3, Timed(kStart, 0, 16));
    AddRecord(f, 4, Timed(kStart, 0, 16));
    AddRecord(f, 5, Hit(h));
    AddRecord(f, 6, Timed(kStart, 0, 12, 17));
    AddRecord(f, 7, {'c', 0});
    AddRecord(f, 1, Timed(kStart, 0));
    AddRecord(f, 11, Timed(kStart, 0));
    Reader r(f);
    std::ostringstream out;
    while (r.pci->ReadNext())
        r.pci->PrintRecord(out, 0xFFFF);
    const std::string caption = " ID Sz    Time (sec.)  Ch   Rise   Cnts   Durat       En,ADC^2     "
                                "En,uV^2*us  En,dB Amp,ADC Amp,dB\n";
    // En,uV^2*us = floor(10 * 96 * 1 * 1000 / 2000).
    const std::string hitRow = "  5 30      0.5000000   1     12      3      40             96            "
                               "480     16    1000     60\n";
    const std::string expected = caption + hitRow + hitRow + "  3 16 Parametric message\n" + caption +
                                 "  4 16 Noise message\n" + hitRow + "  6 12 17\n" + "  7  2\n" +
                                 "  1 12 System message\n" + " 11 12 Unknown message 11\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(AlinePciSample, RoundTripDecodesTheSessionAndCopiesIdentically)
{
    gen::SampleOptions options;
    options.hits = 3000;
    options.channels = 6;
    options.seed = 11;
    std::vector<uint8_t> bytes =
        lmtest::WrittenBytes([&](BinaryFile& out) { gen::WriteAlinePciSample(out, options); });
    Reader r(bytes);
    const int count = r.pci->GetRecordCount();
    EXPECT_EQ(count, read_i32le(bytes.data() + 3916));
    EXPECT_EQ(r.pci->GetHitCount(), 3000);

    gen::SampleEventStream stream(options);
    gen::SampleEvent e;
    r.pci->SeekFirstRecord();
    int hits = 0, comments = 0, marks = 0, parametric = 0;
    LMShortHit hit;
    while (r.pci->ReadNext()) {
        ASSERT_TRUE(stream.Next(e));
        r.pci->ReadRecord(hit);
        if (e.kind == gen::SampleEvent::Hit) {
            ++hits;
            ASSERT_TRUE(r.pci->IsHit());
            EXPECT_EQ(hit.time.Value(), e.ticks / 4 * 4);
            EXPECT_EQ(hit.channel, e.channel);
            EXPECT_EQ(hit.amplitude, int(e.amplitude)) << e.amplitude;
            EXPECT_EQ(hit.rise, e.rise);
            EXPECT_EQ(hit.duration, e.duration);
            EXPECT_EQ(hit.counts, e.counts);
            EXPECT_EQ(hit.energy, std::max(1, int(10.0 * std::log10(e.energy)))) << e.energy;
            // Values asked of each hit in turn belong to that hit, not to one decoded before.
            EXPECT_EQ(int(r.pci->GetValue(hpAmplitude)), int(e.amplitude));
            EXPECT_EQ(uint32_t(r.pci->GetValue(hpCounts)), e.counts);
            EXPECT_EQ(uint32_t(r.pci->GetValue(hpDuration)), e.duration);
            EXPECT_EQ(uint32_t(r.pci->GetValue(hpRise)), e.rise);
        } else if (e.kind == gen::SampleEvent::Comment) {
            ++comments;
            EXPECT_TRUE(r.pci->IsComment());
        } else if (e.kind == gen::SampleEvent::TimeMark) {
            ++marks;
            EXPECT_EQ(hit.kind, rkTimeMark);
            EXPECT_EQ(hit.time.Value(), e.ticks / 4 * 4);
        } else if (e.kind == gen::SampleEvent::Parametric) {
            ++parametric;
            EXPECT_TRUE(r.pci->IsParametric());
        }
    }
    EXPECT_FALSE(stream.Next(e));
    EXPECT_EQ(hits, 3000);
    EXPECT_EQ(comments, 1);
    EXPECT_GT(parametric, 0);
    (void)marks;

    EXPECT_EQ(lmtest::CopyRecords(*r.pci), bytes);
}

TEST(AlinePciSample, RefusesTooManyChannelsAndReportsWriteFailure)
{
    gen::SampleOptions options;
    options.channels = 129;
    std::vector<uint8_t> bytes;
    BinaryFile out;
    out.OpenMemoryWrite(bytes);
    EXPECT_THROW(gen::WriteAlinePciSample(out, options), std::runtime_error);

    BinaryFile full;
    if (!full.Open("/dev/full", BinaryFile::Mode::Write))
        GTEST_SKIP() << "no /dev/full";
    options.channels = 4;
    options.hits = 100;
    EXPECT_THROW(gen::WriteAlinePciSample(full, options), std::runtime_error);
}

} // namespace
} // namespace lm
