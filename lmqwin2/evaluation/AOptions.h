#pragma once

// The user's settings of the correlation program that outlive a run, the colour-scheme
// table and the point drawing rule. Settings go through a small store interface that the
// program backs with its platform settings and the tests with a map.

#include "datafiles/ChannelMask.h"

#include <bitset>
#include <cstdint>
#include <string>

namespace lm {

// Named values of one settings key. A getter answers the default when the value is
// missing (or of another type).
class ASettingsStore {
public:
    virtual ~ASettingsStore() = default;
    virtual bool GetBool(const std::string& name, bool def) const = 0;
    virtual int GetInt(const std::string& name, int def) const = 0;
    virtual std::string GetString(const std::string& name, const std::string& def) const = 0;
    virtual void SetBool(const std::string& name, bool value) = 0;
    virtual void SetInt(const std::string& name, int value) = 0;
    virtual void SetString(const std::string& name, const std::string& value) = 0;
};

struct RGB {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const RGB&, const RGB&) = default;
};

inline constexpr RGB RgbFromHex(uint32_t hex)
{
    return RGB{uint8_t(hex >> 16), uint8_t(hex >> 8), uint8_t(hex)};
}

inline constexpr int kColorSchemeCount = 6;
inline constexpr int kColorRoleCount = 14;

// Colour of a role (0-13) in a scheme (0-5); out-of-range arguments fall back to scheme 3
// and role 0 so that a stored index that is out of range cannot read past the table.
RGB SchemeColor(int scheme, int role);
// Colour of frame slot 0-7 in a scheme.
RGB FrameColor(int scheme, int slot);
// Colour of a channel (1-based); channels 65-128 repeat 1-64.
RGB ChannelColor(int channel);
// Names offered by the options dialog for schemes 0-3.
inline constexpr const char* kColorSchemeNames[4] = {"Classic (White on Gray)", "Borland (Yellow on Blue)",
                                                     "Windows (Black on White)",
                                                     "Professional (White on Black)"};

// Pixels of one hit point at (x, y) with point size n: [left, right) x [top, bottom).
struct PointRect {
    int left, top, right, bottom;
    friend bool operator==(const PointRect&, const PointRect&) = default;
};
PointRect PointRectAt(int x, int y, int pointSize);

// The language recorded for the next start: "ENU" for 0 (English), "RUS" for 1 (Russian).
const char* LanguageLocaleCode(int programLanguage);
inline constexpr const char* kMsgLanguageChanged = "Programm's language will be changed at the next launch";

// "CheckedChan": 128 characters, channel 128 first and channel 1 last, "1" selected.
std::string FormatCheckedChan(const ChannelMask& channels);
// Every channel starts selected; the character at index 128 - c decides channel c ("0"
// clears it, anything else sets it); channels whose character is missing stay selected.
ChannelMask ParseCheckedChan(const std::string& text);

class AOptions {
public:
    AOptions();

    // Persisted.
    int VertGraphNum = 4;
    int HorizGraphNum = 5;
    bool EventsView = false;
    bool SecondAsShadow = false;
    bool ShowTimeMark = true;
    bool ShowDeleted = false;
    bool WriteReport = false;
    bool ShowParamData = true;
    bool ShowGrid = false;
    bool SaveConfig = true;
    int StartUpGraph = 2;
    int LastUsedGraphNo = 1;
    int ColorScheme = 3;
    int ProgramLanguage = 0;
    int PointSize = 2;
    int ViewType = 1;
    bool ChanPanVisible = true;
    bool ToolBarVisible = true;
    int ToolBarAlign = 1;
    int PrnWidth = 100;
    int PrnHeight = 50;
    int PrnDPI = 200;
    ChannelMask CheckedChan;

    // Held for the run only.
    bool TimeAxisFromFile = true;
    bool TimeFilterOn = false;
    double TimeFilterStart = 0;
    double TimeFilterEnd = 0;
    std::string SelectedChannelsText;
    int HalfPointSize = 1;

    void Load(const ASettingsStore& store);
    // Writes every value in the fixed order; with SaveConfig off only "SaveConfig".
    void Save(ASettingsStore& store) const;

    void SetPointSize(int n);
    PointRect PointAt(int x, int y) const { return PointRectAt(x, y, PointSize); }
    RGB Color(int role) const { return SchemeColor(ColorScheme, role); }
};

} // namespace lm
