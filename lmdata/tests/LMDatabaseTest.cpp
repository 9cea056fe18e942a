#include "lmdata/LMDatabase.h"

#include "TestDb.h"
#include "lmdata/AFilterDatabase.h"
#include "lmdata/AParamTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using lm::ELMDatabase;
using lm::LMDatabase;
using lmtest::ReadText;
using lmtest::WriteText;

namespace {

// Runs `open` and answers the ELMDatabase it throws.
template <typename F> std::optional<ELMDatabase> FailureOf(F open)
{
    try {
        open();
    } catch (const ELMDatabase& e) {
        return e;
    }
    return std::nullopt;
}

lm::StoredFilter SmallFilter(const std::string& name)
{
    lm::StoredFilter f;
    f.header.name = name;
    f.minMax = {{0, 1, "Amplitude", 40, 100}, {0, 2, "Energy", 1, 1000}};
    f.expressions = {{1, "A"}};
    return f;
}

} // namespace

TEST(LMDatabase, CreatesFolderSeedsOnceAndReusesTheFile)
{
    lmtest::TempDir dir;
    const auto path = dir / "a/b/LMData.sqlite";
    {
        LMDatabase db = LMDatabase::Open(path);
        EXPECT_EQ(db.schemaVersion(), LMDatabase::kSchemaVersion);
        EXPECT_EQ(lm::AParamTable(db).FindParamId("Energy"), 64u);
        lm::AFilterDatabase(db).Insert(SmallFilter("kept"));
    }
    ASSERT_TRUE(std::filesystem::exists(path));
    lmtest::RawConnection raw(path);
    const long long params = raw.Count("SELECT count(*) FROM AEParams");
    const long long graphs = raw.Count("SELECT count(*) FROM QVGraph");

    LMDatabase again = LMDatabase::Open(path);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM AEParams"), params); // not seeded twice
    EXPECT_EQ(raw.Count("SELECT count(*) FROM QVGraph"), graphs);
    auto filters = lm::AFilterDatabase(again).Filters();
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].name, "kept");
}

TEST(LMDatabase, AnEmptyFileBecomesADatabase)
{
    lmtest::TempDir dir;
    WriteText(dir / "empty.sqlite", "");
    LMDatabase db = LMDatabase::Open(dir / "empty.sqlite");
    EXPECT_EQ(lm::AParamTable(db).FindShortName(256), "Amp");
}

TEST(LMDatabase, DefaultPathFollowsTheEnvironment)
{
    struct Case {
        const char* lmdata;
        const char* xdg;
        const char* home;
        std::filesystem::path expected;
    };
    const Case cases[] = {
        {"/x/own.sqlite", "/xdg", "/home/u", "/x/own.sqlite"},
        {nullptr, "/xdg", "/home/u", "/xdg/AELumeny/LMData.sqlite"},
        {"", "/xdg", "/home/u", "/xdg/AELumeny/LMData.sqlite"},
        {nullptr, nullptr, "/home/u", "/home/u/.local/share/AELumeny/LMData.sqlite"},
        {nullptr, "relative", "/home/u", "/home/u/.local/share/AELumeny/LMData.sqlite"},
    };
    auto saved = [](const char* name) -> std::optional<std::string> {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto oldLmdata = saved("LMDATA"), oldXdg = saved("XDG_DATA_HOME"), oldHome = saved("HOME");
    auto set = [](const char* name, const char* value) {
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    };
    for (const auto& c : cases) {
        set("LMDATA", c.lmdata);
        set("XDG_DATA_HOME", c.xdg);
        set("HOME", c.home);
        EXPECT_EQ(LMDatabase::DefaultPath(), c.expected)
            << (c.lmdata ? c.lmdata : "-") << " " << (c.xdg ? c.xdg : "-");
        EXPECT_EQ(LMDatabase::ResolvePath("/over/ride.sqlite"), "/over/ride.sqlite");
    }
    set("LMDATA", oldLmdata ? oldLmdata->c_str() : nullptr);
    set("XDG_DATA_HOME", oldXdg ? oldXdg->c_str() : nullptr);
    set("HOME", oldHome ? oldHome->c_str() : nullptr);
}

TEST(LMDatabase, FilesThatAreNotOurDatabaseAreRefusedAndLeftAlone)
{
    lmtest::TempDir dir;
    std::string sqliteGarbage("SQLite format 3", 16);
    sqliteGarbage.append(4080, '\xff');
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"text.sqlite", "This is a protocol, not a database.\n"},
        {"short.sqlite", "SQL"},
        {"damaged.sqlite", sqliteGarbage},
    };
    for (const auto& c : cases) {
        const auto path = dir / c.name;
        WriteText(path, c.bytes);
        auto error = FailureOf([&] { LMDatabase::Open(path); });
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->kind(), ELMDatabase::Kind::NotADatabase) << c.name << ": " << error->what();
        EXPECT_NE(std::string(error->what()).find(path.string()), std::string::npos) << error->what();
        EXPECT_EQ(ReadText(path), c.bytes) << c.name;
    }

    // Someone else's SQLite database: not taken over.
    const auto foreign = dir / "foreign.sqlite";
    {
        lmtest::RawConnection raw(foreign);
        raw.Exec("CREATE TABLE Notes (Text TEXT); INSERT INTO Notes VALUES ('mine')");
    }
    auto error = FailureOf([&] { LMDatabase::Open(foreign); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::NotADatabase);
    lmtest::RawConnection raw(foreign);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM sqlite_master"), 1);
}

TEST(LMDatabase, ReadOnlyFileIsAClearError)
{
    lmtest::TempDir dir;
    const auto path = dir / "ro.sqlite";
    LMDatabase::Open(path);
    const std::string before = ReadText(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    auto error = FailureOf([&] { LMDatabase::Open(path); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::ReadOnly);
    EXPECT_NE(std::string(error->what()).find(path.string()), std::string::npos) << error->what();
    EXPECT_NE(std::string(error->what()).find("read-only"), std::string::npos) << error->what();
    EXPECT_EQ(ReadText(path), before);

    // A writable file in a read-only folder cannot take a journal either.
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    error = FailureOf([&] { LMDatabase::Open(path); });
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::ReadOnly);
    EXPECT_NE(std::string(error->what()).find("folder"), std::string::npos) << error->what();
}

TEST(LMDatabase, PathsThatCannotHoldADatabase)
{
    lmtest::TempDir dir;
    std::filesystem::create_directory(dir / "folder.sqlite");
    WriteText(dir / "plainfile", "x");
    for (const auto& path : {dir / "folder.sqlite", dir / "plainfile/sub/x.sqlite"}) {
        auto error = FailureOf([&] { LMDatabase::Open(path); });
        ASSERT_TRUE(error) << path;
        EXPECT_EQ(error->kind(), ELMDatabase::Kind::CannotOpen) << error->what();
        EXPECT_NE(std::string(error->what()).find(path.string()), std::string::npos) << error->what();
    }
}

TEST(LMDatabase, NewerSchemaIsRefused)
{
    lmtest::TempDir dir;
    const auto path = dir / "new.sqlite";
    LMDatabase::Open(path);
    lmtest::RawConnection(path).Exec("PRAGMA user_version = 99");
    auto error = FailureOf([&] { LMDatabase::Open(path); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::NewerVersion) << error->what();
}

TEST(LMDatabase, LockedDatabaseWaitsForTheBusyTimeoutThenFailsClearly)
{
    lmtest::TempDir dir;
    const auto path = dir / "locked.sqlite";
    LMDatabase::Open(path);

    lmtest::RawConnection other(path);
    other.Exec("BEGIN EXCLUSIVE");
    const auto start = std::chrono::steady_clock::now();
    auto error = FailureOf([&] { LMDatabase::Open(path, {.busyTimeoutMs = 200}); });
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::Locked);
    EXPECT_NE(std::string(error->what()).find(path.string()), std::string::npos) << error->what();
    EXPECT_NE(std::string(error->what()).find("locked by another program"), std::string::npos)
        << error->what();
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    other.Exec("COMMIT");

    // A lock released within the timeout is simply waited for.
    other.Exec("BEGIN EXCLUSIVE");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.Exec("COMMIT");
    });
    EXPECT_NO_THROW(LMDatabase::Open(path, {.busyTimeoutMs = 10000}));
    release.join();
}

TEST(LMDatabase, AWriteRefusedByALockLeavesNothingBehind)
{
    lmtest::TempDir dir;
    const auto path = dir / "busy.sqlite";
    LMDatabase db = LMDatabase::Open(path, {.busyTimeoutMs = 100});
    lm::AFilterDatabase filters(db);
    lmtest::RawConnection other(path);
    other.Exec("BEGIN IMMEDIATE");
    auto error = FailureOf([&] { filters.Insert(SmallFilter("late")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), ELMDatabase::Kind::Locked) << error->what();
    other.Exec("COMMIT");
    EXPECT_TRUE(filters.Filters().empty());
    EXPECT_EQ(other.Count("SELECT count(*) FROM FRMinMax"), 0);
    EXPECT_GT(filters.Insert(SmallFilter("now")), 0); // the connection is usable afterwards
}

TEST(LMDatabase, TwoProgramsWritingFiltersAtOnceStayConsistent)
{
    lmtest::TempDir dir;
    const auto path = dir / "shared.sqlite"; // created by whichever program comes first
    constexpr int kPerWriter = 40;
    // Each writer is a process of its own, as two programs would be; it answers 0 when every
    // store succeeded.
    auto writer = [&](const std::string& prefix) -> int {
        try {
            LMDatabase db = LMDatabase::Open(path, {.busyTimeoutMs = 20000});
            lm::AFilterDatabase filters(db);
            for (int i = 0; i < kPerWriter; ++i) {
                const int64_t fid = filters.Insert(SmallFilter(prefix + std::to_string(i)));
                if (i % 4 == 0 && !filters.Update(fid, SmallFilter(prefix + std::to_string(i) + "u")))
                    return 2;
                if (i % 5 == 0 && !filters.Delete(fid))
                    return 3;
            }
            return 0;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    };
    std::vector<pid_t> children;
    for (const char* prefix : {"a", "b"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            ::_exit(writer(prefix));
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }

    lmtest::RawConnection raw(path);
    const long long kept = 2 * (kPerWriter - kPerWriter / 5);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM Filters"), kept);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM FRMinMax"), 2 * kept);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM FExpress"), kept);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM FRMinMax WHERE FID NOT IN (SELECT FID FROM Filters)"), 0);
    EXPECT_EQ(raw.Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(raw.Count("SELECT count(*) FROM AESystem"), 7); // seeded once
}
