#pragma once

// The filter tables: Filters (one row per stored filter) and its child tables FRMinMax
// (min/max records of windows A, B, C), FRExpr (equation records of window D) and
// FExpress (the filter expressions).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lm {

class LMDatabase;

inline constexpr int16_t kTreatmentHits = 0;
inline constexpr int16_t kTreatmentEvents = 1;
inline constexpr int16_t kTreatmentMechanic = 2;

struct FilterHeader {
    int64_t fid = 0;  // FID; 0 until inserted
    std::string date; // FDate as "YYYY-MM-DD"; set to today's local date by every store
    std::string name; // FName
    bool deleteTDP = false;
    bool eotType = false;
    int16_t includeFilter = 0;   // 0 Included, 1 Excluded
    int16_t treatmentMethod = 0; // kTreatmentHits, kTreatmentEvents, kTreatmentMechanic
    // Stored only with the treatment they belong to (MPT, LOCK: events; Back, Forward:
    // mechanic); otherwise they are stored and loaded empty.
    std::optional<int32_t> mpt, lock, back, forward;
    bool aDep = false, bDep = false, cDep = false, dDep = false; // windows joined with AND
    // DeleteTR: "Delete TR"; empty for a filter stored without it (before the option was kept).
    std::optional<bool> deleteTR;
};

struct MinMaxRow {
    int32_t window = 0; // RWindowNum: 0 A, 1 B, 2 C
    int32_t recNum = 1; // grid row, from 1
    std::string param;
    double min = 0.0;
    double max = 0.0;
};

struct EquationRow {
    int32_t window = 0; // always 0: window D
    int32_t recNum = 1;
    std::string yParam;
    std::string token; // relation text
    double a = 0.0;
    std::string xParam;
    double b = 0.0;
};

struct ExpressionRow {
    int32_t recNum = 1; // expression grid row, 1 to 4
    std::string expression;
};

struct StoredFilter {
    FilterHeader header;
    std::vector<MinMaxRow> minMax;      // by window, then recNum
    std::vector<EquationRow> equations; // by recNum
    std::vector<ExpressionRow> expressions;
};

class AFilterDatabase {
public:
    explicit AFilterDatabase(LMDatabase& db);

    // The Filters rows in FID order (the chooser's list).
    std::vector<FilterHeader> Filters() const;
    std::optional<FilterHeader> Header(int64_t fid) const;
    // Rows of one filter: min/max rows of one window, equation rows of window 0, expressions.
    std::vector<MinMaxRow> MinMaxRows(int64_t fid, int32_t window) const;
    std::vector<EquationRow> EquationRows(int64_t fid, int32_t window = 0) const;
    std::vector<ExpressionRow> Expressions(int64_t fid) const;
    // Header and all children; nothing when there is no such FID.
    std::optional<StoredFilter> Load(int64_t fid) const;

    // Stores a new filter (header date = today) and answers its new FID. FIDs are never
    // reused, so an FID remembered for a deleted filter cannot name a later one.
    int64_t Insert(const StoredFilter& filter);
    // Overwrites filter `fid`: header (date = today), delete cascade, children. Answers
    // false and stores nothing when the filter no longer exists.
    bool Update(int64_t fid, const StoredFilter& filter);
    // Deletes the filter with its cascade; false when it did not exist.
    bool Delete(int64_t fid);

    // Child rows that are stored: a window's rows only when its row 1 has a parameter
    // name; expressions only when not empty.
    static StoredFilter StorableChildren(const StoredFilter& filter);

private:
    LMDatabase& db_;
    // The header's columns for a select (an older database read as it is has no DeleteTR).
    std::string headerColumns_;
};

} // namespace lm
