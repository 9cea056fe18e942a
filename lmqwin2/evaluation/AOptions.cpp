#include "lmqwin2/evaluation/AOptions.h"

namespace lm {

namespace {

// Roles 0-13 (rows) of schemes 0-3 (columns). Scheme 4 is never offered and keeps the
// colours of the default scheme 3; scheme 5 (the clipboard copy) is scheme 2 with a
// grey time-mark colour.
constexpr uint32_t kRoles[kColorRoleCount][4] = {
    {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, // 0 no visible use
    {0xFFFFFF, 0xFFFF00, 0x000000, 0xFFFFFF}, // 1 text and axes
    {0x999999, 0x000066, 0xFFFFFF, 0x000000}, // 2 plot background
    {0xFFFFFF, 0xFFFF00, 0x000000, 0xFFFFFF}, // 3 cell border
    {0xFFFFFF, 0xFFFF00, 0x000000, 0xFFFFFF}, // 4 plot frame and ticks
    {0xFFFFFF, 0x00FF00, 0x008000, 0x00FF00}, // 5 hits
    {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}, // 6 pen before the overlay pass
    {0x666666, 0x0080FF, 0x7F797F, 0x0080FF}, // 7 shadow hits
    {0x7F7F7F, 0x003399, 0xCCCCCC, 0x383431}, // 8 deleted hits
    {0x008000, 0x000000, 0x008000, 0x008000}, // 9 rubber band, frames in colour mode 0
    {0x00FF00, 0xFFFFFF, 0x00FF00, 0x00FF00}, // 10 pressure holds
    {0x00FF00, 0xFFFFFF, 0x00FF00, 0x00FF00}, // 11 no visible use
    {0x4C4C4C, 0xFFFFFF, 0x4C4C4C, 0x808080}, // 12 time marks
    {0xFFFFFF, 0xFFFFFF, 0x999999, 0xFFFFFF}, // 13 grouped hits
};

constexpr uint32_t kFrameColors[8] = {0xFFFF00, 0xFF0000, 0x0000FF, 0x00FFFF,
                                      0xFF00FF, 0x9900CC, 0xFF6600, 0xFF99CC};

constexpr uint32_t kChannelColors[64] = {
    0xCCCCFF, 0x00CCFF, 0x33CC66, 0x99FF00, 0xFFFFCC, 0x990000, 0xFF0066, 0xCC99CC, //
    0x9999FF, 0x99FFFF, 0x33CC33, 0xCC9B66, 0x996633, 0xCC3300, 0xFF6699, 0x9933CC, //
    0x6699FF, 0x99CCCC, 0x6600CC, 0x666633, 0xCC6633, 0xFF6666, 0xFF9799, 0xCC33FF, //
    0x6666FF, 0x669999, 0x33CC99, 0x999966, 0xCC9933, 0xFF9999, 0xCC6699, 0xCC66FF, //
    0x6666CC, 0x336666, 0x99CC99, 0x999933, 0xFF6633, 0xFFCCCC, 0x660066, 0x9966CC, //
    0x003399, 0x006633, 0xCCFFCC, 0xCCCC33, 0xFF9933, 0x993366, 0xFF99FF, 0x663399, //
    0x000066, 0x009933, 0x99FF99, 0xFFFF66, 0xFF9966, 0xCC3366, 0xCC66CC, 0x663399, //
    0x336699, 0x339966, 0x99CC33, 0xFFFF99, 0xFFCC00, 0xCC3399, 0x996699, 0x9966FF, //
};

} // namespace

RGB SchemeColor(int scheme, int role)
{
    if (role < 0 || role >= kColorRoleCount)
        role = 0;
    if (scheme < 0 || scheme >= kColorSchemeCount)
        scheme = 3;
    if (scheme == 5)
        return role == 12 ? RgbFromHex(0x808080) : RgbFromHex(kRoles[role][2]);
    if (scheme == 4)
        scheme = 3;
    return RgbFromHex(kRoles[role][scheme]);
}

RGB FrameColor(int /*scheme*/, int slot)
{
    // Every scheme has the same eight frame colours.
    return RgbFromHex(kFrameColors[(slot % 8 + 8) % 8]);
}

RGB ChannelColor(int channel)
{
    const int i = ((channel - 1) % 64 + 64) % 64;
    return RgbFromHex(kChannelColors[i]);
}

PointRect PointRectAt(int x, int y, int n)
{
    if (n == 1)
        return PointRect{x, y, x + 1, y + 1};
    if (n == 2)
        return PointRect{x, y - 1, x + 2, y + 1};
    const int h = n / 2;
    return PointRect{x - h, y - h, x + n - h, y + n - h};
}

const char* LanguageLocaleCode(int programLanguage)
{
    return programLanguage == 1 ? "RUS" : "ENU";
}

std::string FormatCheckedChan(const ChannelMask& channels)
{
    std::string text(128, '0');
    for (int c = 1; c <= 128; ++c)
        if (channels.test(size_t(c - 1)))
            text[size_t(128 - c)] = '1';
    return text;
}

ChannelMask ParseCheckedChan(const std::string& text)
{
    ChannelMask channels;
    channels.set();
    for (int c = 1; c <= 128; ++c) {
        const size_t i = size_t(128 - c);
        if (i < text.size() && text[i] == '0')
            channels.reset(size_t(c - 1));
    }
    return channels;
}

AOptions::AOptions()
{
    CheckedChan.set();
    SetPointSize(PointSize);
}

void AOptions::SetPointSize(int n)
{
    PointSize = n;
    HalfPointSize = n / 2;
}

void AOptions::Load(const ASettingsStore& s)
{
    VertGraphNum = s.GetInt("VertGraphNum", 4);
    HorizGraphNum = s.GetInt("HorizGraphNum", 5);
    EventsView = s.GetBool("EventsView", false);
    SecondAsShadow = s.GetBool("SecondAsShadow", false);
    ShowTimeMark = s.GetBool("ShowTimeMark", true);
    ShowDeleted = s.GetBool("ShowDeleted", false);
    WriteReport = s.GetBool("WriteReport", false);
    ShowParamData = s.GetBool("ShowParamData", true);
    ShowGrid = s.GetBool("ShowGrid", false);
    SaveConfig = s.GetBool("SaveConfig", true);
    StartUpGraph = s.GetInt("StartUpGraph", 2);
    LastUsedGraphNo = s.GetInt("LastUsedGraphNo", 1);
    ColorScheme = s.GetInt("ColorScheme", 3);
    ProgramLanguage = s.GetInt("ProgramLanguage", 0);
    SetPointSize(s.GetInt("PointSize", 2));
    ViewType = s.GetInt("ViewType", 1);
    ChanPanVisible = s.GetBool("ChanPanVisible", true);
    ToolBarVisible = s.GetBool("ToolBarVisible", true);
    ToolBarAlign = s.GetInt("ToolBarAlign", 1);
    PrnWidth = s.GetInt("PrnWidth", 100);
    PrnHeight = s.GetInt("PrnHeight", 50);
    PrnDPI = s.GetInt("PrnDPI", 200);
    CheckedChan = ParseCheckedChan(s.GetString("CheckedChan", std::string(128, '1')));
}

void AOptions::Save(ASettingsStore& s) const
{
    if (!SaveConfig) {
        s.SetBool("SaveConfig", false);
        return;
    }
    s.SetBool("ShowTimeMark", ShowTimeMark);
    s.SetBool("ShowDeleted", ShowDeleted);
    s.SetBool("WriteReport", WriteReport);
    s.SetBool("ShowParamData", ShowParamData);
    s.SetInt("StartUpGraph", StartUpGraph);
    s.SetBool("ShowGrid", ShowGrid);
    if (StartUpGraph == 1)
        s.SetInt("LastUsedGraphNo", LastUsedGraphNo);
    s.SetInt("ColorScheme", ColorScheme);
    s.SetInt("ProgramLanguage", ProgramLanguage);
    s.SetInt("PointSize", PointSize);
    s.SetInt("ViewType", ViewType);
    s.SetBool("ChanPanVisible", ChanPanVisible);
    s.SetBool("ToolBarVisible", ToolBarVisible);
    s.SetInt("ToolBarAlign", ToolBarAlign);
    s.SetInt("PrnHeight", PrnHeight);
    s.SetInt("PrnWidth", PrnWidth);
    s.SetInt("PrnDPI", PrnDPI);
    s.SetInt("HorizGraphNum", HorizGraphNum);
    s.SetInt("VertGraphNum", VertGraphNum);
    s.SetBool("EventsView", EventsView);
    s.SetBool("SecondAsShadow", SecondAsShadow);
    s.SetString("CheckedChan", FormatCheckedChan(CheckedChan));
    s.SetBool("SaveConfig", SaveConfig);
}

} // namespace lm
