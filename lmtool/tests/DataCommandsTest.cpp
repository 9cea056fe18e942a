// The data-file commands of lmtool, run as a separate program: generated files, copies,
// loading, value walks, listings, recognition by content and the failure texts.

#include "datafiles/ByteOrder.h"
#include "testsupport/RunProgram.h"
#include "testsupport/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

using Result = lmtest::RunResult;
using lmtest::ReadBytes;
using lmtest::ReadText;
using lmtest::WriteBytes;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class Lmtool : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_ / name; }

    Result Run(const std::string& args) const { return lmtest::RunLmtool(args); }

    lmtest::TempFolder folder_{"lmtool-test"};

    std::string Gen(const std::string& format, int hits, const std::string& name, int seed = 7) const
    {
        const std::string path = Path(name);
        const Result r = Run("gen --format " + format + " --hits " + std::to_string(hits) +
                             " --channels 4 --seed " + std::to_string(seed) + " '" + path + "'");
        EXPECT_EQ(r.status, 0) << r.err;
        return path;
    }

    std::string dir_ = folder_.Path();
};

const char* const kWritable[] = {"ald", "dta", "sdt"};
const char* const kAllFormats[] = {"ald", "dta", "sdt", "isa"};

TEST_F(Lmtool, CopyOfAGeneratedFileIsByteIdentical)
{
    for (const char* format : kWritable) {
        const std::string source = Gen(format, 400, std::string("src.") + format);
        const std::string target = Path(std::string("copy.") + format);
        const Result r = Run("copy '" + source + "' '" + target + "'");
        ASSERT_EQ(r.status, 0) << format << ": " << r.err;
        EXPECT_EQ(r.out, "");
        const Bytes original = ReadBytes(source);
        EXPECT_GT(original.size(), 400u) << format;
        EXPECT_TRUE(ReadBytes(target) == original) << format << ": the copy differs from its source";
    }
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"copy.ald", "copy.dta", "copy.sdt", "src.ald",
                                                           "src.dta", "src.sdt"}));
}

TEST_F(Lmtool, CopyRewritesInconsistentHeaderCounts)
{
    struct Case {
        const char* format;
        size_t offset; // a header count the writer recomputes
    };
    for (const Case c : {Case{"ald", 3916}, Case{"sdt", 0}, Case{"sdt", 16}}) {
        const std::string source = Gen(c.format, 50, std::string("good.") + c.format);
        Bytes damaged = ReadBytes(source);
        ASSERT_GT(damaged.size(), c.offset + 4);
        lm::write_u32le(damaged.data() + c.offset, lm::read_u32le(damaged.data() + c.offset) + 7);
        WriteBytes(Path("bad"), damaged);
        const Result r = Run("copy '" + Path("bad") + "' '" + Path("fixed") + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(ReadBytes(Path("fixed")) == ReadBytes(source)) << c.format << " offset " << c.offset;
    }
}

TEST_F(Lmtool, CopyRefusesWithoutTouchingTheTarget)
{
    const std::string isa = Gen("isa", 20, "a.isa");
    const std::string ald = Gen("ald", 20, "a.ald");
    WriteBytes(Path("target"), Bytes{'o', 'l', 'd'});
    WriteBytes(Path("text"), Bytes(600, 'a'));
    const Bytes aldBefore = ReadBytes(ald);
    struct Case {
        std::string args;
        std::string err;
    };
    const Case cases[] = {
        {"'" + isa + "' '" + Path("target") + "'", "Aline ISA files cannot be written\n"},
        {"'" + Path("text") + "' '" + Path("target") + "'", "Unknown data type..\n"},
        {"'" + Path("missing") + "' '" + Path("target") + "'", "Data file doesn't exist\n"},
        {"'" + ald + "' '" + ald + "'", "The target is the source file itself; it is never overwritten\n"},
        {"'" + ald + "' '" + dir_ + "/./a.ald'",
         "The target is the source file itself; it is never overwritten\n"},
    };
    for (const auto& c : cases) {
        const Result r = Run("copy " + c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    EXPECT_EQ(ReadText(Path("target")), "old");
    EXPECT_TRUE(ReadBytes(ald) == aldBefore);
    const Result intoMissingFolder = Run("copy '" + ald + "' '" + Path("no/such/folder.ald") + "'");
    EXPECT_EQ(intoMissingFolder.status, 1);
    EXPECT_NE(intoMissingFolder.err, "");
    EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"a.ald", "a.isa", "target", "text"}));
}

TEST_F(Lmtool, DumpIsStableAndHasOneRowPerRecord)
{
    for (const char* format : kAllFormats) {
        const std::string file = Gen(format, 300, std::string("d.") + format);
        const Result first = Run("dump '" + file + "'");
        ASSERT_EQ(first.status, 0) << format << ": " << first.err;
        const Result second = Run("dump '" + file + "'");
        EXPECT_EQ(first.out, second.out) << format;
        const auto rows = Lines(first.out);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0], "index,kind,ticks,channel,amplitude,rise,counts,energy,duration,par1");

        // Generated files are consistent: the walk delivers as many records as were counted,
        // exactly the requested hits, in time order.
        const auto valueRows = Lines(Run("values '" + file + "'").out);
        EXPECT_EQ(rows.size(), valueRows.size()) << format;
        size_t hits = 0;
        unsigned long long lastHit = 0;
        for (size_t i = 1; i < rows.size(); ++i) {
            unsigned long index = 0, kind = 0, channel = 0;
            unsigned long long ticks = 0;
            ASSERT_EQ(std::sscanf(rows[i].c_str(), "%lu,%lu,%llu,%lu,", &index, &kind, &ticks, &channel), 4)
                << rows[i];
            EXPECT_EQ(index, i - 1);
            EXPECT_LT(kind, 8u) << format << " row " << i << ": every slot is filled";
            if (kind == 0) {
                ++hits;
                EXPECT_GE(ticks, lastHit) << format << " row " << i;
                EXPECT_GE(channel, 1u);
                EXPECT_LE(channel, 4u);
                lastHit = ticks;
            }
        }
        EXPECT_EQ(hits, 300u) << format;
    }
}

TEST_F(Lmtool, GenIsReproducibleFromItsSeed)
{
    for (const char* format : kAllFormats) {
        const Bytes a = ReadBytes(Gen(format, 100, "a", 3));
        const Bytes b = ReadBytes(Gen(format, 100, "b", 3));
        const Bytes c = ReadBytes(Gen(format, 100, "c", 4));
        EXPECT_TRUE(a == b) << format;
        EXPECT_FALSE(a == c) << format;
    }
}

TEST_F(Lmtool, GenRejectsBadOptions)
{
    for (const std::string args :
         {"--format xyz --hits 5 F", "--format dta F", "--format dta --hits 5",
          "--format dta --hits 5 --channels 0 F", "--format isa --hits 5 --channels 33 F",
          "--format ald --hits 5 --channels 129 F"}) {
        std::string withPath = args;
        if (withPath.back() == 'F')
            withPath.replace(withPath.size() - 1, 1, "'" + Path("f") + "'");
        const Result r = Run("gen " + withPath);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.err, "") << args;
    }
    EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(Lmtool, ValuesWalkPrintsPredicatesAndValues)
{
    const std::string file = Gen("sdt", 30, "v.sdt");
    const Result r = Run("values '" + file + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = Lines(r.out);
    ASSERT_GT(rows.size(), 31u);
    EXPECT_EQ(rows[0],
              "index,hit,param,timed,end,time,p1,p2,p4,p8,p16,p32,p64,p128,p256,p512,p1024,p2048,p4096,"
              "p8192,p32768");
    // The walk ends with the end-of-data record.
    EXPECT_EQ(rows.back().substr(rows.back().find(',') + 1, 8), "0,0,0,1,");
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(std::count(rows[i].begin(), rows[i].end(), ','), 20) << rows[i];
}

TEST_F(Lmtool, FailuresGoToStderrWithStatusOne)
{
    WriteBytes(Path("text.dta"), Bytes(600, 'a'));
    for (const char* command : {"info", "dump", "values", "list"}) {
        const Result missing = Run(std::string(command) + " '" + Path("missing.dta") + "'");
        EXPECT_EQ(missing.status, 1) << command;
        EXPECT_EQ(missing.out, "") << command;
        EXPECT_EQ(missing.err, "Data file doesn't exist\n") << command;
        const Result unknown = Run(std::string(command) + " '" + Path("text.dta") + "'");
        EXPECT_EQ(unknown.status, 1) << command;
        EXPECT_EQ(unknown.out, "") << command;
        EXPECT_EQ(unknown.err, "Unknown data type..\n") << command;
        const Result noFile = Run(command);
        EXPECT_NE(noFile.status, 0) << command;
        EXPECT_NE(noFile.err, "") << command;
    }
}

TEST_F(Lmtool, EveryCommandHasHelp)
{
    for (const char* command : {"info", "dump", "values", "list", "copy", "gen"}) {
        const Result r = Run(std::string(command) + " --help");
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find("lmtool " + std::string(command)), std::string::npos) << r.out;
    }
}

TEST_F(Lmtool, InfoRecognisesByContentNotByName)
{
    const std::string disp = Gen("dta", 10, "disp.dta");
    const std::string spartan = Gen("sdt", 10, "spartan.dta");
    const std::string ald = Gen("ald", 10, "renamed.dta");
    const std::string isa = Gen("isa", 10, "isa.ALD");
    WriteBytes(Path("tiny.dta"), Bytes{4, 0, 41, 0});
    const std::string dispReport = "Data type: Locan AT/Spartan AT/Spartan 2000/Disp/Mistras\n";
    EXPECT_EQ(Run("info '" + disp + "'").out, dispReport);
    EXPECT_EQ(Run("info '" + Path("tiny.dta") + "'").out, dispReport);
    EXPECT_EQ(Run("info '" + ald + "'").out, "Data type: Aline PCI\n");
    EXPECT_EQ(Run("info '" + isa + "'").out, "Data type: Aline ISA\n");
    const Result s = Run("info '" + spartan + "'");
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out.rfind("Data type: Spartan 3000\nTest Label\t\t: ", 0), 0u) << s.out;
    EXPECT_EQ(s.out.substr(s.out.size() - 2), "\n\n") << "the summary ends with an empty line";

    // A Spartan header turned into text throughout is no longer Spartan.
    Bytes text = ReadBytes(spartan);
    for (size_t i = 0; i < 512; ++i)
        if (text[i] < 0x20 || text[i] > 0x7E)
            text[i] = i == 46 ? '!' : 'x';
    WriteBytes(Path("text.dta"), text);
    const Result t = Run("info '" + Path("text.dta") + "'");
    EXPECT_EQ(t.status, 1);
    EXPECT_EQ(t.err, "Unknown data type..\n");
}

TEST_F(Lmtool, ListPrintsTheFormatsOwnListing)
{
    struct Case {
        const char* format;
        const char* start;
    };
    for (const Case c : {Case{"ald", "- ALNTestParam - Aline test parameters, size = 3960"},
                         Case{"dta", "ID =  41  Length = "}, Case{"sdt", "Test Label\t\t: "}}) {
        const Result r = Run("list '" + Gen(c.format, 20, std::string("l.") + c.format) + "'");
        EXPECT_EQ(r.status, 0) << c.format << ": " << r.err;
        EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << c.format << ":\n" << r.out.substr(0, 200);
        EXPECT_GT(Lines(r.out).size(), 20u) << c.format;
    }
    const Result isa = Run("list '" + Gen("isa", 20, "l.isa") + "'");
    EXPECT_EQ(isa.status, 1);
    EXPECT_EQ(isa.out, "");
    EXPECT_EQ(isa.err, "The Aline ISA format has no listing\n");
}

// A minimal A-Line ISA file: a hit on channel index 0 with amplitude 1000 ADC units, then a
// calibration record raising that channel's gain code from the default 35 to 40.
Bytes IsaWithLateCalibration()
{
    Bytes b(3948, 0);
    lm::write_u32le(b.data() + 12, 43521);
    lm::write_u32le(b.data() + 3844, 0x1313CFCF);
    Bytes hit(12 + 32, 0);
    lm::write_u32le(hit.data(), 0);
    lm::write_u32le(hit.data() + 4, 1);
    lm::write_u16le(hit.data() + 12 + 2, 1000);
    Bytes calibration(12 + 16, 0);
    lm::write_u32le(calibration.data(), 1);
    lm::write_u32le(calibration.data() + 4, 2);
    lm::write_u32le(calibration.data() + 12, 2); // sub-type 2 is applied
    lm::write_u16le(calibration.data() + 16 + 2, 5);
    calibration[16 + 7] = 40;
    b.insert(b.end(), hit.begin(), hit.end());
    b.insert(b.end(), calibration.begin(), calibration.end());
    return b;
}

TEST_F(Lmtool, IsaCalibrationDumpUsesTheWholeFileValuesTheCalibrationReadSoFar)
{
    WriteBytes(Path("cal.isa"), IsaWithLateCalibration());
    // 20 log10(1000) + 20 log10(2.442) + gain code x 0.375: 80.88 dB at code 35, 82.75 dB at 40.
    const auto dump = Lines(Run("dump '" + Path("cal.isa") + "'").out);
    ASSERT_EQ(dump.size(), 3u);
    EXPECT_EQ(dump[1], "0,0,4000000,1,82,0,0,0,0,0");
    EXPECT_EQ(dump[2].substr(0, 4), "1,7,");
    const auto values = Lines(Run("values '" + Path("cal.isa") + "'").out);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1], "0,1,0,1,0,1,1,1,0,0,0,0,0,0,80,0,0,0,0,0,0");
}

} // namespace
