#pragma once

// Small RAII helpers over the SQLite C interface, private to this library.

#include "lmdata/LMDatabase.h"

#include <cstdint>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace lm::sql {

// Maps an SQLite result code to the kind of ELMDatabase.
ELMDatabase::Kind KindOf(int code);

class Statement {
public:
    Statement(const LMDatabase& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view value);
    Statement& BindNull(int index);
    Statement& Bind(int index, std::optional<int32_t> value);

    // Advances to the next row; false when done.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    void Reset();

    bool IsNull(int column) const;
    int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::optional<int32_t> OptionalInt(int column) const;

private:
    const LMDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Runs statements without parameters (schema, pragmas).
void Exec(const LMDatabase& db, const char* sql);

// A write transaction. BEGIN IMMEDIATE takes the write lock at once, so two programs
// writing at the same time wait for each other (busy timeout) instead of deadlocking.
// Rolled back unless committed.
class Transaction {
public:
    explicit Transaction(const LMDatabase& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    const LMDatabase& db_;
    bool open_ = false;
};

// Number of characters (code points) of a UTF-8 text, as the field sizes count them.
size_t CharCount(std::string_view text);

// Throws Kind::Constraint when `text` has more than `max` characters.
void CheckLength(const LMDatabase& db, const char* field, std::string_view text, size_t max);

} // namespace lm::sql
