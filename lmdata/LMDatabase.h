#pragma once

// The database behind the alias "LMData": one SQLite file that creates itself with every
// table, index and seed row the first time it is opened. One LMDatabase is one connection;
// the table classes (AParamTable, AGraphDatabase, AFilterDatabase) work on it. Use one
// connection per thread; other programs may hold their own connections to the same file
// (SQLite's file locks with a busy timeout keep them consistent).

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

struct sqlite3;

namespace lm {

// Every fault of the database layer. The text names the database file so that a user can
// tell which file is wrong.
class ELMDatabase : public std::runtime_error {
public:
    enum class Kind {
        NotADatabase, // the file exists but is not an SQLite database (or not one of ours)
        ReadOnly,     // the file or its folder cannot be written
        Locked,       // another program holds the database longer than the busy timeout
        NewerVersion, // made by a newer version of the programs
        CannotOpen,   // folder cannot be created, path is a folder, ...
        Constraint,   // a row was refused (missing link, duplicate key, text too long)
        Other,
    };
    ELMDatabase(Kind kind, const std::string& text) : std::runtime_error(text), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

struct LMDatabaseOptions {
    // How long a statement waits for another program's lock before it gives up.
    int busyTimeoutMs = 5000;
};

class LMDatabase {
public:
    // Schema version kept in PRAGMA user_version; an older file is migrated on open.
    // 2: Filters.DeleteTR.
    static constexpr int kSchemaVersion = 2;

    // Opens (creating, seeding or migrating when needed) the database at `path`.
    // Throws ELMDatabase; a file that is not a database is never overwritten.
    static LMDatabase Open(const std::filesystem::path& path, LMDatabaseOptions options = {});

    // For commands that only read: an existing database is opened read-only, so a read-only
    // file or folder still serves. A missing database is created (and an older one migrated)
    // as by Open when it can be written; a read-only older one is read as it is.
    static LMDatabase OpenForReading(const std::filesystem::path& path, LMDatabaseOptions options = {});

    // LMDATA when set and not empty, else $XDG_DATA_HOME/AELumeny/LMData.sqlite, else
    // ~/.local/share/AELumeny/LMData.sqlite.
    static std::filesystem::path DefaultPath();

    // `override` when not empty, else DefaultPath().
    static std::filesystem::path ResolvePath(const std::filesystem::path& override);

    LMDatabase(LMDatabase&&) noexcept;
    LMDatabase& operator=(LMDatabase&&) noexcept;
    LMDatabase(const LMDatabase&) = delete;
    LMDatabase& operator=(const LMDatabase&) = delete;
    ~LMDatabase();

    const std::filesystem::path& path() const { return path_; }
    int schemaVersion() const;
    // Opened by OpenForReading on a file it did not write to.
    bool readOnly() const { return readOnly_; }

    // The raw connection, for the table classes of this library.
    sqlite3* handle() const { return db_; }

    // Builds an ELMDatabase for the last error of this connection, naming the file.
    [[noreturn]] void Fail(const std::string& what) const;
    [[noreturn]] void Fail(const std::string& what, int code) const;

private:
    LMDatabase(sqlite3* db, std::filesystem::path path) : db_(db), path_(std::move(path)) {}
    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    bool readOnly_ = false;
};

} // namespace lm
