#include "TestDb.h"
#include "lmdata/AGraphDatabase.h"
#include "lmdata/AParamTable.h"
#include "lmdata/LMDatabase.h"

#include <gtest/gtest.h>
#include <optional>

using lm::AGraphDatabase;
using lm::ELMDatabase;
using lm::GraphRecord;
using lm::LMDatabase;

using lmtest::FailureKind;

namespace {

class GraphDatabase : public ::testing::Test {
protected:
    lmtest::TempDir dir;
    LMDatabase db = LMDatabase::Open(dir / "g.sqlite");
    AGraphDatabase graphs{db};
};

bool HasId(const std::vector<lm::LookupRow>& rows, int32_t id)
{
    return std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r.id == id; });
}

GraphRecord Graph(int64_t page, const std::string& name, int16_t lx)
{
    GraphRecord g;
    g.pageId = page;
    g.name = name;
    g.lx = lx;
    g.rx = static_cast<int16_t>(lx + 1);
    return g;
}

} // namespace

TEST_F(GraphDatabase, LookupTablesHoldTheIdentifiersTheGraphsUnderstand)
{
    auto names = [](const std::vector<lm::LookupRow>& rows) {
        std::vector<std::pair<int32_t, std::string>> out;
        for (const auto& r : rows)
            out.emplace_back(r.id, r.name);
        return out;
    };
    using V = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(names(graphs.GraphTypes()), (V{{1, "Point graph"}, {2, "Line graph"}, {3, "Histogram"}}));
    EXPECT_EQ(names(graphs.BinSumTypes()), (V{{1, "Average"}, {2, "Maximum"}, {3, "Minimum"}, {4, "Sum"}}));
    const auto cum = graphs.CumTypes();
    ASSERT_EQ(cum.size(), 3u);
    EXPECT_EQ(cum[0].id, 1);
    EXPECT_EQ(cum[2].id, 3);
}

// Every seeded graph must be shown on the default grid of 5 columns and 4 rows: inside the
// grid, no two graphs on one cell, a known type, axes with names, valid binning.
TEST_F(GraphDatabase, SeededGraphSetsFitTheDefaultGrid)
{
    constexpr int kColumns = 5, kRows = 4;
    lm::AParamTable params(db);
    const auto systems = graphs.Systems();
    ASSERT_GE(systems.size(), 2u);
    for (const auto& system : systems) {
        const auto pages = graphs.Pages(system.id);
        ASSERT_FALSE(pages.empty()) << system.name;
        EXPECT_EQ(system.pageNum, static_cast<int16_t>(pages.size())) << system.name;
        for (const auto& page : pages) {
            const auto records = graphs.Graphs(page.id);
            const std::string where = system.name + " / " + page.name;
            ASSERT_FALSE(records.empty()) << where;
            EXPECT_LE(records.size(), size_t{kColumns * kRows}) << where;
            bool used[kColumns][kRows] = {};
            for (const auto& g : records) {
                const std::string what = where + " / " + g.name;
                ASSERT_TRUE(0 <= g.lx && g.lx < g.rx && g.rx <= kColumns) << what;
                ASSERT_TRUE(0 <= g.ly && g.ly < g.ry && g.ry <= kRows) << what;
                for (int x = g.lx; x < g.rx; ++x)
                    for (int y = g.ly; y < g.ry; ++y) {
                        EXPECT_FALSE(used[x][y]) << what << " overlaps another graph";
                        used[x][y] = true;
                    }
                EXPECT_TRUE(HasId(graphs.GraphTypes(), g.graphTypeId)) << what;
                EXPECT_FALSE(params.FindShortName(g.xAxisType).empty()) << what;
                EXPECT_FALSE(params.FindShortName(g.yAxisType).empty()) << what;
                EXPECT_LT(g.xMin, g.xMax) << what;
                EXPECT_LT(g.yMin, g.yMax) << what;
                if (g.graphTypeId != lm::kPointGraph) {
                    EXPECT_TRUE(HasId(graphs.BinSumTypes(), g.yBinSumTypeId)) << what;
                    EXPECT_TRUE(HasId(graphs.CumTypes(), g.yCumTypeId)) << what;
                }
                if (g.graphTypeId == lm::kHistogram) {
                    EXPECT_GT(g.xBinNum, 0) << what;
                }
            }
        }
    }
}

TEST_F(GraphDatabase, WritesRoundTripAndPagesAndGraphsComeInInsertionOrder)
{
    const int64_t system = graphs.InsertSystem({0, "Mine", "a comment", 2});
    const int64_t second = graphs.InsertPage({0, system, "Second"});
    const int64_t first = graphs.InsertPage({0, system, "First"});
    auto pages = graphs.Pages(system);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].name, "Second");
    EXPECT_EQ(pages[1].name, "First");

    GraphRecord full;
    full.pageId = first;
    full.graphTypeId = lm::kHistogram;
    full.lx = 1, full.ly = 2, full.rx = 3, full.ry = 4;
    full.name = "Every field";
    full.xAxisType = 256, full.yAxisType = 0;
    full.xMin = -5, full.xMax = 100, full.yMin = 1, full.yMax = 100000;
    full.xLog = true, full.yLog = true;
    full.channels = "1, 2;3 4";
    full.xBinNum = 50, full.xBinSumTypeId = 2, full.xCumTypeId = 3;
    full.yBinNum = 7, full.yBinSumTypeId = 4, full.yCumTypeId = 2;
    full.allChannel = true;
    // Inserted at the bottom-right first: order is insertion, not position or name.
    const int64_t c = graphs.InsertGraph(Graph(first, "c", 4));
    full.id = graphs.InsertGraph(full);
    const int64_t a = graphs.InsertGraph(Graph(first, "a", 0));

    auto records = graphs.Graphs(first);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].id, c);
    EXPECT_EQ(records[2].id, a);
    const GraphRecord& got = records[1];
    EXPECT_EQ(got.id, full.id);
    EXPECT_EQ(got.pageId, full.pageId);
    EXPECT_EQ(got.graphTypeId, full.graphTypeId);
    EXPECT_EQ(std::tie(got.lx, got.ly, got.rx, got.ry), std::tie(full.lx, full.ly, full.rx, full.ry));
    EXPECT_EQ(got.name, full.name);
    EXPECT_EQ(std::tie(got.xAxisType, got.yAxisType), std::tie(full.xAxisType, full.yAxisType));
    EXPECT_EQ(std::tie(got.xMin, got.xMax, got.yMin, got.yMax),
              std::tie(full.xMin, full.xMax, full.yMin, full.yMax));
    EXPECT_EQ(std::tie(got.xLog, got.yLog, got.allChannel), std::tie(full.xLog, full.yLog, full.allChannel));
    EXPECT_EQ(got.channels, full.channels);
    EXPECT_EQ(std::tie(got.xBinNum, got.xBinSumTypeId, got.xCumTypeId, got.yBinNum, got.yBinSumTypeId,
                       got.yCumTypeId),
              std::tie(full.xBinNum, full.xBinSumTypeId, full.xCumTypeId, full.yBinNum, full.yBinSumTypeId,
                       full.yCumTypeId));

    // Editing keeps the order; moving a graph to another page moves it to that page.
    GraphRecord renamed = records[0];
    renamed.name = "c2";
    EXPECT_TRUE(graphs.UpdateGraph(renamed));
    EXPECT_EQ(graphs.Graphs(first)[0].name, "c2");
    renamed.pageId = second;
    EXPECT_TRUE(graphs.UpdateGraph(renamed));
    EXPECT_EQ(graphs.Graphs(first).size(), 2u);
    EXPECT_EQ(graphs.Graphs(second).size(), 1u);

    EXPECT_TRUE(graphs.UpdatePage({first, system, "Renamed"}));
    EXPECT_EQ(graphs.Page(first)->name, "Renamed");
    EXPECT_TRUE(graphs.UpdateSystem({system, "Mine 2", "", 2}));
    EXPECT_EQ(graphs.System(system)->name, "Mine 2");
}

TEST_F(GraphDatabase, LinksAreCheckedAndDeletesCascade)
{
    const int64_t keep = graphs.Systems().front().id;
    const auto keptPages = graphs.Pages(keep).size();
    const int64_t system = graphs.InsertSystem({0, "Gone", "", 0});
    const int64_t p1 = graphs.InsertPage({0, system, "p1"});
    const int64_t p2 = graphs.InsertPage({0, system, "p2"});
    const int64_t g1 = graphs.InsertGraph(Graph(p1, "g1", 0));
    graphs.InsertGraph(Graph(p2, "g2", 0));
    graphs.InsertGraph(Graph(p2, "g3", 1));

    EXPECT_EQ(FailureKind([&] { graphs.InsertPage({0, 9999, "orphan"}); }), ELMDatabase::Kind::Constraint);
    EXPECT_EQ(FailureKind([&] { graphs.InsertGraph(Graph(9999, "orphan", 0)); }),
              ELMDatabase::Kind::Constraint);
    GraphRecord moved = *graphs.Graph(g1);
    moved.pageId = 9999;
    EXPECT_EQ(FailureKind([&] { graphs.UpdateGraph(moved); }), ELMDatabase::Kind::Constraint);
    EXPECT_EQ(graphs.Graph(g1)->pageId, p1);
    EXPECT_EQ(FailureKind([&] { graphs.InsertGraph(Graph(p1, std::string(51, 'x'), 0)); }),
              ELMDatabase::Kind::Constraint);
    EXPECT_EQ(graphs.Graphs(p1).size(), 1u);

    EXPECT_TRUE(graphs.DeletePage(p1));
    EXPECT_FALSE(graphs.Graph(g1));
    EXPECT_FALSE(graphs.DeletePage(p1));
    EXPECT_TRUE(graphs.DeleteSystem(system));
    EXPECT_FALSE(graphs.System(system));
    EXPECT_TRUE(graphs.Pages(system).empty());
    EXPECT_TRUE(graphs.Graphs(p2).empty());
    EXPECT_FALSE(graphs.DeleteSystem(system));
    EXPECT_FALSE(graphs.UpdateSystem({system, "x", "", 0}));
    EXPECT_FALSE(graphs.DeleteGraph(g1));
    EXPECT_EQ(graphs.Pages(keep).size(), keptPages); // other systems untouched
}
