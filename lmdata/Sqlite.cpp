#include "lmdata/internal/Sqlite.h"

namespace lm::sql {

ELMDatabase::Kind KindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ELMDatabase::Kind::NotADatabase;
    case SQLITE_READONLY:
        return ELMDatabase::Kind::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ELMDatabase::Kind::Locked;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return ELMDatabase::Kind::CannotOpen;
    case SQLITE_CONSTRAINT:
        return ELMDatabase::Kind::Constraint;
    default:
        return ELMDatabase::Kind::Other;
    }
}

Statement::Statement(const LMDatabase& db, std::string_view sql) : db_(db)
{
    int rc = sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        db.Fail("cannot prepare a statement", rc);
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::Bind(int index, int64_t value)
{
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, double value)
{
    sqlite3_bind_double(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, std::string_view value)
{
    sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindNull(int index)
{
    sqlite3_bind_null(stmt_, index);
    return *this;
}

Statement& Statement::Bind(int index, std::optional<int32_t> value)
{
    if (value)
        return Bind(index, static_cast<int64_t>(*value));
    return BindNull(index);
}

bool Statement::Step()
{
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db_.Fail("statement failed", rc);
}

void Statement::Run()
{
    while (Step()) {
    }
}

void Statement::Reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::IsNull(int column) const
{
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int64_t Statement::Int(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

double Statement::Real(int column) const
{
    return sqlite3_column_double(stmt_, column);
}

std::string Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text)
        return {};
    return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::optional<int32_t> Statement::OptionalInt(int column) const
{
    if (IsNull(column))
        return std::nullopt;
    return static_cast<int32_t>(sqlite3_column_int64(stmt_, column));
}

void Exec(const LMDatabase& db, const char* sql)
{
    char* message = nullptr;
    int rc = sqlite3_exec(db.handle(), sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        db.Fail("statement failed", rc);
}

Transaction::Transaction(const LMDatabase& db) : db_(db)
{
    Exec(db, "BEGIN IMMEDIATE");
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit()
{
    Exec(db_, "COMMIT");
    open_ = false;
}

size_t CharCount(std::string_view text)
{
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

void CheckLength(const LMDatabase& db, const char* field, std::string_view text, size_t max)
{
    if (CharCount(text) > max)
        throw ELMDatabase(ELMDatabase::Kind::Constraint, "LMData database \"" + db.path().string() +
                                                             "\": " + field + " is longer than " +
                                                             std::to_string(max) + " characters");
}

} // namespace lm::sql
