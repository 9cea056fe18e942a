#include "datafiles/SDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/DataFileOpen.h"
#include "samplegen/SampleGen.h"
#include "testsupport/MemoryFile.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace lm;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ValidHeader(const std::string& label = "Vessel 7")
{
    Bytes h(512, 0);
    h[20] = ' ';
    std::memcpy(&h[21], "01/02/03 04:05:06", 17);
    std::memcpy(&h[40], "V2.01 ", 6);
    h[46] = uint8_t(label.size());
    std::memcpy(&h[47], label.data(), label.size());
    return h;
}

struct Rec {
    uint8_t b[32] = {};
    explicit Rec(uint8_t code, uint64_t ticks = 0)
    {
        b[0] = code;
        write_u48le(b + 1, ticks);
    }
};

void Add(Bytes& file, const Rec& r)
{
    file.insert(file.end(), r.b, r.b + 32);
}

Rec Hit(uint64_t ticks, uint8_t channel = 1)
{
    Rec r(1, ticks);
    r.b[7] = channel;
    return r;
}

using Reader = lmtest::MemoryReader<SDFile>;

Bytes Copy(Reader& r)
{
    return lmtest::CopyRecords(*r.file);
}

} // namespace

TEST(SDFile, HitLayoutDecodesEveryField)
{
    Bytes f = ValidHeader();
    Rec r = Hit(4000000 * 3 + 2, 5);
    write_u32le(r.b + 8, 77);      // sequence
    write_u16le(r.b + 12, 1234);   // rise
    write_u16le(r.b + 14, 11);     // counts to peak
    write_u16le(r.b + 16, 345);    // counts
    write_u16le(r.b + 18, 60000);  // energy
    write_u32le(r.b + 20, 100000); // duration
    r.b[24] = 87;                  // amplitude
    r.b[25] = 21;                  // RMS
    r.b[26] = 45;                  // threshold
    write_u16le(r.b + 27, 2600);   // Par1 raw
    r.b[29] = 3;                   // DP
    r.b[30] = 40;                  // gain
    Add(f, r);
    Reader rd(f);
    rd.file->SeekFirstRecord();
    ASSERT_EQ(rd.file->ReadNext(), 1);

    LMShortHit h;
    h.SetHitFlags(hfDeleted | hfGrouped);
    rd.file->ReadRecord(h);
    EXPECT_EQ(h.kind, rkHit);
    EXPECT_EQ(h.HitFlags(), 0u);
    EXPECT_EQ(h.time.Value(), 12000002u);
    EXPECT_EQ(h.channel, 5);
    EXPECT_EQ(h.rise, 1234);
    EXPECT_EQ(h.counts, 345);
    EXPECT_EQ(h.energy, 60000);
    EXPECT_EQ(h.duration, 100000u);
    EXPECT_EQ(h.amplitude, 87);
    EXPECT_FLOAT_EQ(h.Par1, 3.0f);

    const std::pair<HitParam, long double> values[] = {
        {hpChannel, 5},    {hpSeq, 77},          {hpRise, 1234},    {hpCntPk, 11}, {hpCounts, 345},
        {hpEnergy, 60000}, {hpDuration, 100000}, {hpAmplitude, 87}, {hpRMS, 21},   {hpThreshold, 45},
        {hpDP, 3},         {hpGain, 40},         {hpFreq, 0},       {16384, 0},    {0, 0},
    };
    for (auto [param, value] : values)
        EXPECT_EQ(rd.file->GetValue(param), value) << "param " << param;
    EXPECT_NEAR(double(rd.file->GetValue(hpPar1)), 3.0, 1e-12);
    EXPECT_NEAR(double(rd.file->GetTime()), 3.0000005, 1e-12);
}

TEST(SDFile, Par1Conversion)
{
    for (auto [raw, volts] : {std::pair{2000, 0.0}, {4000, 10.0}, {0, -10.0}, {2001, 0.005}}) {
        Bytes f = ValidHeader();
        Rec r(3, 10);
        write_u16le(r.b + 27, uint16_t(raw));
        Add(f, r);
        Reader rd(f);
        rd.file->SeekFirstRecord();
        ASSERT_TRUE(rd.file->ReadNext());
        EXPECT_NEAR(double(rd.file->GetValue(hpPar1)), volts, 1e-12) << raw;
        LMShortHit h;
        rd.file->ReadRecord(h);
        EXPECT_EQ(h.kind, rkParametric);
        EXPECT_FLOAT_EQ(h.Par1, float(volts));
    }
}

TEST(SDFile, RecordKindsTimesAndPredicates)
{
    struct Case {
        uint8_t code;
        int32_t kind;
        bool timed, known, end, parametric, comment, stop;
    };
    const Case cases[] = {
        {0, rkOther, false, true, true, false, false, false},
        {1, rkHit, true, true, false, false, false, false},
        {2, rkParametric, true, true, false, true, false, false},
        {3, rkParametric, true, true, false, true, false, false},
        {7, rkComment, false, true, false, false, true, false},
        {16, rkOther, true, true, false, false, false, false},
        {128, rkResume, true, true, false, false, false, false},
        {129, rkStop, true, true, false, false, false, true},
        {130, rkPause, true, true, false, false, false, false},
        {99, rkOther, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        Bytes f = ValidHeader();
        Add(f, Rec(c.code, 8000000));
        Reader rd(f);
        rd.file->SeekFirstRecord();
        ASSERT_TRUE(rd.file->ReadNext());
        LMShortHit h;
        h.time = TickTime::FromValue(5);
        h.channel = 9;
        rd.file->ReadRecord(h);
        SCOPED_TRACE(int(c.code));
        EXPECT_EQ(h.kind, c.kind);
        // Only timed codes set the time; non-hits leave the values alone.
        EXPECT_EQ(h.time.Value(), c.timed ? 8000000u : 5u);
        EXPECT_EQ(h.channel, c.code == 1 ? 0 : 9);
        EXPECT_EQ(rd.file->HasTime(), c.timed);
        EXPECT_EQ(rd.file->IsKnownRecord(), c.known);
        EXPECT_EQ(rd.file->IsEndOfData(), c.end);
        EXPECT_EQ(rd.file->IsParametric(), c.parametric);
        EXPECT_EQ(rd.file->IsComment(), c.comment);
        EXPECT_EQ(rd.file->IsTestStop(), c.stop);
        EXPECT_EQ(rd.file->IsHit(), c.code == 1);
    }
}

TEST(SDFile, RecordCountsStopAfterEndOfData)
{
    Bytes f = ValidHeader();
    Add(f, Hit(1));
    Add(f, Rec(99)); // unknown code: read but not counted
    Add(f, Hit(2));
    Add(f, Rec(7));
    Add(f, Rec(0));
    Add(f, Hit(3)); // after the end of data
    Add(f, Hit(4));
    Reader rd(f);
    EXPECT_EQ(rd.file->GetRecordCount(), 4);
    EXPECT_EQ(rd.file->GetHitCount(), 2);

    // Without an end record every known record counts once; a truncated tail is not read.
    Bytes g = ValidHeader();
    Add(g, Hit(1));
    Add(g, Rec(99));
    Add(g, Rec(128, 2));
    g.resize(g.size() + 20, 1);
    Reader rg(g);
    EXPECT_EQ(rg.file->GetRecordCount(), 2);
    EXPECT_EQ(rg.file->GetHitCount(), 1);
}

TEST(SDFile, RandomAccess)
{
    Bytes f = ValidHeader();
    for (int i = 0; i < 5; ++i)
        Add(f, Hit(uint64_t(i + 1) * 100, uint8_t(i + 1)));
    Add(f, Rec(130, 600));
    Reader rd(f);
    SDFile& s = *rd.file;
    s.SeekFirstRecord();
    EXPECT_TRUE(s.IsAtFirstRecord());
    EXPECT_EQ(s.GetRecordIndex(), 0);
    ASSERT_TRUE(s.ReadNext());
    ASSERT_TRUE(s.ReadNext());
    EXPECT_EQ(s.ReadPrevious(), 0); // at 576: nothing before the first record to step to
    ASSERT_TRUE(s.ReadNext());
    EXPECT_EQ(s.ReadPrevious(), 1);
    EXPECT_EQ(s.GetValue(hpChannel), 2);
    EXPECT_EQ(s.GetRecordIndex(), 2);

    s.SeekRecord(3);
    ASSERT_TRUE(s.ReadNext());
    EXPECT_EQ(s.GetValue(hpChannel), 4);
    EXPECT_EQ(s.SkipHits(), 1);
    EXPECT_EQ(s.IsHit(), false);
    EXPECT_NEAR(double(s.GetTime()), 600 * 2.5e-7, 1e-15);
    EXPECT_EQ(s.SkipHits(), 0); // end of file

    Bytes raw;
    BinaryFile out;
    out.OpenMemoryWrite(raw);
    EXPECT_TRUE(s.WriteRawTo(out));
    out.Close();
    EXPECT_EQ(raw, Bytes(f.end() - 32, f.end()));
}

TEST(SDFile, CheckEventTime)
{
    Bytes f = ValidHeader();
    for (uint64_t t : {5u, 5u, 15u, 40u, 55u, 100u, 99u})
        Add(f, Hit(t));
    Reader rd(f);
    SDFile& s = *rd.file;
    s.SetEventWindows(TickTime::FromValue(10), TickTime::FromValue(20));
    s.SeekFirstRecord();
    // Reference starts at 0: 5 lies in the event window; 40 is past the lockout and opens.
    const int expected[] = {1, 1, 2, 0, 2, 0};
    for (int e : expected) {
        ASSERT_TRUE(s.ReadNext());
        EXPECT_EQ(s.CheckEventTime(), e);
    }
    ASSERT_TRUE(s.ReadNext());
    try {
        s.CheckEventTime();
        FAIL() << "unsorted hit accepted";
    } catch (const ELMData& e) {
        EXPECT_EQ(e.Code, 2001);
    }

    // Zero windows: a later hit opens a new event, one at the reference time belongs to it.
    s.SetEventWindows(TickTime{}, TickTime{});
    s.SeekRecord(5);
    ASSERT_TRUE(s.ReadNext()); // t = 100 == reference
    EXPECT_EQ(s.CheckEventTime(), 1);
    Bytes g = ValidHeader();
    Add(g, Hit(1));
    Add(g, Hit(2));
    Reader rg(g);
    rg.file->SetEventWindows(TickTime{}, TickTime{});
    rg.file->SeekFirstRecord();
    ASSERT_TRUE(rg.file->ReadNext());
    EXPECT_EQ(rg.file->CheckEventTime(), 0);
    ASSERT_TRUE(rg.file->ReadNext());
    EXPECT_EQ(rg.file->CheckEventTime(), 0);
}

TEST(SDFile, WriterBookkeepingAndHeader)
{
    Bytes f = ValidHeader();
    Add(f, Rec(7));           // comment: no time
    Add(f, Hit(8000000));     // 2.0 s
    Add(f, Rec(2, 20000000)); // 5.0 s
    Add(f, Hit(12000000));    // 3.0 s: earlier than the latest
    Add(f, Rec(7));
    Add(f, Rec(0));
    Reader rd(f);
    Bytes out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    SDFile w(*rd.file, target);
    w.SeekFirstRecord();
    rd.file->SeekFirstRecord();

    ASSERT_TRUE(rd.file->ReadNext());
    w.AppendRecord(*rd.file);
    EXPECT_TRUE(w.FirstTime().IsZero());
    EXPECT_TRUE(w.CurrentTime().IsZero());
    EXPECT_EQ(w.AppendedCount(), 1);
    EXPECT_EQ(w.DataRecordCount(), 1);
    const uint64_t expectFirst[] = {8000000, 8000000, 8000000, 8000000, 8000000};
    const uint64_t expectCurrent[] = {8000000, 20000000, 12000000, 12000000, 12000000};
    const uint64_t expectReference[] = {8000000, 20000000, 20000000, 20000000, 20000000};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(rd.file->ReadNext());
        w.AppendRecord(*rd.file);
        EXPECT_EQ(w.FirstTime().Value(), expectFirst[i]) << i;
        EXPECT_EQ(w.CurrentTime().Value(), expectCurrent[i]) << i;
        EXPECT_EQ(w.ReferenceTime().Value(), expectReference[i]) << i;
    }
    EXPECT_EQ(w.AppendedCount(), 6);
    EXPECT_EQ(w.DataRecordCount(), 5); // the end record is not a data record
    w.WriteHeader();
    target.Close();

    ASSERT_EQ(out.size(), f.size());
    EXPECT_EQ(read_u32le(&out[0]), 5u);
    EXPECT_EQ(read_u32le(&out[4]), 122u); // 2.0 s in 16.384 ms units
    EXPECT_EQ(read_u32le(&out[8]), 1u);
    EXPECT_EQ(read_u32le(&out[12]), 305u); // 5.0 s
    EXPECT_EQ(read_u32le(&out[16]), 5u);
    EXPECT_TRUE(std::equal(out.begin() + 20, out.end(), f.begin() + 20));
}

TEST(SDFile, EmptyWriterAndInvalidSourceHeader)
{
    Bytes f = ValidHeader();
    for (int i = 0; i < 20; ++i)
        f[i] = 0x33; // stale counts and times in the source
    Reader rd(f);
    Bytes out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    {
        SDFile w(*rd.file, target);
        w.SeekFirstRecord();
        w.WriteHeader();
    }
    target.Close();
    ASSERT_EQ(out.size(), 512u);
    for (int off : {0, 4, 12, 16})
        EXPECT_EQ(read_u32le(&out[off]), 0u) << off;
    EXPECT_EQ(read_u32le(&out[8]), 1u);
    EXPECT_TRUE(std::equal(out.begin() + 20, out.end(), f.begin() + 20));

    // A header that is not valid is not copied: only counts and times are written.
    Bytes bad = ValidHeader(std::string(41, 'x'));
    Add(bad, Hit(4000000));
    Reader rb(bad);
    EXPECT_FALSE(rb.file->IsHeaderValid());
    Bytes copy = Copy(rb);
    ASSERT_EQ(copy.size(), bad.size());
    EXPECT_EQ(read_u32le(&copy[0]), 1u);
    EXPECT_EQ(read_u32le(&copy[4]), 61u);
    EXPECT_TRUE(std::all_of(copy.begin() + 20, copy.begin() + 512, [](uint8_t b) { return b == 0; }));
}

TEST(SDFile, HeaderValidityAndTexts)
{
    Reader ok(ValidHeader("Tank A"));
    EXPECT_TRUE(ok.file->IsHeaderValid());
    EXPECT_EQ(ok.file->GetLabel(), "Tank A");
    EXPECT_EQ(ok.file->GetVersion(), "V2.01 ");
    EXPECT_EQ(ok.file->GetDateTime(), "01/02/03 04:05:06");
    EXPECT_TRUE(ok.file->CanBeFiltered());

    Bytes continuous = ValidHeader();
    continuous[39] = 1;
    EXPECT_FALSE(Reader(continuous).file->CanBeFiltered());

    const std::pair<int, uint8_t> breaks[] = {{20, 0}, {30, 1}, {37, 0x80}, {43, 2}, {48, 0xFF}};
    for (auto [offset, value] : breaks) {
        Bytes h = ValidHeader();
        h[offset] = value;
        EXPECT_FALSE(Reader(h).file->IsHeaderValid()) << offset;
    }
    Bytes longest = ValidHeader(std::string(40, 'L'));
    EXPECT_TRUE(Reader(longest).file->IsHeaderValid());
    Bytes tooLong = ValidHeader(std::string(40, 'L'));
    tooLong[46] = 41;
    Reader rl(tooLong);
    EXPECT_FALSE(rl.file->IsHeaderValid());
    EXPECT_EQ(rl.file->GetLabel()->size(), 40u); // never past the label field
}

TEST(SDFile, ShortAndHostileFiles)
{
    // A short header reads as zeros; nothing crashes and nothing is counted.
    for (size_t size : {0u, 1u, 100u, 511u, 512u, 530u}) {
        Bytes f(size, 0xFF);
        Reader rd(f);
        EXPECT_EQ(rd.file->GetRecordCount(), 0) << size;
        EXPECT_FALSE(rd.file->IsHeaderValid());
        std::ostringstream out;
        rd.file->PrintFile(out, 0xFFFF); // header claims 2^32-1 records; stops at the end
        rd.file->PrintInfo(out);
        EXPECT_FALSE(out.str().empty());
    }
}

TEST(SDFile, ListingLines)
{
    Bytes f = ValidHeader("Line test");
    write_u32le(&f[0], 4);
    write_u32le(&f[4], 122);
    write_u32le(&f[8], 1);
    write_u32le(&f[12], 305);
    write_u32le(&f[16], 4);
    f[87] = 1;
    Rec h = Hit(4000002, 3);
    write_u32le(h.b + 8, 9);
    write_u16le(h.b + 12, 12);
    write_u16le(h.b + 14, 3);
    write_u16le(h.b + 16, 40);
    write_u16le(h.b + 18, 500);
    write_u32le(h.b + 20, 1500);
    h.b[24] = 66;
    h.b[25] = 7;
    h.b[29] = 1;
    write_u16le(h.b + 27, 2100);
    Add(f, h);
    Rec p(2, 8000000);
    write_u16le(p.b + 27, 1000);
    p.b[29] = 4;
    Add(f, p);
    Rec c(7);
    std::memcpy(c.b + 1, "Valve opened", 12);
    Add(f, c);
    Add(f, Rec(129, 12000000));
    Add(f, Rec(0));
    Add(f, Rec(55)); // beyond "Total number of record" + 1: not listed

    Reader rd(f);
    std::ostringstream out;
    rd.file->PrintFile(out, 0xFFFF);
    const std::string expected = "Test Label\t\t: Line test\n"
                                 "Test Time and Date\t: 01/02/03 04:05:06\n"
                                 "Program Version\t\t: V2.01 \n"
                                 "Total number of record\t: 4\n"
                                 "First hit number\t\t: 1\n"
                                 "Last hit number\t\t: 4\n"
                                 "First Hit Time\t\t: 1.999 sec\n"
                                 "Last Hit Time\t\t: 4.997 sec\n"
                                 "TimeDrivenDataFlag\t: Yes\n"
                                 "ContiniousFlag\t\t: No\n"
                                 "AutoDumpFlag\t\t: No\n"
                                 "\n"
                                 "   Time (sec.) Ch  Rise CntPk  Cnts  Durat  Ener Amp RMS DP Par1   Seq\n"
                                 "     1.0000005  3    12     3    40   1500   500  66   7  1 0.50     9\n"
                                 "     2.0000000 PAR 1 = -5.00 DP = 4\n"
                                 "Valve opened\n"
                                 "     3.0000000 Test Stop\n"
                                 " End of Data File\n";
    EXPECT_EQ(out.str(), expected);

    std::ostringstream info;
    rd.file->PrintInfo(info);
    EXPECT_EQ(info.str(), expected.substr(0, expected.find("\n\n") + 2));

    std::ostringstream some;
    rd.file->PrintCaption(some, hpTime | hpAmplitude);
    rd.file->SeekFirstRecord();
    rd.file->ReadNext();
    rd.file->PrintRecord(some, hpTime | hpAmplitude);
    rd.file->SeekRecord(5);
    rd.file->ReadNext();
    rd.file->PrintRecord(some, hpTime);
    EXPECT_EQ(some.str(), "   Time (sec.) Amp\n     1.0000005  66\nError! Record code = 55\n");
}

TEST(SDFile, SampleRoundTrip)
{
    gen::SampleOptions options;
    options.hits = 3000;
    options.channels = 6;
    options.seed = 9;
    Bytes sample = lmtest::WrittenBytes([&](BinaryFile& out) { gen::WriteSpartanSample(out, options); });
    {
        // The sample is taken for its own format, both for loading and for copying.
        BinaryFile probe;
        probe.OpenMemory(sample.data(), sample.size());
        EXPECT_EQ(RecogniseForLoading(probe), dtSpartan);
        EXPECT_EQ(RecogniseForWriting(probe), dtSpartan);
    }
    Reader rd(sample);
    EXPECT_TRUE(rd.file->IsHeaderValid());
    const int records = rd.file->GetRecordCount();
    EXPECT_EQ(size_t(records), (sample.size() - 512) / 32);
    EXPECT_EQ(read_u32le(&sample[0]), uint32_t(records - 1));
    EXPECT_EQ(rd.file->GetHitCount(), 3000);
    EXPECT_EQ(Copy(rd), sample);

    // Stale counts and times in the source are rewritten; the records stay as they were.
    Bytes stale = sample;
    for (int off : {0, 4, 12, 16})
        write_u32le(&stale[off], 7);
    Reader rs(stale);
    EXPECT_EQ(Copy(rs), sample);
}
