#include "lmdata/LMDatabase.h"

#include "lmdata/internal/Schema.h"
#include "lmdata/internal/Sqlite.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sqlite3.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lm {

namespace {

std::string Quoted(const fs::path& path)
{
    return "LMData database \"" + path.string() + "\": ";
}

[[noreturn]] void Throw(ELMDatabase::Kind kind, const fs::path& path, const std::string& text)
{
    throw ELMDatabase(kind, Quoted(path) + text);
}

std::string ReasonOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
        return "the file is not an SQLite database";
    case SQLITE_CORRUPT:
        return "the database file is damaged";
    case SQLITE_READONLY:
        return "the database is read-only";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "the database is locked by another program";
    default:
        return {};
    }
}

// An existing file must be empty or begin with the SQLite header; anything else is left
// untouched (SQLite itself would only fail later, at the first statement).
bool LooksLikeSqlite(const fs::path& path, std::uintmax_t size)
{
    if (size == 0)
        return true;
    static const char kMagic[16] = "SQLite format 3"; // including its terminating zero
    char head[16] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(head, sizeof head))
        return false;
    return std::memcmp(head, kMagic, sizeof head) == 0;
}

// A file (or folder) without any write permission bit counts as read-only even for a user (such as
// root) whom the system would let write it: the owner has marked it so.
bool IsReadOnlyFile(const fs::path& path, fs::perms mode)
{
    using fs::perms;
    const auto write = perms::owner_write | perms::group_write | perms::others_write;
    if ((mode & write) == perms::none)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}

int UserVersion(const LMDatabase& db)
{
    sql::Statement query(db, "PRAGMA user_version");
    return query.Step() ? static_cast<int>(query.Int(0)) : 0;
}

bool HasOwnTables(const LMDatabase& db)
{
    sql::Statement query(db,
                         "SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
    return query.Step() && query.Int(0) > 0;
}

} // namespace

fs::path LMDatabase::DefaultPath()
{
    if (const char* env = std::getenv("LMDATA"); env && *env)
        return fs::path(env);
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && fs::path(xdg).is_absolute())
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        throw ELMDatabase(ELMDatabase::Kind::CannotOpen,
                          "LMData database: no location (set LMDATA, XDG_DATA_HOME or HOME)");
    return base / "AELumeny" / "LMData.sqlite";
}

fs::path LMDatabase::ResolvePath(const fs::path& override)
{
    return override.empty() ? DefaultPath() : override;
}

LMDatabase LMDatabase::Open(const fs::path& path, LMDatabaseOptions options)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    const bool exists = fs::exists(status);
    if (exists) {
        if (fs::is_directory(status))
            Throw(ELMDatabase::Kind::CannotOpen, path, "the path is a folder, not a database file");
        const auto size = fs::file_size(path, ec);
        if (ec)
            Throw(ELMDatabase::Kind::CannotOpen, path, "cannot read the file (" + ec.message() + ")");
        if (!LooksLikeSqlite(path, size))
            Throw(ELMDatabase::Kind::NotADatabase, path, "the file is not an SQLite database");
        if (IsReadOnlyFile(path, status.permissions()))
            Throw(ELMDatabase::Kind::ReadOnly, path, "the database file is read-only");
        // Every write puts a journal beside the file; refuse now rather than at the first store.
        const fs::path folder = fs::absolute(path, ec).parent_path();
        const auto folderStatus = fs::status(folder, ec);
        if (!ec && IsReadOnlyFile(folder, folderStatus.permissions()))
            Throw(ELMDatabase::Kind::ReadOnly, path,
                  "the folder \"" + folder.string() +
                      "\" is read-only (the database writes its journal there)");
    } else if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
        if (ec)
            Throw(ELMDatabase::Kind::CannotOpen, path,
                  "cannot create the folder \"" + path.parent_path().string() + "\" (" + ec.message() + ")");
    }

    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close_v2(handle);
        Throw(sql::KindOf(rc), path, "cannot open the database (" + message + ")");
    }
    LMDatabase db(handle, path);
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, options.busyTimeoutMs);
    if (sqlite3_db_readonly(handle, "main") == 1)
        Throw(ELMDatabase::Kind::ReadOnly, path, "the database file is read-only");

    int version = UserVersion(db);
    if (version > kSchemaVersion)
        Throw(ELMDatabase::Kind::NewerVersion, path,
              "made by a newer version of the programs (schema " + std::to_string(version) +
                  ", this one knows " + std::to_string(kSchemaVersion) + ")");
    if (version < kSchemaVersion) {
        // Another program may be creating the same file: decide again under the write lock.
        sql::Transaction transaction(db);
        version = UserVersion(db);
        if (version == 0) {
            if (HasOwnTables(db))
                Throw(ELMDatabase::Kind::NotADatabase, path,
                      "an SQLite database, but not an LMData database (it has tables of its own)");
            schema::CreateAndSeed(db);
        } else if (version < kSchemaVersion) {
            schema::Migrate(db, version);
        }
        if (version != kSchemaVersion)
            sql::Exec(db, ("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
        transaction.Commit();
    }
    return db;
}

LMDatabase LMDatabase::OpenForReading(const fs::path& path, LMDatabaseOptions options)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status) || fs::is_directory(status))
        return Open(path, options); // created on first use, or the folder fault said by Open
    const auto size = fs::file_size(path, ec);
    if (ec)
        Throw(ELMDatabase::Kind::CannotOpen, path, "cannot read the file (" + ec.message() + ")");
    if (!LooksLikeSqlite(path, size))
        Throw(ELMDatabase::Kind::NotADatabase, path, "the file is not an SQLite database");

    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = handle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
        sqlite3_close_v2(handle);
        Throw(sql::KindOf(rc), path, "cannot open the database (" + message + ")");
    }
    LMDatabase db(handle, path);
    db.readOnly_ = true;
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, options.busyTimeoutMs);
    const int version = UserVersion(db);
    if (version > kSchemaVersion)
        Throw(ELMDatabase::Kind::NewerVersion, path,
              "made by a newer version of the programs (schema " + std::to_string(version) +
                  ", this one knows " + std::to_string(kSchemaVersion) + ")");
    if (version == kSchemaVersion)
        return db;
    // Not created yet (an empty file) or older: brought up to date when it can be written.
    const fs::path folder = fs::absolute(path, ec).parent_path();
    const bool writable = !IsReadOnlyFile(path, status.permissions()) &&
                          !IsReadOnlyFile(folder, fs::status(folder, ec).permissions());
    if (writable) {
        db = LMDatabase(nullptr, path);
        return Open(path, options);
    }
    if (version == 0)
        Throw(ELMDatabase::Kind::ReadOnly, path,
              "the database file is read-only and holds no LMData tables yet");
    return db; // an older schema, read as it is
}

LMDatabase::LMDatabase(LMDatabase&& other) noexcept
    : db_(other.db_), path_(std::move(other.path_)), readOnly_(other.readOnly_)
{
    other.db_ = nullptr;
}

LMDatabase& LMDatabase::operator=(LMDatabase&& other) noexcept
{
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = other.db_;
        path_ = std::move(other.path_);
        readOnly_ = other.readOnly_;
        other.db_ = nullptr;
    }
    return *this;
}

LMDatabase::~LMDatabase()
{
    sqlite3_close_v2(db_);
}

int LMDatabase::schemaVersion() const
{
    return UserVersion(*this);
}

void LMDatabase::Fail(const std::string& what) const
{
    Throw(ELMDatabase::Kind::Other, path_, what);
}

void LMDatabase::Fail(const std::string& what, int code) const
{
    std::string reason = ReasonOf(code);
    if (reason.empty())
        reason = what + " (" + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code)) + ")";
    Throw(sql::KindOf(code), path_, reason);
}

} // namespace lm
