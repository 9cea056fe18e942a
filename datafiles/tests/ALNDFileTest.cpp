// A-Line ISA reader on tiny files built in code.

#include "datafiles/ALNDFile.h"

#include "datafiles/ByteOrder.h"
#include "samplegen/SampleGen.h"
#include "testsupport/MemoryFile.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace lm {
namespace {

constexpr int32_t kStart = 5000;

// Header with a block table of `blocks` entries and `config` bytes of configuration data.
std::vector<uint8_t> IsaHeader(uint32_t blocks = 2, uint32_t config = 40)
{
    std::vector<uint8_t> f(3948 + 12 * blocks + config, 0);
    write_u32le(&f[12], 43521);
    write_u32le(&f[1896], uint32_t(kStart));
    write_u32le(&f[3844], 0x1313CFCF);
    write_u32le(&f[3940], blocks);
    write_u32le(&f[3944], config);
    for (uint32_t i = 0; i < blocks; ++i)
        write_u32le(&f[3948 + 12 * i], i + 1);
    return f;
}

uint8_t* AddRecord(std::vector<uint8_t>& f, uint32_t type, int32_t seconds = kStart, uint32_t us = 0)
{
    const size_t at = f.size();
    f.resize(at + 12 + ALNDFile::BodySize(type), 0);
    write_u32le(&f[at], type);
    write_u32le(&f[at + 4], uint32_t(seconds));
    write_u32le(&f[at + 8], us);
    return &f[at + 12];
}

void AddHit(std::vector<uint8_t>& f, uint32_t type, uint8_t channel, uint16_t amplitude, uint32_t energy = 0,
            uint32_t duration = 0, uint32_t rise = 0, uint32_t counts = 0, int32_t seconds = kStart,
            uint32_t us = 0)
{
    uint8_t* b = AddRecord(f, type, seconds, us);
    b[0] = channel;
    write_u16le(b + 2, amplitude);
    write_u32le(b + 4, energy);
    write_u32le(b + 8, duration);
    write_u32le(b + 12, rise);
    write_u32le(b + 16, counts);
}

void AddCalibration(std::vector<uint8_t>& f, uint32_t subType, uint8_t channel, uint8_t gainCode,
                    uint16_t setting = 9)
{
    uint8_t* b = AddRecord(f, 1);
    write_u32le(b, subType);
    b[4] = channel;
    write_u16le(b + 6, setting);
    b[11] = gainCode;
}

struct Reader {
    explicit Reader(const std::vector<uint8_t>& bytes) : data(bytes), file(std::make_unique<BinaryFile>())
    {
        file->OpenMemory(data.data(), data.size());
        isa = std::make_unique<ALNDFile>(*file);
    }
    std::vector<uint8_t> data;
    std::unique_ptr<BinaryFile> file;
    std::unique_ptr<ALNDFile> isa;
};

// The calibration is shared by the whole program: every test starts from the defaults.
class AlineIsa : public ::testing::Test {
protected:
    void SetUp() override { ResetAlnCalibration(); }
    void TearDown() override { ResetAlnCalibration(); }
};

const double kDefaultOffset = 20.0 * std::log10(2.442) + 13.125;

TEST_F(AlineIsa, DefaultCalibration)
{
    for (const ALNChannelCalib& e : AlnCalibration()) {
        EXPECT_EQ(e.mode, 1);
        EXPECT_EQ(e.gainCode, 35);
        EXPECT_NEAR(e.offset, kDefaultOffset, 1e-12);
    }
    ALNChannelCalib mode2;
    mode2.mode = 2;
    mode2.Update();
    EXPECT_NEAR(mode2.conversion, 20.0 * std::log10(1221.0 * 1000 / 1000 / 100 / (5 * 0.0001)), 1e-9);
    ALNChannelCalib undefined;
    undefined.mode = 3; // no conversion defined: finite, 0 dB
    undefined.Update();
    EXPECT_EQ(undefined.conversion, 0.0);
}

TEST_F(AlineIsa, HeaderAndRecordLayout)
{
    std::vector<uint8_t> f = IsaHeader();
    AddHit(f, 0, 2, 100, 70000, 123456, 70001, 70002, kStart + 1, 250000);
    AddHit(f, 4, 3, 1000, 1, 2, 3, 4, kStart + 2, 3);
    AddRecord(f, 3, kStart + 3);
    AddRecord(f, 2);
    AddRecord(f, 5);
    AddRecord(f, 77);
    AddHit(f, 0, 0, 10);
    Reader r(f);
    const uint64_t first = 3948 + 24 + 40;
    EXPECT_EQ(r.isa->FirstRecordOffset(), first);
    EXPECT_EQ(r.isa->BlockTable().size(), 24u);
    EXPECT_EQ(r.isa->StartTime(), kStart);
    EXPECT_TRUE(r.isa->IsAtFirstRecord()); // the constructor leaves the stream there
    EXPECT_TRUE(r.isa->IsALine());
    EXPECT_FALSE(r.isa->CanBeFiltered());

    struct Step {
        uint32_t type;
        uint64_t end; // stream position after the record
        int32_t kind;
        bool hit, parametric;
    };
    const Step steps[] = {
        {0, first + 44, rkHit, true, false},
        {4, first + 44 + 48, rkHit, true, false},
        {3, first + 92 + 28, rkParametric, false, true},
        {2, first + 120 + 44, rkOther, false, false},
        {5, first + 164 + 48, rkOther, false, false},
        {77, first + 212 + 28, rkOther, false, false},
        {0, first + 240 + 44, rkHit, true, false},
    };
    LMShortHit hit;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.type);
        ASSERT_EQ(r.isa->ReadNext(), 1);
        EXPECT_EQ(r.isa->RecordType(), s.type);
        EXPECT_EQ(r.file->Tell(), s.end);
        EXPECT_EQ(r.isa->IsHit(), s.hit);
        EXPECT_EQ(r.isa->IsParametric(), s.parametric);
        EXPECT_TRUE(r.isa->HasTime());
        EXPECT_FALSE(r.isa->IsComment());
        EXPECT_FALSE(r.isa->IsEndOfData());
        EXPECT_TRUE(r.isa->IsKnownRecord());
        LMShortHit before = hit;
        r.isa->ReadRecord(hit);
        EXPECT_EQ(hit.kind, s.kind);
        if (!s.hit) {
            EXPECT_EQ(hit.time, before.time); // only hits take a time
        }
        if (s.type == 0 && s.end == first + 44) {
            EXPECT_EQ(hit.time.Value(), 5000000u);
            EXPECT_EQ(hit.channel, 3);
            EXPECT_EQ(hit.amplitude, int(40.0 + kDefaultOffset));
            EXPECT_EQ(hit.energy, 70000 & 0xFFFF); // low 16 bits in the record
            EXPECT_EQ(hit.duration, 123456u);
            EXPECT_EQ(hit.rise, 70001 & 0xFFFF);
            EXPECT_EQ(hit.counts, 70002 & 0xFFFF);
            EXPECT_EQ(r.isa->GetValue(hpEnergy), 70000.0L); // full fields from GetValue
            EXPECT_EQ(r.isa->GetValue(hpRise), 70001.0L);
            EXPECT_EQ(r.isa->GetValue(hpCounts), 70002.0L);
            EXPECT_EQ(r.isa->GetValue(hpDuration), 123456.0L);
            EXPECT_EQ(r.isa->GetValue(hpChannel), 3.0L);
            EXPECT_EQ(r.isa->GetValue(hpAmplitude), (long double)int(40.0 + kDefaultOffset));
            EXPECT_EQ(r.isa->GetValue(hpTime), 1.25L);
            for (HitParam p : {0u, hpSeq, hpCntPk, hpDP, hpRMS, hpPar1, hpGain, hpThreshold, 16384u, hpFreq})
                EXPECT_EQ(r.isa->GetValue(p), 0.0L) << p;
        }
        if (s.type == 4) {
            // 2 s + 3 us: exact ticks, no rounding loss.
            EXPECT_EQ(hit.time.Value(), 8000012u);
            EXPECT_EQ(hit.amplitude, int(60.0 + kDefaultOffset));
        }
    }
    EXPECT_EQ(r.isa->ReadNext(), 0);
    EXPECT_EQ(r.isa->GetRecordCount(), 7);
    EXPECT_EQ(r.isa->GetHitCount(), 3);
}

TEST_F(AlineIsa, CalibrationRecordsChangeLaterHitsProgramWide)
{
    std::vector<uint8_t> f = IsaHeader();
    AddHit(f, 0, 4, 100);
    AddCalibration(f, 1, 4, 80); // sub-type 1 changes nothing
    AddHit(f, 0, 4, 100);
    AddCalibration(f, 2, 4, 40); // +5 codes = +1.875 dB
    AddHit(f, 0, 4, 100);
    AddCalibration(f, 2, 32, 0); // no entry for channel index 32
    AddHit(f, 0, 4, 100);
    Reader r(f);
    const double expected[] = {40.0 + kDefaultOffset, 40.0 + kDefaultOffset, 40.0 + kDefaultOffset + 1.875,
                               40.0 + kDefaultOffset + 1.875};
    size_t i = 0;
    LMShortHit hit;
    while (r.isa->ReadNext()) {
        if (!r.isa->IsHit())
            continue;
        r.isa->ReadRecord(hit);
        EXPECT_EQ(hit.amplitude, int(expected[i])) << i;
        EXPECT_EQ(r.isa->GetValue(hpAmplitude), std::trunc((long double)expected[i])) << i;
        ++i;
    }
    EXPECT_EQ(i, 4u);
    EXPECT_EQ(AlnCalibration()[4].gainCode, 40);
    EXPECT_EQ(AlnCalibration()[4].setting, 9);
    EXPECT_NEAR(AlnCalibration()[4].offset, kDefaultOffset + 1.875, 1e-12);

    // A second file without calibration records decodes with what the first one set.
    std::vector<uint8_t> g = IsaHeader(0, 0);
    AddHit(g, 0, 4, 100);
    Reader second(g);
    ASSERT_EQ(second.isa->ReadNext(), 1);
    second.isa->ReadRecord(hit);
    EXPECT_EQ(hit.amplitude, int(40.0 + kDefaultOffset + 1.875));
}

TEST_F(AlineIsa, UndefinedAmplitudesAreZero)
{
    std::vector<uint8_t> f = IsaHeader();
    AddHit(f, 4, 1, 0, 5, 6, 7, 8); // amplitude 0: no logarithm
    AddHit(f, 0, 32, 1000, 5);      // channel index 32: no calibration entry
    AddHit(f, 0, 255, 1000, 5);     // channel 256 does not fit the 8-bit field
    Reader r(f);
    const uint8_t channels[] = {2, 33, 0};
    const long double channelValues[] = {2, 33, 256};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(r.isa->ReadNext(), 1);
        LMShortHit hit;
        hit.amplitude = 99;
        r.isa->ReadRecord(hit);
        EXPECT_EQ(hit.amplitude, 0) << i;
        EXPECT_EQ(hit.channel, channels[i]);
        EXPECT_EQ(r.isa->GetValue(hpAmplitude), 0.0L);
        EXPECT_EQ(r.isa->GetValue(hpChannel), channelValues[i]);
        EXPECT_EQ(hit.energy, 5);
    }
}

TEST_F(AlineIsa, ShortBodyEndsReading)
{
    std::vector<uint8_t> f = IsaHeader();
    AddHit(f, 0, 1, 100);
    AddHit(f, 4, 1, 100);
    f.resize(f.size() - 4); // the type-4 body lacks its last 4 bytes
    Reader r(f);
    EXPECT_EQ(r.isa->GetRecordCount(), 1);

    std::vector<uint8_t> g = IsaHeader();
    AddCalibration(g, 2, 6, 50);
    g.resize(g.size() - 1); // a cut calibration record is neither counted nor applied
    Reader t(g);
    EXPECT_EQ(t.isa->GetRecordCount(), 0);
    EXPECT_EQ(AlnCalibration()[6].gainCode, 35);
}

TEST_F(AlineIsa, HostileHeaders)
{
    struct Case {
        const char* what;
        uint32_t blocks, config;
    };
    const Case cases[] = {
        {"block count", 0xFFFFFFFFu, 40},
        {"configuration size", 2, 0xFFFFFFFFu},
        {"both", 0x7FFFFFFFu, 0xFFFFFFF0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> f = IsaHeader();
        AddHit(f, 0, 1, 100);
        write_u32le(&f[3940], c.blocks);
        write_u32le(&f[3944], c.config);
        Reader r(f);
        EXPECT_LE(r.isa->BlockTable().size(), f.size());
        EXPECT_EQ(r.isa->GetRecordCount(), 0);
        EXPECT_EQ(r.isa->ReadNext(), 0);
    }
    for (size_t size : {0u, 12u, 3900u, 3947u}) {
        std::vector<uint8_t> f = IsaHeader();
        f.resize(size);
        Reader r(f);
        EXPECT_EQ(r.isa->GetRecordCount(), 0) << size;
    }
}

TEST_F(AlineIsa, SampleDecodesTheSession)
{
    gen::SampleOptions options;
    options.hits = 2000;
    options.channels = 5;
    options.seed = 3;
    std::vector<uint8_t> bytes =
        lmtest::WrittenBytes([&](BinaryFile& out) { gen::WriteAlineIsaSample(out, options); });
    // Whatever an earlier file left behind, the sample announces its own gains.
    AlnCalibration()[2].gainCode = 99;
    AlnCalibration()[2].Update();

    Reader r(bytes);
    EXPECT_EQ(r.isa->GetHitCount(), 2000);
    r.isa->SeekFirstRecord();
    gen::SampleEventStream stream(options);
    gen::SampleEvent e;
    LMShortHit hit;
    int hits = 0, longHits = 0, parametric = 0;
    while (r.isa->ReadNext()) {
        if (r.isa->RecordType() == 1)
            continue; // the calibration records at the start
        do
            ASSERT_TRUE(stream.Next(e));
        while (e.kind == gen::SampleEvent::Comment); // the format has no comments
        r.isa->ReadRecord(hit);
        if (e.kind == gen::SampleEvent::Hit) {
            ++hits;
            longHits += r.isa->RecordType() == 4;
            ASSERT_TRUE(r.isa->IsHit());
            EXPECT_EQ(hit.time.Value(), e.ticks / 4 * 4);
            EXPECT_EQ(hit.channel, e.channel);
            EXPECT_EQ(hit.amplitude, int(e.amplitude)) << e.amplitude;
            EXPECT_EQ(r.isa->GetValue(hpDuration), (long double)e.duration);
            EXPECT_EQ(r.isa->GetValue(hpRise), (long double)e.rise);
            EXPECT_EQ(r.isa->GetValue(hpCounts), (long double)e.counts);
            EXPECT_EQ(r.isa->GetValue(hpEnergy), (long double)std::llround(e.energy));
        } else if (e.kind == gen::SampleEvent::Parametric) {
            ++parametric;
            EXPECT_TRUE(r.isa->IsParametric());
        } else {
            EXPECT_EQ(hit.kind, rkOther);
        }
    }
    EXPECT_FALSE(stream.Next(e));
    EXPECT_EQ(hits, 2000);
    EXPECT_EQ(longHits, 200);
    EXPECT_GT(parametric, 0);
}

TEST_F(AlineIsa, SampleRefusesTooManyChannels)
{
    gen::SampleOptions options;
    options.channels = 33;
    std::vector<uint8_t> bytes;
    BinaryFile out;
    out.OpenMemoryWrite(bytes);
    EXPECT_THROW(gen::WriteAlineIsaSample(out, options), std::runtime_error);
}

} // namespace
} // namespace lm
