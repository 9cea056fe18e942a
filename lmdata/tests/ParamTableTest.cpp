#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"
#include "TestDb.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using lm::AParamTable;
using lm::LMDatabase;

namespace {

class ParamTable : public ::testing::Test {
protected:
    lmtest::TempDir dir;
    LMDatabase db = LMDatabase::Open(dir / "p.sqlite");
    AParamTable params{db};

    // Replaces the seed rows by the given ones (ParamConst, name, short name).
    void UseRows(std::initializer_list<std::tuple<int, const char*, const char*>> rows)
    {
        lmtest::RawConnection raw(db.path());
        raw.Exec("DELETE FROM AEParams");
        for (const auto& [id, name, shortName] : rows)
            raw.Exec("INSERT INTO AEParams (ParamConst, ParamName, ShortName) VALUES (" + std::to_string(id) +
                     ", '" + name + "', '" + shortName + "')");
    }
};

std::set<std::string> AsSet(const std::vector<std::string>& names)
{
    return {names.begin(), names.end()};
}

} // namespace

TEST_F(ParamTable, SeedPairsEveryNameWithItsParameter)
{
    struct Row {
        uint32_t id;
        const char* name;
        const char* shortName;
    };
    const Row rows[] = {
        {1, "Time", "Time"},     {2, "Channel", "Chan"},        {4, "Sequence", "Seq"},
        {8, "RiseTime", "Rise"}, {16, "CountsToPeak", "CntPk"}, {32, "Counts", "Cnts"},
        {64, "Energy", "Ener"},  {128, "Duration", "Durat"},    {256, "Amplitude", "Amp"},
        {512, "DP", "DP"},       {1024, "RMS", "RMS"},          {2048, "Par1", "Par1"},
        {4096, "Gain", "Gn"},    {8192, "Threshold", "TH"},     {32768, "Frequency", "A-Frq"},
        {0, "Hits", "Hits"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(params.FindParamId(r.name), r.id) << r.name;
        EXPECT_EQ(params.FindParamName(r.id), r.name) << r.id;
        EXPECT_EQ(params.FindShortName(r.id), r.shortName) << r.id;
    }
    const auto all = params.Rows();
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](const auto& a, const auto& b) { return a.paramConst < b.paramConst; }));
    EXPECT_EQ(params.ParamNames().size(), all.size());
}

TEST_F(ParamTable, NameLookupIgnoresCaseButNotBlanks)
{
    const std::pair<const char*, uint32_t> cases[] = {
        {"energy", 64}, {"ENERGY", 64}, {"Energy", 64}, {"eNeRgY", 64},
        {" Energy", 0}, {"Energy ", 0}, {"", 0},        {"Energies", 0},
    };
    for (const auto& [name, id] : cases)
        EXPECT_EQ(params.FindParamId(name), id) << "'" << name << "'";
}

TEST_F(ParamTable, IdLookupTakesTheFirstRowInConstThenNameOrder)
{
    UseRows({{64, "Energy", "En2"},
             {64, "Ener", "En1"},
             {7, "b", "sb"},
             {7, "B2", "sB2"},
             {7, "a", "sa"},
             {8, "Zed", "z"}});
    EXPECT_EQ(params.FindParamName(64), "Ener");
    EXPECT_EQ(params.FindShortName(64), "En1");
    EXPECT_EQ(params.FindParamId("Ener"), 64u);
    EXPECT_EQ(params.FindParamId("Energy"), 64u);
    EXPECT_EQ(params.FindParamName(7), "a"); // case-insensitive order: a < b < B2
    EXPECT_EQ(params.FindShortName(7), "sa");

    EXPECT_EQ(params.FindParamName(16), std::nullopt);
    EXPECT_EQ(params.FindShortName(16), "");

    std::vector<std::string> names;
    for (const auto& row : params.Rows())
        names.push_back(row.paramName);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "B2", "Zed", "Ener", "Energy"}));
}

TEST_F(ParamTable, SystemQueryGivesDistinctSortedNamesOfThatSystem)
{
    // The lookup dialog's "Vallen System AMSY" queries the stored name "Vallen System AMS".
    EXPECT_EQ(lm::SystemNameOfChoice("Vallen System AMSY"), "Vallen System AMS");
    EXPECT_EQ(lm::SystemChoices().size(), 7u);
    const auto vallen = params.SystemParamNames(lm::SystemNameOfChoice("Vallen System AMSY"));
    EXPECT_FALSE(vallen.empty());
    EXPECT_TRUE(params.SystemParamNames("Vallen System AMSY").empty());
    for (const auto& choice : lm::SystemChoices()) {
        const auto names = params.SystemParamNames(choice.systemName);
        EXPECT_FALSE(names.empty()) << choice.shown;
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << choice.shown;
        EXPECT_EQ(AsSet(names).size(), names.size()) << choice.shown;
        EXPECT_EQ(AsSet(names).count("Hits"), 0u) << "Hits is no filter parameter";
    }

    const auto aline = AsSet(params.SystemParamNames("A-Line 32D"));
    EXPECT_EQ(aline, (std::set<std::string>{"Amplitude", "Channel", "Counts", "Duration", "Energy",
                                            "RiseTime", "Time"}));
    // Common parameters: those every reader delivers.
    std::set<std::string> common = aline;
    for (const char* system : {"Spartan 3000", "Locan/SpartanPC/Spartan2000/DiSP"}) {
        const auto names = AsSet(params.SystemParamNames(system));
        std::erase_if(common, [&](const std::string& n) { return !names.count(n); });
    }
    EXPECT_EQ(AsSet(params.SystemParamNames("Common parameters")), common);
    EXPECT_EQ(params.SystemParamNames("All parameters").size(), params.Rows().size() - 1); // all but Hits
    EXPECT_EQ(AsSet(params.SystemParamNames("Spartan 3000")).count("Frequency"), 0u);
    EXPECT_EQ(AsSet(params.SystemParamNames("Locan/SpartanPC/Spartan2000/DiSP")).count("Sequence"), 0u);
}

TEST_F(ParamTable, SystemQueryReturnsEachLinkedNameOnce)
{
    lmtest::RawConnection raw(db.path());
    // Two rows named alike (an alias under another id), both linked to one system.
    raw.Exec("INSERT INTO AEParams (ParamConst, ParamName, ShortName) VALUES (65, 'Energy', 'E2')");
    raw.Exec("INSERT INTO \"Prm&Sys\" SELECT ParamID, (SELECT AESystemID FROM AESystem WHERE SystemName = "
             "'A-Line 32D') FROM AEParams WHERE ParamConst = 65");
    const auto names = params.SystemParamNames("A-Line 32D");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Energy"), 1);
}
