// Filters stored in LMData through lmtool: "Delete TR" survives import, export and a run by
// FID; a read-only database still serves every command that only reads.

#include "testsupport/DispBuilder.h"
#include "testsupport/RunProgram.h"
#include "testsupport/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Result = lmtest::RunResult;
using lmtest::DispIds;
using lmtest::ReadBytes;
using lmtest::ReadText;

// A DiSP message stream: the hardware setup, two hits and a TR record between them.
std::vector<uint8_t> DispWithTR()
{
    return lmtest::DispBuilder().Hit(1.0, 50).TR().Hit(1.1, 55).Bytes();
}

class FilterStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (lmtest::LmtoolPath().empty())
            GTEST_SKIP() << "lmtool is not built";
        fs::create_directories(dir_ / "db");
    }
    std::string Path(const std::string& name) const { return folder_ / name; }
    std::string Db() const { return Path("db/lm.sqlite"); }

    Result Run(const std::vector<std::string>& args) const
    {
        std::string line;
        for (const std::string& a : args)
            line += " " + lmtest::Quote(a);
        return lmtest::RunLmtool(line);
    }
    std::string Import(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name)) << text;
        const Result r = Run({"filter", "--db", Db(), "--import", Path(name)});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out.substr(0, r.out.find('\n'));
    }

    lmtest::TempFolder folder_{"lmtool-store"};
    fs::path dir_ = folder_.path();
};

const char* const kKeepAll = "[Filter]\nName=%s\n%s[A]\n1=Amplitude|0|200\n[Expressions]\n1=A\n";

std::string KeepAll(const std::string& name, const std::string& extra)
{
    char text[256];
    std::snprintf(text, sizeof text, kKeepAll, name.c_str(), extra.c_str());
    return text;
}

TEST_F(FilterStore, DeleteTRRoundTripsAndRunsByFid)
{
    lmtest::WriteBytes(Path("s.dta"), DispWithTR());
    ASSERT_EQ(DispIds(ReadBytes(Path("s.dta"))), (std::vector<int>{41, 42, 1, 173, 1}));
    struct Case {
        const char* extra;
        const char* exported; // the DeleteTR line of the export, "" for none
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"DeleteTR=1\n", "DeleteTR=1\n", {41, 42, 1, 1}},
        {"DeleteTR=0\n", "DeleteTR=0\n", {41, 42, 1, 173, 1}},
        {"", "", {41, 42, 1, 173, 1}}, // not given: kept, and not claimed on export
    };
    for (const Case& tc : cases) {
        const std::string fid = Import("f.ini", KeepAll("tr", tc.extra));
        const Result exported = Run({"filter", "--db", Db(), "--export", fid});
        EXPECT_EQ(exported.status, 0) << exported.err;
        if (*tc.exported) {
            EXPECT_NE(exported.out.find(tc.exported), std::string::npos) << exported.out;
        } else {
            EXPECT_EQ(exported.out.find("DeleteTR="), std::string::npos) << exported.out;
        }
        const Result run = Run({"filter", "--db", Db(), "--fid", fid, Path("s.dta"), Path("p.dta")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(DispIds(ReadBytes(Path("p.dta"))), tc.ids) << tc.extra;
    }
}

TEST_F(FilterStore, AReadOnlyDatabaseServesTheReadingCommands)
{
    lmtest::WriteBytes(Path("s.dta"), DispWithTR());
    const std::string fid = Import("f.ini", KeepAll("kept", "DeleteTR=1\n"));
    fs::permissions(Db(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir_ / "db", fs::perms::owner_read | fs::perms::owner_exec);
    const std::string before = ReadText(Db());

    Result r = Run({"params", "--db", Db()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Amplitude"), std::string::npos);
    r = Run({"filters", "--db", Db()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tkept\n"), std::string::npos) << r.out;
    r = Run({"filter", "--db", Db(), "--export", fid});
    EXPECT_EQ(r.status, 0) << r.err;
    r = Run({"filter", "--db", Db(), "--fid", fid, Path("s.dta"), Path("p.dta")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(DispIds(ReadBytes(Path("p.dta"))), (std::vector<int>{41, 42, 1, 1}));
    std::ofstream(Path("band.ini")) << KeepAll("band", "");
    r = Run({"filter", "--db", Db(), "--filter-file", Path("band.ini"), Path("s.dta"), Path("q.dta")});
    EXPECT_EQ(r.status, 0) << r.err;

    // Storing needs a writable database, and says which one is not.
    r = Run({"filter", "--db", Db(), "--import", Path("band.ini")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(Db()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(Db()), before);
}

} // namespace
