#include "TestDb.h"
#include "lmdata/AFilterDatabase.h"
#include "lmdata/LMDatabase.h"

#include <ctime>
#include <gtest/gtest.h>
#include <optional>

using lm::AFilterDatabase;
using lm::ELMDatabase;
using lm::LMDatabase;
using lm::StoredFilter;

using lmtest::FailureKind;

namespace {

class FilterDatabase : public ::testing::Test {
protected:
    lmtest::TempDir dir;
    LMDatabase db = LMDatabase::Open(dir / "f.sqlite");
    AFilterDatabase filters{db};
    lmtest::RawConnection raw{db.path()};

    long long ChildRows(int64_t fid)
    {
        const std::string id = std::to_string(fid);
        return raw.Count("SELECT count(*) FROM FRMinMax WHERE FID = " + id) +
               raw.Count("SELECT count(*) FROM FRExpr WHERE FID = " + id) +
               raw.Count("SELECT count(*) FROM FExpress WHERE FID = " + id);
    }
};

StoredFilter Full()
{
    StoredFilter f;
    auto& h = f.header;
    h.name = "Шум насоса";
    h.deleteTDP = true;
    h.eotType = true;
    h.includeFilter = 1;
    h.treatmentMethod = lm::kTreatmentEvents;
    h.mpt = 300;
    h.lock = -1; // kept as typed; the filter set reads it as unsigned
    h.aDep = true;
    h.cDep = true;
    f.minMax = {{0, 1, "Amplitude", 40, 100},
                {0, 2, "Energy", 0.5, 1e6},
                {1, 1, "Duration", 0, 0},
                {1, 2, "Counts", -3, 7},
                {1, 3, "RiseTime", 1, 2}};
    f.equations = {{0, 1, "Amplitude", ">=", 2, "Energy", 1}, {0, 2, "Counts", "<", 0.25, "Duration", -4}};
    f.expressions = {{1, "A*B+!D"}, {3, "C"}};
    return f;
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

void ExpectSameChildren(const StoredFilter& a, const StoredFilter& b)
{
    ASSERT_EQ(a.minMax.size(), b.minMax.size());
    for (size_t i = 0; i < a.minMax.size(); ++i) {
        const auto &x = a.minMax[i], &y = b.minMax[i];
        EXPECT_EQ(std::tie(x.window, x.recNum, x.param, x.min, x.max),
                  std::tie(y.window, y.recNum, y.param, y.min, y.max))
            << i;
    }
    ASSERT_EQ(a.equations.size(), b.equations.size());
    for (size_t i = 0; i < a.equations.size(); ++i) {
        const auto &x = a.equations[i], &y = b.equations[i];
        EXPECT_EQ(std::tie(x.window, x.recNum, x.yParam, x.token, x.a, x.xParam, x.b),
                  std::tie(y.window, y.recNum, y.yParam, y.token, y.a, y.xParam, y.b))
            << i;
    }
    ASSERT_EQ(a.expressions.size(), b.expressions.size());
    for (size_t i = 0; i < a.expressions.size(); ++i)
        EXPECT_EQ(std::tie(a.expressions[i].recNum, a.expressions[i].expression),
                  std::tie(b.expressions[i].recNum, b.expressions[i].expression));
}

} // namespace

TEST_F(FilterDatabase, StoredFilterLoadsBackWithItsChildrenByWindowAndRow)
{
    const StoredFilter f = Full();
    const int64_t fid = filters.Insert(f);
    const auto loaded = filters.Load(fid);
    ASSERT_TRUE(loaded);
    const auto& h = loaded->header;
    EXPECT_EQ(h.fid, fid);
    EXPECT_EQ(h.date, Today());
    EXPECT_EQ(h.name, f.header.name);
    EXPECT_EQ(
        std::tie(h.deleteTDP, h.eotType, h.includeFilter, h.treatmentMethod),
        std::tie(f.header.deleteTDP, f.header.eotType, f.header.includeFilter, f.header.treatmentMethod));
    EXPECT_EQ(h.mpt, 300);
    EXPECT_EQ(h.lock, -1);
    EXPECT_EQ(std::tie(h.aDep, h.bDep, h.cDep, h.dDep), std::make_tuple(true, false, true, false));
    ExpectSameChildren(*loaded, f);

    EXPECT_EQ(filters.MinMaxRows(fid, 1).size(), 3u); // grid B gets three rows
    EXPECT_EQ(filters.MinMaxRows(fid, 2).size(), 0u);
    EXPECT_FALSE(filters.Load(fid + 1));
}

TEST_F(FilterDatabase, EventAndNoiseWindowsAreStoredOnlyWithTheirTreatment)
{
    struct Case {
        int16_t treatment;
        bool mptLock, backForward;
    };
    const Case cases[] = {{lm::kTreatmentHits, false, false},
                          {lm::kTreatmentEvents, true, false},
                          {lm::kTreatmentMechanic, false, true}};
    for (const auto& c : cases) {
        StoredFilter f = Full();
        f.header.treatmentMethod = c.treatment;
        f.header.mpt = 10, f.header.lock = 20, f.header.back = 30, f.header.forward = 40;
        const int64_t fid = filters.Insert(f);
        const auto h = filters.Header(fid);
        ASSERT_TRUE(h);
        EXPECT_EQ(h->mpt.has_value(), c.mptLock) << c.treatment;
        EXPECT_EQ(h->lock.has_value(), c.mptLock) << c.treatment;
        EXPECT_EQ(h->back.has_value(), c.backForward) << c.treatment;
        EXPECT_EQ(h->forward.has_value(), c.backForward) << c.treatment;
        if (c.backForward) {
            EXPECT_EQ(std::make_pair(*h->back, *h->forward), std::make_pair(30, 40));
        }
        // The same rule on update.
        f.header.treatmentMethod = lm::kTreatmentHits;
        ASSERT_TRUE(filters.Update(fid, f));
        EXPECT_EQ(raw.Count("SELECT count(*) FROM Filters WHERE FID = " + std::to_string(fid) +
                            " AND MPT IS NULL AND LOCK IS NULL AND Back IS NULL AND Forward IS NULL"),
                  1);
    }
}

TEST_F(FilterDatabase, WindowsWithoutAFirstParameterAndEmptyExpressionsAreNotStored)
{
    StoredFilter f;
    f.header.name = "partial";
    f.minMax = {{0, 1, "", 0, 1}, {0, 2, "Energy", 0, 1}, {2, 1, "Counts", 1, 2}};
    f.equations = {{0, 1, "", "=", 1, "Energy", 0}};
    f.expressions = {{1, "C"}, {2, ""}};
    const int64_t fid = filters.Insert(f);
    const auto loaded = filters.Load(fid);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->minMax.size(), 1u);
    EXPECT_EQ(loaded->minMax[0].window, 2);
    EXPECT_TRUE(loaded->equations.empty());
    ASSERT_EQ(loaded->expressions.size(), 1u);
    EXPECT_EQ(loaded->expressions[0].expression, "C");
}

TEST_F(FilterDatabase, InsertTwiceGivesTwoFiltersAndUpdateReplacesTheChildren)
{
    const int64_t first = filters.Insert(Full());
    const int64_t second = filters.Insert(Full());
    EXPECT_NE(first, second);
    auto list = filters.Filters();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].fid, first);
    EXPECT_EQ(list[1].fid, second);

    StoredFilter changed;
    changed.header.name = "changed";
    changed.minMax = {{1, 1, "Amplitude", 1, 2}};
    changed.expressions = {{1, "B"}};
    ASSERT_TRUE(filters.Update(second, changed));
    const auto loaded = filters.Load(second);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.name, "changed");
    EXPECT_FALSE(loaded->header.mpt);
    ExpectSameChildren(*loaded, changed); // grid B back to one row, D and expression 3 gone
    ExpectSameChildren(*filters.Load(first), Full());
    EXPECT_EQ(filters.Filters().size(), 2u);
}

TEST_F(FilterDatabase, DeleteCascadesAndADeletedFilterCannotBeUpdated)
{
    const int64_t gone = filters.Insert(Full());
    const int64_t kept = filters.Insert(Full());
    const long long keptRows = ChildRows(kept);
    ASSERT_GT(ChildRows(gone), 0);

    EXPECT_TRUE(filters.Delete(gone));
    EXPECT_EQ(ChildRows(gone), 0);
    EXPECT_EQ(ChildRows(kept), keptRows);
    EXPECT_FALSE(filters.Delete(gone));

    EXPECT_FALSE(filters.Update(gone, Full()));
    EXPECT_FALSE(filters.Header(gone));
    EXPECT_EQ(ChildRows(gone), 0);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM Filters"), 1);

    // A remembered FID never names a later filter.
    const int64_t next = filters.Insert(Full());
    EXPECT_GT(next, kept);
    EXPECT_FALSE(filters.Update(gone, Full()));
}

TEST_F(FilterDatabase, AFailedWriteLeavesTheDatabaseAsItWas)
{
    const int64_t fid = filters.Insert(Full());
    const long long rows = ChildRows(fid);
    // A fault in the last statement of a write: the third table refuses one text.
    raw.Exec("CREATE TRIGGER Refuse BEFORE INSERT ON FExpress WHEN NEW.Expression = 'boom' "
             "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    StoredFilter bad = Full();
    bad.header.name = "bad";
    bad.expressions = {{1, "boom"}};

    EXPECT_TRUE(FailureKind([&] { filters.Update(fid, bad); }));
    EXPECT_EQ(filters.Header(fid)->name, Full().header.name);
    EXPECT_EQ(ChildRows(fid), rows);

    EXPECT_TRUE(FailureKind([&] { filters.Insert(bad); }));
    EXPECT_EQ(raw.Count("SELECT count(*) FROM Filters"), 1);
    EXPECT_EQ(raw.Count("SELECT count(*) FROM FRMinMax"), 5);

    // Rows the tables would refuse are reported before anything is written.
    StoredFilter twice = Full();
    twice.minMax.push_back({0, 1, "Counts", 0, 1});
    StoredFilter longName = Full();
    longName.header.name = std::string(256, 'x');
    StoredFilter badRow = Full();
    badRow.expressions = {{5, "A"}};
    StoredFilter badWindow = Full();
    badWindow.minMax = {{3, 1, "Counts", 0, 1}};
    StoredFilter badTreatment = Full();
    badTreatment.header.treatmentMethod = 3;
    StoredFilter badType = Full();
    badType.header.includeFilter = 2;
    for (const auto* f : {&twice, &longName, &badRow, &badWindow, &badTreatment, &badType}) {
        EXPECT_EQ(FailureKind([&] { filters.Insert(*f); }), ELMDatabase::Kind::Constraint);
        EXPECT_EQ(FailureKind([&] { filters.Update(fid, *f); }), ELMDatabase::Kind::Constraint);
    }
    EXPECT_EQ(raw.Count("SELECT count(*) FROM Filters"), 1);
    EXPECT_EQ(ChildRows(fid), rows);

    // Sizes count characters, not bytes: 255 Cyrillic letters fit.
    StoredFilter cyrillic = Full();
    cyrillic.header.name.clear();
    for (int i = 0; i < 255; ++i)
        cyrillic.header.name += "Ж";
    EXPECT_EQ(filters.Header(filters.Insert(cyrillic))->name, cyrillic.header.name);
}
