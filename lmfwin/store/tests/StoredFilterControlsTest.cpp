// Filters between the window's controls and the database rows, and the parameter lookup
// over a real database.

#include "lmfwin/store/StoredFilterControls.h"

#include "lmdata/AFilterDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "lmfwin/filter/AFilter.h"
#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lm {
namespace {

// The fields a store keeps, side by side, so a failure names the field.
void ExpectSameStoredFields(const FilterControls& got, const FilterControls& want)
{
    EXPECT_EQ(got.EditFilterName, want.EditFilterName);
    EXPECT_EQ(got.RadioGroupType, want.RadioGroupType);
    EXPECT_EQ(got.RadioGroupEventType, want.RadioGroupEventType);
    EXPECT_EQ(got.EditMPT, want.EditMPT);
    EXPECT_EQ(got.EditLOCK, want.EditLOCK);
    EXPECT_EQ(got.EditForward, want.EditForward);
    EXPECT_EQ(got.EditBackWard, want.EditBackWard);
    EXPECT_EQ(got.CheckBoxTDP, want.CheckBoxTDP);
    EXPECT_EQ(got.CheckBoxTR, want.CheckBoxTR);
    EXPECT_EQ(got.CheckBoxEOT, want.CheckBoxEOT);
    EXPECT_EQ(got.GridA, want.GridA);
    EXPECT_EQ(got.GridB, want.GridB);
    EXPECT_EQ(got.GridC, want.GridC);
    EXPECT_EQ(got.GridD, want.GridD);
    EXPECT_EQ((std::array{got.BoxDepA, got.BoxDepB, got.BoxDepC, got.BoxDepD}),
              (std::array{want.BoxDepA, want.BoxDepB, want.BoxDepC, want.BoxDepD}));
    EXPECT_EQ(got.GridExpressions, want.GridExpressions);
}

// Numbers written with `sep` as the decimal separator.
FilterControls EventsFilter(char sep)
{
    const std::string s(1, sep);
    FilterControls c;
    c.EditFilterName = "Шум насоса";
    c.RadioGroupType = 1;
    c.RadioGroupEventType = kTreatmentEvents;
    c.EditMPT = "300";
    c.EditLOCK = "2147483647"; // the largest the field holds
    c.CheckBoxTDP = true;
    c.CheckBoxTR = true;
    c.CheckBoxEOT = true;
    c.GridB = {{"Amplitude", "40", "99" + s + "5"}, {"Energy", "1e-05", "1000000"}, {"Counts", "-3", "0"}};
    c.GridD = {{"Energy", ">=", "0" + s + "25", "Amplitude", "-4"}};
    c.BoxDepB = true;
    c.BoxDepD = true;
    c.GridExpressions = {"B|D", "", "b", ""};
    return c;
}

FilterControls MechanicFilter()
{
    FilterControls c;
    c.EditFilterName = "mechanic";
    c.RadioGroupEventType = kTreatmentMechanic;
    c.EditForward = "2147483647";
    c.EditBackWard = "20";
    c.GridA = {{"Amplitude", "0", "100"}};
    c.GridExpressions = {"A", "", "", ""};
    return c;
}

TEST(StoredFilterControls, ControlsRoundTripThroughStoredRows)
{
    struct Case {
        const char* what;
        FilterControls controls;
        char separator;
    };
    const Case cases[] = {
        {"events, '.'", EventsFilter('.'), '.'},
        {"events, ','", EventsFilter(','), ','},
        {"mechanic", MechanicFilter(), '.'},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const StoredFilter stored = StoredFilterFromControls(k.controls, {k.separator});
        ExpectSameStoredFields(ControlsFromStoredFilter(stored, {k.separator}), k.controls);
    }
}

TEST(StoredFilterControls, ValuesStoredOnlyWithTheirTreatment)
{
    FilterControls c;
    c.EditMPT = "1";
    c.EditLOCK = "2";
    c.EditForward = "3";
    c.EditBackWard = "4";
    using V = std::optional<int32_t>;
    struct Case {
        int treatment;
        V mpt, lock, forward, back;
    };
    for (const Case& k : {Case{kTreatmentHits, {}, {}, {}, {}}, Case{kTreatmentEvents, 1, 2, {}, {}},
                          Case{kTreatmentMechanic, {}, {}, 3, 4}}) {
        SCOPED_TRACE(k.treatment);
        c.RadioGroupEventType = k.treatment;
        const FilterHeader h = StoredFilterFromControls(c).header;
        EXPECT_EQ(h.treatmentMethod, k.treatment);
        EXPECT_EQ(h.mpt, k.mpt);
        EXPECT_EQ(h.lock, k.lock);
        EXPECT_EQ(h.forward, k.forward);
        EXPECT_EQ(h.back, k.back);
        // Loading gives empty fields for what was not stored.
        const FilterControls loaded = ControlsFromStoredFilter(StoredFilterFromControls(c));
        EXPECT_EQ(loaded.EditMPT.empty(), !k.mpt);
        EXPECT_EQ(loaded.EditBackWard.empty(), !k.back);
    }
}

TEST(StoredFilterControls, OnlyWindowsWithAParameterInRowOneAndNonEmptyExpressionsAreStored)
{
    FilterControls c;
    c.GridA = {{"", "1", "2"}, {"Amplitude", "1", "2"}}; // row 1 without a parameter
    c.GridB = {{"Counts"}};                              // a short row reads as empty cells
    c.GridC = {};
    c.GridD = {{"", ">", "1", "Energy", "2"}};
    c.GridExpressions = {"", "B", "", ""};
    c.CheckBoxTR = true;
    const StoredFilter s = StoredFilterFromControls(c);
    ASSERT_EQ(s.minMax.size(), 1u);
    EXPECT_EQ(s.minMax[0].window, 1);
    EXPECT_EQ(s.minMax[0].recNum, 1);
    EXPECT_EQ(s.minMax[0].param, "Counts");
    EXPECT_EQ(s.minMax[0].min, 0.0);
    EXPECT_TRUE(s.equations.empty());
    ASSERT_EQ(s.expressions.size(), 1u);
    EXPECT_EQ(s.expressions[0].recNum, 2);
    EXPECT_EQ(s.expressions[0].expression, "B");
}

TEST(StoredFilterControls, LoadedGridsFollowTheStoredRows)
{
    StoredFilter s;
    s.minMax = {{1, 3, "Counts", 3, 4},   {1, 1, "Amplitude", 1, 2}, {1, 2, "Energy", 0, 1},
                {2, 4, "Duration", 5, 6}, {2, 0, "bad", 0, 0},       {2, 20000, "far", 0, 0},
                {7, 1, "no window", 0, 0}};
    s.equations = {{0, 1, "Energy", ">", 1, "Amplitude", 2}, {1, 1, "other window", "<", 0, "x", 0}};
    s.expressions = {{2, "B"}, {5, "out of range"}};
    const FilterControls c = ControlsFromStoredFilter(s, {'.'});

    EXPECT_EQ(c.GridA, EmptyGrid(kMinMaxColumns));
    EXPECT_EQ(c.GridB, (FilterGrid{{"Amplitude", "1", "2"}, {"Energy", "0", "1"}, {"Counts", "3", "4"}}));
    // A record number beyond the rows widens the grid; impossible numbers are left out.
    EXPECT_EQ(c.GridC, (FilterGrid{{"", "", ""}, {"", "", ""}, {"", "", ""}, {"Duration", "5", "6"}}));
    EXPECT_EQ(c.GridD, (FilterGrid{{"Energy", ">", "1", "Amplitude", "2"}}));
    // Loading clears the preset first expression.
    EXPECT_EQ(c.GridExpressions, (std::array<std::string, 4>{"", "B", "", ""}));
}

TEST(StoredFilterControls, NumbersReadBackAsTheStoredValue)
{
    for (double v : {0.1 + 0.2, 1.0 / 3.0, -2.5e-300, 1e20, 123456789012345678.0}) {
        SCOPED_TRACE(v);
        StoredFilter s;
        s.minMax = {{0, 1, "Amplitude", v, v}};
        const FilterControls c = ControlsFromStoredFilter(s, {','});
        const StoredFilter back = StoredFilterFromControls(c, {','});
        ASSERT_EQ(back.minMax.size(), 1u);
        EXPECT_EQ(back.minMax[0].min, v) << c.GridA[0][1];
    }
    StoredFilter s;
    s.minMax = {{0, 1, "Amplitude", 0.1, 1e6}};
    EXPECT_EQ(ControlsFromStoredFilter(s, {','}).GridA[0],
              (std::vector<std::string>{"Amplitude", "0,1", "1000000"}));
}

// A scratch database file, removed with its folder.
class StoreWithDatabase : public ::testing::Test {
protected:
    lmtest::TempFolder temp_{"lmstore-test"};
    std::filesystem::path folder = temp_.path();
    LMDatabase db = LMDatabase::Open(folder / "lm.sqlite");
};

TEST_F(StoreWithDatabase, ParamLookupResolvesNamesOfTheTable)
{
    const AParamTable params(db);
    EXPECT_EQ(params.FindParamId("aMPLITUDE"), 256u);
    EXPECT_EQ(params.FindParamId(" Amplitude"), 0u);
    EXPECT_EQ(params.FindParamName(256), std::optional<std::string>("Amplitude"));
    EXPECT_EQ(params.FindParamName(0x7fffffff), std::nullopt);
}

TEST_F(StoreWithDatabase, ValidatedFilterStoredAndLoadedBackBuildsTheSameFilter)
{
    const AParamTable params(db);
    AFilterDatabase filters(db);
    const FilterControls typed = EventsFilter('.');
    const AFilter before(typed, params, {'.'});
    const int64_t fid = filters.Insert(StoredFilterFromControls(typed, {'.'}));
    const std::optional<StoredFilter> stored = filters.Load(fid);
    ASSERT_TRUE(stored);
    const FilterControls loaded = ControlsFromStoredFilter(*stored, {'.'});
    ExpectSameStoredFields(loaded, typed);
    const AFilter after(loaded, params, {'.'});
    EXPECT_EQ(after.mpt, before.mpt);
    EXPECT_EQ(after.lock, 2147483647u);
    EXPECT_TRUE(after.deleteTR);
    EXPECT_EQ(after.excluded, true);
}

} // namespace
} // namespace lm
