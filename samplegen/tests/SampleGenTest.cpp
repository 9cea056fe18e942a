#include "samplegen/SampleGen.h"

#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

lm::gen::SampleOptions Small()
{
    lm::gen::SampleOptions options;
    options.hits = 50;
    return options;
}

TEST(GenerateSampleFile, ReplacesARegularFileOnlyWhenComplete)
{
    lmtest::TempFolder dir;
    const std::string target = dir.TextFile("old.dta", "old contents");
    lm::gen::GenerateSampleFile("dta", Small(), target);
    EXPECT_GT(fs::file_size(target), 100u);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old.dta"});
}

TEST(GenerateSampleFile, RefusesWhatIsNotARegularFileAndLeavesItAlone)
{
    lmtest::TempFolder dir;
    const std::string folder = dir / "folder.dta";
    fs::create_directory(folder);
    const std::string dangling = dir / "dangling.dta";
    fs::create_symlink(dir / "nowhere", dangling);

    for (const std::string& target : {folder, dangling}) {
        SCOPED_TRACE(target);
        EXPECT_THROW(lm::gen::GenerateSampleFile("dta", Small(), target), std::runtime_error);
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"dangling.dta", "folder.dta"}));
}

TEST(GenerateSampleFile, UnknownFormatWritesNothing)
{
    lmtest::TempFolder dir;
    EXPECT_THROW(lm::gen::GenerateSampleFile("xyz", Small(), dir / "a.dta"), std::runtime_error);
    EXPECT_TRUE(dir.Entries().empty());
}

} // namespace
