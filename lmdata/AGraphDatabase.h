#pragma once

// The graph tables: graph systems (QVGrfSys), their pages (QVGrfPge), the graphs of a
// page (QVGraph) and the lookup tables of graph type, cumulation and bin-sum type.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lm {

class LMDatabase;

struct GraphSystem {
    int64_t id = 0; // GSystemID; 0 until inserted
    std::string name;
    std::string comment;
    int16_t pageNum = 0;
};

struct GraphPage {
    int64_t id = 0; // GPageID
    int64_t systemId = 0;
    std::string name; // GrPageName, the tab caption
};

inline constexpr int32_t kPointGraph = 1;
inline constexpr int32_t kLineGraph = 2;
inline constexpr int32_t kHistogram = 3;

struct GraphRecord {
    int64_t id = 0; // GraphID
    int64_t pageId = 0;
    int32_t graphTypeId = kPointGraph;
    int16_t lx = 0, ly = 0, rx = 1, ry = 1; // cells from (lx, ly) up to, not including, (rx, ry)
    std::string name;
    uint32_t xAxisType = 0, yAxisType = 0; // HitParam values
    int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool xLog = false, yLog = false;
    std::string channels; // channel numbers separated by blanks, commas or semicolons
    int32_t xBinNum = 0, xBinSumTypeId = 0, xCumTypeId = 0;
    int32_t yBinNum = 0, yBinSumTypeId = 0, yCumTypeId = 0;
    bool allChannel = false; // the no-colour flag
};

struct LookupRow {
    int32_t id = 0;
    std::string name;
};

class AGraphDatabase {
public:
    explicit AGraphDatabase(LMDatabase& db) : db_(db) {}

    // Systems in GSystemID order; the first one is "the first graph set".
    std::vector<GraphSystem> Systems() const;
    std::optional<GraphSystem> System(int64_t systemId) const;
    // Pages of a system and graphs of a page, in insertion order.
    std::vector<GraphPage> Pages(int64_t systemId) const;
    std::vector<GraphRecord> Graphs(int64_t pageId) const;
    std::optional<GraphPage> Page(int64_t pageId) const;
    std::optional<GraphRecord> Graph(int64_t graphId) const;

    std::vector<LookupRow> GraphTypes() const;  // QVGrfType
    std::vector<LookupRow> CumTypes() const;    // QVCumTyp
    std::vector<LookupRow> BinSumTypes() const; // QVBnSmTp

    // Writes. Insert answers the new id; an insert or update that names a system or page
    // that does not exist throws ELMDatabase (Kind::Constraint). Update and Delete answer
    // false when the row does not exist. Deleting a system deletes its pages and their
    // graphs, deleting a page its graphs; each write is one transaction.
    int64_t InsertSystem(const GraphSystem& system);
    bool UpdateSystem(const GraphSystem& system);
    bool DeleteSystem(int64_t systemId);

    int64_t InsertPage(const GraphPage& page);
    bool UpdatePage(const GraphPage& page);
    bool DeletePage(int64_t pageId);

    int64_t InsertGraph(const GraphRecord& graph);
    bool UpdateGraph(const GraphRecord& graph);
    bool DeleteGraph(int64_t graphId);

private:
    LMDatabase& db_;
};

} // namespace lm
