// Filters stored in LMData through lmtool: "Delete TR" survives import, export and a run by
// FID; a read-only database still serves every command that only reads.

#include "testsupport/RunProgram.h"
#include "testsupport/TempFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

using lmtest::ReadText;

// A DiSP message stream: the hardware setup, two hits and a TR record between them.
std::string DispWithTR()
{
    std::string bytes;
    auto message = [&bytes](std::vector<uint8_t> body) {
        bytes += char(body.size());
        bytes += char(body.size() >> 8);
        bytes.append(body.begin(), body.end());
    };
    message({41, 0, 0, 0, 'D', 'i', 'S', 'P'});
    message({42, 0, 0, 0, 4, 0, 5, 1, 6, 1});
    auto hit = [&](uint32_t ticks, uint8_t amplitude) {
        message({1, uint8_t(ticks), uint8_t(ticks >> 8), uint8_t(ticks >> 16), uint8_t(ticks >> 24), 0, 0, 1,
                 amplitude, 1, 0, 0});
    };
    hit(4000000, 50);
    message({173, 1, 2, 3});
    hit(4400000, 55);
    return bytes;
}

// Message ids of a DiSP stream, in file order.
std::vector<int> Ids(const std::string& file)
{
    std::vector<int> ids;
    for (size_t at = 0; at + 2 < file.size();) {
        const size_t length = uint8_t(file[at]) | (uint8_t(file[at + 1]) << 8);
        ids.push_back(uint8_t(file[at + 2]));
        at += 2 + length;
    }
    return ids;
}

class FilterStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        tool_ = lmtest::LmtoolPath();
        if (tool_.empty() || !fs::exists(tool_))
            GTEST_SKIP() << "lmtool is not built";
        std::string pattern = (fs::temp_directory_path() / "lmtool-store-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "db");
    }
    void TearDown() override
    {
        if (dir_.empty())
            return;
        std::error_code ec;
        fs::permissions(dir_ / "db", fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Db() const { return Path("db/lm.sqlite"); }

    Result Run(const std::vector<std::string>& args) const
    {
        const std::string out = Path("run.out"), err = Path("run.err");
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            std::vector<char*> argv{const_cast<char*>(tool_.c_str())};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(tool_.c_str(), argv.data());
            ::_exit(127);
        }
        int raw = 0;
        ::waitpid(pid, &raw, 0);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }
    std::string Import(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name)) << text;
        const Result r = Run({"filter", "--db", Db(), "--import", Path(name)});
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out.substr(0, r.out.find('\n'));
    }

    std::string tool_;
    fs::path dir_;
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
    std::ofstream(Path("s.dta"), std::ios::binary) << DispWithTR();
    ASSERT_EQ(Ids(ReadText(Path("s.dta"))), (std::vector<int>{41, 42, 1, 173, 1}));
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
        EXPECT_EQ(Ids(ReadText(Path("p.dta"))), tc.ids) << tc.extra;
    }
}

TEST_F(FilterStore, AReadOnlyDatabaseServesTheReadingCommands)
{
    std::ofstream(Path("s.dta"), std::ios::binary) << DispWithTR();
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
    EXPECT_EQ(Ids(ReadText(Path("p.dta"))), (std::vector<int>{41, 42, 1, 1}));
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
