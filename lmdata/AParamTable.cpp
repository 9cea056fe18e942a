#include "lmdata/AParamTable.h"

#include "lmdata/LMDatabase.h"
#include "lmdata/internal/Sqlite.h"

namespace lm {

namespace {

const char* const kOrderByConst = " ORDER BY p.ParamConst, p.ParamName COLLATE NOCASE, p.ParamID";

ParamRow ReadRow(const sql::Statement& query)
{
    return ParamRow{query.Int(0), static_cast<uint32_t>(query.Int(1)), query.Text(2), query.Text(3)};
}

} // namespace

const std::vector<SystemChoice>& SystemChoices()
{
    static const std::vector<SystemChoice> choices = {
        {"Common parameters", "Common parameters"},
        {"All parameters", "All parameters"},
        {"Spartan 3000", "Spartan 3000"},
        {"Locan/SpartanPC/Spartan2000/DiSP", "Locan/SpartanPC/Spartan2000/DiSP"},
        {"A-Line 32D", "A-Line 32D"},
        {"Vallen System AMSY", "Vallen System AMS"},
        {"Malachit AS", "Malachit AS"},
    };
    return choices;
}

std::string SystemNameOfChoice(std::string_view shown)
{
    for (const auto& choice : SystemChoices())
        if (shown == choice.shown)
            return choice.systemName;
    return std::string(shown);
}

HitParam AParamTable::FindParamId(std::string_view name) const
{
    // Blanks are part of the name: no trimming. Ties (which the table should not have)
    // go to the first row in ParamConst order.
    sql::Statement query(db_, "SELECT ParamConst FROM AEParams WHERE ParamName = ?1 COLLATE NOCASE "
                              "ORDER BY ParamConst, ParamID LIMIT 1");
    query.Bind(1, name);
    return query.Step() ? static_cast<uint32_t>(query.Int(0)) : 0;
}

std::optional<std::string> AParamTable::FindParamName(HitParam id) const
{
    sql::Statement query(db_, std::string("SELECT p.ParamName FROM AEParams p WHERE p.ParamConst = ?1") +
                                  kOrderByConst + " LIMIT 1");
    query.Bind(1, int64_t{id});
    if (!query.Step())
        return std::nullopt;
    return query.Text(0);
}

std::string AParamTable::FindShortName(HitParam id) const
{
    sql::Statement query(db_, std::string("SELECT p.ShortName FROM AEParams p WHERE p.ParamConst = ?1") +
                                  kOrderByConst + " LIMIT 1");
    query.Bind(1, int64_t{id});
    return query.Step() ? query.Text(0) : std::string();
}

std::vector<ParamRow> AParamTable::Rows() const
{
    sql::Statement query(db_, std::string("SELECT p.ParamID, p.ParamConst, p.ParamName, p.ShortName "
                                          "FROM AEParams p") +
                                  kOrderByConst);
    std::vector<ParamRow> rows;
    while (query.Step())
        rows.push_back(ReadRow(query));
    return rows;
}

std::vector<std::string> AParamTable::ParamNames() const
{
    sql::Statement query(db_, "SELECT ParamName FROM AEParams ORDER BY ParamName COLLATE NOCASE, ParamID");
    std::vector<std::string> names;
    while (query.Step())
        names.push_back(query.Text(0));
    return names;
}

std::vector<std::string> AParamTable::SystemNames() const
{
    sql::Statement query(db_, "SELECT SystemName FROM AESystem ORDER BY AESystemID");
    std::vector<std::string> names;
    while (query.Step())
        names.push_back(query.Text(0));
    return names;
}

std::vector<std::string> AParamTable::SystemParamNames(std::string_view systemName) const
{
    sql::Statement query(db_, "SELECT DISTINCT p.ParamName FROM AEParams p "
                              "JOIN \"Prm&Sys\" l ON l.ParamID = p.ParamID "
                              "JOIN AESystem s ON s.AESystemID = l.AESystemID "
                              "WHERE s.SystemName = ?1 ORDER BY p.ParamName");
    query.Bind(1, systemName);
    std::vector<std::string> names;
    while (query.Step())
        names.push_back(query.Text(0));
    return names;
}

std::vector<ParamRow> AParamTable::SystemRows(std::string_view systemName) const
{
    sql::Statement query(db_, std::string("SELECT p.ParamID, p.ParamConst, p.ParamName, p.ShortName "
                                          "FROM AEParams p WHERE p.ParamID IN (SELECT l.ParamID FROM "
                                          "\"Prm&Sys\" l JOIN AESystem s ON s.AESystemID = l.AESystemID "
                                          "WHERE s.SystemName = ?1)") +
                                  kOrderByConst);
    query.Bind(1, systemName);
    std::vector<ParamRow> rows;
    while (query.Step())
        rows.push_back(ReadRow(query));
    return rows;
}

bool AParamTable::HasSystem(std::string_view systemName) const
{
    sql::Statement query(db_, "SELECT 1 FROM AESystem WHERE SystemName = ?1");
    query.Bind(1, systemName);
    return query.Step();
}

} // namespace lm
