#include "lmdata/AFilterDatabase.h"

#include "lmdata/LMDatabase.h"
#include "lmdata/internal/Sqlite.h"

#include <algorithm>
#include <ctime>
#include <set>
#include <tuple>

namespace lm {

namespace {

const char* const kHeaderColumns = "FID, FDate, FName, DeleteTDP, EOT_Type, IncludeFilter, TreatmentMethod, "
                                   "MPT, LOCK, Back, Forward, ADepFlag, BDepFlag, CDepFlag, DDepFlag";

// Whether the Filters table has the DeleteTR column (schema 2 on).
bool HasDeleteTR(const LMDatabase& db)
{
    sql::Statement q(db, "SELECT count(*) FROM pragma_table_info('Filters') WHERE name = 'DeleteTR'");
    return q.Step() && q.Int(0) > 0;
}

std::string Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

FilterHeader ReadHeader(const sql::Statement& q)
{
    FilterHeader h;
    h.fid = q.Int(0);
    h.date = q.Text(1);
    h.name = q.Text(2);
    h.deleteTDP = q.Int(3) != 0;
    h.eotType = q.Int(4) != 0;
    h.includeFilter = static_cast<int16_t>(q.Int(5));
    h.treatmentMethod = static_cast<int16_t>(q.Int(6));
    h.mpt = q.OptionalInt(7);
    h.lock = q.OptionalInt(8);
    h.back = q.OptionalInt(9);
    h.forward = q.OptionalInt(10);
    h.aDep = q.Int(11) != 0;
    h.bDep = q.Int(12) != 0;
    h.cDep = q.Int(13) != 0;
    h.dDep = q.Int(14) != 0;
    if (!q.IsNull(15))
        h.deleteTR = q.Int(15) != 0;
    return h;
}

[[noreturn]] void Refuse(const LMDatabase& db, const std::string& text)
{
    throw ELMDatabase(ELMDatabase::Kind::Constraint,
                      "LMData database \"" + db.path().string() + "\": " + text);
}

// Checks what the tables would refuse, before anything is written, so that the message
// says which row is wrong.
void CheckFilter(const LMDatabase& db, const StoredFilter& f)
{
    sql::CheckLength(db, "the filter name", f.header.name, 255);
    // The header's two choices are item indexes of radio groups; another value could not be
    // shown again when the filter is loaded.
    if (f.header.includeFilter < 0 || f.header.includeFilter > 1)
        Refuse(db,
               "filter type " + std::to_string(f.header.includeFilter) + " is neither Included nor Excluded");
    if (f.header.treatmentMethod < kTreatmentHits || f.header.treatmentMethod > kTreatmentMechanic)
        Refuse(db, "treatment " + std::to_string(f.header.treatmentMethod) + " is unknown");
    std::set<std::pair<int32_t, int32_t>> keys;
    for (const auto& r : f.minMax) {
        if (r.window < 0 || r.window > 2 || r.recNum < 1)
            Refuse(db, "min/max record " + std::to_string(r.recNum) + " of window " +
                           std::to_string(r.window) + " is out of range");
        if (!keys.insert({r.window, r.recNum}).second)
            Refuse(db, "min/max record " + std::to_string(r.recNum) + " of window " +
                           std::to_string(r.window) + " is given twice");
        sql::CheckLength(db, "a parameter name", r.param, 40);
    }
    keys.clear();
    for (const auto& r : f.equations) {
        if (r.window != 0 || r.recNum < 1)
            Refuse(db, "equation record " + std::to_string(r.recNum) + " is out of range");
        if (!keys.insert({r.window, r.recNum}).second)
            Refuse(db, "equation record " + std::to_string(r.recNum) + " is given twice");
        sql::CheckLength(db, "a parameter name", r.yParam, 40);
        sql::CheckLength(db, "a parameter name", r.xParam, 40);
        sql::CheckLength(db, "a relation", r.token, 2);
    }
    keys.clear();
    for (const auto& r : f.expressions) {
        if (r.recNum < 1 || r.recNum > 4)
            Refuse(db, "expression row " + std::to_string(r.recNum) + " is out of range");
        if (!keys.insert({0, r.recNum}).second)
            Refuse(db, "expression row " + std::to_string(r.recNum) + " is given twice");
        sql::CheckLength(db, "an expression", r.expression, 80);
    }
}

// Into the current row: MPT and LOCK only with the event treatment, Forward and Back only
// with the mechanical-noise treatment; the others stay empty.
void BindHeader(sql::Statement& q, const FilterHeader& h, const std::string& date)
{
    const bool events = h.treatmentMethod == kTreatmentEvents;
    const bool mechanic = h.treatmentMethod == kTreatmentMechanic;
    q.Bind(1, date)
        .Bind(2, h.name)
        .Bind(3, int64_t{h.deleteTDP})
        .Bind(4, int64_t{h.eotType})
        .Bind(5, int64_t{h.includeFilter})
        .Bind(6, int64_t{h.treatmentMethod})
        .Bind(7, events ? h.mpt : std::nullopt)
        .Bind(8, events ? h.lock : std::nullopt)
        .Bind(9, mechanic ? h.back : std::nullopt)
        .Bind(10, mechanic ? h.forward : std::nullopt)
        .Bind(11, int64_t{h.aDep})
        .Bind(12, int64_t{h.bDep})
        .Bind(13, int64_t{h.cDep})
        .Bind(14, int64_t{h.dDep})
        .Bind(15, h.deleteTR ? std::optional<int32_t>(*h.deleteTR ? 1 : 0) : std::nullopt);
}

void DeleteChildren(const LMDatabase& db, int64_t fid)
{
    for (const char* text : {"DELETE FROM FRMinMax WHERE FID = ?1", "DELETE FROM FRExpr WHERE FID = ?1",
                             "DELETE FROM FExpress WHERE FID = ?1"}) {
        sql::Statement q(db, text);
        q.Bind(1, fid).Run();
    }
}

void StoreChildren(const LMDatabase& db, int64_t fid, const StoredFilter& filter)
{
    const StoredFilter f = AFilterDatabase::StorableChildren(filter);
    sql::Statement minMax(db, "INSERT INTO FRMinMax (FID, RWindowNum, RecNum, RParam, RMin, RMax) "
                              "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    for (const auto& r : f.minMax) {
        minMax.Bind(1, fid)
            .Bind(2, int64_t{r.window})
            .Bind(3, int64_t{r.recNum})
            .Bind(4, r.param)
            .Bind(5, r.min)
            .Bind(6, r.max)
            .Run();
        minMax.Reset();
    }
    sql::Statement equation(db, "INSERT INTO FRExpr (FID, RWindowNum, RecNum, YParam, Token, AConst, XParam, "
                                "BConst) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (const auto& r : f.equations) {
        equation.Bind(1, fid)
            .Bind(2, int64_t{r.window})
            .Bind(3, int64_t{r.recNum})
            .Bind(4, r.yParam)
            .Bind(5, r.token)
            .Bind(6, r.a)
            .Bind(7, r.xParam)
            .Bind(8, r.b)
            .Run();
        equation.Reset();
    }
    sql::Statement expression(db, "INSERT INTO FExpress (FID, RecNum, Expression) VALUES (?1, ?2, ?3)");
    for (const auto& r : f.expressions) {
        expression.Bind(1, fid).Bind(2, int64_t{r.recNum}).Bind(3, r.expression).Run();
        expression.Reset();
    }
}

} // namespace

StoredFilter AFilterDatabase::StorableChildren(const StoredFilter& filter)
{
    StoredFilter f;
    f.header = filter.header;
    // A window is stored only when its first grid row names a parameter.
    auto firstRowNamed = [](const auto& rows, int32_t window, auto paramOf) {
        return std::any_of(rows.begin(), rows.end(), [&](const auto& r) {
            return r.window == window && r.recNum == 1 && !paramOf(r).empty();
        });
    };
    for (const auto& r : filter.minMax)
        if (firstRowNamed(filter.minMax, r.window, [](const MinMaxRow& m) { return m.param; }))
            f.minMax.push_back(r);
    for (const auto& r : filter.equations)
        if (firstRowNamed(filter.equations, r.window, [](const EquationRow& e) { return e.yParam; }))
            f.equations.push_back(r);
    for (const auto& r : filter.expressions)
        if (!r.expression.empty())
            f.expressions.push_back(r);
    auto byWindowAndRow = [](const auto& a, const auto& b) {
        return std::tie(a.window, a.recNum) < std::tie(b.window, b.recNum);
    };
    std::sort(f.minMax.begin(), f.minMax.end(), byWindowAndRow);
    std::sort(f.equations.begin(), f.equations.end(), byWindowAndRow);
    std::sort(f.expressions.begin(), f.expressions.end(),
              [](const ExpressionRow& a, const ExpressionRow& b) { return a.recNum < b.recNum; });
    return f;
}

AFilterDatabase::AFilterDatabase(LMDatabase& db)
    : db_(db), headerColumns_(std::string(kHeaderColumns) + (HasDeleteTR(db) ? ", DeleteTR" : ", NULL"))
{
}

std::vector<FilterHeader> AFilterDatabase::Filters() const
{
    sql::Statement q(db_, "SELECT " + headerColumns_ + " FROM Filters ORDER BY FID");
    std::vector<FilterHeader> rows;
    while (q.Step())
        rows.push_back(ReadHeader(q));
    return rows;
}

std::optional<FilterHeader> AFilterDatabase::Header(int64_t fid) const
{
    sql::Statement q(db_, "SELECT " + headerColumns_ + " FROM Filters WHERE FID = ?1");
    q.Bind(1, fid);
    if (!q.Step())
        return std::nullopt;
    return ReadHeader(q);
}

std::vector<MinMaxRow> AFilterDatabase::MinMaxRows(int64_t fid, int32_t window) const
{
    sql::Statement q(db_, "SELECT RWindowNum, RecNum, RParam, RMin, RMax FROM FRMinMax "
                          "WHERE FID = ?1 AND RWindowNum = ?2 ORDER BY RecNum");
    q.Bind(1, fid).Bind(2, int64_t{window});
    std::vector<MinMaxRow> rows;
    while (q.Step())
        rows.push_back({static_cast<int32_t>(q.Int(0)), static_cast<int32_t>(q.Int(1)), q.Text(2), q.Real(3),
                        q.Real(4)});
    return rows;
}

std::vector<EquationRow> AFilterDatabase::EquationRows(int64_t fid, int32_t window) const
{
    sql::Statement q(db_, "SELECT RWindowNum, RecNum, YParam, Token, AConst, XParam, BConst FROM FRExpr "
                          "WHERE FID = ?1 AND RWindowNum = ?2 ORDER BY RecNum");
    q.Bind(1, fid).Bind(2, int64_t{window});
    std::vector<EquationRow> rows;
    while (q.Step())
        rows.push_back({static_cast<int32_t>(q.Int(0)), static_cast<int32_t>(q.Int(1)), q.Text(2), q.Text(3),
                        q.Real(4), q.Text(5), q.Real(6)});
    return rows;
}

std::vector<ExpressionRow> AFilterDatabase::Expressions(int64_t fid) const
{
    sql::Statement q(db_, "SELECT RecNum, Expression FROM FExpress WHERE FID = ?1 ORDER BY RecNum");
    q.Bind(1, fid);
    std::vector<ExpressionRow> rows;
    while (q.Step())
        rows.push_back({static_cast<int32_t>(q.Int(0)), q.Text(1)});
    return rows;
}

std::optional<StoredFilter> AFilterDatabase::Load(int64_t fid) const
{
    // One read transaction, so that a concurrent update is seen whole or not at all.
    sql::Exec(db_, "BEGIN");
    try {
        StoredFilter f;
        auto header = Header(fid);
        if (!header) {
            sql::Exec(db_, "COMMIT");
            return std::nullopt;
        }
        f.header = *header;
        for (int32_t window = 0; window < 3; ++window) {
            auto rows = MinMaxRows(fid, window);
            f.minMax.insert(f.minMax.end(), rows.begin(), rows.end());
        }
        f.equations = EquationRows(fid, 0);
        f.expressions = Expressions(fid);
        sql::Exec(db_, "COMMIT");
        return f;
    } catch (...) {
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

int64_t AFilterDatabase::Insert(const StoredFilter& filter)
{
    CheckFilter(db_, filter);
    sql::Transaction transaction(db_);
    sql::Statement q(db_,
                     "INSERT INTO Filters (FDate, FName, DeleteTDP, EOT_Type, IncludeFilter, "
                     "TreatmentMethod, MPT, LOCK, Back, Forward, ADepFlag, BDepFlag, CDepFlag, DDepFlag, "
                     "DeleteTR) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    BindHeader(q, filter.header, Today());
    q.Run();
    const int64_t fid = sqlite3_last_insert_rowid(db_.handle());
    StoreChildren(db_, fid, filter);
    transaction.Commit();
    return fid;
}

bool AFilterDatabase::Update(int64_t fid, const StoredFilter& filter)
{
    CheckFilter(db_, filter);
    sql::Transaction transaction(db_);
    sql::Statement q(db_, "UPDATE Filters SET FDate = ?1, FName = ?2, DeleteTDP = ?3, EOT_Type = ?4, "
                          "IncludeFilter = ?5, TreatmentMethod = ?6, MPT = ?7, LOCK = ?8, Back = ?9, "
                          "Forward = ?10, ADepFlag = ?11, BDepFlag = ?12, CDepFlag = ?13, DDepFlag = ?14, "
                          "DeleteTR = ?15 WHERE FID = ?16");
    BindHeader(q, filter.header, Today());
    q.Bind(16, fid).Run();
    if (sqlite3_changes(db_.handle()) == 0)
        return false; // the filter was deleted meanwhile: nothing is stored
    DeleteChildren(db_, fid);
    StoreChildren(db_, fid, filter);
    transaction.Commit();
    return true;
}

bool AFilterDatabase::Delete(int64_t fid)
{
    sql::Transaction transaction(db_);
    DeleteChildren(db_, fid);
    sql::Statement q(db_, "DELETE FROM Filters WHERE FID = ?1");
    q.Bind(1, fid).Run();
    const bool found = sqlite3_changes(db_.handle()) > 0;
    transaction.Commit();
    return found;
}

} // namespace lm
