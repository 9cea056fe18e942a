#pragma once

// The test setup: everything the evaluation of one pressure test needs beyond the hits
// (label, pressure holds, event times, parametric conversion, Monpac and local-dynamic
// constants), kept in INI files.

#include <cstdint>
#include <string>
#include <vector>

namespace lm {

class IniFile;

// One pressure hold.
struct AHold {
    std::string label;
    float pressure = 0.0f; // MPa; stored and shown only
    float start = 0.0f;    // s
    float length = 0.0f;   // s
    float delay = 0.0f;    // s; the beginning of the hold that is not evaluated

    // A hit belongs to the hold strictly between start + delay and start + length.
    bool Contains(double t) const { return double(start) + delay < t && t < double(start) + length; }
};

// Parses one value of the "Holds" section: label|pressure|start|length|delay| .
// Missing fields are 0 (an empty label), a last field without its closing bar is taken
// as it is, fields beyond the fifth are ignored, and a number that does not parse is 0.
AHold ParseHoldValue(const std::string& value);
std::string FormatHoldValue(const AHold& hold);

// One row of the dialog's hold grid, as the cells' texts.
struct AHoldGridRow {
    std::string label, pressure, start, length, delay;
};
// The holds of the grid rows whose "Start, sec" cell is not empty, in grid order. A number
// that does not parse raises std::invalid_argument with the conversion message.
std::vector<AHold> HoldsFromGrid(const std::vector<AHoldGridRow>& rows);
// A new grid row as the Insert key and the empty grid make it.
inline AHoldGridRow NewHoldGridRow()
{
    return AHoldGridRow{"", "", "", "600", "120"};
}

// Texts of the setup dialog.
std::string SetupDialogCaption(const std::string& fileName); // "Test setup - " + name
std::string SetupSaveQuestion(const std::string& fileName);  // asked before "Save" rewrites

inline constexpr const char* kMsgUnknownSetupFormat = "Test Setup - unknown format of INI file";

class ATestSetup {
public:
    std::string FileName;
    std::string TestLabel = "Default test";
    bool HoldsView = true;
    int TestTH = 50;
    std::vector<AHold> Holds;
    uint32_t MPT = 5000;      // us
    uint32_t Lockout = 20000; // us
    double DivisorSys = 1.0;
    double OffsetSys = 0.0;
    double DivisorReal = 1.0;
    double OffsetReal = 0.0;
    int EvalTH = 50;
    int HiAmpLev = 65;
    int SevHitNum = 10;
    int MP_HstLimit1 = 10;
    int MP_HstLimit2 = 15;
    int MP_HstLimit3 = 75;
    int MP_HstLimit4 = 1000;
    int MP_HstLastHits2 = 0;
    int MP_HstLastHits3 = 15;
    float MP_HstLastHits4 = 0.8f;
    int MP_HstLastHits5 = 200;
    double LDExponent = 4.0;
    int Class1 = 10;
    int Class2 = 100;
    int Class3 = 1000;

    // The hold list is the only store of holds, so its two counts are always its length.
    int HoldCount() const { return int(Holds.size()); }
    int HoldSlots() const { return int(Holds.size()); }
    void ClearHolds() { Holds.clear(); }

    // ParV = Data / DivisorSys + OffsetSys, then ParP = ParV / DivisorReal + OffsetReal.
    double ParametricValue(double data) const
    {
        return (data / DivisorSys + OffsetSys) / DivisorReal + OffsetReal;
    }

    // Reads a setup file. A file without the "LMQWIN" section (or one that cannot be
    // read) leaves the setup unchanged and answers false; the caller shows
    // kMsgUnknownSetupFormat. Otherwise the holds are replaced, FileName becomes path and
    // every key is read with its default.
    bool LoadFromFile(const std::string& path);
    void LoadFromIni(const IniFile& ini);
    // The start-up setup file: the program file's path with the extension ".INI".
    static std::string StartupFileName(const std::string& programPath);

    // Writes the setup into path, keeping keys the file already holds outside the
    // "Holds" section. FileName is not changed. False when the file cannot be written.
    bool SaveToFile(const std::string& path) const;
    void SaveToIni(IniFile& ini) const;
};

} // namespace lm
