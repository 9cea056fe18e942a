#include "lmqwin2/evaluation/AOptions.h"

#include <gtest/gtest.h>
#include <map>
#include <variant>

using namespace lm;

namespace {

// A settings store over a map that also records the order of the writes.
class MapStore : public ASettingsStore {
public:
    using Value = std::variant<bool, int, std::string>;
    std::map<std::string, Value> values;
    std::vector<std::string> writes;

    bool GetBool(const std::string& n, bool def) const override { return Get<bool>(n, def); }
    int GetInt(const std::string& n, int def) const override { return Get<int>(n, def); }
    std::string GetString(const std::string& n, const std::string& def) const override
    {
        return Get<std::string>(n, def);
    }
    void SetBool(const std::string& n, bool v) override { Set(n, v); }
    void SetInt(const std::string& n, int v) override { Set(n, v); }
    void SetString(const std::string& n, const std::string& v) override { Set(n, v); }

private:
    template <class T> T Get(const std::string& n, const T& def) const
    {
        auto it = values.find(n);
        if (it == values.end() || !std::holds_alternative<T>(it->second))
            return def;
        return std::get<T>(it->second);
    }
    void Set(const std::string& n, Value v)
    {
        values[n] = std::move(v);
        writes.push_back(n);
    }
};

} // namespace

TEST(Options, DefaultsFromAnEmptyStore)
{
    MapStore empty;
    AOptions o;
    o.VertGraphNum = 9;
    o.CheckedChan.reset();
    o.Load(empty);
    EXPECT_EQ(o.VertGraphNum, 4);
    EXPECT_EQ(o.HorizGraphNum, 5);
    EXPECT_FALSE(o.EventsView);
    EXPECT_FALSE(o.SecondAsShadow);
    EXPECT_TRUE(o.ShowTimeMark);
    EXPECT_FALSE(o.ShowDeleted);
    EXPECT_FALSE(o.WriteReport);
    EXPECT_TRUE(o.ShowParamData);
    EXPECT_FALSE(o.ShowGrid);
    EXPECT_TRUE(o.SaveConfig);
    EXPECT_EQ(o.StartUpGraph, 2);
    EXPECT_EQ(o.LastUsedGraphNo, 1);
    EXPECT_EQ(o.ColorScheme, 3);
    EXPECT_EQ(o.ProgramLanguage, 0);
    EXPECT_EQ(o.PointSize, 2);
    EXPECT_EQ(o.HalfPointSize, 1);
    EXPECT_EQ(o.ViewType, 1);
    EXPECT_TRUE(o.ChanPanVisible);
    EXPECT_TRUE(o.ToolBarVisible);
    EXPECT_EQ(o.ToolBarAlign, 1);
    EXPECT_EQ(o.PrnWidth, 100);
    EXPECT_EQ(o.PrnHeight, 50);
    EXPECT_EQ(o.PrnDPI, 200);
    EXPECT_TRUE(o.CheckedChan.all());
    // Run-only options.
    EXPECT_TRUE(o.TimeAxisFromFile);
    EXPECT_FALSE(o.TimeFilterOn);
}

TEST(Options, SaveOrderAndTheSaveConfigRule)
{
    AOptions o;
    MapStore store;
    o.Save(store);
    const std::vector<std::string> order = {
        "ShowTimeMark", "ShowDeleted",     "WriteReport", "ShowParamData", "StartUpGraph",   "ShowGrid",
        "ColorScheme",  "ProgramLanguage", "PointSize",   "ViewType",      "ChanPanVisible", "ToolBarVisible",
        "ToolBarAlign", "PrnHeight",       "PrnWidth",    "PrnDPI",        "HorizGraphNum",  "VertGraphNum",
        "EventsView",   "SecondAsShadow",  "CheckedChan", "SaveConfig"};
    EXPECT_EQ(store.writes, order) << "LastUsedGraphNo only with StartUpGraph 1";

    o.StartUpGraph = 1;
    o.LastUsedGraphNo = 7;
    MapStore withLast;
    o.Save(withLast);
    auto expected = order;
    expected.insert(expected.begin() + 6, "LastUsedGraphNo");
    EXPECT_EQ(withLast.writes, expected);

    // With SaveConfig off, every other stored value stays as it was.
    AOptions off;
    off.SaveConfig = false;
    off.PointSize = 9;
    withLast.writes.clear();
    off.Save(withLast);
    EXPECT_EQ(withLast.writes, std::vector<std::string>{"SaveConfig"});
    EXPECT_EQ(std::get<bool>(withLast.values["SaveConfig"]), false);
    EXPECT_EQ(std::get<int>(withLast.values["PointSize"]), 2);
}

TEST(Options, RoundTripThroughTheStore)
{
    AOptions a;
    a.VertGraphNum = 6;
    a.HorizGraphNum = 7;
    a.EventsView = true;
    a.ShowGrid = true;
    a.StartUpGraph = 1;
    a.LastUsedGraphNo = 12;
    a.ColorScheme = 1;
    a.SetPointSize(5);
    a.PrnDPI = 300;
    a.CheckedChan.reset();
    a.CheckedChan.set(0);
    a.CheckedChan.set(127);
    MapStore store;
    a.Save(store);
    AOptions b;
    b.Load(store);
    EXPECT_EQ(b.VertGraphNum, 6);
    EXPECT_EQ(b.HorizGraphNum, 7);
    EXPECT_TRUE(b.EventsView);
    EXPECT_TRUE(b.ShowGrid);
    EXPECT_EQ(b.LastUsedGraphNo, 12);
    EXPECT_EQ(b.ColorScheme, 1);
    EXPECT_EQ(b.PointSize, 5);
    EXPECT_EQ(b.HalfPointSize, 2);
    EXPECT_EQ(b.PrnDPI, 300);
    EXPECT_EQ(b.CheckedChan, a.CheckedChan);
}

TEST(Options, CheckedChanText)
{
    ChannelMask one;
    one.set(0);
    one.set(127);
    const std::string text = FormatCheckedChan(one);
    ASSERT_EQ(text.size(), 128u);
    EXPECT_EQ(text, "1" + std::string(126, '0') + "1");
    one.reset(127);
    EXPECT_EQ(FormatCheckedChan(one), std::string(127, '0') + "1") << "channel 1 is the last character";

    struct Case {
        std::string text;
        std::vector<int> unselected;
    } cases[] = {
        {std::string(127, '1') + "0", {1}},   // last character: channel 1
        {"0" + std::string(127, '1'), {128}}, // first character: channel 128
        {std::string(128, 'x'), {}},          // anything but "0" selects
        {"0", {128}},                         // short: the missing channels stay selected
        {"00", {128, 127}},
        {"", {}},
        {std::string(130, '0'), {}}, // fills every channel; extra characters unused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ChannelMask m = ParseCheckedChan(c.text);
        ChannelMask expected;
        expected.set();
        for (int ch : c.unselected)
            expected.reset(size_t(ch - 1));
        if (c.text.size() >= 128 && c.text[0] == '0' && c.text[1] == '0')
            expected.reset();
        EXPECT_EQ(m, expected);
    }
}

TEST(Options, ColourSchemes)
{
    EXPECT_EQ(SchemeColor(0, 2), RgbFromHex(0x999999));
    EXPECT_EQ(SchemeColor(1, 2), RgbFromHex(0x000066));
    EXPECT_EQ(SchemeColor(2, 5), RgbFromHex(0x008000));
    EXPECT_EQ(SchemeColor(3, 8), RgbFromHex(0x383431));
    EXPECT_EQ(SchemeColor(1, 9), RgbFromHex(0x000000));
    EXPECT_EQ(SchemeColor(2, 13), RgbFromHex(0x999999));
    // The clipboard scheme is "Windows" with grey time marks.
    for (int role = 0; role < kColorRoleCount; ++role) {
        if (role != 12) {
            EXPECT_EQ(SchemeColor(5, role), SchemeColor(2, role)) << role;
        }
    }
    EXPECT_EQ(SchemeColor(5, 12), RgbFromHex(0x808080));
    EXPECT_EQ(SchemeColor(2, 12), RgbFromHex(0x4C4C4C));
    // Out-of-range indexes stay inside the table.
    EXPECT_EQ(SchemeColor(99, 99), SchemeColor(3, 0));
    EXPECT_EQ(SchemeColor(-1, 2), SchemeColor(3, 2));

    EXPECT_EQ(FrameColor(0, 0), RgbFromHex(0xFFFF00));
    EXPECT_EQ(FrameColor(3, 7), RgbFromHex(0xFF99CC));
    EXPECT_EQ(ChannelColor(1), RgbFromHex(0xCCCCFF));
    EXPECT_EQ(ChannelColor(12), RgbFromHex(0xCC9B66));
    EXPECT_EQ(ChannelColor(64), RgbFromHex(0x9966FF));
    EXPECT_EQ(ChannelColor(65), ChannelColor(1));
    EXPECT_EQ(ChannelColor(128), ChannelColor(64));
    EXPECT_EQ(RgbFromHex(0x123456), (RGB{0x12, 0x34, 0x56}));
}

TEST(Options, LanguageCodes)
{
    EXPECT_STREQ(LanguageLocaleCode(0), "ENU");
    EXPECT_STREQ(LanguageLocaleCode(1), "RUS");
    EXPECT_STREQ(kMsgLanguageChanged, "Programm's language will be changed at the next launch");
}

TEST(Options, PointDrawing)
{
    EXPECT_EQ(PointRectAt(10, 20, 1), (PointRect{10, 20, 11, 21}));
    EXPECT_EQ(PointRectAt(10, 20, 2), (PointRect{10, 19, 12, 21}));
    EXPECT_EQ(PointRectAt(10, 20, 3), (PointRect{9, 19, 12, 22}));
    EXPECT_EQ(PointRectAt(10, 20, 5), (PointRect{8, 18, 13, 23}));
    EXPECT_EQ(PointRectAt(10, 20, 10), (PointRect{5, 15, 15, 25}));
    AOptions o;
    o.SetPointSize(5);
    EXPECT_EQ(o.HalfPointSize, 2);
    EXPECT_EQ(o.PointAt(10, 20), (PointRect{8, 18, 13, 23}));
}
