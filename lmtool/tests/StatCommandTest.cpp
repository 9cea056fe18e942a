// lmtool stat on a small hand-built Spartan file.
#include "testsupport/RunProgram.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Hit = lmtest::SpartanHit;

void WriteSpartan(const std::string& path, const std::vector<Hit>& hits)
{
    lmtest::SpartanBuilder file;
    for (const Hit& h : hits)
        file.Hit(h);
    file.EndOfData();
    lmtest::WriteBytes(path, file.Bytes());
}

using Result = lmtest::RunResult;

class StatCommand : public ::testing::Test {
protected:
    Result Run(const std::string& args) { return lmtest::RunLmtool("stat " + args); }
    lmtest::TempFolder folder_{"lmq-stat"};
    fs::path dir_ = folder_.path();
};

} // namespace

TEST_F(StatCommand, FiveTablesInOrder)
{
    const std::string data = (dir_ / "s.sdt").string();
    WriteSpartan(data, {{1.0, 1, 72, 100, 10, 200, 5},
                        {2.0, 1, 50, 20, 20, 0, 0},
                        {3.0, 3, 99, 1, 1, 1, 1},
                        {70.0, 2, 90, 300, 5, 100, 7}});
    const std::string setup = (dir_ / "setup.ini").string();
    std::ofstream(setup) << "[LMQWIN]\nLmqWin=1\n[Holds]\n0=H1|10|0|100|0|\n";

    // Frame 1: amplitude 60-100 x energy 0-1000; frame 2: amplitude 40-95 x counts 5-20.
    Result r = Run(data + " --setup " + setup +
                   " --channels 1-2 --frame 256:60:100:64:0:1000 --frame 256:40:95:32:5:20");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "== Amplitude Distr.\n"
                     "Chan\tTotal\t>50\t>55\t>60\t>65\t>70\t>80\t>90\n"
                     "Set 1\n1\t1\t1\t1\t1\t1\t1\t-\t-\n2\t1\t1\t1\t1\t1\t1\t1\t-\n"
                     "Set 2\n1\t2\t1\t1\t1\t1\t1\t-\t-\n2\t1\t1\t1\t1\t1\t1\t1\t-\n"
                     "== Statistic Distr.\n"
                     "Chan\tMin\tMax\tTotal\tAverage\n"
                     "Set 1\n"
                     "Amplitude\n1\t72\t72\t72\t72.0\n2\t90\t90\t90\t90.0\n"
                     "Energy\n1\t100\t100\t100\t100.0\n2\t300\t300\t300\t300.0\n"
                     "Counts\n1\t10\t10\t10\t10.0\n2\t5\t5\t5\t5.0\n"
                     "Duration\n1\t200\t200\t200\t200.0\n2\t100\t100\t100\t100.0\n"
                     "RiseTime\n1\t5\t5\t5\t5.0\n2\t7\t7\t7\t7.0\n"
                     "Frequency\n1\t50\t50\t50\t50.0\n2\t50\t50\t50\t50.0\n"
                     "Set 2\n"
                     "Amplitude\n1\t50\t72\t122\t61.0\n2\t90\t90\t90\t90.0\n"
                     "Energy\n1\t20\t100\t120\t60.0\n2\t300\t300\t300\t300.0\n"
                     "Counts\n1\t10\t20\t30\t15.0\n2\t5\t5\t5\t5.0\n"
                     "Duration\n1\t-\t200\t200\t100.0\n2\t100\t100\t100\t100.0\n"
                     "RiseTime\n1\t-\t5\t5\t2.5\n2\t7\t7\t7\t7.0\n"
                     "Frequency\n1\t50\t20000\t20050\t10025.0\n2\t50\t50\t50\t50.0\n"
                     "== MONPAC+\n"
                     "Chan\tEvents\tA>65\tTotDur\tCorrDur\tSev.\tHist.\tHistTm\tZIP\n"
                     "Set 1\n1\t1\t1\t200\tU/C\tN/A\tN/A\tN/A\tN/A\n2\t1\t1\t100\tU/C\tN/A\tN/A\tN/A\tN/A\n"
                     "Set 2\n1\t1\t1\t200\tU/C\tN/A\tN/A\tN/A\tN/A\n2\t1\t1\t100\tU/C\tN/A\tN/A\tN/A\tN/A\n"
                     "N/A - < 10 events, Intensity analysis non applicable\n"
                     "Mnr - Minor activity\n"
                     "U/C - Under construction\n"
                     "== Local/Dynamic\n"
                     "Chan\tEvents\t1stHitTm\tMaxW\tAveW\tMaxW/V\tMaxW/VTm\tAveW/V\tCls\n"
                     "Set 1\n1\t1\t1.0\t0.0\t0.0\t0.0\t0.0\t0.0\t1\n2\t1\t70.0\t0.0\t0.0\t0.0\t0.0\t0.0\t1\n"
                     "Set 2\n1\t2\t1.0\t2.0\t1.0\t0.1\t2.0\t0.1\t1\n2\t1\t70.0\t0.0\t0.0\t0.0\t0.0\t0.0\t1\n"
                     "U/C - Under construction\n"
                     "== Pressure holds\n"
                     "Chan\t10.00\n"
                     "Set 1\n1\t1\n2\t1\n"
                     "Set 2\n1\t1\n2\t1\n"
                     "U/C - Under construction\n");

    // Event view: the second hit (1 ms after the first, inside the MPT) joins the event of
    // the first, so frame 2 takes it but the statistics count only the first hit.
    WriteSpartan(data, {{1.0, 1, 72, 100, 10, 200, 5}, {1.001, 1, 50, 20, 20, 0, 0}});
    r = Run(data + " --events --channels 1 --frame 256:60:100:64:0:1000");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.out.find("Chan\tTotal\t>50\t>55\t>60\t>65\t>70\t>80\t>90\nSet 1\n1\t1\t1\t1\t1\t1\t1\t-\t-\n"),
        std::string::npos)
        << r.out;
}

TEST_F(StatCommand, UnsortedFileInEventViewAndBadArguments)
{
    const std::string data = (dir_ / "u.sdt").string();
    WriteSpartan(
        data, {{1.0, 1, 72, 100, 10, 200, 5}, {5.0, 1, 72, 100, 10, 200, 5}, {2.5, 1, 72, 100, 10, 200, 5}});
    Result r = Run(data + " --events --frame 256:0:255:64:0:65535");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Data file doesn't sorted (2.50 s). Event View is impossible.\n");
    EXPECT_EQ(r.out, "");
    // Without event view the same file is evaluated.
    r = Run(data + " --frame 256:0:255:64:0:65535");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Set 1\n1\t3\t"), std::string::npos);

    EXPECT_NE(Run(data).status, 0) << "a frame is required";
    EXPECT_EQ(Run(data + " --frame 256:0:255").status, 2);
    EXPECT_EQ(Run(data + " --frame 256:0:255:64:0:1 --channels 0-3").status, 2);
    std::ofstream(dir_ / "foreign.ini") << "[Test]\nTestTH=1\n";
    r = Run(data + " --setup " + (dir_ / "foreign.ini").string() + " --frame 256:0:255:64:0:1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Test Setup - unknown format of INI file"), std::string::npos);
    r = Run((dir_ / "missing.sdt").string() + " --frame 256:0:255:64:0:1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Data file doesn't exist"), std::string::npos);
}
