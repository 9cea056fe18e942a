// lmtool filter, run as a program.

#include "lmfwin/filter/FilterMessages.h"
#include "testsupport/RunProgram.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lm {
namespace {

using lmtest::ReadBytes;
using lmtest::ReadText;
using lmtest::SpartanBuilder;
using lmtest::SpartanHitAmplitudes;
using lmtest::TempFolder;
using Output = lmtest::RunResult;

// Runs lmtool filter with the arguments (already quoted) and the folder's own database.
Output Lmtool(const TempFolder& dir, const std::string& args)
{
    return lmtest::RunLmtool("filter --db " + lmtest::Quote(dir / "lm.sqlite") + " " + args);
}

std::string Q(const std::string& path)
{
    return "'" + path + "'";
}

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

const char* const kBand = "[Filter]\nName=band\n[A]\nAnd=1\n1=Amplitude|40|60\n[Expressions]\n1=A\n";

class FilterCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (lmtest::LmtoolPath().empty())
            GTEST_SKIP() << "the path of lmtool is not known";
        dir.TextFile("band.ini", kBand);
        dir.File("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(1.1, 70).Hit(1.2, 45).EndOfData().Bytes());
    }
    TempFolder dir{"lmtool-filter"};
};

TEST_F(FilterCli, ResultOnStdoutAndProtocolInTheReportFolder)
{
    const Output o = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " --report-dir " + Q(dir.Path()) +
                                     " " + Q(dir / "s.dta") + " " + Q(dir / "p.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "Results :  \tФильтрация успешно завершена.\n"
                     "Handling\t    4 records\n"
                     "Accepted\t    3 records\n"
                     "Deleted\t    1 records\n");
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{50, 45}));
    const std::string protocol = ReadText(dir / "Protocol.txt");
    EXPECT_NE(protocol.find("\t\tband\n"), std::string::npos);
    EXPECT_NE(protocol.find("Окно A - Объединение записей по [AND]\n\tAmplitude\t40\t60\n"),
              std::string::npos);

    // Without --report-dir no entry is written.
    std::filesystem::remove(dir / "Protocol.txt");
    Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " " + Q(dir / "s.dta") + " " + Q(dir / "q.dta"));
    EXPECT_TRUE(Exists(dir / "q.dta"));
    EXPECT_FALSE(Exists(dir / "Protocol.txt"));

    // An empty report folder asked for: the result, then the error; the post file stays.
    const Output empty = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " --report-dir '' " +
                                         Q(dir / "s.dta") + " " + Q(dir / "r.dta"));
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out.rfind("Results :  \t", 0), 0u) << empty.out;
    EXPECT_EQ(empty.err, std::string(FilterMessage(kMsgNoReportFolder)) + "\n");
    EXPECT_TRUE(Exists(dir / "r.dta"));
    EXPECT_FALSE(Exists(dir / "Protocol.txt"));
}

TEST_F(FilterCli, IntoTheSourceOnlyWithYes)
{
    const auto original = ReadBytes(dir / "s.dta");
    Output o = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " " + Q(dir / "s.dta"));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, std::string(FilterMessage(818)) + "\n");
    EXPECT_EQ(ReadBytes(dir / "s.dta"), original);
    EXPECT_FALSE(Exists(dir / "s.BAK"));

    o = Lmtool(dir, "--yes --filter-file " + Q(dir / "band.ini") + " " + Q(dir / "s.dta") + " " +
                        Q(dir / "s.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadBytes(dir / "s.BAK"), original);
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "s.dta")), (std::vector<int>{50, 45}));
}

TEST_F(FilterCli, FaultsGoToStderr)
{
    dir.TextFile("bad.ini", "[A]\n1=Amplitude||60\n[Expressions]\n1=A\n");
    Output o =
        Lmtool(dir, "--filter-file " + Q(dir / "bad.ini") + " " + Q(dir / "s.dta") + " " + Q(dir / "p.dta"));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Окно A Запись 1\n" + std::string(FilterMessage(804)) + "\n");
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(Exists(dir / "p.dta"));

    o = Lmtool(dir,
               "--filter-file " + Q(dir / "band.ini") + " " + Q(dir / "none.dta") + " " + Q(dir / "p.dta"));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, std::string(FilterMessage(815)) + "\n");
}

TEST_F(FilterCli, ManySourcesInOneCall)
{
    dir.File("t.dta", SpartanBuilder().Hit(1.0, 41).Hit(1.1, 99).EndOfData().Bytes());
    std::filesystem::create_directories(dir / "out");
    Output o = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " --out-dir " + Q(dir / "out") + " " +
                               Q(dir / "s.dta") + " " + Q(dir / "t.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "out/s.dta")), (std::vector<int>{50, 45}));
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "out/t.dta")), (std::vector<int>{41}));

    // Pairs; one failing pair does not stop the others but sets the status.
    o = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " " + Q(dir / "none.dta") + " " +
                        Q(dir / "a.dta") + " " + Q(dir / "t.dta") + " " + Q(dir / "b.dta"));
    EXPECT_EQ(o.status, 1);
    EXPECT_FALSE(Exists(dir / "a.dta"));
    EXPECT_TRUE(Exists(dir / "b.dta"));

    // Two sources of one name into one folder would leave only the second result: refused
    // before anything is written.
    std::filesystem::create_directories(dir / "other");
    dir.File("other/s.dta", SpartanBuilder().Hit(1.0, 55).EndOfData().Bytes());
    std::filesystem::create_directories(dir / "out2");
    o = Lmtool(dir, "--filter-file " + Q(dir / "band.ini") + " --out-dir " + Q(dir / "out2") + " " +
                        Q(dir / "s.dta") + " " + Q(dir / "other/s.dta"));
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("same post file"), std::string::npos) << o.err;
    EXPECT_FALSE(Exists(dir / "out2/s.dta"));
}

TEST_F(FilterCli, StoredFiltersImportExportAndRun)
{
    dir.TextFile("full.ini", "[Filter]\nName=stored one\nType=Excluded\nTreatment=Events\nMPT=100\nLOCK=200\n"
                             "DeleteParametric=1\n[B]\n1=Amplitude|65|99.5\n2=Counts|5|10\n"
                             "[D]\nAnd=1\n1=Amplitude|>=|0.5|Counts|100\n[Expressions]\n1=B|D\n3=b\n");
    Output o = Lmtool(dir, "--import " + Q(dir / "full.ini"));
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string fid = o.out.substr(0, o.out.find('\n'));

    o = Lmtool(dir, "--export " + fid);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "[Filter]\nName=stored one\nType=Excluded\nTreatment=Events\nMPT=100\nLOCK=200\n"
                     "Forward=\nBack=\nDeleteParametric=1\nSmartEndOfTime=0\n" // no DeleteTR given
                     "\n[A]\nAnd=0\n1=||\n"
                     "\n[B]\nAnd=0\n1=Amplitude|65|99.5\n2=Counts|5|10\n"
                     "\n[C]\nAnd=0\n1=||\n"
                     "\n[D]\nAnd=1\n1=Amplitude|>=|0.5|Counts|100\n"
                     "\n[Expressions]\n1=B|D\n3=b\n");

    // Run by name: excluded, events; every hit is its own event and B drops the 70 dB one.
    o = Lmtool(dir, "--filter 'stored one' " + Q(dir / "s.dta") + " " + Q(dir / "p.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{50, 45}));

    // A filter that does not validate is not stored.
    dir.TextFile("bad.ini", "[A]\n1=Nothing|1|2\n[Expressions]\n1=A\n");
    o = Lmtool(dir, "--import " + Q(dir / "bad.ini"));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Окно A Запись 1\n" + std::string(FilterMessage(kMsgUnknownParameter)) + "'Nothing'\n");
    o = Lmtool(dir, "--export 2");
    EXPECT_EQ(o.status, 1);
}

TEST_F(FilterCli, ExpressionThatDoesNotReadAsTypedWarnsOrFailsUnderStrict)
{
    dir.TextFile("and.ini", "[A]\n1=Amplitude|40|60\n[B]\n1=Amplitude|0|46\n[Expressions]\n1=A and B\n");
    const std::string warning = "\"A and B\" is read as \"A\" (ignored: \"and\", \"B\")";

    // A warning on stderr; the run goes on with the expression as read, its output unchanged.
    Output o =
        Lmtool(dir, "--filter-file " + Q(dir / "and.ini") + " " + Q(dir / "s.dta") + " " + Q(dir / "p.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "lmtool filter: warning: " + warning + "\n");
    EXPECT_EQ(o.out.rfind("Results :  \t", 0), 0u) << o.out;
    EXPECT_EQ(SpartanHitAmplitudes(ReadBytes(dir / "p.dta")), (std::vector<int>{50, 45}));

    // --strict refuses before anything is written.
    o = Lmtool(dir, "--strict --filter-file " + Q(dir / "and.ini") + " " + Q(dir / "s.dta") + " " +
                        Q(dir / "q.dta"));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "lmtool filter: " + warning + "; refused under --strict\n");
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(Exists(dir / "q.dta"));

    // An expression that reads as typed passes --strict without a word.
    o = Lmtool(dir, "--strict --filter-file " + Q(dir / "band.ini") + " " + Q(dir / "s.dta") + " " +
                        Q(dir / "q.dta"));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.err.empty()) << o.err;
}

} // namespace
} // namespace lm
