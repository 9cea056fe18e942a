#include "lmqwin2/evaluation/AProtocol.h"
#include "testsupport/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>

using namespace lm;
namespace fs = std::filesystem;

namespace {

std::bitset<128> Chans(std::initializer_list<int> list)
{
    std::bitset<128> m;
    for (int c : list)
        m.set(size_t(c - 1));
    return m;
}

} // namespace

TEST(Protocol, SelectedChannelsText)
{
    EXPECT_EQ(SelectedChannelsText(Chans({1, 2, 3, 5, 7, 8})), "1-3,5,7-8");
    EXPECT_EQ(SelectedChannelsText(Chans({127, 128})), "127-128");
    EXPECT_EQ(SelectedChannelsText(Chans({128})), "128");
    EXPECT_EQ(SelectedChannelsText(Chans({1})), "1");
    EXPECT_EQ(SelectedChannelsText(Chans({})), "");
    std::bitset<128> all;
    all.set();
    EXPECT_EQ(SelectedChannelsText(all), "1-128");
}

TEST(Protocol, MessageTexts)
{
    using namespace protocol_text;
    EXPECT_EQ(DataLoaded("/d/a.DTA"), "Data loaded\t/d/a.DTA");
    EXPECT_EQ(DataSaved("/d/b.DTA"), "Data saved\t/d/b.DTA");
    EXPECT_EQ(GroupedByAnd(12), "Existing selections (12) grouped by AND...");
    EXPECT_EQ(GroupedByOr(0), "Existing selections (0) grouped by OR...");
    EXPECT_EQ(GroupedDeleted(4000000000u), "Grouped data (4000000000) deleted...");
    EXPECT_EQ(GroupedInverted(3), "Grouped data (3) inverted...");
    EXPECT_EQ(DeletedInverted(5), "All Deleted data (5) inverted...");
    EXPECT_EQ(SavingError("/x/_Protocol.txt"), "Error of saving '/x/_Protocol.txt'.");
    EXPECT_EQ(MissingFile("/x/techinfo.rtf"), "Fail '/x/techinfo.rtf' doesn't exist.");
}

TEST(Protocol, NewSelectionLine)
{
    AProtocol p([] { return std::string("09.12.2026 10:11:12"); });
    ANewSelection s{"Amp", 40, 99.5, "Energy", 0, 1234.567, false, Chans({1, 2, 3, 5}), false, 0, 0};
    p.NewSelection(s);
    EXPECT_EQ(p.CurrentLine, "09.12.2026 10:11:12\tNew selection:\tAmp(40.00-99.50) - Energy(0.00-1234.57); "
                             "Events: No; Chans: 1-3,5");
    EXPECT_EQ(p.SelectedChannels, "1-3,5");
    s.eventsView = true;
    s.timeFilterOn = true;
    s.timeStart = 100;
    s.timeEnd = 200;
    EXPECT_EQ(NewSelectionText(s),
              "New selection:\tAmp(40.00-99.50) - Energy(0.00-1234.57); Events: Yes; Chans: "
              "1-3,5; Time range filter: 100.00 - 200.00");
    p.Add(protocol_text::kLaunched);
    ASSERT_EQ(p.Lines.size(), 2u);
    EXPECT_EQ(p.Lines[1], "09.12.2026 10:11:12\tLMQ launched");
    EXPECT_EQ(p.CurrentLine, p.Lines[1]);
    p.AddLine("whole line");
    EXPECT_EQ(p.Lines.back(), "whole line");

    // The default time stamp is not empty and holds no tab.
    AProtocol real;
    real.Add("x");
    EXPECT_GT(real.CurrentLine.find("\tx"), 0u);
    EXPECT_EQ(real.CurrentLine.find('\t'), real.CurrentLine.size() - 2);
}

TEST(Protocol, ReportFile)
{
    const lmtest::TempFolder folder("lmq-protocol");
    const fs::path dir = folder.path();
    AProtocol p([] { return std::string("T"); });
    p.Add("LMQ launched");
    p.Add("LMQ closed");
    std::ofstream(dir / "_Protocol.txt") << "old contents that are longer than the new ones\n";
    std::string error = "x";
    ASSERT_TRUE(p.WriteReport(dir.string(), error)); // no trailing separator given
    EXPECT_EQ(error, "");
    EXPECT_EQ(p.FileName, (dir / "_Protocol.txt").string());
    EXPECT_EQ(lmtest::ReadText(dir / "_Protocol.txt"), "T\tLMQ launched\nT\tLMQ closed\n");
    ASSERT_TRUE(p.WriteReport(dir.string() + "/", error));
    EXPECT_EQ(p.FileName, (dir / "_Protocol.txt").string());

    // A folder that does not exist: the error box text, and nothing left behind.
    EXPECT_FALSE(p.WriteReport((dir / "missing").string(), error));
    EXPECT_EQ(error, "Error of saving '" + (dir / "missing" / "_Protocol.txt").string() + "'.");
}
