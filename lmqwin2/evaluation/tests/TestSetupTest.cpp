#include "lmqwin2/evaluation/ATestSetup.h"
#include "lmqwin2/evaluation/IniFile.h"
#include "testsupport/TempFolder.h"

#include <gtest/gtest.h>

using namespace lm;

using lmtest::ReadText;
using lmtest::TempFolder;
using lmtest::WriteText;

TEST(TestSetup, SavedFileHasSectionsAndKeysInWrittenOrder)
{
    TempFolder dir;
    ATestSetup setup;
    setup.Holds.push_back(AHold{"H1", 10, 3600, 600, 120});
    ASSERT_TRUE(setup.SaveToFile(dir / "a.ini"));
    EXPECT_EQ(ReadText(dir / "a.ini"),
              "[LMQWIN]\nLmqWin=1\n\n"
              "[Test]\nTestLabel=Default test\nTestTH=50\nHoldsView=1\n\n"
              "[Holds]\n0=H1|10|3600|600|120|\n\n"
              "[Event]\nMPT=5000\nLockout=20000\n\n"
              "[Parametric]\nDivisorSys=1\nOffsetSys=0\nDivisorReal=1\nOffsetReal=0\n\n"
              "[Monpac]\nEvalTH=50\nHiAmpLev=65\nSevHitNum=10\nMP_HstLimit1=10\n"
              "MP_HstLimit2=15\nMP_HstLimit3=75\nMP_HstLimit4=1000\nMP_HstLastHits2=0\n"
              "MP_HstLastHits3=15\nMP_HstLastHits4=0.800000011920929\nMP_HstLastHits5=200\n\n"
              "[LocDyn]\nLDExponent=4\nClass1=10\nClass2=100\nClass3=1000\n");
    EXPECT_TRUE(setup.FileName.empty()) << "saving does not change the setup's own file name";
}

TEST(TestSetup, RoundTripWithHoldsKeepsEveryValueAndOrder)
{
    TempFolder dir;
    ATestSetup a;
    a.TestLabel = "Vessel 7";
    a.HoldsView = false;
    a.TestTH = 42;
    a.Holds = {AHold{"H1", 10, 3600, 600, 120}, AHold{"H2", 12.5f, 4500, 900, 0.25f},
               AHold{"", 0, 7000, 60, 0}};
    a.MPT = 123;
    a.Lockout = 4567;
    a.DivisorSys = 2.5;
    a.OffsetSys = -1.25;
    a.DivisorReal = 0.1;
    a.OffsetReal = 3;
    a.EvalTH = 45;
    a.HiAmpLev = 70;
    a.SevHitNum = 7;
    a.MP_HstLimit1 = 11;
    a.MP_HstLimit2 = 16;
    a.MP_HstLimit3 = 80;
    a.MP_HstLimit4 = 900;
    a.MP_HstLastHits2 = 3;
    a.MP_HstLastHits3 = 14;
    a.MP_HstLastHits4 = 0.75f;
    a.MP_HstLastHits5 = 150;
    a.LDExponent = 3.5;
    a.Class1 = 5;
    a.Class2 = 50;
    a.Class3 = 500;
    ASSERT_TRUE(a.SaveToFile(dir / "s.ini"));
    EXPECT_NE(ReadText(dir / "s.ini")
                  .find("[Holds]\n0=H1|10|3600|600|120|\n1=H2|12.5|4500|900|0.25|\n2=|0|7000|60|0|\n"),
              std::string::npos);

    ATestSetup b;
    ASSERT_TRUE(b.LoadFromFile(dir / "s.ini"));
    EXPECT_EQ(b.FileName, dir / "s.ini");
    EXPECT_EQ(b.TestLabel, a.TestLabel);
    EXPECT_EQ(b.HoldsView, a.HoldsView);
    EXPECT_EQ(b.TestTH, a.TestTH);
    ASSERT_EQ(b.HoldCount(), 3);
    EXPECT_EQ(b.HoldSlots(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(b.Holds[i].label, a.Holds[i].label);
        EXPECT_EQ(b.Holds[i].pressure, a.Holds[i].pressure);
        EXPECT_EQ(b.Holds[i].start, a.Holds[i].start);
        EXPECT_EQ(b.Holds[i].length, a.Holds[i].length);
        EXPECT_EQ(b.Holds[i].delay, a.Holds[i].delay);
    }
    EXPECT_EQ(b.MPT, a.MPT);
    EXPECT_EQ(b.Lockout, a.Lockout);
    EXPECT_EQ(b.DivisorSys, a.DivisorSys);
    EXPECT_EQ(b.OffsetSys, a.OffsetSys);
    EXPECT_EQ(b.DivisorReal, a.DivisorReal);
    EXPECT_EQ(b.OffsetReal, a.OffsetReal);
    EXPECT_EQ(b.EvalTH, a.EvalTH);
    EXPECT_EQ(b.HiAmpLev, a.HiAmpLev);
    EXPECT_EQ(b.SevHitNum, a.SevHitNum);
    EXPECT_EQ(b.MP_HstLimit1, a.MP_HstLimit1);
    EXPECT_EQ(b.MP_HstLimit2, a.MP_HstLimit2);
    EXPECT_EQ(b.MP_HstLimit3, a.MP_HstLimit3);
    EXPECT_EQ(b.MP_HstLimit4, a.MP_HstLimit4);
    EXPECT_EQ(b.MP_HstLastHits2, a.MP_HstLastHits2);
    EXPECT_EQ(b.MP_HstLastHits3, a.MP_HstLastHits3);
    EXPECT_EQ(b.MP_HstLastHits4, a.MP_HstLastHits4);
    EXPECT_EQ(b.MP_HstLastHits5, a.MP_HstLastHits5);
    EXPECT_EQ(b.LDExponent, a.LDExponent);
    EXPECT_EQ(b.Class1, a.Class1);
    EXPECT_EQ(b.Class2, a.Class2);
    EXPECT_EQ(b.Class3, a.Class3);
}

TEST(TestSetup, SavingIntoAnExistingFileErasesOnlyTheHolds)
{
    TempFolder dir;
    WriteText(dir / "s.ini",
              "[Mine]\nKeep=yes\n[Holds]\n0=Old|1|2|3|4|\n5=Older|1|2|3|4|\n[Event]\nMPT=1\nExtra=7\n");
    ATestSetup setup;
    setup.Holds.push_back(AHold{"New", 1, 2, 3, 4});
    ASSERT_TRUE(setup.SaveToFile(dir / "s.ini"));
    IniFile ini;
    ASSERT_TRUE(ini.Load(dir / "s.ini"));
    EXPECT_EQ(ini.ReadString("Mine", "Keep", ""), "yes");
    EXPECT_EQ(ini.ReadString("Event", "Extra", ""), "7");
    EXPECT_EQ(ini.ReadInteger("Event", "MPT", 0), 5000);
    ASSERT_NE(ini.FindSection("Holds"), nullptr);
    ASSERT_EQ(ini.FindSection("Holds")->entries.size(), 1u);
    EXPECT_EQ(ini.FindSection("Holds")->entries[0].value, "New|1|2|3|4|");
    // Untouched sections keep their place.
    EXPECT_EQ(ini.Sections()[0].name, "Mine");
}

TEST(TestSetup, MarkerAndDefaults)
{
    TempFolder dir;
    // Without the marker (or without a file) the setup stays as it was.
    ATestSetup setup;
    setup.TestLabel = "mine";
    setup.Holds.push_back(AHold{"X", 1, 2, 3, 4});
    WriteText(dir / "other.ini", "[Test]\nTestLabel=foreign\n");
    EXPECT_FALSE(setup.LoadFromFile(dir / "other.ini"));
    EXPECT_FALSE(setup.LoadFromFile(dir / "missing.ini"));
    EXPECT_EQ(setup.TestLabel, "mine");
    EXPECT_EQ(setup.HoldCount(), 1);
    EXPECT_TRUE(setup.FileName.empty());
    EXPECT_STREQ(kMsgUnknownSetupFormat, "Test Setup - unknown format of INI file");

    // Only the marker section: all defaults, no holds, the file name taken.
    WriteText(dir / "empty.ini", "[LMQWIN]\n");
    setup.MPT = 1;
    ASSERT_TRUE(setup.LoadFromFile(dir / "empty.ini"));
    EXPECT_EQ(setup.FileName, dir / "empty.ini");
    EXPECT_EQ(setup.HoldCount(), 0);
    EXPECT_EQ(setup.TestLabel, "Default test");
    EXPECT_EQ(setup.MPT, 5000u);
    EXPECT_EQ(setup.MP_HstLastHits4, 0.8f);

    // Values that do not parse take their defaults; any non-zero integer is true; a
    // comma separator reads as well.
    WriteText(dir / "bad.ini", "[lmqwin]\nLmqWin=1\n[Test]\nTestTH=abc\nHoldsView=0\n[Event]\nMPT=12x\n"
                               "[LocDyn]\nLDExponent=2,5\n[Monpac]\nEvalTH= 40 \n");
    ASSERT_TRUE(setup.LoadFromFile(dir / "bad.ini"));
    EXPECT_EQ(setup.TestTH, 50);
    EXPECT_FALSE(setup.HoldsView);
    EXPECT_EQ(setup.MPT, 5000u);
    EXPECT_EQ(setup.LDExponent, 2.5);
    EXPECT_EQ(setup.EvalTH, 40);
    WriteText(dir / "b2.ini", "\xEF\xBB\xBF[LMQWIN]\r\n[Test]\r\nHoldsView=-3\r\n");
    setup.HoldsView = false;
    ASSERT_TRUE(setup.LoadFromFile(dir / "b2.ini"));
    EXPECT_TRUE(setup.HoldsView);
    // Numbers outside their field's range, or not finite, are defaults as well.
    WriteText(dir / "b3.ini",
              "[LMQWIN]\n[Event]\nMPT=-1\nLockout=4294967296\n[Monpac]\n"
              "EvalTH=99999999999\nMP_HstLastHits4=1e300\n[LocDyn]\nLDExponent=nan\n[Parametric]\n"
              "DivisorSys=inf\n");
    ASSERT_TRUE(setup.LoadFromFile(dir / "b3.ini"));
    EXPECT_EQ(setup.MPT, 5000u);
    EXPECT_EQ(setup.Lockout, 20000u);
    EXPECT_EQ(setup.EvalTH, 50);
    EXPECT_EQ(setup.MP_HstLastHits4, 0.8f) << "beyond single precision";
    EXPECT_EQ(setup.LDExponent, 4.0);
    EXPECT_EQ(setup.DivisorSys, 1.0);
}

TEST(TestSetup, HoldValues)
{
    struct Case {
        const char* value;
        AHold hold;
    } cases[] = {
        {"H1|10|3600|600|120|", {"H1", 10, 3600, 600, 120}},
        {"H1|10|3600|600|120", {"H1", 10, 3600, 600, 120}}, // last bar missing
        {"H1|10|3600|", {"H1", 10, 3600, 0, 0}},            // fewer fields
        {"H1", {"H1", 0, 0, 0, 0}},
        {"", {"", 0, 0, 0, 0}},
        {"|||||", {"", 0, 0, 0, 0}},
        {"A|x|5|6|7|8|9|", {"A", 0, 5, 6, 7}}, // bad number is 0, extra fields ignored
        {"A|1,5|2.5|3|4|", {"A", 1.5f, 2.5f, 3, 4}},
        {"A|1e300|2|-1e300|4|", {"A", 0, 2, 0, 4}}, // beyond single precision is 0 too
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        AHold h = ParseHoldValue(c.value);
        EXPECT_EQ(h.label, c.hold.label);
        EXPECT_EQ(h.pressure, c.hold.pressure);
        EXPECT_EQ(h.start, c.hold.start);
        EXPECT_EQ(h.length, c.hold.length);
        EXPECT_EQ(h.delay, c.hold.delay);
    }

    TempFolder dir;
    WriteText(dir / "h.ini", "[LMQWIN]\n[Holds]\n7=A|1|2|3|4|\n7=B|1|2\nx=C=D|5|\n");
    ATestSetup setup;
    ASSERT_TRUE(setup.LoadFromFile(dir / "h.ini"));
    ASSERT_EQ(setup.HoldCount(), 3) << "keys are not interpreted: every line is a hold";
    EXPECT_EQ(setup.Holds[1].label, "B");
    EXPECT_EQ(setup.Holds[2].label, "C=D") << "the value starts after the first '='";
}

TEST(TestSetup, HoldMembershipExcludesBothBounds)
{
    AHold h{"H", 10, 100, 50, 10};
    EXPECT_FALSE(h.Contains(110.0));
    EXPECT_TRUE(h.Contains(110.001));
    EXPECT_TRUE(h.Contains(149.999));
    EXPECT_FALSE(h.Contains(150.0));
}

TEST(TestSetup, StartupFileAndParametricConversion)
{
    EXPECT_EQ(ATestSetup::StartupFileName("/opt/lm/lmqwin2"), "/opt/lm/lmqwin2.INI");
    EXPECT_EQ(ATestSetup::StartupFileName("/opt/lm/lmqwin2.exe"), "/opt/lm/lmqwin2.INI");
    ATestSetup s;
    s.DivisorSys = 2;
    s.OffsetSys = 1;
    s.DivisorReal = 4;
    s.OffsetReal = -1;
    EXPECT_DOUBLE_EQ(s.ParametricValue(10), (10 / 2.0 + 1) / 4 - 1);
}

TEST(TestSetup, HoldGridOfTheDialog)
{
    std::vector<AHoldGridRow> rows = {{"H1", "10", "3600", "600", "120"},
                                      {"skipped", "1", "", "600", "120"},
                                      {"H3", "12,5", "5000", "60", "0"}};
    std::vector<AHold> holds = HoldsFromGrid(rows);
    ASSERT_EQ(holds.size(), 2u) << "a row without start makes no hold";
    EXPECT_EQ(holds[0].label, "H1");
    EXPECT_EQ(holds[1].label, "H3");
    EXPECT_EQ(holds[1].pressure, 12.5f);
    rows[0].length = "ten";
    EXPECT_THROW(HoldsFromGrid(rows), std::invalid_argument);
    rows[0].length = "1e39"; // not a single-precision number
    EXPECT_THROW(HoldsFromGrid(rows), std::invalid_argument);
    const AHoldGridRow fresh = NewHoldGridRow();
    EXPECT_EQ(fresh.length, "600");
    EXPECT_EQ(fresh.delay, "120");
    EXPECT_EQ(fresh.start, "");
    EXPECT_EQ(SetupDialogCaption("/a/b.ini"), "Test setup - /a/b.ini");
    EXPECT_EQ(SetupSaveQuestion("/a/b.ini"), "Test Setup file\n\"/a/b.ini\"\nwill be rewriten. Continue?");
}
