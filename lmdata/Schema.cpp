#include "lmdata/internal/Schema.h"

#include "lmdata/LMDatabase.h"
#include "lmdata/internal/Sqlite.h"

#include <cstdint>
#include <string>

namespace lm::schema {

namespace {

// Index names are unique per database here (per table in the original store), so the
// second index on FID is named after its table.
const char* const kSchema = R"SQL(
CREATE TABLE AEParams (
  ParamID    INTEGER PRIMARY KEY AUTOINCREMENT,
  ParamConst INTEGER NOT NULL,
  ParamName  VARCHAR(40) NOT NULL CHECK (length(ParamName) <= 40),
  ShortName  VARCHAR(15) NOT NULL DEFAULT '' CHECK (length(ShortName) <= 15)
);
CREATE INDEX AsParamName ON AEParams (ParamName COLLATE NOCASE);
CREATE INDEX AsParamConst ON AEParams (ParamConst, ParamName COLLATE NOCASE);

CREATE TABLE AESystem (
  AESystemID INTEGER PRIMARY KEY AUTOINCREMENT,
  SystemName VARCHAR(40) NOT NULL CHECK (length(SystemName) <= 40)
);
CREATE INDEX AsSystemName ON AESystem (SystemName);

CREATE TABLE "Prm&Sys" (
  ParamID    INTEGER NOT NULL,
  AESystemID INTEGER NOT NULL,
  PRIMARY KEY (ParamID, AESystemID)
);
CREATE INDEX AESystemID ON "Prm&Sys" (AESystemID);

CREATE TABLE QVGrfSys (
  GSystemID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name      VARCHAR(40) CHECK (length(Name) <= 40),
  Comment   VARCHAR(250) CHECK (length(Comment) <= 250),
  PageNum   SMALLINT
);

CREATE TABLE QVGrfPge (
  GPageID    INTEGER PRIMARY KEY AUTOINCREMENT,
  GSystemID  INTEGER,
  GrPageName VARCHAR(50) CHECK (length(GrPageName) <= 50)
);
CREATE INDEX GSystemID ON QVGrfPge (GSystemID);

CREATE TABLE QVGraph (
  GraphID       INTEGER PRIMARY KEY AUTOINCREMENT,
  GPageID       INTEGER,
  GraphTypeID   INTEGER,
  LXCoord       SMALLINT,
  LYCoord       SMALLINT,
  RXCoord       SMALLINT,
  RYCoord       SMALLINT,
  GraphName     VARCHAR(50) CHECK (length(GraphName) <= 50),
  XAxisType     INTEGER,
  YAxisType     INTEGER,
  XMin          INTEGER,
  XMax          INTEGER,
  YMin          INTEGER,
  YMax          INTEGER,
  XLogType      BOOLEAN,
  YLogType      BOOLEAN,
  Channels      VARCHAR(20) CHECK (length(Channels) <= 20),
  XBinNum       INTEGER,
  XBinSumTypeID INTEGER,
  XCumTypeID    INTEGER,
  YBinNum       INTEGER,
  YBinSumTypeID INTEGER,
  YCumTypeID    INTEGER,
  AllChannel    BOOLEAN
);
CREATE INDEX GPageID ON QVGraph (GPageID);

CREATE TABLE QVGrfType (
  GraphTypeID   INTEGER PRIMARY KEY,
  GraphTypeName VARCHAR(20) CHECK (length(GraphTypeName) <= 20)
);
CREATE TABLE QVCumTyp (
  CumTypeID INTEGER PRIMARY KEY AUTOINCREMENT,
  CumType   VARCHAR(20) CHECK (length(CumType) <= 20)
);
CREATE TABLE QVBnSmTp (
  BinSumTypeID INTEGER PRIMARY KEY AUTOINCREMENT,
  BinSumType   VARCHAR(20) CHECK (length(BinSumType) <= 20)
);

CREATE TABLE Filters (
  FID             INTEGER PRIMARY KEY AUTOINCREMENT,
  FDate           DATE NOT NULL,
  FName           VARCHAR(255) NOT NULL CHECK (length(FName) <= 255),
  DeleteTDP       SMALLINT,
  EOT_Type        SMALLINT,
  IncludeFilter   SMALLINT,
  TreatmentMethod SMALLINT,
  MPT             INTEGER,
  LOCK            INTEGER,
  Back            INTEGER,
  Forward         INTEGER,
  ADepFlag        SMALLINT NOT NULL,
  BDepFlag        SMALLINT NOT NULL,
  CDepFlag        SMALLINT NOT NULL,
  DDepFlag        SMALLINT NOT NULL,
  DeleteTR        SMALLINT
);
CREATE INDEX AsDate ON Filters (FDate COLLATE NOCASE, FID);

CREATE TABLE FRMinMax (
  FID        INTEGER NOT NULL,
  RWindowNum INTEGER NOT NULL,
  RecNum     INTEGER NOT NULL,
  RParam     VARCHAR(40) NOT NULL CHECK (length(RParam) <= 40),
  RMin       DOUBLE NOT NULL,
  RMax       DOUBLE NOT NULL,
  PRIMARY KEY (FID, RWindowNum, RecNum)
);
CREATE INDEX FID ON FRMinMax (FID);

CREATE TABLE FRExpr (
  FID        INTEGER NOT NULL,
  RWindowNum INTEGER DEFAULT 0,
  RecNum     INTEGER NOT NULL,
  YParam     VARCHAR(40) NOT NULL CHECK (length(YParam) <= 40),
  Token      VARCHAR(2) NOT NULL CHECK (length(Token) <= 2),
  AConst     DOUBLE NOT NULL,
  XParam     VARCHAR(40) NOT NULL CHECK (length(XParam) <= 40),
  BConst     DOUBLE NOT NULL,
  PRIMARY KEY (FID, RWindowNum, RecNum)
);

CREATE TABLE FExpress (
  FID        INTEGER NOT NULL,
  RecNum     INTEGER NOT NULL,
  Expression VARCHAR(80) CHECK (length(Expression) <= 80),
  PRIMARY KEY (FID, RecNum)
);
CREATE INDEX FExpressFID ON FExpress (FID);
)SQL";

struct SeedParam {
    uint32_t paramConst;
    const char* name;
    const char* shortName;
};

// Hits is the hit count that line graphs and histograms use as Y (value 1 per hit); it is
// not a filter parameter and is linked to no system.
const SeedParam kParams[] = {
    {1, "Time", "Time"},     {2, "Channel", "Chan"},        {4, "Sequence", "Seq"},
    {8, "RiseTime", "Rise"}, {16, "CountsToPeak", "CntPk"}, {32, "Counts", "Cnts"},
    {64, "Energy", "Ener"},  {128, "Duration", "Durat"},    {256, "Amplitude", "Amp"},
    {512, "DP", "DP"},       {1024, "RMS", "RMS"},          {2048, "Par1", "Par1"},
    {4096, "Gain", "Gn"},    {8192, "Threshold", "TH"},     {32768, "Frequency", "A-Frq"},
    {0, "Hits", "Hits"},
};

constexpr uint32_t kAll = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 256 | 512 | 1024 | 2048 | 4096 | 8192 | 32768;
constexpr uint32_t kALine32D = 1 | 2 | 8 | 32 | 64 | 128 | 256;
constexpr uint32_t kSpartan = kAll & ~32768u;
constexpr uint32_t kDisp = kAll & ~(4u | 512u);

struct SeedSystem {
    const char* name;
    uint32_t params; // mask of the HitParam values its files deliver
};

// What each system's files deliver. Vallen AMSY and Malachit have no reader here; their
// sets are the features those systems record.
const SeedSystem kSystems[] = {
    {"Common parameters", kALine32D& kSpartan& kDisp},
    {"All parameters", kAll},
    {"Spartan 3000", kSpartan},
    {"Locan/SpartanPC/Spartan2000/DiSP", kDisp},
    {"A-Line 32D", kALine32D},
    {"Vallen System AMS", 1 | 2 | 8 | 16 | 32 | 64 | 128 | 256 | 1024 | 2048 | 8192 | 32768},
    {"Malachit AS", 1 | 2 | 8 | 32 | 64 | 128 | 256},
};

// One graph of a seed page: type, cells, title, axes and binning.
struct SeedGraph {
    int type;
    int lx, ly, rx, ry;
    const char* name;
    uint32_t x;
    int xMin, xMax;
    bool xLog;
    uint32_t y;
    int yMin, yMax;
    bool yLog;
    int xBinNum, yBinSumType, yCumType;
    bool allChannel;
};

struct SeedPage {
    const char* name;
    std::initializer_list<SeedGraph> graphs;
};

struct SeedGraphSystem {
    const char* name;
    const char* comment;
    std::initializer_list<SeedPage> pages;
};

constexpr uint32_t T = 1, CH = 2, RISE = 8, CNTS = 32, ENER = 64, DUR = 128, AMP = 256, PAR1 = 2048, HITS = 0;

// Graph sets for the default grid of 5 columns and 4 rows. Hit counts use Y parameter 0
// (value 1 per hit) summed per bin; time axes span an hour until a file sets them.
const SeedGraphSystem kGraphSystems[] = {
    {"Standard",
     "Correlation graphs, time histories and distributions",
     {
         {"Correlation",
          {
              {1, 0, 0, 2, 2, "Energy vs Amplitude", AMP, 0, 100, false, ENER, 1, 100000, true, 0, 0, 0,
               false},
              {1, 2, 0, 4, 2, "Counts vs Duration", DUR, 1, 100000, true, CNTS, 1, 10000, true, 0, 0, 0,
               false},
              {1, 0, 2, 2, 4, "Amplitude vs Rise", RISE, 0, 1000, false, AMP, 0, 100, false, 0, 0, 0, false},
              {1, 2, 2, 4, 4, "Amplitude vs Time", T, 0, 3600, false, AMP, 0, 100, false, 0, 0, 0, false},
              {3, 4, 0, 5, 2, "Amplitude distribution", AMP, 0, 100, false, HITS, 0, 1000, true, 100, 4, 1,
               false},
              {2, 4, 2, 5, 4, "Cumulative hits", T, 0, 3600, false, HITS, 0, 1000, false, 0, 4, 2, true},
          }},
         {"Time history",
          {
              {2, 0, 0, 5, 1, "Cumulative hits", T, 0, 3600, false, HITS, 0, 1000, false, 0, 4, 2, true},
              {2, 0, 1, 5, 2, "Cumulative energy", T, 0, 3600, false, ENER, 0, 10000, false, 0, 4, 2, true},
              {2, 0, 2, 5, 3, "Maximum amplitude", T, 0, 3600, false, AMP, 0, 100, false, 0, 2, 1, false},
              {1, 0, 3, 5, 4, "Par1 vs Time", T, 0, 3600, false, PAR1, 0, 10, false, 0, 0, 0, false},
          }},
         {"Distributions",
          {
              {3, 0, 0, 2, 2, "Amplitude", AMP, 0, 100, false, HITS, 0, 1000, true, 100, 4, 1, false},
              {3, 2, 0, 4, 2, "Energy", ENER, 1, 100000, true, HITS, 0, 1000, true, 50, 4, 1, false},
              {3, 4, 0, 5, 2, "Hits per channel", CH, 1, 33, false, HITS, 0, 1000, false, 32, 4, 1, true},
              {3, 0, 2, 2, 4, "Duration", DUR, 1, 100000, true, HITS, 0, 1000, true, 50, 4, 1, false},
              {3, 2, 2, 4, 4, "Rise time", RISE, 0, 1000, false, HITS, 0, 1000, true, 100, 4, 1, false},
              {3, 4, 2, 5, 4, "Counts", CNTS, 1, 10000, true, HITS, 0, 1000, true, 40, 4, 1, false},
          }},
     }},
    {"Pressure test",
     "Pressure test evaluation: load, activity during holds",
     {
         {"Test course",
          {
              {1, 0, 0, 5, 1, "Pressure (Par1)", T, 0, 3600, false, PAR1, 0, 10, false, 0, 0, 0, true},
              {2, 0, 1, 5, 2, "Cumulative hits", T, 0, 3600, false, HITS, 0, 1000, false, 0, 4, 2, true},
              {2, 0, 2, 5, 3, "Cumulative energy", T, 0, 3600, false, ENER, 0, 10000, false, 0, 4, 2, true},
              {1, 0, 3, 3, 4, "Amplitude vs Time", T, 0, 3600, false, AMP, 0, 100, false, 0, 0, 0, false},
              {3, 3, 3, 5, 4, "Hits per channel", CH, 1, 33, false, HITS, 0, 1000, false, 32, 4, 1, true},
          }},
         {"Holds",
          {
              {1, 0, 0, 4, 2, "Amplitude vs Time", T, 0, 3600, false, AMP, 0, 100, false, 0, 0, 0, false},
              {1, 0, 2, 2, 4, "Amplitude vs Duration", DUR, 1, 100000, true, AMP, 0, 100, false, 0, 0, 0,
               false},
              {1, 2, 2, 4, 4, "Energy vs Amplitude", AMP, 0, 100, false, ENER, 1, 100000, true, 0, 0, 0,
               false},
              {3, 4, 2, 5, 4, "Amplitude distribution", AMP, 0, 100, false, HITS, 0, 1000, true, 100, 4, 1,
               false},
              {2, 4, 0, 5, 2, "Hit rate", T, 0, 3600, false, HITS, 0, 100, false, 0, 4, 1, true},
          }},
     }},
};

void SeedParamsAndSystems(const LMDatabase& db)
{
    sql::Statement param(db, "INSERT INTO AEParams (ParamConst, ParamName, ShortName) VALUES (?1, ?2, ?3)");
    for (const auto& p : kParams) {
        param.Bind(1, static_cast<int64_t>(p.paramConst)).Bind(2, p.name).Bind(3, p.shortName).Run();
        param.Reset();
    }
    sql::Statement system(db, "INSERT INTO AESystem (SystemName) VALUES (?1)");
    sql::Statement link(db,
                        "INSERT INTO \"Prm&Sys\" (ParamID, AESystemID) "
                        "SELECT ParamID, ?1 FROM AEParams WHERE ParamConst <> 0 AND (ParamConst & ?2) <> 0");
    for (const auto& s : kSystems) {
        system.Bind(1, s.name).Run();
        system.Reset();
        link.Bind(1, static_cast<int64_t>(sqlite3_last_insert_rowid(db.handle())))
            .Bind(2, static_cast<int64_t>(s.params))
            .Run();
        link.Reset();
    }
}

void SeedGraphTables(const LMDatabase& db)
{
    sql::Exec(db, "INSERT INTO QVGrfType (GraphTypeID, GraphTypeName) VALUES "
                  "(1, 'Point graph'), (2, 'Line graph'), (3, 'Histogram');"
                  "INSERT INTO QVCumTyp (CumTypeID, CumType) VALUES "
                  "(1, 'None'), (2, 'Running sum left'), (3, 'Running sum right');"
                  "INSERT INTO QVBnSmTp (BinSumTypeID, BinSumType) VALUES "
                  "(1, 'Average'), (2, 'Maximum'), (3, 'Minimum'), (4, 'Sum');");

    sql::Statement system(db, "INSERT INTO QVGrfSys (Name, Comment, PageNum) VALUES (?1, ?2, ?3)");
    sql::Statement page(db, "INSERT INTO QVGrfPge (GSystemID, GrPageName) VALUES (?1, ?2)");
    sql::Statement graph(db, "INSERT INTO QVGraph (GPageID, GraphTypeID, LXCoord, LYCoord, RXCoord, RYCoord, "
                             "GraphName, XAxisType, YAxisType, XMin, XMax, YMin, YMax, XLogType, YLogType, "
                             "Channels, XBinNum, XBinSumTypeID, XCumTypeID, YBinNum, YBinSumTypeID, "
                             "YCumTypeID, AllChannel) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                             "?12, ?13, ?14, ?15, '', ?16, 0, 0, 0, ?17, ?18, ?19)");
    for (const auto& s : kGraphSystems) {
        system.Bind(1, s.name).Bind(2, s.comment).Bind(3, static_cast<int64_t>(s.pages.size())).Run();
        system.Reset();
        const int64_t systemId = sqlite3_last_insert_rowid(db.handle());
        for (const auto& p : s.pages) {
            page.Bind(1, systemId).Bind(2, p.name).Run();
            page.Reset();
            const int64_t pageId = sqlite3_last_insert_rowid(db.handle());
            for (const auto& g : p.graphs) {
                graph.Bind(1, pageId)
                    .Bind(2, int64_t{g.type})
                    .Bind(3, int64_t{g.lx})
                    .Bind(4, int64_t{g.ly})
                    .Bind(5, int64_t{g.rx})
                    .Bind(6, int64_t{g.ry})
                    .Bind(7, g.name)
                    .Bind(8, int64_t{g.x})
                    .Bind(9, int64_t{g.y})
                    .Bind(10, int64_t{g.xMin})
                    .Bind(11, int64_t{g.xMax})
                    .Bind(12, int64_t{g.yMin})
                    .Bind(13, int64_t{g.yMax})
                    .Bind(14, int64_t{g.xLog})
                    .Bind(15, int64_t{g.yLog})
                    .Bind(16, int64_t{g.xBinNum})
                    .Bind(17, int64_t{g.yBinSumType})
                    .Bind(18, int64_t{g.yCumType})
                    .Bind(19, int64_t{g.allChannel})
                    .Run();
                graph.Reset();
            }
        }
    }
}

} // namespace

void CreateAndSeed(const LMDatabase& db)
{
    sql::Exec(db, kSchema);
    SeedParamsAndSystems(db);
    SeedGraphTables(db);
}

void Migrate(const LMDatabase& db, int fromVersion)
{
    // One step per version, in order, inside the caller's transaction.
    if (fromVersion < 2) {
        // "Delete TR" of a stored filter; filters stored before it have none (NULL).
        sql::Exec(db, "ALTER TABLE Filters ADD COLUMN DeleteTR SMALLINT");
    }
}

} // namespace lm::schema
