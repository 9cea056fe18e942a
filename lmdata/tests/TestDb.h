#pragma once

// Temporary folders, raw SQL and the kind of a database failure for the database tests.

#include "lmdata/LMDatabase.h"
#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace lmtest {

// A temporary folder with the paths in it as std::filesystem::path.
class TempDir {
public:
    const std::filesystem::path& path() const { return folder_.path(); }
    std::filesystem::path operator/(const std::string& name) const { return folder_.path() / name; }

private:
    TempFolder folder_{"lmdata-test"};
};

// A second, independent connection, as another program would hold one.
class RawConnection {
public:
    explicit RawConnection(const std::filesystem::path& path)
    {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path.string());
    }
    ~RawConnection() { sqlite3_close_v2(db_); }
    void Exec(const std::string& sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "?";
            sqlite3_free(message);
            throw std::runtime_error(sql + ": " + text);
        }
    }
    long long Count(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        long long value = -1;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    }

    std::string Text(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        std::string value;
        if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
            value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
        return value;
    }

private:
    sqlite3* db_ = nullptr;
};

// The kind of the database failure `f` raises; none when it succeeds.
template <typename F> std::optional<lm::ELMDatabase::Kind> FailureKind(F f)
{
    try {
        f();
    } catch (const lm::ELMDatabase& e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace lmtest
