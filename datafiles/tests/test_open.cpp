// Recognition of data files by content, opening, the data-type report, the loader and the
// text columns of a hit.

#include "datafiles/ByteOrder.h"
#include "datafiles/DataFileLoad.h"
#include "datafiles/DataFileOpen.h"
#include "samplegen/SampleGen.h"
#include "testsupport/TempFolder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace lm;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes AlineHeader(size_t size, size_t signatureOffset, uint32_t signature)
{
    Bytes b(size, 0);
    write_u32le(b.data() + 12, 43521);
    if (signatureOffset + 4 <= size)
        write_u32le(b.data() + signatureOffset, signature);
    return b;
}
Bytes AlineIsa()
{
    return AlineHeader(3948, 3844, 0x1313CFCF);
}
Bytes AlinePci()
{
    return AlineHeader(4064, 3960, 0x1515CFCF);
}

// A Spartan header with date text, version and label, plus one hit record.
Bytes Spartan(const std::string& label = "LABEL")
{
    Bytes b(512 + 32, 0);
    write_u32le(b.data(), 1);
    const std::string date = "09/12/26 10:00:00";
    std::copy(date.begin(), date.end(), b.begin() + 21);
    b[20] = ' ';
    const std::string version = "V1.00 ";
    std::copy(version.begin(), version.end(), b.begin() + 40);
    b[46] = uint8_t(label.size());
    std::copy(label.begin(), label.end(), b.begin() + 47);
    b[512] = 1;
    return b;
}

// The identification message of a DiSP file: length, id 41, a zero byte, then text.
Bytes Disp(const std::string& text)
{
    Bytes b(6 + text.size(), 0);
    write_u16le(b.data(), uint16_t(b.size()));
    b[2] = 41;
    std::copy(text.begin(), text.end(), b.begin() + 6);
    return b;
}

struct Memory {
    explicit Memory(const Bytes& bytes) : data(bytes) { file.OpenMemory(data.data(), data.size()); }
    Bytes data;
    BinaryFile file;
};

using TempDir = lmtest::TempFolder;

std::string ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(IsText, Cases)
{
    struct Case {
        Bytes bytes;
        long length;
        bool text;
    };
    const Case cases[] = {
        {{}, 0, true},
        {{0x01}, -3, true}, // nothing to check
        {{'A', ' ', '~'}, 3, true},
        {{9, 10, 11, 12, 13}, 5, true},
        {{'A', 0, 0}, 3, true}, // NUL after the first byte ends a string
        {{0, 'A'}, 2, false},   // ...but not as the first byte
        {{'A', 8}, 2, false},
        {{'A', 14}, 2, false},
        {{'A', 0x7F}, 2, false},
        {{'A', 0x80}, 2, false},
        {{'A', 0x01}, 1, true}, // only `length` bytes count
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsText(c.bytes.data(), c.length), c.text) << "case of " << c.bytes.size() << " bytes";
}

TEST(Recognition, TestsAndOrders)
{
    // Label length 33 is itself a printable byte ('!'), so the whole header can be text.
    Bytes spartanAllText = Spartan(std::string(33, 'L'));
    for (size_t i = 0; i < 512; ++i)
        if (spartanAllText[i] < 0x20 || spartanAllText[i] > 0x7E)
            spartanAllText[i] = 'x';
    Bytes pciShort = AlinePci();
    pciShort.resize(3962);
    Bytes pciWrongType = AlinePci();
    write_u32le(pciWrongType.data() + 12, 43520);
    Bytes spartanBadDate = Spartan();
    spartanBadDate[30] = 0x01;
    Bytes spartanBadLabel = Spartan("LA\x01"
                                    "EL");
    Bytes spartanLastLabelByte = Spartan("LABE\x01"); // only L - 2 label bytes are checked
    Bytes spartanNoLabel = Spartan("");
    Bytes spartanLongLabel = Spartan(std::string(41, 'L'));
    Bytes dispFourBytes = {4, 0, 41, 0};
    Bytes dispBadText = Disp("Mistras\x01");
    Bytes dispLong = Disp("x");
    write_u16le(dispLong.data(), 50000);
    Bytes dispOtherId = Disp("x");
    dispOtherId[2] = 42;
    Bytes dispTruncatedText = Disp("abc");
    dispTruncatedText.resize(6); // the text is missing: missing bytes count as NUL
    // Headers that pass two tests at once show which order decides.
    Bytes bothAline = AlinePci();
    write_u32le(bothAline.data() + 3844, 0x1313CFCF);
    Bytes spartanAndDisp = Spartan();
    write_u16le(spartanAndDisp.data(), 6);
    write_u16le(spartanAndDisp.data() + 2, 41);

    struct Case {
        const char* name;
        Bytes bytes;
        int loading;
        int writing;
    };
    const Case cases[] = {
        {"A-Line ISA", AlineIsa(), dtAlineIsa, -1},
        {"A-Line 32D", AlinePci(), dtAlinePci, dtAlinePci},
        {"A-Line 32D cut before its signature", pciShort, -1, -1},
        {"A-Line 32D with another file type", pciWrongType, -1, -1},
        {"both A-Line signatures", bothAline, dtAlineIsa, dtAlinePci},
        {"Spartan", Spartan(), dtSpartan, dtSpartan},
        {"Spartan header all text", spartanAllText, -1, -1},
        {"Spartan with binary date", spartanBadDate, -1, -1},
        {"Spartan with binary label", spartanBadLabel, -1, -1},
        {"Spartan, last label byte unchecked", spartanLastLabelByte, dtSpartan, dtSpartan},
        {"Spartan label length 0", spartanNoLabel, -1, -1},
        {"Spartan label length 41", spartanLongLabel, -1, -1},
        {"Spartan and DiSP at once", spartanAndDisp, dtSpartan, dtSpartan},
        {"DiSP", Disp("Mistras 2001"), dtDisp, dtDisp},
        {"DiSP of 4 bytes", dispFourBytes, dtDisp, dtDisp},
        {"DiSP with binary text", dispBadText, -1, -1},
        {"DiSP length 50000", dispLong, -1, -1},
        {"DiSP starting with id 42", dispOtherId, -1, -1},
        {"DiSP text cut short", dispTruncatedText, -1, -1},
        {"empty file", {}, -1, -1},
    };
    for (const auto& c : cases) {
        Memory m(c.bytes);
        m.file.Seek(3);
        EXPECT_EQ(RecogniseForLoading(m.file), c.loading) << c.name;
        EXPECT_EQ(RecogniseForWriting(m.file), c.writing) << c.name;
        EXPECT_EQ(m.file.Tell(), 3u) << c.name << ": the position is restored";
    }
}

TEST(DataFilePath, RegisteredExtensionsInAnyCase)
{
    for (const char* path : {"a.DTA", "a.dtt", "x/b.Sda", "c.SDT", "d.lda", "e.LDT", "/t/f.ald", "g.h.ALD"})
        EXPECT_TRUE(IsDataFilePath(path)) << path;
    for (const char* path : {"a.dat", "ALD", "dir.ald/file", "a.ALD.bak", "a.", ".", ""})
        EXPECT_FALSE(IsDataFilePath(path)) << path;
}

TEST(OpenDataFile, FailureTexts)
{
    TempDir dir;
    EXPECT_EQ(ErrorOf([&] { OpenDataFile(dir.Path() + "/missing.dta"); }), "Data file doesn't exist");
    EXPECT_EQ(ErrorOf([&] { OpenDataFile(dir.Path()); }), "Data file doesn't exist");
    const std::string text = dir.File("text.dta", Bytes(600, 'a'));
    EXPECT_EQ(ErrorOf([&] { OpenDataFile(text); }), "Unknown data type..");
    EXPECT_EQ(ErrorOf([&] { DescribeDataFile(text); }), "Unknown data type..");
    EXPECT_EQ(ErrorOf([&] { LoadDataFile(dir.Path() + "/missing.dta"); }), "Data file doesn't exist");
}

TEST(OpenDataFile, ReaderOfTheRecognisedTypeWhateverTheName)
{
    TempDir dir;
    const struct {
        std::string name;
        Bytes bytes;
        DataFileType type;
        bool aline;
    } cases[] = {
        {"pci.dta", AlinePci(), dtAlinePci, true},
        {"isa.ald", AlineIsa(), dtAlineIsa, true},
        {"spartan.dta", Spartan(), dtSpartan, false},
        {"disp.dta", Disp("DiSP"), dtDisp, false},
    };
    for (const auto& c : cases) {
        OpenedDataFile opened = OpenDataFile(dir.File(c.name, c.bytes));
        EXPECT_EQ(opened.type, c.type) << c.name;
        ASSERT_TRUE(opened.reader) << c.name;
        EXPECT_EQ(opened.reader->IsALine(), c.aline) << c.name;
        EXPECT_TRUE(opened.stream->IsOpen()) << c.name;
    }
}

TEST(DescribeDataFile, Reports)
{
    TempDir dir;
    EXPECT_EQ(DescribeDataFile(dir.File("d.dta", {4, 0, 41, 0})),
              "Data type: Locan AT/Spartan AT/Spartan 2000/Disp/Mistras\n");
    EXPECT_EQ(DescribeDataFile(dir.File("p.ald", AlinePci())), "Data type: Aline PCI\n");
    EXPECT_EQ(DescribeDataFile(dir.File("i.isa", AlineIsa())), "Data type: Aline ISA\n");
    const std::string spartan = DescribeDataFile(dir.File("s.dta", Spartan("MYTEST")));
    EXPECT_EQ(spartan.rfind("Data type: Spartan 3000\nTest Label\t\t: MYTEST\n", 0), 0u) << spartan;
}

TEST(OpenDataCopy, WriterOfTheSameFormatOrNothing)
{
    {
        Memory source(Disp("DiSP"));
        Bytes out;
        BinaryFile target;
        target.OpenMemoryWrite(out);
        DataCopy copy = OpenDataCopy(source.file, target);
        ASSERT_TRUE(copy);
        EXPECT_FALSE(copy.reader->IsALine());
        EXPECT_TRUE(copy.writer->CanBeFiltered());
    }
    for (const Bytes& unwritable : {AlineIsa(), Bytes(600, 'a')}) {
        Memory source(unwritable);
        Bytes out;
        BinaryFile target;
        target.OpenMemoryWrite(out);
        DataCopy copy = OpenDataCopy(source.file, target);
        EXPECT_FALSE(copy);
        EXPECT_FALSE(copy.reader);
        EXPECT_FALSE(copy.writer);
        EXPECT_TRUE(out.empty());
    }
}

namespace {

// A scripted reader: records are (kind, has time, end of data); the count it answers may
// differ from what it can deliver.
class ScriptedReader : public AWDiskFile {
public:
    struct Record {
        int kind;
        bool timed;
        bool end;
        uint32_t ticks;
    };
    ScriptedReader(BinaryFile& f, std::vector<Record> records, int count)
        : AWDiskFile(f), records_(std::move(records)), count_(count)
    {
    }
    int GetRecordCount() override { return count_; }
    uint64_t SeekFirstRecord() override
    {
        next_ = 0;
        return 0;
    }
    bool ReadNext() override
    {
        if (next_ >= records_.size())
            return false;
        ++next_;
        return true;
    }
    void ReadRecord(LMShortHit& hit) override
    {
        const Record& r = records_[next_ - 1];
        hit.kind = r.kind;
        if (r.timed)
            hit.time = TickTime::FromValue(r.ticks);
        if (r.kind == rkHit)
            hit.channel = 7;
    }
    bool HasTime() override { return records_[next_ - 1].timed; }
    long double GetTime() override { return TickTime::FromValue(records_[next_ - 1].ticks).Seconds(); }
    bool IsEndOfData() override { return records_[next_ - 1].end; }

private:
    std::vector<Record> records_;
    int count_;
    size_t next_ = 0;
};

} // namespace

TEST(Loader, StopsAtCountShortReadOrEndOfData)
{
    BinaryFile none;
    using R = ScriptedReader::Record;
    const std::vector<R> script = {
        {rkHit, true, false, 4000000}, {rkComment, false, false, 0}, {rkTimeMark, true, false, 8000000},
        {rkHit, true, false, 2000000}, {rkOther, false, true, 0},    {rkHit, true, false, 40000000},
    };
    struct Case {
        const char* name;
        std::vector<R> records;
        int count;
        uint32_t slots;
        uint32_t read;
        uint32_t hits;
        double maxTime;
    };
    const Case cases[] = {
        {"end-of-data record is stored and ends the walk", script, 6, 6, 5, 2, 2.0},
        {"the count ends the walk", script, 2, 2, 2, 1, 1.0},
        {"more slots than records", {script.begin(), script.begin() + 3}, 5, 5, 3, 1, 2.0},
        {"negative count", script, -4, 0, 0, 0, 0.0},
    };
    for (const auto& c : cases) {
        ScriptedReader reader(none, c.records, c.count);
        const uint32_t slots = CountRecordSlots(reader);
        ASSERT_EQ(slots, c.slots) << c.name;
        std::vector<LMShortHit> records(slots);
        const LoadStats stats = ReadRecordsInto(reader, records.data(), slots);
        EXPECT_EQ(stats.read, c.read) << c.name;
        EXPECT_EQ(stats.hits, c.hits) << c.name;
        EXPECT_DOUBLE_EQ(stats.maxTime, c.maxTime) << c.name;
        for (uint32_t i = c.read; i < slots; ++i) {
            EXPECT_EQ(records[i].kind, rkEmpty) << c.name << " slot " << i;
            EXPECT_EQ(records[i].channel, 0) << c.name << " slot " << i;
        }
    }
}

TEST(LMShortHitText, TitlesAndValuesInFixedColumns)
{
    std::ostringstream titles;
    LMShortHit::PrintTitles(titles);
    EXPECT_EQ(titles.str(), "   Time (sec.) Chn  Rise Count  Durat  Ener Amp   Freq     Prm");

    LMShortHit hit;
    hit.kind = rkHit;
    hit.time = TickTime::FromValue(6000004); // 1.500001 s
    hit.channel = 3;
    hit.rise = 12;
    hit.counts = 40;
    hit.duration = 800;
    hit.energy = 7;
    hit.amplitude = 65;
    hit.Par1 = 3.5f;
    std::ostringstream values;
    values << std::setprecision(3);
    hit.PrintValues(values);
    EXPECT_EQ(values.str(), "     1.5000010   3    12    40    800     7  65   50.0");
    // The caller's formatting survives.
    values << ' ' << 2.0 / 3.0;
    EXPECT_EQ(values.str().substr(values.str().size() - 6), " 0.667");

    hit.duration = 0; // no frequency without a duration
    std::ostringstream zero;
    hit.PrintValues(zero);
    EXPECT_EQ(zero.str().substr(zero.str().size() - 7), "    0.0");
}

TEST(Loader, EndOfDataEndsTheLoadEvenWhenRecordsFollow)
{
    TempDir dir;
    // DiSP: identification, test abort, then a comment the counting pass still counts.
    Bytes disp = {6, 0, 41, 0, 0, 0, 0, 0, 1, 0, 15, 4, 0, 7, 'a', 'b', 'c'};
    const LoadedDataFile d = LoadDataFile(dir.File("abort.dta", disp));
    EXPECT_EQ(d.type, dtDisp);
    ASSERT_EQ(d.records.size(), 3u);
    EXPECT_EQ(d.stats.read, 2u);
    EXPECT_EQ(d.records[0].kind, rkOther);
    EXPECT_EQ(d.records[1].kind, rkOther);
    EXPECT_EQ(d.records[2].kind, rkEmpty);

    // Spartan: a hit, the end record, and a hit after it that is neither counted nor read.
    Bytes spartan = Spartan();
    spartan.resize(512 + 3 * 32, 0);
    spartan[512 + 64] = 1;
    const LoadedDataFile s = LoadDataFile(dir.File("end.sdt", spartan));
    EXPECT_EQ(s.type, dtSpartan);
    ASSERT_EQ(s.records.size(), 2u);
    EXPECT_EQ(s.stats.read, 2u);
    EXPECT_EQ(s.stats.hits, 1u);
    EXPECT_EQ(s.records[1].kind, rkOther);
}

// Loading in one pass gives the records and counts of counting first and reading then, on
// samples of every format and on a Spartan file whose uncounted record ends the load early.
TEST(Loader, OnePassGivesWhatCountingThenReadingGives)
{
    TempDir dir;
    std::vector<std::string> files;
    for (const char* format : {"ald", "dta", "sdt", "isa"}) {
        files.push_back(dir.Path() + "/sample." + format);
        gen::GenerateSampleFile(format, {300, 4, 7}, files.back());
    }
    Bytes spartan = Spartan();
    spartan.resize(512 + 4 * 32, 0);
    spartan[512 + 32] = 99; // unknown code: read, but not counted
    spartan[512 + 64] = 1;
    spartan[512 + 96] = 1;
    files.push_back(dir.File("unknown.sdt", spartan));

    for (const std::string& path : files) {
        const LoadedDataFile loaded = LoadDataFile(path);
        OpenedDataFile opened = OpenDataFile(path);
        std::vector<LMShortHit> expected(CountRecordSlots(*opened.reader));
        const LoadStats stats = ReadRecordsInto(*opened.reader, expected.data(), uint32_t(expected.size()));
        ASSERT_EQ(loaded.records.size(), expected.size()) << path;
        EXPECT_EQ(std::memcmp(loaded.records.data(), expected.data(), expected.size() * sizeof(LMShortHit)),
                  0)
            << path;
        EXPECT_EQ(loaded.stats.read, stats.read) << path;
        EXPECT_EQ(loaded.stats.hits, stats.hits) << path;
        EXPECT_EQ(loaded.stats.timeMarks, stats.timeMarks) << path;
        EXPECT_EQ(loaded.stats.maxTime, stats.maxTime) << path;
    }
    EXPECT_EQ(LoadDataFile(files.back()).records.size(), 3u) << "the count of known records ends the load";
}

// Every reader's seeks answer the offset the stream is left at.
TEST(Readers, SeeksAnswerTheOffsetOfTheStream)
{
    TempDir dir;
    for (const char* format : {"ald", "dta", "sdt", "isa"}) {
        const std::string path = dir.Path() + "/s." + format;
        gen::GenerateSampleFile(format, {20, 2, 3}, path);
        OpenedDataFile opened = OpenDataFile(path);
        AWDiskFile& reader = *opened.reader;
        ASSERT_TRUE(reader.ReadNext()) << format;
        EXPECT_EQ(reader.SeekBegin(), 0u) << format;
        EXPECT_EQ(reader.File().Tell(), 0u) << format;
        const uint64_t first = reader.SeekFirstRecord();
        EXPECT_EQ(reader.File().Tell(), first) << format;
    }
}
