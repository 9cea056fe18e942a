// The shipped files are looked for beside the program first, then in the installed data
// folder of the prefix the program lies in (wherever that prefix was moved).

#include "help/ui/ShippedFiles.h"

#include "lmqwin2/ui/TFLastChanges.h"
#include "lmqwin2/ui/TSettingsStore.h"
#include "testsupport/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A prefix laid out as the installation lays it out, in a temporary folder.
struct Prefix {
    lmtest::TempFolder root{"lm-shipped"};
    fs::path bin = root.path() / LM_BINDIR;
    fs::path data = root.path() / LM_DATADIR;

    Prefix()
    {
        fs::create_directories(bin);
        fs::create_directories(data);
    }
    static std::string Put(const fs::path& folder, const std::string& name)
    {
        lmtest::WriteBytes((folder / name).string(), {'x'});
        return (folder / name).string();
    }
    QString Bin() const { return QString::fromStdString(bin.string()); }
};

TEST(ShippedFiles, BesideTheProgramBeforeTheDataFolder)
{
    Prefix prefix;
    const std::string installed = Prefix::Put(prefix.data, "techinfo.md");
    EXPECT_EQ(lmq::ReleaseNotesPath(prefix.Bin()).toStdString(), installed);

    const std::string beside = Prefix::Put(prefix.bin, "techinfo.md");
    EXPECT_EQ(lmq::ReleaseNotesPath(prefix.Bin()).toStdString(), beside);
}

TEST(ShippedFiles, MissingEverywhereNamesThePathBesideTheProgram)
{
    Prefix prefix;
    EXPECT_EQ(lmq::ReleaseNotesPath(prefix.Bin()).toStdString(), (prefix.bin / "techinfo.md").string());
}

TEST(ShippedFiles, FindsAFolder)
{
    Prefix prefix;
    fs::create_directories(prefix.data / "help");
    EXPECT_EQ(lmhelp::FindShippedFile(prefix.Bin(), "help").toStdString(), (prefix.data / "help").string());
}

TEST(ShippedFiles, StartupSetup)
{
    struct Case {
        std::vector<std::string> beside;
        std::vector<std::string> installed;
        std::string expected; // "bin/NAME" or "data/NAME"
    };
    const std::vector<Case> cases = {
        {{"lmqwin2.INI"}, {"lmqwin2.INI"}, "bin/lmqwin2.INI"},
        {{"lmqwin2.ini"}, {"lmqwin2.INI"}, "bin/lmqwin2.ini"},
        {{}, {"lmqwin2.INI"}, "data/lmqwin2.INI"},
        {{}, {"lmqwin2.ini"}, "data/lmqwin2.ini"},
        {{}, {}, "bin/lmqwin2.INI"},
    };
    for (const Case& c : cases) {
        Prefix prefix;
        for (const std::string& name : c.beside)
            Prefix::Put(prefix.bin, name);
        for (const std::string& name : c.installed)
            Prefix::Put(prefix.data, name);
        const fs::path folder = c.expected.starts_with("bin/") ? prefix.bin : prefix.data;
        const QString program = QString::fromStdString((prefix.bin / "lmqwin2").string());
        EXPECT_EQ(lm::StartupSetupPath(program),
                  (folder / c.expected.substr(c.expected.find('/') + 1)).string())
            << c.expected;
    }
}

} // namespace
