// lmtool filter, copy and clean as a user meets them at their worst: runs into the source
// killed by signals at any moment, two such runs at once, backups of another recording,
// special files as destinations, one pair's post file over another pair's source, and
// filter files that are no files. The program runs as a separate process.

#include "testsupport/RunProgram.h"
#include "testsupport/TempFolder.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Result = lmtest::RunResult;

using lmtest::ReadText;

class FilterSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        tool_ = lmtest::LmtoolPath();
        if (tool_.empty() || !fs::exists(tool_))
            GTEST_SKIP() << "lmtool is not built";
        std::ofstream(Path("band.ini"))
            << "[Filter]\nName=band\n[A]\n1=Amplitude|40|60\n[Expressions]\n1=A\n";
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Starts lmtool with its output going to files; answers the process id.
    pid_t Start(const std::vector<std::string>& args, const std::string& tag = "run") const
    {
        const std::string out = Path(tag + ".out"), err = Path(tag + ".err");
        const pid_t pid = ::fork();
        if (pid == 0) {
            // As from a terminal: whatever the test runner ignores, the program gets.
            for (int signal : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal, SIG_DFL);
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(o, 1);
            ::dup2(e, 2);
            std::vector<char*> argv{const_cast<char*>(tool_.c_str())};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(tool_.c_str(), argv.data());
            ::_exit(127);
        }
        return pid;
    }
    Result Wait(pid_t pid, const std::string& tag = "run") const
    {
        int raw = 0;
        ::waitpid(pid, &raw, 0);
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        r.out = ReadText(Path(tag + ".out"));
        r.err = ReadText(Path(tag + ".err"));
        fs::remove(Path(tag + ".out"));
        fs::remove(Path(tag + ".err"));
        return r;
    }
    Result Run(const std::vector<std::string>& args) const { return Wait(Start(args)); }
    // lmtool filter with the folder's own database and the band filter.
    std::vector<std::string> Filter(std::vector<std::string> files) const
    {
        std::vector<std::string> args{"filter", "--db", Path("lm.sqlite"), "--filter-file", Path("band.ini")};
        args.insert(args.end(), files.begin(), files.end());
        return args;
    }
    void Generate(const std::string& name, int hits) const
    {
        ASSERT_EQ(Run({"gen", "--format", "dta", "--hits", std::to_string(hits), Path(name)}).status, 0);
    }
    // Names in the folder that a run could have left behind (temporary files start with '.').
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            if (e.path().filename().string()[0] == '.')
                names.push_back(e.path().filename().string());
        return names;
    }

    std::string tool_;
    lmtest::TempFolder folder_{"lmtool-safety"};
    fs::path dir_ = folder_.path();
};

// Interrupted at any moment, a run into the source leaves the recording under its own name:
// the original, or - once the run has finished - the post file with the original as backup.
// The run's temporary files go with it.
TEST_F(FilterSafety, RunIntoTheSourceInterruptedBySignals)
{
    Generate("s.dta", 150000);
    const std::string original = ReadText(Path("s.dta"));
    ASSERT_EQ(Run(Filter({Path("s.dta"), Path("p.dta")})).status, 0);
    const std::string filtered = ReadText(Path("p.dta"));
    ASSERT_NE(filtered, original);

    int finished = 0;
    std::map<int, int> interrupted;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        for (int delayMs : {0, 1, 3, 8, 15, 30, 60, 120, 250}) {
            const pid_t pid = Start(Filter({"--yes", Path("s.dta")}));
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            ::kill(pid, signal);
            const Result r = Wait(pid);
            const std::string at =
                "signal " + std::to_string(signal) + " after " + std::to_string(delayMs) + " ms";
            const std::string now = ReadText(Path("s.dta"));
            if (r.status == 0) {
                ++finished;
                EXPECT_EQ(now, filtered) << at;
                EXPECT_EQ(ReadText(Path("s.BAK")), original) << at;
            } else {
                EXPECT_EQ(r.status, 128 + signal) << at << ": " << r.err;
                ++interrupted[signal];
                if (now == filtered) // killed after the rename: the backup is complete
                    EXPECT_EQ(ReadText(Path("s.BAK")), original) << at;
                else
                    EXPECT_EQ(now, original) << at;
            }
            EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << at;
            // Back to the original for the next round.
            std::ofstream(Path("s.dta"), std::ios::binary | std::ios::trunc) << original;
            fs::remove(Path("s.BAK"));
        }
    }
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        EXPECT_GT(interrupted[signal], 0) << "signal " << signal << " never interrupted a run";
    RecordProperty("finished", finished);
}

// Two runs into one source at the same time: one filters, the other refuses; the original
// is always in the backup and no run says it succeeded when it did not.
TEST_F(FilterSafety, TwoRunsIntoOneSourceAtOnce)
{
    Generate("s.dta", 20000);
    const std::string original = ReadText(Path("s.dta"));
    ASSERT_EQ(Run(Filter({Path("s.dta"), Path("p.dta")})).status, 0);
    const std::string filtered = ReadText(Path("p.dta"));
    for (int round = 0; round < 15; ++round) {
        const pid_t a = Start(Filter({"--yes", Path("s.dta")}), "a");
        const pid_t b = Start(Filter({"--yes", Path("s.dta")}), "b");
        const Result ra = Wait(a, "a"), rb = Wait(b, "b");
        EXPECT_EQ(int(ra.status == 0) + int(rb.status == 0), 1)
            << "round " << round << ": " << ra.err << rb.err;
        for (const Result* r : {&ra, &rb}) {
            if (r->status == 0) {
                EXPECT_EQ(r->out.rfind("Results :  \t", 0), 0u);
            } else {
                EXPECT_EQ(r->status, 1);
                EXPECT_TRUE(r->err.find(Path("s.dta")) != std::string::npos ||
                            r->err.find(Path("s.BAK")) != std::string::npos)
                    << r->err;
            }
        }
        EXPECT_EQ(ReadText(Path("s.dta")), filtered) << round;
        EXPECT_EQ(ReadText(Path("s.BAK")), original) << round;
        EXPECT_EQ(Leftovers(), std::vector<std::string>{}) << round;
        std::ofstream(Path("s.dta"), std::ios::binary | std::ios::trunc) << original;
        fs::remove(Path("s.BAK"));
    }
}

TEST_F(FilterSafety, AnExistingBackupNeedsReplaceBackupNotJustYes)
{
    Generate("run.dta", 200);
    const std::string original = ReadText(Path("run.dta"));
    std::ofstream(Path("run.BAK")) << "the original of run.ald";

    Result r = Run(Filter({"--yes", Path("run.dta")}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(Path("run.BAK")), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--replace-backup"), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(Path("run.BAK")), "the original of run.ald");
    EXPECT_EQ(ReadText(Path("run.dta")), original);

    r = Run(Filter({"--yes", "--replace-backup", Path("run.dta")}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(Path("run.BAK")), original);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(FilterSafety, SpecialFilesAreNeverDestinations)
{
    Generate("s.dta", 200);
    ASSERT_EQ(::mkfifo(Path("fifo.dta").c_str(), 0600), 0);
    fs::create_directories(Path("full.BAK"));
    const std::vector<std::vector<std::string>> commands = {
        Filter({Path("s.dta"), Path("fifo.dta")}),
        {"copy", Path("s.dta"), Path("fifo.dta")},
        {"clean", Path("s.dta"), Path("fifo.dta"), "--frame", "256:0:50:64:0:1000000"},
        Filter({Path("s.dta"), "/dev/null"}),
        {"copy", Path("s.dta"), "/dev/null"},
    };
    for (const auto& args : commands) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 1) << args[0] << " " << args.back();
        EXPECT_NE(r.err.find(args[0] == "filter" ? args.back() : args[2]), std::string::npos) << r.err;
        if (args[0] != "filter") { // the filter's own message is in the program's language
            EXPECT_NE(r.err.find("regular file"), std::string::npos) << r.err;
        }
    }
    struct stat st {};
    ASSERT_EQ(::lstat(Path("fifo.dta").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(FilterSafety, APostFileOverAnotherPairsSourceIsRefusedBeforeAnythingIsWritten)
{
    Generate("s.dta", 200);
    Generate("other.dta", 300);
    const std::string original = ReadText(Path("s.dta"));
    struct Case {
        std::vector<std::string> files;
        const char* says;
    };
    const Case cases[] = {
        {{Path("s.dta"), Path("p1.dta"), Path("other.dta"), Path("s.dta")}, "is the source"},
        {{Path("s.dta"), Path("p1.dta"), Path("other.dta"), dir_.string() + "/./s.dta"}, "is the source"},
        {{Path("s.dta"), Path("p1.dta"), Path("other.dta"), Path("p1.dta")}, "same post file"},
    };
    for (const Case& tc : cases) {
        const Result r = Run(Filter(tc.files));
        EXPECT_EQ(r.status, 2) << tc.files.back();
        EXPECT_NE(r.err.find(tc.says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(Path("p1.dta")));
        EXPECT_EQ(ReadText(Path("s.dta")), original);
    }
    // A hard link to a source is that source.
    fs::create_hard_link(Path("s.dta"), Path("alias.dta"));
    const Result r = Run(Filter({Path("other.dta"), Path("alias.dta"), Path("s.dta"), Path("p2.dta")}));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_FALSE(fs::exists(Path("p2.dta")));
}

TEST_F(FilterSafety, FilterFilesMustBeRegularFilesOfSaneSize)
{
    Generate("s.dta", 200);
    fs::create_directories(Path("folder.ini"));
    const std::pair<std::string, const char*> cases[] = {
        {"/dev/zero", "not a regular file"},
        {Path("folder.ini"), "is a folder"},
        {Path("missing.ini"), "cannot open filter file"},
    };
    for (const auto& [file, says] : cases) {
        const Result r =
            Run({"filter", "--db", Path("lm.sqlite"), "--filter-file", file, Path("s.dta"), Path("p.dta")});
        EXPECT_EQ(r.status, 1) << file;
        EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    }
    // Larger than 64 MiB, however it begins.
    {
        std::ofstream big(Path("big.ini"), std::ios::binary);
        big << "[Filter]\nName=big\n";
    }
    fs::resize_file(Path("big.ini"), (64u << 20) + 1);
    const Result r = Run({"filter", "--db", Path("lm.sqlite"), "--filter-file", Path("big.ini"),
                          Path("s.dta"), Path("p.dta")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("larger than 64 MiB"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("p.dta")));
}

TEST_F(FilterSafety, StoredFiltersByFidOrByName)
{
    Generate("s.dta", 500);
    // A filter named "3" is stored as FID 1; FID 2 keeps every hit.
    std::ofstream(Path("three.ini")) << "[Filter]\nName=3\n[A]\n1=Amplitude|40|60\n[Expressions]\n1=A\n";
    std::ofstream(Path("all.ini")) << "[Filter]\nName=all\n[A]\n1=Amplitude|0|200\n[Expressions]\n1=A\n";
    const std::string db = Path("lm.sqlite");
    ASSERT_EQ(Run({"filter", "--db", db, "--import", Path("three.ini")}).out, "1\n");
    ASSERT_EQ(Run({"filter", "--db", db, "--import", Path("all.ini")}).out, "2\n");

    ASSERT_EQ(Run(Filter({Path("s.dta"), Path("band.dta")})).status, 0);
    const Result byName = Run({"filter", "--db", db, "--name", "3", Path("s.dta"), Path("n.dta")});
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_EQ(ReadText(Path("n.dta")), ReadText(Path("band.dta")));
    const Result byFid = Run({"filter", "--db", db, "--fid", "2", Path("s.dta"), Path("f.dta")});
    EXPECT_EQ(byFid.status, 0) << byFid.err;
    EXPECT_EQ(ReadText(Path("f.dta")).size(), ReadText(Path("s.dta")).size());

    // --filter keeps reading digits as an FID.
    Result r = Run({"filter", "--db", db, "--filter", "3", Path("s.dta"), Path("x.dta")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no stored filter with FID 3"), std::string::npos) << r.err;
    r = Run({"filter", "--db", db, "--fid", "3", Path("s.dta"), Path("x.dta")});
    EXPECT_NE(r.err.find("no stored filter with FID 3"), std::string::npos) << r.err;
    r = Run({"filter", "--db", db, "--name", "none", Path("s.dta"), Path("x.dta")});
    EXPECT_NE(r.err.find("no stored filter named 'none'"), std::string::npos) << r.err;
    r = Run({"filter", "--db", db, "--name", "3", "--fid", "1", Path("s.dta"), Path("x.dta")});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(Path("x.dta")));
}

} // namespace
