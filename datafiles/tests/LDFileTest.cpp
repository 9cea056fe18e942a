#include "datafiles/LDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/DataFileOpen.h"
#include "samplegen/SampleGen.h"
#include "testsupport/MemoryFile.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace lm;

namespace {

using Bytes = std::vector<uint8_t>;

void Message(Bytes& file, const Bytes& body)
{
    file.push_back(uint8_t(body.size()));
    file.push_back(uint8_t(body.size() >> 8));
    file.insert(file.end(), body.begin(), body.end());
}

Bytes Timed(uint8_t id, uint64_t ticks, size_t length = 7)
{
    Bytes b(length, 0);
    b[0] = id;
    write_u48le(b.data() + 1, ticks);
    return b;
}

// Hardware setup message holding one active data set sub-record (plus an unrelated one).
Bytes HardwareSetup(const Bytes& active, uint8_t parametrics)
{
    Bytes b = {42, 0, 0, 0};
    Bytes other = {24, 1, 0x20, 0x03}; // HDT of channel 1
    Message(b, other);
    Bytes sub = {5, uint8_t(active.size())};
    sub.insert(sub.end(), active.begin(), active.end());
    sub.push_back(parametrics);
    Message(b, sub);
    return b;
}

Bytes HitBody(uint64_t ticks, uint8_t channel, const Bytes& values)
{
    Bytes b = Timed(1, ticks, 8);
    b[7] = channel;
    b.insert(b.end(), values.begin(), values.end());
    return b;
}

// A reader on its first record.
struct Reader : lmtest::MemoryReader<LDFile> {
    explicit Reader(Bytes bytes) : MemoryReader(std::move(bytes)) { file->SeekFirstRecord(); }
};

Bytes Copy(Reader& r)
{
    return lmtest::CopyRecords(*r.file);
}

} // namespace

TEST(LDFile, HitValuesFollowTheActiveList)
{
    Bytes f;
    Message(f, HardwareSetup({1, 3, 6}, 0));
    Message(f, HitBody(4000000, 3, {0x34, 0x12, 0x78, 0x05, 77, 0xEE, 0xEE}));
    Reader r(f);
    ASSERT_EQ(r.file->ReadNext(), 1);
    ASSERT_EQ(r.file->ReadNext(), 1);
    EXPECT_EQ(r.file->ActiveList(), (Bytes{1, 3, 6}));
    LMShortHit h;
    h.SetHitFlags(hfDeleted);
    r.file->ReadRecord(h);
    EXPECT_EQ(h.kind, rkHit);
    EXPECT_EQ(h.HitFlags(), 0u);
    EXPECT_EQ(h.time.Value(), 4000000u);
    EXPECT_EQ(h.channel, 3);
    EXPECT_EQ(h.rise, 0x1234);
    EXPECT_EQ(h.counts, 0x0578);
    EXPECT_EQ(h.amplitude, 77);
    EXPECT_EQ(h.energy, 0);
    EXPECT_EQ(h.duration, 0u);
    EXPECT_EQ(h.Par1, 0.0f);
    EXPECT_EQ(r.file->GetValue(hpCntPk), 0);
    EXPECT_EQ(r.file->GetValue(hpChannel), 3);
    EXPECT_NEAR(double(r.file->GetTime()), 1.0, 1e-15);
    EXPECT_TRUE(r.file->IsHit());
    EXPECT_TRUE(r.file->HasTime());
}

// A setup message that replaces the active list leaves the last hit's values readable; the
// next hit clears every slot before it is decoded.
TEST(LDFile, SetupMessageKeepsTheLastHitsValues)
{
    Bytes f;
    Message(f, HardwareSetup({1, 3, 6}, 0));
    Message(f, HitBody(4000000, 3, {0x34, 0x12, 0x78, 0x05, 77}));
    Message(f, HardwareSetup({6}, 0));
    Message(f, HitBody(8000000, 2, {66}));
    Reader r(f);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(r.file->ReadNext(), 1);
    EXPECT_EQ(r.file->ActiveList(), (Bytes{6}));
    EXPECT_EQ(r.file->GetValue(hpRise), 0x1234);
    EXPECT_EQ(r.file->GetValue(hpCounts), 0x0578);
    EXPECT_EQ(r.file->GetValue(hpAmplitude), 77);
    ASSERT_EQ(r.file->ReadNext(), 1);
    EXPECT_EQ(r.file->GetValue(hpAmplitude), 66);
    EXPECT_EQ(r.file->GetValue(hpRise), 0) << "not in the new list: cleared by the hit";
    EXPECT_EQ(r.file->GetValue(hpCounts), 0);
}

// GetValue answers the last hit decoded by ReadNext, whatever came after it: the end of the
// file, or a hit passed over with SkipRecord (which decodes nothing).
TEST(LDFile, LastHitsValuesOutliveWhatFollows)
{
    Bytes f;
    Message(f, HardwareSetup({1, 3, 6}, 0));
    Message(f, HitBody(4000000, 3, {0x34, 0x12, 0x78, 0x05, 77}));
    Message(f, HitBody(8000000, 2, {5, 0, 6, 0, 55}));
    Reader r(f);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(r.file->ReadNext());
    EXPECT_FALSE(r.file->ReadNext());
    EXPECT_EQ(r.file->GetValue(hpRise), 5);
    EXPECT_EQ(r.file->GetValue(hpAmplitude), 55);

    r.file->SeekFirstRecord();
    ASSERT_TRUE(r.file->ReadNext());
    ASSERT_TRUE(r.file->ReadNext());
    ASSERT_TRUE(r.file->SkipRecord());
    EXPECT_EQ(r.file->GetValue(hpCounts), 0x0578);
    EXPECT_EQ(r.file->GetValue(hpAmplitude), 77);
}

TEST(LDFile, CharacteristicSizes)
{
    // Each id followed by the amplitude: the amplitude lies behind the id's bytes.
    const std::pair<uint8_t, int> sizes[] = {{1, 2},  {2, 2},  {5, 4},  {6, 1},  {8, 1},  {12, 4},
                                             {13, 2}, {15, 0}, {16, 4}, {20, 4}, {21, 4}, {22, 0},
                                             {23, 2}, {24, 2}, {25, 0}, {99, 0}, {0, 0}};
    for (auto [id, size] : sizes) {
        Bytes f;
        Message(f, HardwareSetup({id, 6}, 0));
        Bytes values(size_t(size), 0xAB);
        values.push_back(61);
        values.push_back(0xCD);
        Message(f, HitBody(10, 1, values));
        Reader r(f);
        ASSERT_TRUE(r.file->ReadNext());
        ASSERT_TRUE(r.file->ReadNext());
        EXPECT_EQ(r.file->GetValue(hpAmplitude), 61) << "id " << int(id);
    }
}

TEST(LDFile, EveryDeliveredParameter)
{
    Bytes f;
    Message(f, HardwareSetup({1, 2, 3, 4, 5, 6, 7, 9, 10, 13, 23, 24}, 2));
    Bytes v;
    const auto u16 = [&](uint16_t x) {
        v.push_back(uint8_t(x));
        v.push_back(uint8_t(x >> 8));
    };
    u16(11); // rise
    u16(22); // counts to peak
    u16(33); // counts
    u16(44); // energy
    u16(55);
    u16(1);                              // duration 65591
    v.insert(v.end(), {66, 77, 88, 99}); // amplitude, RMS, gain, threshold
    u16(150);                            // average frequency
    u16(0xFFFF);                         // frequency centroid
    u16(0xFFFF);                         // peak frequency
    v.push_back(1);
    u16(uint16_t(-120)); // first parametric
    v.push_back(2);
    u16(500); // second parametric: ignored
    Message(f, HitBody(8, 9, v));
    Bytes par = Timed(2, 100, 10);
    par[7] = 1;
    write_u16le(par.data() + 8, 3000);
    Message(f, par);
    Reader r(f);
    ASSERT_TRUE(r.file->ReadNext());
    ASSERT_TRUE(r.file->ReadNext());
    const std::pair<HitParam, long double> values[] = {
        {hpRise, 11},        {hpCntPk, 22},     {hpCounts, 33}, {hpEnergy, 44},
        {hpDuration, 65591}, {hpAmplitude, 66}, {hpRMS, 77},    {hpGain, 88},
        {hpThreshold, 99},   {hpFreq, 150},     {hpPar1, -120}, {hpChannel, 9},
        {hpSeq, 0},          {hpDP, 0},         {16384, 0},     {0, 0},
    };
    for (auto [param, value] : values)
        EXPECT_EQ(r.file->GetValue(param), value) << "param " << param;
    LMShortHit h;
    r.file->ReadRecord(h);
    EXPECT_EQ(h.Par1, -120.0f);
    EXPECT_EQ(h.duration, 65591u);

    // A parametric message: the record takes its own raw value, GetValue the last hit's.
    ASSERT_TRUE(r.file->ReadNext());
    r.file->ReadRecord(h);
    EXPECT_EQ(h.kind, rkParametric);
    EXPECT_EQ(h.Par1, 3000.0f);
    EXPECT_EQ(h.time.Value(), 100u);
    EXPECT_EQ(h.amplitude, 66); // values of the hit stay
    EXPECT_EQ(r.file->GetValue(hpCntPk), 22);
    EXPECT_EQ(r.file->GetValue(hpPar1), -120);
    EXPECT_TRUE(r.file->IsParametric());
    EXPECT_FALSE(r.file->HasTime());
}

TEST(LDFile, MessageKindsAndPredicates)
{
    struct Case {
        Bytes body;
        int32_t kind;
        bool timeSet, hasTime, end, comment, tr, stop;
    };
    const Case cases[] = {
        {Timed(3, 50, 10), rkParametric, true, false, false, false, false, false},
        {{7, 'h', 'i'}, rkComment, false, false, false, true, false, false},
        {{11}, rkOther, false, false, false, false, false, false},
        {{15}, rkOther, false, false, true, false, false, false},
        {Timed(128, 50), rkResume, true, true, false, false, false, false},
        {Timed(129, 50), rkStop, true, true, false, false, false, true},
        {Timed(130, 50), rkPause, true, true, false, false, false, false},
        {Timed(173, 50, 30), rkOther, false, false, false, false, true, false},
        {Timed(211, 50, 7), rkTimeMark, true, false, false, false, false, false},
        {Timed(211, 50, 9), rkOther, true, false, false, false, false, false},
        {Timed(77, 50), rkOther, false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        Bytes f;
        Message(f, c.body);
        Reader r(f);
        ASSERT_TRUE(r.file->ReadNext());
        LMShortHit h;
        h.time = TickTime::FromValue(9);
        r.file->ReadRecord(h);
        SCOPED_TRACE(int(c.body[0]));
        EXPECT_EQ(h.kind, c.kind);
        EXPECT_EQ(h.time.Value(), c.timeSet ? 50u : 9u);
        EXPECT_EQ(r.file->HasTime(), c.hasTime);
        EXPECT_EQ(r.file->IsEndOfData(), c.end);
        EXPECT_EQ(r.file->IsComment(), c.comment);
        EXPECT_EQ(r.file->IsTRRecord(), c.tr);
        EXPECT_EQ(r.file->IsTestStop(), c.stop);
        EXPECT_EQ(r.file->IsTimeMark(), c.body[0] == 211);
        EXPECT_TRUE(r.file->IsKnownRecord());
        EXPECT_FALSE(r.file->IsHit());
    }
}

TEST(LDFile, EndOfMessagesAndCounts)
{
    Bytes f;
    Message(f, {41, 0, 0, 0, 'I', 'D'});
    Message(f, HardwareSetup({6}, 0));
    Message(f, HitBody(1, 1, {50}));
    Message(f, HardwareSetup({1, 6}, 1)); // a later setup changes the layout
    Message(f, HitBody(2, 1, {5, 0, 60, 1, 2, 0}));
    Message(f, {15});
    Reader r(f);
    EXPECT_EQ(r.file->GetRecordCount(), 6);
    EXPECT_TRUE(r.file->ActiveList().empty()); // counting does not decode
    EXPECT_EQ(r.file->GetHitCount(), 2);
    r.file->SeekFirstRecord();
    EXPECT_TRUE(r.file->IsAtFirstRecord());
    int n = 0;
    LMShortHit h;
    std::vector<int> amplitudes;
    while (r.file->ReadNext()) {
        ++n;
        r.file->ReadRecord(h);
        if (h.kind == rkHit)
            amplitudes.push_back(h.amplitude);
    }
    EXPECT_EQ(n, 6);
    EXPECT_EQ(amplitudes, (std::vector<int>{50, 60}));
    EXPECT_EQ(h.Par1, 2.0f);

    // A zero length ends reading; so does a message cut short.
    for (const Bytes& tail : {Bytes{0, 0, 7, 'x'}, Bytes{9, 0, 7, 'x'}, Bytes{5}}) {
        Bytes g;
        Message(g, {7, 'a'});
        g.insert(g.end(), tail.begin(), tail.end());
        Message(g, {7, 'b'});
        Reader rg(g);
        EXPECT_EQ(rg.file->GetRecordCount(), 1);
        rg.file->SeekFirstRecord();
        EXPECT_EQ(rg.file->ReadNext(), 1);
        EXPECT_EQ(rg.file->ReadNext(), 0);
        EXPECT_FALSE(rg.file->IsComment());
    }
}

TEST(LDFile, SetupWithoutActiveDataSetKeepsTheList)
{
    Bytes f;
    Message(f, HardwareSetup({6, 1}, 0));
    Bytes plain = {42, 0, 0, 0};
    Message(plain, {22, 1, 40});
    Message(plain, {}); // a zero-size sub-record must not stall the parse
    Message(f, plain);
    Message(f, HitBody(1, 1, {70, 3, 0}));
    Reader r(f);
    while (r.file->ReadNext()) {
    }
    EXPECT_EQ(r.file->ActiveList(), (Bytes{6, 1}));
    EXPECT_EQ(r.file->GetValue(hpAmplitude), 70);
    EXPECT_EQ(r.file->GetValue(hpRise), 3);
}

TEST(LDFile, OversizedAndHostileMessages)
{
    // A message beyond 50 000 bytes is read whole and copied byte for byte.
    Bytes big(60000, 'z');
    big[0] = 99;
    Bytes f;
    Message(f, big);
    Message(f, HardwareSetup({6}, 0));
    Message(f, HitBody(5, 2, {90}));
    Reader r(f);
    EXPECT_EQ(r.file->GetRecordCount(), 3);
    EXPECT_EQ(Copy(r), f);

    // An active list of 30 ids decodes its values beyond the 17th.
    Bytes ids(29, 9); // gains, 1 byte each
    ids.push_back(6);
    Bytes g;
    Message(g, HardwareSetup(ids, 0));
    Bytes values(29, 1);
    values.push_back(83);
    Message(g, HitBody(5, 2, values));
    Reader rg(g);
    ASSERT_TRUE(rg.file->ReadNext());
    ASSERT_TRUE(rg.file->ReadNext());
    EXPECT_EQ(rg.file->ActiveList().size(), 30u);
    EXPECT_EQ(rg.file->GetValue(hpAmplitude), 83);

    // Counts that claim more than the message holds read zeros, never past the buffer.
    Bytes h;
    Message(h, {42, 0, 0, 0, 3, 0, 5, 255, 5}); // 255 ids in a 3-byte sub-record
    Message(h, {1});                            // a hit of one byte
    Bytes huge(65535, 0xFF);
    huge[0] = 42; // sub-record lengths 0xFFFF everywhere
    Message(h, huge);
    huge[0] = 1;
    Message(h, huge);
    Reader rh(h);
    int n = 0;
    LMShortHit hit;
    while (rh.file->ReadNext()) {
        ++n;
        rh.file->ReadRecord(hit);
        rh.file->GetValue(hpPar1);
    }
    EXPECT_EQ(n, 4);
    std::ostringstream out;
    rh.file->PrintFile(out, 0xFFFF);
    rh.file->PrintDump(out);
    EXPECT_EQ(Copy(rh), h);
}

TEST(LDFile, CheckEventTime)
{
    Bytes f;
    for (uint64_t t : {5u, 15u, 40u, 40u, 100u, 99u})
        Message(f, Timed(1, t, 8));
    Reader r(f);
    r.file->SetEventWindows(TickTime::FromValue(10), TickTime::FromValue(20));
    for (int e : {1, 2, 0, 1, 0}) {
        ASSERT_TRUE(r.file->ReadNext());
        EXPECT_EQ(r.file->CheckEventTime(), e);
    }
    ASSERT_TRUE(r.file->ReadNext());
    EXPECT_THROW(
        try { r.file->CheckEventTime(); } catch (const ELMData& e) {
            EXPECT_EQ(e.Code, 2001);
            throw;
        },
        ELMData);

    Reader z(f);
    z.file->SetEventWindows(TickTime{}, TickTime{});
    for (int e : {0, 0, 0, 1, 0}) {
        ASSERT_TRUE(z.file->ReadNext());
        EXPECT_EQ(z.file->CheckEventTime(), e);
    }
}

TEST(LDFile, WriterBookkeeping)
{
    Bytes f;
    Message(f, {7, 'c'});
    Message(f, HitBody(400, 1, {}));
    Message(f, Timed(2, 900, 10));  // parametric: not a timed record for the writer
    Message(f, Timed(211, 950, 7)); // time mark: likewise
    Message(f, Timed(130, 700));
    Message(f, {7, 'd'});
    Reader r(f);
    Bytes out;
    BinaryFile target;
    target.OpenMemoryWrite(out);
    LDFile w(*r.file, target);
    w.SeekFirstRecord();
    const uint64_t first[] = {0, 400, 400, 400, 400, 400};
    const uint64_t current[] = {0, 400, 400, 400, 700, 700};
    const uint64_t reference[] = {0, 400, 400, 400, 700, 700};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(r.file->ReadNext());
        w.AppendRecord(*r.file);
        EXPECT_EQ(w.FirstTime().Value(), first[i]) << i;
        EXPECT_EQ(w.CurrentTime().Value(), current[i]) << i;
        EXPECT_EQ(w.ReferenceTime().Value(), reference[i]) << i;
    }
    EXPECT_EQ(w.AppendedCount(), 6);
    EXPECT_EQ(w.DataRecordCount(), 0);
    const size_t before = out.size();
    w.WriteHeader();
    EXPECT_EQ(out.size(), before);
    target.Close();
    EXPECT_EQ(out, f);
}

TEST(LDFile, ListingLines)
{
    Bytes f;
    Message(f, {41, 0, 0, 0, 'S', 'y', 's'});
    Bytes setup = {42, 0, 0, 0};
    Message(setup, {5, 3, 1, 6, 21, 1});
    Message(setup, {22, 2, 40});
    Message(setup, {23, 2, 45});
    Message(setup, {24, 2, 0x20, 0x03});
    Message(setup, {22, 1, 20});
    Message(f, setup);
    Message(f, HitBody(4000002, 2, {12, 0, 66, 1, 2, 3, 4, 1, 0xD0, 0x07}));
    Bytes par = Timed(3, 8000000, 10);
    write_u16le(par.data() + 8, 3000);
    Message(f, par);
    Message(f, {7, 'o', 'k'});
    Message(f, Timed(129, 12000000));
    Message(f, {15});
    Message(f, HitBody(16000000, 1, {1, 0, 50, 0, 0, 0, 0, 1, 0xA0, 0x0F}));
    Message(f, Timed(211, 0));
    Reader r(f);
    std::ostringstream out;
    r.file->PrintFile(out, 0xFFFF);
    const std::string expected =
        "ID =  41  Length =     7  Sys\n"
        "ID =  42  Length =    33   Hardware Setup\n"
        "ID =   5  Length =     6  Active AE Data Set Parameters : RiseTime, Amplitude, AbsolutEnergy\n"
        "ID =  22  Length =     3  \n"
        "ID =  23  Length =     3  \n"
        "ID =  24  Length =     4  \n"
        "ID =  22  Length =     3  \n"
        "Channels setup parameters :\n"
        "Chan# Gain(dB) TH(dB) HDT(us) HLT(us) PDT(us)\n"
        "    1       20      -       -       -       -\n"
        "    2       40     45     800       -       -\n"
        "                              Time (sec) Cn  Rise Amp    Par1\n"
        "ID =   1  Length =    18       1.0000005  2    12  66   0.000\n"
        "ID =   3  Length =    10       2.0000000 Par1 =   5.000\n"
        "ID =   7  Length =     3   Test Comment ok\n"
        "ID = 129  Length =     7       3.0000000 Test Stop\n"
        "ID =  15  Length =     1  Test Abort\n"
        "                              Time (sec) Cn  Rise Amp    Par1\n"
        "ID =   1  Length =    18       4.0000000  1     1  50  10.000\n"
        "ID = 211  Length =     7  Default DiSP record\n";
    EXPECT_EQ(out.str(), expected);

    std::ostringstream dump;
    r.file->PrintDump(dump);
    EXPECT_EQ(dump.str(), "ID = 41 Length = 7\n"
                          "ID = 42 Length = 33\n"
                          "ID = 5 Length = 6\n"
                          "ID = 22 Length = 3\n"
                          "ID = 23 Length = 3\n"
                          "ID = 24 Length = 4\n"
                          "ID = 22 Length = 3\n"
                          "ID = 1 Length = 18\n"
                          "ID = 3 Length = 10\n"
                          "ID = 7 Length = 3\n"
                          "ID = 129 Length = 7\n"
                          "ID = 15 Length = 1\n"
                          "ID = 1 Length = 18\n"
                          "ID = 211 Length = 7\n");
}

TEST(LDFile, SampleRoundTrip)
{
    gen::SampleOptions options;
    options.hits = 2500;
    options.channels = 5;
    options.seed = 4;
    Bytes sample = lmtest::WrittenBytes([&](BinaryFile& out) { gen::WriteDispSample(out, options); });
    ASSERT_GE(sample.size(), 6u);
    EXPECT_EQ(read_u16le(&sample[2]), 41); // identification first
    {
        // The sample is taken for its own format, both for loading and for copying.
        BinaryFile probe;
        probe.OpenMemory(sample.data(), sample.size());
        EXPECT_EQ(RecogniseForLoading(probe), dtDisp);
        EXPECT_EQ(RecogniseForWriting(probe), dtDisp);
    }
    Reader r(sample);
    EXPECT_EQ(r.file->GetHitCount(), 2500);
    EXPECT_EQ(r.file->ActiveParametricCount(), 1);
    const Bytes& active = r.file->ActiveList();
    EXPECT_NE(std::find(active.begin(), active.end(), 23), active.end());
    EXPECT_NE(std::find(active.begin(), active.end(), 24), active.end());

    // Hits decode to the values of the stream they came from.
    r.file->SeekFirstRecord();
    gen::SampleEventStream events(options);
    gen::SampleEvent e;
    LMShortHit h;
    int checked = 0;
    uint64_t lastTicks = 0;
    while (r.file->ReadNext() && !r.file->IsEndOfData()) {
        if (!r.file->IsHit())
            continue;
        do {
            ASSERT_TRUE(events.Next(e));
        } while (e.kind != gen::SampleEvent::Hit);
        r.file->ReadRecord(h);
        EXPECT_EQ(h.time.Value(), e.ticks);
        EXPECT_EQ(h.channel, e.channel);
        EXPECT_EQ(h.amplitude, uint8_t(e.amplitude));
        EXPECT_EQ(h.duration, e.duration);
        EXPECT_NEAR(h.Par1 * 0.005 - 10.0, e.parametric, 0.003);
        EXPECT_GE(e.ticks, lastTicks);
        lastTicks = e.ticks;
        ++checked;
    }
    EXPECT_EQ(checked, 2500);
    EXPECT_TRUE(r.file->IsEndOfData());
    EXPECT_EQ(Copy(r), sample);
}
