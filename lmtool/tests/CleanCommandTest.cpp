// Frame and channel arguments of lmtool, and `lmtool clean` end to end.

#include "lmqwin2/dataset/LMDataSet.h"
#include "lmtool/support_frames.h"
#include "samplegen/SampleGen.h"
#include "testsupport/RunProgram.h"
#include "testsupport/SpartanBuilder.h"
#include "testsupport/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace lm {
namespace {

namespace fs = std::filesystem;

TEST(FrameArguments, ChannelLists)
{
    const struct {
        const char* text;
        const char* channelsFrom128Down; // expected set as a bit string, channel 1 rightmost
    } good[] = {{"1", "1"}, {"1-4,7", "1001111"}, {"3,1", "101"}, {"2-2", "10"}};
    for (const auto& c : good)
        EXPECT_EQ(lmtool::ParseChannelList(c.text), ChannelMask(std::string(c.channelsFrom128Down)))
            << c.text;
    EXPECT_EQ(lmtool::ParseChannelList("1-128").count(), 128u);
    EXPECT_TRUE(lmtool::ParseChannelList("128").test(127));

    for (const char* bad : {"", "0", "129", "1-129", "4-2", "1,,2", "a", "1-", "-3", " 1", "1-2-3", "+1"})
        EXPECT_THROW(lmtool::ParseChannelList(bad), lmtool::FrameArgumentError) << bad;
}

TEST(FrameArguments, FrameSpecs)
{
    const lmtool::FrameSpec spec = lmtool::ParseFrameSpec("256:40.5:60:64:-1e3:1000");
    EXPECT_EQ(spec.xParam, hpAmplitude);
    EXPECT_EQ(spec.xMin, 40.5);
    EXPECT_EQ(spec.xMax, 60.0);
    EXPECT_EQ(spec.yParam, hpEnergy);
    EXPECT_EQ(spec.yMin, -1000.0);
    EXPECT_EQ(spec.yMax, 1000.0);
    EXPECT_EQ(lmtool::ParamShortName(hpAmplitude), "Amp");
    EXPECT_EQ(lmtool::ParamShortName(16384), "");

    for (const char* bad : {"256:40:60:64:0", "256:40:60:64:0:1:2", "3:0:1:64:0:1", "16384:0:1:64:0:1",
                            "256:x:1:64:0:1", "256:0:1:64:0:nan", "256:0:1:64:0:", "256:60:40:64:0:1",
                            "256:0:1:64:5:1", "amp:0:1:64:0:1", "256:0 :1:64:0:1"})
        EXPECT_THROW(lmtool::ParseFrameSpec(bad), lmtool::FrameArgumentError) << bad;
}

using lmtest::RunResult;

class CleanCommand : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_ / name; }
    RunResult Run(const std::string& arguments) const { return lmtest::RunLmtool("clean " + arguments); }

    lmtest::TempFolder folder_{"lmq-clean"};
};

TEST_F(CleanCommand, FramesGroupsDeletesAndSaves)
{
    const std::string source = Path("a.sdt");
    gen::GenerateSampleFile("sdt", {2000, 4, 5}, source);

    // The expected grouping, computed with the library: hits of channels 1-3 in both frames.
    LMDataSet data;
    data.Load(source);
    const FrameFilter first = FrameFilter::From(
        lmtool::MakeFrame(lmtool::ParseFrameSpec("256:40:70:64:0:65535"), lmtool::ParseChannelList("1-3")),
        {}, false);
    const FrameFilter second = FrameFilter::From(
        lmtool::MakeFrame(lmtool::ParseFrameSpec("256:55:99:64:0:65535"), lmtool::ParseChannelList("1-3")),
        {}, false);
    uint32_t both = 0, either = 0;
    for (const LMShortHit& r : data.Records)
        if (r.kind == rkHit) {
            both += first.Passes(r) && second.Passes(r);
            either += first.Passes(r) || second.Passes(r);
        }
    ASSERT_GT(both, 0u);
    ASSERT_GT(either, both);

    for (bool useOr : {false, true}) {
        SCOPED_TRACE(useOr ? "OR" : "AND");
        const uint32_t n = useOr ? either : both;
        const std::string target = Path(useOr ? "or.sdt" : "and.sdt");
        const RunResult run =
            Run(source + " " + target + " --frame 256:40:70:64:0:65535 --frame 256:55:99:64:0:65535" +
                " --channels 1-3" + (useOr ? " --or" : ""));
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string count = std::to_string(n);
        EXPECT_EQ(run.out,
                  "Data loaded\t" + source + "\n" +
                      "New selection:\tAmp(40.00-70.00) - Ener(0.00-65535.00); Events: No; Chans: 1-3\n" +
                      "New selection:\tAmp(55.00-99.00) - Ener(0.00-65535.00); Events: No; Chans: 1-3\n" +
                      "Existing selections (" + count + ") grouped by " + (useOr ? "OR" : "AND") + "...\n" +
                      "Grouped data (" + count + ") deleted...\n" + "Data saved\t" + target + "\n" +
                      "HITS: 2000\nGRPD: 0\nDLTD: " + count + "\n");
        LMDataSet saved;
        saved.Load(target);
        EXPECT_EQ(saved.HitCount, 2000 - n);
    }
}

TEST_F(CleanCommand, EventViewFramesWholeEventsWithTheDefaultSetupWindows)
{
    const std::string source = Path("e.sdt");
    gen::GenerateSampleFile("sdt", {3000, 4, 9}, source);
    LMDataSet data;
    data.Load(source);
    data.ResetEvents(5000, 20000); // MPT and lockout of the default test setup
    const char* spec = "256:60:99:64:0:65535";
    FrameHits(
        data,
        FrameFilter::From(lmtool::MakeFrame(lmtool::ParseFrameSpec(spec), ChannelMask().set()), {}, true), 0);
    ASSERT_GT(data.FramedCount, 0u);
    uint32_t plain = 0; // the same frame without event view selects other hits
    for (const LMShortHit& r : data.Records)
        plain += r.kind == rkHit && r.amplitude >= 60;
    ASSERT_NE(plain, data.FramedCount);

    const RunResult run = Run(source + " " + Path("e2.sdt") + " --events --frame " + spec);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Events: Yes; Chans: 1-128\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("DLTD: " + std::to_string(data.FramedCount) + "\n"), std::string::npos) << run.out;
}

TEST_F(CleanCommand, UnsortedFileWithEventsFailsAndWritesNothing)
{
    // A Spartan file whose second hit is earlier than the first.
    lmtest::SpartanBuilder file;
    for (double t : {5.0, 3.25, 7.0})
        file.Hit(lmtest::SpartanHit{t, 1, 50});
    lmtest::WriteBytes(Path("u.dta"), file.Bytes());
    const RunResult run = Run(Path("u.dta") + " " + Path("o.dta") + " --events --frame 256:0:255:64:0:65535");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Data file doesn't sorted (3.25 s). Event View is impossible.\n");
    EXPECT_FALSE(fs::exists(Path("o.dta")));

    // Without event view the same file cleans normally.
    const RunResult plain = Run(Path("u.dta") + " " + Path("o.dta") + " --frame 256:0:49:64:0:65535");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_NE(plain.out.find("DLTD: 0\n"), std::string::npos);
}

TEST_F(CleanCommand, ArgumentErrors)
{
    gen::GenerateSampleFile("sdt", {10, 2, 1}, Path("a.sdt"));
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += " --frame 256:0:99:64:0:100";
    const struct {
        std::string arguments;
        int status;
        const char* message;
    } cases[] = {
        {Path("a.sdt") + " " + Path("o.sdt") + nine, 2, "at most 8 frames can be given\n"},
        {Path("a.sdt") + " " + Path("o.sdt") + " --frame 256:0:99", 2,
         "frame '256:0:99': expected XPARAM:XMIN:XMAX:YPARAM:YMIN:YMAX\n"},
        {Path("missing.sdt") + " " + Path("o.sdt") + " --frame 256:0:99:64:0:100", 1,
         "Data file doesn't exist\n"},
        {Path("a.sdt") + " " + Path("a.sdt") + " --frame 256:0:99:64:0:100", 1, nullptr},
    };
    for (const auto& c : cases) {
        const RunResult run = Run(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        if (c.message) {
            EXPECT_EQ(run.err, c.message);
        }
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(Path("o.sdt")));
    }
}

} // namespace
} // namespace lm
