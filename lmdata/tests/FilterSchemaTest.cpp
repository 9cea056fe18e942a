// "Delete TR" kept with a stored filter, the migration that adds it to databases made before
// it, and a read-only database that still serves every command that only reads.

#include "TestDb.h"
#include "lmdata/AFilterDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"

#include <gtest/gtest.h>

using lm::AFilterDatabase;
using lm::ELMDatabase;
using lm::LMDatabase;
using lm::StoredFilter;

namespace fs = std::filesystem;

namespace {

StoredFilter Named(const std::string& name, std::optional<bool> deleteTR)
{
    StoredFilter f;
    f.header.name = name;
    f.header.deleteTR = deleteTR;
    f.minMax = {{0, 1, "Amplitude", 40, 60}, {1, 1, "Counts", 1, 9}};
    f.equations = {{0, 1, "Amplitude", ">=", 2, "Energy", 1}};
    f.expressions = {{1, "A*B+D"}};
    return f;
}

// A database as the first schema made it: Filters without DeleteTR, user_version 1.
void MakeVersion1(const fs::path& path, int filters)
{
    {
        LMDatabase db = LMDatabase::Open(path);
        AFilterDatabase store(db);
        for (int i = 1; i <= filters; ++i)
            store.Insert(Named("filter " + std::to_string(i), std::nullopt));
    }
    lmtest::RawConnection raw(path);
    raw.Exec("ALTER TABLE Filters DROP COLUMN DeleteTR");
    raw.Exec("PRAGMA user_version = 1");
}

void MakeReadOnly(const fs::path& file)
{
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
}

void MakeWritable(const fs::path& file)
{
    fs::permissions(file.parent_path(), fs::perms::owner_all);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace

TEST(FilterSchema, DeleteTRIsStoredAndLoadedBack)
{
    lmtest::TempDir dir;
    LMDatabase db = LMDatabase::Open(dir / "f.sqlite");
    AFilterDatabase filters(db);
    for (const std::optional<bool> value :
         {std::optional<bool>(true), std::optional<bool>(false), std::optional<bool>()}) {
        const int64_t fid = filters.Insert(Named("f", value));
        EXPECT_EQ(filters.Load(fid)->header.deleteTR, value);
        // Update writes it too, in both directions.
        const std::optional<bool> other = value ? std::optional<bool>() : std::optional<bool>(true);
        ASSERT_TRUE(filters.Update(fid, Named("f", other)));
        EXPECT_EQ(filters.Header(fid)->deleteTR, other);
    }
}

TEST(FilterSchema, AVersion1DatabaseIsMigratedKeepingEveryFilter)
{
    lmtest::TempDir dir;
    const fs::path path = dir / "old.sqlite";
    MakeVersion1(path, 5);
    lmtest::RawConnection raw(path);
    const long long children = raw.Count("SELECT count(*) FROM FRMinMax") +
                               raw.Count("SELECT count(*) FROM FRExpr") +
                               raw.Count("SELECT count(*) FROM FExpress");
    ASSERT_EQ(raw.Count("SELECT count(*) FROM pragma_table_info('Filters') WHERE name = 'DeleteTR'"), 0);

    LMDatabase db = LMDatabase::Open(path);
    EXPECT_EQ(db.schemaVersion(), LMDatabase::kSchemaVersion);
    AFilterDatabase filters(db);
    const auto headers = filters.Filters();
    ASSERT_EQ(headers.size(), 5u);
    for (size_t i = 0; i < headers.size(); ++i) {
        EXPECT_EQ(headers[i].name, "filter " + std::to_string(i + 1));
        EXPECT_FALSE(headers[i].deleteTR.has_value()); // stored before the option was kept
        const auto loaded = filters.Load(headers[i].fid);
        EXPECT_EQ(loaded->minMax.size(), 2u);
        EXPECT_EQ(loaded->equations.size(), 1u);
        EXPECT_EQ(loaded->expressions.size(), 1u);
    }
    EXPECT_EQ(raw.Count("SELECT count(*) FROM FRMinMax") + raw.Count("SELECT count(*) FROM FRExpr") +
                  raw.Count("SELECT count(*) FROM FExpress"),
              children);
    // The migrated database takes the option.
    const int64_t fid = filters.Insert(Named("new", true));
    EXPECT_EQ(filters.Header(fid)->deleteTR, std::optional<bool>(true));
}

TEST(FilterSchema, AReadOnlyDatabaseServesTheReadingCommands)
{
    lmtest::TempDir dir;
    const fs::path path = dir / "sub" / "ro.sqlite";
    {
        LMDatabase db = LMDatabase::Open(path);
        AFilterDatabase(db).Insert(Named("kept", true));
    }
    MakeReadOnly(path);
    {
        LMDatabase db = LMDatabase::OpenForReading(path);
        EXPECT_TRUE(db.readOnly());
        AFilterDatabase filters(db);
        ASSERT_EQ(filters.Filters().size(), 1u);
        EXPECT_EQ(filters.Load(1)->header.deleteTR, std::optional<bool>(true));
        EXPECT_EQ(lm::AParamTable(db).FindParamId("Amplitude"), 256u);
        // Writing is refused, with the database named.
        try {
            filters.Insert(Named("new", false));
            ADD_FAILURE() << "a read-only database took a filter";
        } catch (const ELMDatabase& e) {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(LMDatabase::Open(path), ELMDatabase);
    MakeWritable(path);

    // An older database that cannot be written is read as it is, without migrating.
    const fs::path old = dir / "old" / "v1.sqlite";
    fs::create_directories(old.parent_path());
    MakeVersion1(old, 2);
    MakeReadOnly(old);
    {
        LMDatabase db = LMDatabase::OpenForReading(old);
        EXPECT_EQ(db.schemaVersion(), 1);
        const auto headers = AFilterDatabase(db).Filters();
        ASSERT_EQ(headers.size(), 2u);
        EXPECT_FALSE(headers[0].deleteTR.has_value());
    }
    MakeWritable(old);
    // Writable again: reading brings it up to date first.
    LMDatabase db = LMDatabase::OpenForReading(old);
    EXPECT_FALSE(db.readOnly());
    EXPECT_EQ(db.schemaVersion(), LMDatabase::kSchemaVersion);

    // A missing database is created as before.
    LMDatabase fresh = LMDatabase::OpenForReading(dir / "new" / "fresh.sqlite");
    EXPECT_EQ(fresh.schemaVersion(), LMDatabase::kSchemaVersion);
}
