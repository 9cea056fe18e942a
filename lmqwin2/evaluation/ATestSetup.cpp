#include "lmqwin2/evaluation/ATestSetup.h"

#include "lmqwin2/evaluation/IniFile.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <stdexcept>

namespace lm {

namespace {

// Hold values and MP_HstLastHits4 are single precision: a number beyond its range is no
// more usable than one that does not parse.
bool ParseSingle(const std::string& text, float& value)
{
    double v = 0;
    if (!ParseIniFloat(text, v) || std::fabs(v) > double(FLT_MAX))
        return false;
    value = float(v);
    return true;
}

float FieldValue(const std::string& field)
{
    float v = 0.0f;
    return ParseSingle(field, v) ? v : 0.0f;
}

} // namespace

AHold ParseHoldValue(const std::string& value)
{
    std::vector<std::string> fields;
    size_t pos = 0;
    // Each step consumes at least one character, so the loop always ends.
    while (pos < value.size() && fields.size() < 5) {
        size_t bar = value.find('|', pos);
        if (bar == std::string::npos) {
            fields.push_back(value.substr(pos));
            break;
        }
        fields.push_back(value.substr(pos, bar - pos));
        pos = bar + 1;
    }
    AHold hold;
    if (fields.size() > 0)
        hold.label = fields[0];
    if (fields.size() > 1)
        hold.pressure = FieldValue(fields[1]);
    if (fields.size() > 2)
        hold.start = FieldValue(fields[2]);
    if (fields.size() > 3)
        hold.length = FieldValue(fields[3]);
    if (fields.size() > 4)
        hold.delay = FieldValue(fields[4]);
    return hold;
}

// Hold values are single precision: their shortest form reads back to the same float
// (10, 3600, 0.1) instead of showing the double digits of the float.
static std::string FormatHoldField(float value)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general);
    return std::string(buf, r.ptr);
}

std::string FormatHoldValue(const AHold& hold)
{
    return hold.label + "|" + FormatHoldField(hold.pressure) + "|" + FormatHoldField(hold.start) + "|" +
           FormatHoldField(hold.length) + "|" + FormatHoldField(hold.delay) + "|";
}

std::vector<AHold> HoldsFromGrid(const std::vector<AHoldGridRow>& rows)
{
    const auto number = [](const std::string& text) {
        float v = 0.0f;
        if (!ParseSingle(text, v))
            throw std::invalid_argument("'" + text + "' is not a valid floating point value");
        return v;
    };
    std::vector<AHold> holds;
    for (const AHoldGridRow& row : rows) {
        if (row.start.empty())
            continue;
        holds.push_back(
            AHold{row.label, number(row.pressure), number(row.start), number(row.length), number(row.delay)});
    }
    return holds;
}

std::string SetupDialogCaption(const std::string& fileName)
{
    return "Test setup - " + fileName;
}

std::string SetupSaveQuestion(const std::string& fileName)
{
    return "Test Setup file\n\"" + fileName + "\"\nwill be rewriten. Continue?";
}

std::string ATestSetup::StartupFileName(const std::string& programPath)
{
    std::filesystem::path p(programPath);
    p.replace_extension(".INI");
    return p.string();
}

bool ATestSetup::LoadFromFile(const std::string& path)
{
    IniFile ini;
    if (!ini.Load(path) || !ini.HasSection("LMQWIN"))
        return false;
    FileName = path;
    LoadFromIni(ini);
    return true;
}

namespace {

// A number outside the field's range is as good as one that does not parse: the default.
int ReadInt(const IniFile& ini, const char* section, const char* key, int def)
{
    const long long v = ini.ReadInteger(section, key, def);
    return v < INT32_MIN || v > INT32_MAX ? def : int(v);
}

uint32_t ReadU32(const IniFile& ini, const char* section, const char* key, uint32_t def)
{
    const long long v = ini.ReadInteger(section, key, def);
    return v < 0 || v > (long long)UINT32_MAX ? def : uint32_t(v);
}

} // namespace

void ATestSetup::LoadFromIni(const IniFile& ini)
{
    ClearHolds();
    TestLabel = ini.ReadString("Test", "TestLabel", "Default test");
    TestTH = ReadInt(ini, "Test", "TestTH", 50);
    HoldsView = ini.ReadBool("Test", "HoldsView", true);
    if (const IniFile::Section* holds = ini.FindSection("Holds"))
        for (const auto& entry : holds->entries)
            Holds.push_back(ParseHoldValue(entry.value));
    MPT = ReadU32(ini, "Event", "MPT", 5000);
    Lockout = ReadU32(ini, "Event", "Lockout", 20000);
    DivisorSys = ini.ReadFloat("Parametric", "DivisorSys", 1.0);
    OffsetSys = ini.ReadFloat("Parametric", "OffsetSys", 0.0);
    DivisorReal = ini.ReadFloat("Parametric", "DivisorReal", 1.0);
    OffsetReal = ini.ReadFloat("Parametric", "OffsetReal", 0.0);
    EvalTH = ReadInt(ini, "Monpac", "EvalTH", 50);
    HiAmpLev = ReadInt(ini, "Monpac", "HiAmpLev", 65);
    SevHitNum = ReadInt(ini, "Monpac", "SevHitNum", 10);
    MP_HstLimit1 = ReadInt(ini, "Monpac", "MP_HstLimit1", 10);
    MP_HstLimit2 = ReadInt(ini, "Monpac", "MP_HstLimit2", 15);
    MP_HstLimit3 = ReadInt(ini, "Monpac", "MP_HstLimit3", 75);
    MP_HstLimit4 = ReadInt(ini, "Monpac", "MP_HstLimit4", 1000);
    MP_HstLastHits2 = ReadInt(ini, "Monpac", "MP_HstLastHits2", 0);
    MP_HstLastHits3 = ReadInt(ini, "Monpac", "MP_HstLastHits3", 15);
    MP_HstLastHits4 = 0.8f;
    if (const std::string* text = ini.Find("Monpac", "MP_HstLastHits4"))
        ParseSingle(*text, MP_HstLastHits4); // unchanged when it does not parse
    MP_HstLastHits5 = ReadInt(ini, "Monpac", "MP_HstLastHits5", 200);
    LDExponent = ini.ReadFloat("LocDyn", "LDExponent", 4.0);
    Class1 = ReadInt(ini, "LocDyn", "Class1", 10);
    Class2 = ReadInt(ini, "LocDyn", "Class2", 100);
    Class3 = ReadInt(ini, "LocDyn", "Class3", 1000);
}

bool ATestSetup::SaveToFile(const std::string& path) const
{
    IniFile ini;
    ini.Load(path); // a missing file simply starts empty
    SaveToIni(ini);
    return ini.Save(path);
}

void ATestSetup::SaveToIni(IniFile& ini) const
{
    ini.WriteInteger("LMQWIN", "LmqWin", 1);
    ini.WriteString("Test", "TestLabel", TestLabel);
    ini.WriteInteger("Test", "TestTH", TestTH);
    ini.WriteBool("Test", "HoldsView", HoldsView);
    ini.EraseSection("Holds");
    for (size_t i = 0; i < Holds.size(); ++i)
        ini.WriteString("Holds", std::to_string(i), FormatHoldValue(Holds[i]));
    ini.WriteInteger("Event", "MPT", MPT);
    ini.WriteInteger("Event", "Lockout", Lockout);
    ini.WriteFloat("Parametric", "DivisorSys", DivisorSys);
    ini.WriteFloat("Parametric", "OffsetSys", OffsetSys);
    ini.WriteFloat("Parametric", "DivisorReal", DivisorReal);
    ini.WriteFloat("Parametric", "OffsetReal", OffsetReal);
    ini.WriteInteger("Monpac", "EvalTH", EvalTH);
    ini.WriteInteger("Monpac", "HiAmpLev", HiAmpLev);
    ini.WriteInteger("Monpac", "SevHitNum", SevHitNum);
    ini.WriteInteger("Monpac", "MP_HstLimit1", MP_HstLimit1);
    ini.WriteInteger("Monpac", "MP_HstLimit2", MP_HstLimit2);
    ini.WriteInteger("Monpac", "MP_HstLimit3", MP_HstLimit3);
    ini.WriteInteger("Monpac", "MP_HstLimit4", MP_HstLimit4);
    ini.WriteInteger("Monpac", "MP_HstLastHits2", MP_HstLastHits2);
    ini.WriteInteger("Monpac", "MP_HstLastHits3", MP_HstLastHits3);
    ini.WriteFloat("Monpac", "MP_HstLastHits4", double(MP_HstLastHits4));
    ini.WriteInteger("Monpac", "MP_HstLastHits5", MP_HstLastHits5);
    ini.WriteFloat("LocDyn", "LDExponent", LDExponent);
    ini.WriteInteger("LocDyn", "Class1", Class1);
    ini.WriteInteger("LocDyn", "Class2", Class2);
    ini.WriteInteger("LocDyn", "Class3", Class3);
}

} // namespace lm
