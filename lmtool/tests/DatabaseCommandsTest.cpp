// lmtool params and filters on LMData databases, run as a program.

#include "lmdata/AFilterDatabase.h"
#include "lmdata/LMDatabase.h"
#include "testsupport/RunProgram.h"
#include "testsupport/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>

namespace {

using Result = lmtest::RunResult;
using lmtest::Quote;

class Lmtool : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (lmtest::LmtoolPath().empty())
            GTEST_SKIP() << "lmtool is not built";
    }

    // Runs lmtool with `args` (already quoted) and the environment prefix `env`.
    Result Run(const std::string& env, const std::string& args) { return lmtest::RunLmtool(args, env); }

    lmtest::TempFolder dir{"lmtool-db"};
};

} // namespace

TEST_F(Lmtool, ParamsCreatesTheDatabaseOnceAndReusesIt)
{
    const std::filesystem::path path = dir / "fresh/x.sqlite";
    const std::string env = "LMDATA=" + Quote(path.string());
    const Result first = Run(env, "params");
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(first.out.rfind("0\tHits\tHits\n1\tTime\tTime\n2\tChannel\tChan\n4\tSequence\tSeq\n", 0), 0u)
        << first.out;
    EXPECT_NE(first.out.find("\n64\tEnergy\tEner\n"), std::string::npos);
    EXPECT_NE(first.out.find("\n32768\tFrequency\tA-Frq\n"), std::string::npos);

    {
        lm::LMDatabase db = lm::LMDatabase::Open(path);
        lm::StoredFilter f;
        f.header.name = "Pump noise";
        lm::AFilterDatabase(db).Insert(f);
    }
    const Result second = Run(env, "params");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, first.out);
    const Result list = Run(env, "filters");
    EXPECT_EQ(list.status, 0) << list.err;
    ASSERT_EQ(list.out.rfind("1\t", 0), 0u) << list.out;
    EXPECT_EQ(list.out.substr(list.out.size() - 12), "\tPump noise\n") << list.out;

    // --db wins over LMDATA.
    const std::filesystem::path other = dir / "other.sqlite";
    const Result overridden = Run(env, "filters --db " + Quote(other.string()));
    EXPECT_EQ(overridden.status, 0) << overridden.err;
    EXPECT_EQ(overridden.out, "");
    EXPECT_TRUE(std::filesystem::exists(other));
}

TEST_F(Lmtool, ParamsOfOneSystem)
{
    const std::string db = "--db " + Quote(dir / "s.sqlite");
    const Result aline = Run("", "params " + db + " --system 'A-Line 32D'");
    ASSERT_EQ(aline.status, 0) << aline.err;
    EXPECT_EQ(aline.out, "1\tTime\tTime\n2\tChannel\tChan\n8\tRiseTime\tRise\n32\tCounts\tCnts\n"
                         "64\tEnergy\tEner\n128\tDuration\tDurat\n256\tAmplitude\tAmp\n");
    const Result shown = Run("", "params " + db + " --system 'Vallen System AMSY'");
    const Result stored = Run("", "params " + db + " --system 'Vallen System AMS'");
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_FALSE(shown.out.empty());
    EXPECT_EQ(shown.out, stored.out);
    const Result unknown = Run("", "params " + db + " --system Nowhere");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("Nowhere"), std::string::npos) << unknown.err;
}

TEST_F(Lmtool, ABrokenDatabaseFileIsReportedWithItsPath)
{
    const std::filesystem::path path = dir / "notes.sqlite";
    std::ofstream(path) << "not a database\n";
    for (const char* command : {"params", "filters"}) {
        const Result r = Run("", std::string(command) + " --db " + Quote(path.string()));
        EXPECT_NE(r.status, 0) << command;
        EXPECT_NE(r.err.find(path.string()), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("not an SQLite database"), std::string::npos) << r.err;
    }
    EXPECT_EQ(lmtest::ReadText(path.string()), "not a database\n");
}
