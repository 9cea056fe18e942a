// Loading and saving real files: generated samples of every writable format and a small
// hand-built Spartan file. Saved files are compared byte for byte with a plain copy.

#include "datafiles/DataFileOpen.h"
#include "datafiles/ELMData.h"
#include "lmqwin2/dataset/LMDataSet.h"
#include "samplegen/SampleGen.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace lm {
namespace {

namespace fs = std::filesystem;

using lmtest::ReadBytes;
using lmtest::TempFolder;
using lmtest::WriteBytes;

// A plain reader/writer copy that leaves out the records at the given indices.
std::vector<uint8_t> CopyWithout(const std::string& source, const std::set<size_t>& skipped)
{
    BinaryFile in;
    EXPECT_TRUE(in.Open(source, BinaryFile::Mode::Read));
    std::vector<uint8_t> bytes;
    BinaryFile out;
    out.OpenMemoryWrite(bytes);
    {
        DataCopy copy = OpenDataCopy(in, out);
        EXPECT_TRUE(bool(copy));
        copy.reader->SeekFirstRecord();
        copy.writer->SeekFirstRecord();
        for (size_t i = 0; copy.reader->ReadNext(); ++i)
            if (!skipped.count(i))
                copy.writer->AppendRecord(*copy.reader);
        copy.writer->WriteHeader();
    }
    out.Close();
    return bytes;
}

TEST(LMDataSetFile, LoadsGeneratedSamplesOfEveryFormat)
{
    TempFolder folder;
    for (const char* format : {"sdt", "dta", "ald", "isa"}) {
        SCOPED_TRACE(format);
        const std::string path = folder / (std::string("s.") + format);
        gen::GenerateSampleFile(format, {300, 4, 7}, path);
        LMDataSet data;
        data.Load(path);
        EXPECT_EQ(data.FileName, path);
        EXPECT_EQ(data.HitCount, 300u);
        EXPECT_EQ(data.Records.size(), data.RecordCount);
        EXPECT_GT(data.RecordCount, 300u);
        EXPECT_GT(data.MaxTime, 0.0);
        EXPECT_GT(data.TimeAxisMax, data.MaxTime);
        EXPECT_EQ(data.TimeMarks.size(), data.TimeMarkCount);
        for (size_t i = 1; i < data.TimeMarks.size(); ++i)
            EXPECT_LE(data.TimeMarks[i - 1], data.TimeMarks[i]);
    }
}

// A monitor sees the load's progress and can stop it; a set loaded aside takes the place
// of another one only by Swap.
TEST(LMDataSetFile, MonitoredLoadReportsProgressAndCanBeStopped)
{
    TempFolder folder;
    const std::string path = folder / "big.dta";
    gen::GenerateSampleFile("dta", {150000, 4, 3}, path);

    struct Recording : LoadMonitor {
        std::vector<uint64_t> seen;
        uint64_t size = 0;
        size_t stopAfter = SIZE_MAX;
        bool Continue(uint64_t bytesRead, uint64_t fileSize) override
        {
            seen.push_back(bytesRead);
            size = fileSize;
            return seen.size() <= stopAfter;
        }
    };
    Recording all;
    LMDataSet shown;
    shown.Load(path, &all);
    EXPECT_EQ(shown.HitCount, 150000u);
    // Asked every 65536 records, with the reading position growing through the file.
    ASSERT_GE(all.seen.size(), 3u);
    EXPECT_EQ(all.size, fs::file_size(path));
    for (size_t i = 1; i < all.seen.size(); ++i)
        EXPECT_LT(all.seen[i - 1], all.seen[i]);
    EXPECT_LE(all.seen.back(), all.size);

    Recording stopping;
    stopping.stopAfter = 1;
    LMDataSet aside;
    EXPECT_THROW(aside.Load(path, &stopping), LoadCancelled);
    EXPECT_EQ(stopping.seen.size(), 2u);
    EXPECT_FALSE(aside.IsLoaded());
    EXPECT_TRUE(aside.Records.empty());

    shown.GroupedCount = 7;
    aside.Swap(shown);
    EXPECT_FALSE(shown.IsLoaded());
    EXPECT_EQ(aside.FileName, path);
    EXPECT_EQ(aside.HitCount, 150000u);
    EXPECT_EQ(aside.GroupedCount, 7u);
}

TEST(LMDataSetFile, LoadFailuresLeaveTheSetEmpty)
{
    TempFolder folder;
    LMDataSet data;
    gen::GenerateSampleFile("sdt", {20, 2, 1}, folder / "ok.sdt");
    data.Load(folder / "ok.sdt");
    data.Records[0].SetHitFlags(hfDeleted);
    data.DeletedCount = 1;

    const struct {
        std::string path;
        const char* message;
    } cases[] = {{folder / "missing.dta", "Data file doesn't exist"},
                 {folder / "text.dta", "Unknown data type.."}};
    WriteBytes(folder / "text.dta", std::vector<uint8_t>(600, 'a'));
    for (const auto& c : cases) {
        try {
            data.Load(c.path);
            ADD_FAILURE() << "no exception for " << c.path;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_FALSE(data.IsLoaded());
        EXPECT_EQ(data.RecordCount, 0u);
        EXPECT_EQ(data.DeletedCount, 0u);
        EXPECT_EQ(data.TimeAxisMax, 0.0);
    }
    // The refused file was closed: it can be replaced and opened again.
    fs::copy_file(folder / "ok.sdt", folder / "text.dta", fs::copy_options::overwrite_existing);
    data.Load(folder / "text.dta");
    EXPECT_EQ(data.HitCount, 20u);
    EXPECT_EQ(data.DeletedCount, 0u);
}

TEST(LMDataSetFile, SaveLeavesOutDeletedHitsAndKeepsEverythingElse)
{
    TempFolder folder;
    for (const char* format : {"sdt", "dta", "ald"}) {
        SCOPED_TRACE(format);
        const std::string source = folder / (std::string("src.") + format);
        gen::GenerateSampleFile(format, {1000, 4, 3}, source);
        LMDataSet data;
        data.Load(source);

        // Delete 10 hits spread over the file; group another one (grouped hits are saved).
        std::set<size_t> deleted;
        for (size_t i = 0; i < data.Records.size() && deleted.size() < 10; i += 97)
            if (data.Records[i].kind == rkHit)
                deleted.insert(i);
        ASSERT_EQ(deleted.size(), 10u);
        for (size_t i : deleted)
            data.Records[i].SetHitFlags(hfGrouped);
        data.GroupedCount = 10;
        EXPECT_EQ(data.DeleteGrouped(), 10u);
        for (size_t i = 0; i < data.Records.size(); ++i)
            if (data.Records[i].kind == rkHit && !deleted.count(i)) {
                data.Records[i].SetHitFlags(hfGrouped);
                break;
            }

        const std::string target = folder / (std::string("out.") + format);
        data.Save(target);
        EXPECT_EQ(ReadBytes(target), CopyWithout(source, deleted));

        LMDataSet saved;
        saved.Load(target);
        EXPECT_EQ(saved.HitCount, 990u);
        EXPECT_EQ(saved.DeletedCount, 0u);
        EXPECT_EQ(saved.GroupedCount, 0u);
        EXPECT_EQ(saved.RecordCount, data.RecordCount - 10);
        // Loading into a set with grouped and deleted hits starts from zero counters.
        saved.Records[0].SetHitFlags(hfGrouped);
        saved.GroupedCount = 1;
        saved.DeletedCount = 3;
        saved.FramedCount = 2;
        saved.Load(target);
        EXPECT_EQ(saved.GroupedCount + saved.DeletedCount + saved.FramedCount, 0u);
        EXPECT_EQ(saved.Records[0].HitFlags(), 0u);
        // Saving changes nothing in the set; a second save writes the same bytes.
        EXPECT_EQ(data.FileName, source);
        EXPECT_EQ(data.DeletedCount, 10u);
        data.Save(target);
        EXPECT_EQ(ReadBytes(target), CopyWithout(source, deleted));
    }
}

TEST(LMDataSetFile, SaveRefusalsWriteNothing)
{
    TempFolder folder;
    gen::GenerateSampleFile("sdt", {50, 2, 1}, folder / "a.sdt");
    gen::GenerateSampleFile("isa", {50, 2, 1}, folder / "b.isa");
    const std::vector<uint8_t> keep = {'k', 'e', 'e', 'p'};
    WriteBytes(folder / "target", keep);

    LMDataSet empty;
    EXPECT_THROW(empty.Save(folder / "target"), std::runtime_error);

    LMDataSet isa;
    isa.Load(folder / "b.isa");
    EXPECT_EQ(isa.FileType, dtAlineIsa);
    EXPECT_THROW(isa.Save(folder / "target"), std::runtime_error);

    LMDataSet spartan;
    spartan.Load(folder / "a.sdt");
    const std::vector<uint8_t> source = ReadBytes(folder / "a.sdt");
    // The source itself, also under another spelling of its path.
    EXPECT_THROW(spartan.Save(folder / "a.sdt"), std::runtime_error);
    EXPECT_THROW(spartan.Save(folder / "./a.sdt"), std::runtime_error);
    EXPECT_EQ(ReadBytes(folder / "a.sdt"), source);
    // A folder that does not exist.
    EXPECT_THROW(spartan.Save(folder / "no/such/file"), std::runtime_error);

    // The source vanished after loading.
    fs::rename(folder / "a.sdt", folder / "moved.sdt");
    EXPECT_THROW(spartan.Save(folder / "target"), std::runtime_error);

    EXPECT_EQ(ReadBytes(folder / "target"), keep);
    // No temporary file is left behind.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder / ""))
        ++files;
    EXPECT_EQ(files, 3u); // b.isa, target, moved.sdt
}

TEST(LMDataSetFile, UnsortedFileInEventView)
{
    TempFolder folder;
    const std::string path = folder / "unsorted.dta";
    WriteBytes(
        path,
        lmtest::SpartanBuilder().Hit(1.0, 50).Hit(3.0, 50).Hit(2.5, 50).Hit(4.0, 50).EndOfData().Bytes());
    LMDataSet data;
    data.Load(path);
    ASSERT_EQ(data.HitCount, 4u);
    EXPECT_DOUBLE_EQ(data.MaxTime, 4.0);
    data.ResetEvents(100, 1000);
    EXPECT_EQ(data.ClassifyEvent(data.Records[0]), ecNewEvent);
    EXPECT_EQ(data.ClassifyEvent(data.Records[1]), ecNewEvent);
    try {
        data.ClassifyEvent(data.Records[2]);
        FAIL() << "no exception";
    } catch (const ELMData& error) {
        EXPECT_EQ(error.Code, kErrNotSorted);
    }
    EXPECT_DOUBLE_EQ(data.NotSortedTime, 2.5);
}

} // namespace
} // namespace lm
