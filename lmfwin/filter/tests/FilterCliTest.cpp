// lmtool filter, run as a program (its path comes in the LMTOOL variable).

#include "Fixtures.h"
#include "lmfwin/filter/FilterMessages.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace lm {
namespace {

using test::ScratchFolder;
using test::SpartanBuilder;
using test::SpartanHitAmplitudes;

struct Output {
    int status = -1;
    std::string out;
    std::string err;
};

const char* LmtoolPath()
{
    if (const char* tool = std::getenv("LMTOOL"); tool && *tool)
        return tool;
#ifdef LMTOOL_PATH
    return LMTOOL_PATH;
#else
    return nullptr;
#endif
}

// Runs lmtool with the arguments (already quoted) and the scratch folder's own database.
Output Lmtool(const ScratchFolder& dir, const std::string& args)
{
    const char* tool = LmtoolPath();
    if (!tool)
        return {};
    const std::string errFile = dir.Path("stderr.txt");
    const std::string command = "'" + std::string(tool) + "' filter --db '" + dir.Path("lm.sqlite") + "' " +
                                args + " 2>'" + errFile + "'";
    Output o;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        o.out.append(buffer.data(), n);
    const int raw = ::pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.err = dir.ReadText("stderr.txt");
    std::filesystem::remove(errFile);
    return o;
}

std::string Q(const std::string& path)
{
    return "'" + path + "'";
}

void WriteText(const ScratchFolder& dir, const std::string& name, const std::string& text)
{
    dir.Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

const char* const kBand = "[Filter]\nName=band\n[A]\nAnd=1\n1=Amplitude|40|60\n[Expressions]\n1=A\n";

class FilterCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!LmtoolPath())
            GTEST_SKIP() << "the path of lmtool is not known";
        WriteText(dir, "band.ini", kBand);
        dir.Write("s.dta", SpartanBuilder().Hit(1.0, 50).Hit(1.1, 70).Hit(1.2, 45).EndOfData().Bytes());
    }
    ScratchFolder dir;
};

TEST_F(FilterCli, ResultOnStdoutAndProtocolInTheReportFolder)
{
    const Output o =
        Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " --report-dir " + Q(dir.Folder()) + " " +
                        Q(dir.Path("s.dta")) + " " + Q(dir.Path("p.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "Results :  \tФильтрация успешно завершена.\n"
                     "Handling\t    4 records\n"
                     "Accepted\t    3 records\n"
                     "Deleted\t    1 records\n");
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("p.dta")), (std::vector<int>{50, 45}));
    const std::string protocol = dir.ReadText("Protocol.txt");
    EXPECT_NE(protocol.find("\t\tband\n"), std::string::npos);
    EXPECT_NE(protocol.find("Окно A - Объединение записей по [AND]\n\tAmplitude\t40\t60\n"),
              std::string::npos);

    // Without --report-dir no entry is written.
    std::filesystem::remove(dir.Path("Protocol.txt"));
    Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                    Q(dir.Path("q.dta")));
    EXPECT_TRUE(dir.Exists("q.dta"));
    EXPECT_FALSE(dir.Exists("Protocol.txt"));

    // An empty report folder asked for: the result, then the error; the post file stays.
    const Output empty = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " --report-dir '' " +
                                         Q(dir.Path("s.dta")) + " " + Q(dir.Path("r.dta")));
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out.rfind("Results :  \t", 0), 0u) << empty.out;
    EXPECT_EQ(empty.err, std::string(FilterMessage(kMsgNoReportFolder)) + "\n");
    EXPECT_TRUE(dir.Exists("r.dta"));
    EXPECT_FALSE(dir.Exists("Protocol.txt"));
}

TEST_F(FilterCli, IntoTheSourceOnlyWithYes)
{
    const auto original = dir.Read("s.dta");
    Output o = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("s.dta")));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, std::string(FilterMessage(818)) + "\n");
    EXPECT_EQ(dir.Read("s.dta"), original);
    EXPECT_FALSE(dir.Exists("s.BAK"));

    o = Lmtool(dir, "--yes --filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                        Q(dir.Path("s.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(dir.Read("s.BAK"), original);
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("s.dta")), (std::vector<int>{50, 45}));
}

TEST_F(FilterCli, FaultsGoToStderr)
{
    WriteText(dir, "bad.ini", "[A]\n1=Amplitude||60\n[Expressions]\n1=A\n");
    Output o = Lmtool(dir, "--filter-file " + Q(dir.Path("bad.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                               Q(dir.Path("p.dta")));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Окно A Запись 1\n" + std::string(FilterMessage(804)) + "\n");
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(dir.Exists("p.dta"));

    o = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("none.dta")) + " " +
                        Q(dir.Path("p.dta")));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, std::string(FilterMessage(815)) + "\n");
}

TEST_F(FilterCli, ManySourcesInOneCall)
{
    dir.Write("t.dta", SpartanBuilder().Hit(1.0, 41).Hit(1.1, 99).EndOfData().Bytes());
    std::filesystem::create_directories(dir.Path("out"));
    Output o = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " --out-dir " + Q(dir.Path("out")) +
                               " " + Q(dir.Path("s.dta")) + " " + Q(dir.Path("t.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("out/s.dta")), (std::vector<int>{50, 45}));
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("out/t.dta")), (std::vector<int>{41}));

    // Pairs; one failing pair does not stop the others but sets the status.
    o = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("none.dta")) + " " +
                        Q(dir.Path("a.dta")) + " " + Q(dir.Path("t.dta")) + " " + Q(dir.Path("b.dta")));
    EXPECT_EQ(o.status, 1);
    EXPECT_FALSE(dir.Exists("a.dta"));
    EXPECT_TRUE(dir.Exists("b.dta"));

    // Two sources of one name into one folder would leave only the second result: refused
    // before anything is written.
    std::filesystem::create_directories(dir.Path("other"));
    dir.Write("other/s.dta", SpartanBuilder().Hit(1.0, 55).EndOfData().Bytes());
    std::filesystem::create_directories(dir.Path("out2"));
    o = Lmtool(dir, "--filter-file " + Q(dir.Path("band.ini")) + " --out-dir " + Q(dir.Path("out2")) + " " +
                        Q(dir.Path("s.dta")) + " " + Q(dir.Path("other/s.dta")));
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("same post file"), std::string::npos) << o.err;
    EXPECT_FALSE(dir.Exists("out2/s.dta"));
}

TEST_F(FilterCli, StoredFiltersImportExportAndRun)
{
    WriteText(dir, "full.ini",
              "[Filter]\nName=stored one\nType=Excluded\nTreatment=Events\nMPT=100\nLOCK=200\n"
              "DeleteParametric=1\n[B]\n1=Amplitude|65|99.5\n2=Counts|5|10\n"
              "[D]\nAnd=1\n1=Amplitude|>=|0.5|Counts|100\n[Expressions]\n1=B|D\n3=b\n");
    Output o = Lmtool(dir, "--import " + Q(dir.Path("full.ini")));
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
    o = Lmtool(dir, "--filter 'stored one' " + Q(dir.Path("s.dta")) + " " + Q(dir.Path("p.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("p.dta")), (std::vector<int>{50, 45}));

    // A filter that does not validate is not stored.
    WriteText(dir, "bad.ini", "[A]\n1=Nothing|1|2\n[Expressions]\n1=A\n");
    o = Lmtool(dir, "--import " + Q(dir.Path("bad.ini")));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "Окно A Запись 1\n" + std::string(FilterMessage(kMsgUnknownParameter)) + "'Nothing'\n");
    o = Lmtool(dir, "--export 2");
    EXPECT_EQ(o.status, 1);
}

TEST_F(FilterCli, ExpressionThatDoesNotReadAsTypedWarnsOrFailsUnderStrict)
{
    WriteText(dir, "and.ini", "[A]\n1=Amplitude|40|60\n[B]\n1=Amplitude|0|46\n[Expressions]\n1=A and B\n");
    const std::string warning = "\"A and B\" is read as \"A\" (ignored: \"and\", \"B\")";

    // A warning on stderr; the run goes on with the expression as read, its output unchanged.
    Output o = Lmtool(dir, "--filter-file " + Q(dir.Path("and.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                               Q(dir.Path("p.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "lmtool filter: warning: " + warning + "\n");
    EXPECT_EQ(o.out.rfind("Results :  \t", 0), 0u) << o.out;
    EXPECT_EQ(SpartanHitAmplitudes(dir.Read("p.dta")), (std::vector<int>{50, 45}));

    // --strict refuses before anything is written.
    o = Lmtool(dir, "--strict --filter-file " + Q(dir.Path("and.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                        Q(dir.Path("q.dta")));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "lmtool filter: " + warning + "; refused under --strict\n");
    EXPECT_TRUE(o.out.empty());
    EXPECT_FALSE(dir.Exists("q.dta"));

    // An expression that reads as typed passes --strict without a word.
    o = Lmtool(dir, "--strict --filter-file " + Q(dir.Path("band.ini")) + " " + Q(dir.Path("s.dta")) + " " +
                        Q(dir.Path("q.dta")));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(o.err.empty()) << o.err;
}

} // namespace
} // namespace lm
