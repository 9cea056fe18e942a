#include "lmdata/AGraphDatabase.h"

#include "lmdata/LMDatabase.h"
#include "lmdata/internal/Sqlite.h"

namespace lm {

namespace {

const char* const kGraphColumns =
    "GraphID, GPageID, GraphTypeID, LXCoord, LYCoord, RXCoord, RYCoord, GraphName, XAxisType, YAxisType, "
    "XMin, XMax, YMin, YMax, XLogType, YLogType, Channels, XBinNum, XBinSumTypeID, XCumTypeID, YBinNum, "
    "YBinSumTypeID, YCumTypeID, AllChannel";

GraphRecord ReadGraph(const sql::Statement& q)
{
    GraphRecord g;
    g.id = q.Int(0);
    g.pageId = q.Int(1);
    g.graphTypeId = static_cast<int32_t>(q.Int(2));
    g.lx = static_cast<int16_t>(q.Int(3));
    g.ly = static_cast<int16_t>(q.Int(4));
    g.rx = static_cast<int16_t>(q.Int(5));
    g.ry = static_cast<int16_t>(q.Int(6));
    g.name = q.Text(7);
    g.xAxisType = static_cast<uint32_t>(q.Int(8));
    g.yAxisType = static_cast<uint32_t>(q.Int(9));
    g.xMin = static_cast<int32_t>(q.Int(10));
    g.xMax = static_cast<int32_t>(q.Int(11));
    g.yMin = static_cast<int32_t>(q.Int(12));
    g.yMax = static_cast<int32_t>(q.Int(13));
    g.xLog = q.Int(14) != 0;
    g.yLog = q.Int(15) != 0;
    g.channels = q.Text(16);
    g.xBinNum = static_cast<int32_t>(q.Int(17));
    g.xBinSumTypeId = static_cast<int32_t>(q.Int(18));
    g.xCumTypeId = static_cast<int32_t>(q.Int(19));
    g.yBinNum = static_cast<int32_t>(q.Int(20));
    g.yBinSumTypeId = static_cast<int32_t>(q.Int(21));
    g.yCumTypeId = static_cast<int32_t>(q.Int(22));
    g.allChannel = q.Int(23) != 0;
    return g;
}

// Binds the columns after GraphID (GPageID ... AllChannel) as parameters 1 to 23.
void BindGraph(sql::Statement& q, const GraphRecord& g)
{
    q.Bind(1, g.pageId)
        .Bind(2, int64_t{g.graphTypeId})
        .Bind(3, int64_t{g.lx})
        .Bind(4, int64_t{g.ly})
        .Bind(5, int64_t{g.rx})
        .Bind(6, int64_t{g.ry})
        .Bind(7, g.name)
        .Bind(8, int64_t{g.xAxisType})
        .Bind(9, int64_t{g.yAxisType})
        .Bind(10, int64_t{g.xMin})
        .Bind(11, int64_t{g.xMax})
        .Bind(12, int64_t{g.yMin})
        .Bind(13, int64_t{g.yMax})
        .Bind(14, int64_t{g.xLog})
        .Bind(15, int64_t{g.yLog})
        .Bind(16, g.channels)
        .Bind(17, int64_t{g.xBinNum})
        .Bind(18, int64_t{g.xBinSumTypeId})
        .Bind(19, int64_t{g.xCumTypeId})
        .Bind(20, int64_t{g.yBinNum})
        .Bind(21, int64_t{g.yBinSumTypeId})
        .Bind(22, int64_t{g.yCumTypeId})
        .Bind(23, int64_t{g.allChannel});
}

bool Exists(const LMDatabase& db, const char* sqlText, int64_t id)
{
    sql::Statement q(db, sqlText);
    q.Bind(1, id);
    return q.Step();
}

[[noreturn]] void MissingLink(const LMDatabase& db, const std::string& what, int64_t id)
{
    throw ELMDatabase(ELMDatabase::Kind::Constraint, "LMData database \"" + db.path().string() +
                                                         "\": there is no " + what + " " +
                                                         std::to_string(id));
}

void CheckSystem(const LMDatabase& db, const GraphSystem& s)
{
    sql::CheckLength(db, "the graph set name", s.name, 40);
    sql::CheckLength(db, "the graph set comment", s.comment, 250);
}

void CheckPage(const LMDatabase& db, const GraphPage& p)
{
    sql::CheckLength(db, "the page name", p.name, 50);
    if (!Exists(db, "SELECT 1 FROM QVGrfSys WHERE GSystemID = ?1", p.systemId))
        MissingLink(db, "graph set", p.systemId);
}

void CheckGraph(const LMDatabase& db, const GraphRecord& g)
{
    sql::CheckLength(db, "the graph title", g.name, 50);
    sql::CheckLength(db, "the channels text", g.channels, 20);
    if (!Exists(db, "SELECT 1 FROM QVGrfPge WHERE GPageID = ?1", g.pageId))
        MissingLink(db, "page", g.pageId);
}

std::vector<LookupRow> Lookup(const LMDatabase& db, const char* sqlText)
{
    sql::Statement q(db, sqlText);
    std::vector<LookupRow> rows;
    while (q.Step())
        rows.push_back({static_cast<int32_t>(q.Int(0)), q.Text(1)});
    return rows;
}

int Changes(const LMDatabase& db)
{
    return sqlite3_changes(db.handle());
}

} // namespace

std::vector<GraphSystem> AGraphDatabase::Systems() const
{
    sql::Statement q(db_, "SELECT GSystemID, Name, Comment, PageNum FROM QVGrfSys ORDER BY GSystemID");
    std::vector<GraphSystem> systems;
    while (q.Step())
        systems.push_back({q.Int(0), q.Text(1), q.Text(2), static_cast<int16_t>(q.Int(3))});
    return systems;
}

std::optional<GraphSystem> AGraphDatabase::System(int64_t systemId) const
{
    sql::Statement q(db_, "SELECT GSystemID, Name, Comment, PageNum FROM QVGrfSys WHERE GSystemID = ?1");
    q.Bind(1, systemId);
    if (!q.Step())
        return std::nullopt;
    return GraphSystem{q.Int(0), q.Text(1), q.Text(2), static_cast<int16_t>(q.Int(3))};
}

std::vector<GraphPage> AGraphDatabase::Pages(int64_t systemId) const
{
    sql::Statement q(db_, "SELECT GPageID, GSystemID, GrPageName FROM QVGrfPge WHERE GSystemID = ?1 "
                          "ORDER BY GPageID");
    q.Bind(1, systemId);
    std::vector<GraphPage> pages;
    while (q.Step())
        pages.push_back({q.Int(0), q.Int(1), q.Text(2)});
    return pages;
}

std::optional<GraphPage> AGraphDatabase::Page(int64_t pageId) const
{
    sql::Statement q(db_, "SELECT GPageID, GSystemID, GrPageName FROM QVGrfPge WHERE GPageID = ?1");
    q.Bind(1, pageId);
    if (!q.Step())
        return std::nullopt;
    return GraphPage{q.Int(0), q.Int(1), q.Text(2)};
}

std::vector<GraphRecord> AGraphDatabase::Graphs(int64_t pageId) const
{
    sql::Statement q(db_, std::string("SELECT ") + kGraphColumns +
                              " FROM QVGraph WHERE GPageID = ?1 ORDER BY GraphID");
    q.Bind(1, pageId);
    std::vector<GraphRecord> graphs;
    while (q.Step())
        graphs.push_back(ReadGraph(q));
    return graphs;
}

std::optional<GraphRecord> AGraphDatabase::Graph(int64_t graphId) const
{
    sql::Statement q(db_, std::string("SELECT ") + kGraphColumns + " FROM QVGraph WHERE GraphID = ?1");
    q.Bind(1, graphId);
    if (!q.Step())
        return std::nullopt;
    return ReadGraph(q);
}

std::vector<LookupRow> AGraphDatabase::GraphTypes() const
{
    return Lookup(db_, "SELECT GraphTypeID, GraphTypeName FROM QVGrfType ORDER BY GraphTypeID");
}

std::vector<LookupRow> AGraphDatabase::CumTypes() const
{
    return Lookup(db_, "SELECT CumTypeID, CumType FROM QVCumTyp ORDER BY CumTypeID");
}

std::vector<LookupRow> AGraphDatabase::BinSumTypes() const
{
    return Lookup(db_, "SELECT BinSumTypeID, BinSumType FROM QVBnSmTp ORDER BY BinSumTypeID");
}

int64_t AGraphDatabase::InsertSystem(const GraphSystem& system)
{
    CheckSystem(db_, system);
    sql::Transaction transaction(db_);
    sql::Statement q(db_, "INSERT INTO QVGrfSys (Name, Comment, PageNum) VALUES (?1, ?2, ?3)");
    q.Bind(1, system.name).Bind(2, system.comment).Bind(3, int64_t{system.pageNum}).Run();
    const int64_t id = sqlite3_last_insert_rowid(db_.handle());
    transaction.Commit();
    return id;
}

bool AGraphDatabase::UpdateSystem(const GraphSystem& system)
{
    CheckSystem(db_, system);
    sql::Transaction transaction(db_);
    sql::Statement q(db_, "UPDATE QVGrfSys SET Name = ?2, Comment = ?3, PageNum = ?4 WHERE GSystemID = ?1");
    q.Bind(1, system.id).Bind(2, system.name).Bind(3, system.comment).Bind(4, int64_t{system.pageNum}).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

bool AGraphDatabase::DeleteSystem(int64_t systemId)
{
    sql::Transaction transaction(db_);
    sql::Statement graphs(db_, "DELETE FROM QVGraph WHERE GPageID IN "
                               "(SELECT GPageID FROM QVGrfPge WHERE GSystemID = ?1)");
    graphs.Bind(1, systemId).Run();
    sql::Statement pages(db_, "DELETE FROM QVGrfPge WHERE GSystemID = ?1");
    pages.Bind(1, systemId).Run();
    sql::Statement system(db_, "DELETE FROM QVGrfSys WHERE GSystemID = ?1");
    system.Bind(1, systemId).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

int64_t AGraphDatabase::InsertPage(const GraphPage& page)
{
    sql::Transaction transaction(db_);
    CheckPage(db_, page);
    sql::Statement q(db_, "INSERT INTO QVGrfPge (GSystemID, GrPageName) VALUES (?1, ?2)");
    q.Bind(1, page.systemId).Bind(2, page.name).Run();
    const int64_t id = sqlite3_last_insert_rowid(db_.handle());
    transaction.Commit();
    return id;
}

bool AGraphDatabase::UpdatePage(const GraphPage& page)
{
    sql::Transaction transaction(db_);
    CheckPage(db_, page);
    sql::Statement q(db_, "UPDATE QVGrfPge SET GSystemID = ?2, GrPageName = ?3 WHERE GPageID = ?1");
    q.Bind(1, page.id).Bind(2, page.systemId).Bind(3, page.name).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

bool AGraphDatabase::DeletePage(int64_t pageId)
{
    sql::Transaction transaction(db_);
    sql::Statement graphs(db_, "DELETE FROM QVGraph WHERE GPageID = ?1");
    graphs.Bind(1, pageId).Run();
    sql::Statement page(db_, "DELETE FROM QVGrfPge WHERE GPageID = ?1");
    page.Bind(1, pageId).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

int64_t AGraphDatabase::InsertGraph(const GraphRecord& graph)
{
    sql::Transaction transaction(db_);
    CheckGraph(db_, graph);
    sql::Statement q(db_, "INSERT INTO QVGraph (GPageID, GraphTypeID, LXCoord, LYCoord, RXCoord, RYCoord, "
                          "GraphName, XAxisType, YAxisType, XMin, XMax, YMin, YMax, XLogType, YLogType, "
                          "Channels, XBinNum, XBinSumTypeID, XCumTypeID, YBinNum, YBinSumTypeID, YCumTypeID, "
                          "AllChannel) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, "
                          "?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23)");
    BindGraph(q, graph);
    q.Run();
    const int64_t id = sqlite3_last_insert_rowid(db_.handle());
    transaction.Commit();
    return id;
}

bool AGraphDatabase::UpdateGraph(const GraphRecord& graph)
{
    sql::Transaction transaction(db_);
    CheckGraph(db_, graph);
    sql::Statement q(db_, "UPDATE QVGraph SET GPageID = ?1, GraphTypeID = ?2, LXCoord = ?3, LYCoord = ?4, "
                          "RXCoord = ?5, RYCoord = ?6, GraphName = ?7, XAxisType = ?8, YAxisType = ?9, "
                          "XMin = ?10, XMax = ?11, YMin = ?12, YMax = ?13, XLogType = ?14, YLogType = ?15, "
                          "Channels = ?16, XBinNum = ?17, XBinSumTypeID = ?18, XCumTypeID = ?19, "
                          "YBinNum = ?20, YBinSumTypeID = ?21, YCumTypeID = ?22, AllChannel = ?23 "
                          "WHERE GraphID = ?24");
    BindGraph(q, graph);
    q.Bind(24, graph.id).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

bool AGraphDatabase::DeleteGraph(int64_t graphId)
{
    sql::Transaction transaction(db_);
    sql::Statement q(db_, "DELETE FROM QVGraph WHERE GraphID = ?1");
    q.Bind(1, graphId).Run();
    const bool found = Changes(db_) > 0;
    transaction.Commit();
    return found;
}

} // namespace lm
